// The members of the control classes that are more than one message.
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CHeaderCtrl.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CStatic.h"

#include <string>

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)

HBITMAP CButton::SetBitmap(HBITMAP hBitmap)
{
    HBITMAP old = m_hBitmap;
    m_hBitmap = hBitmap;
    Invalidate();
    return old;
}

HICON CButton::SetIcon(HICON hIcon)
{
    HICON old = m_hIcon;
    m_hIcon = hIcon;
    Invalidate();
    return old;
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

void CComboBox::GetLBText(int i, CString& s) const
{
    int len = GetLBTextLen(i);
    if (len < 0) {
        s.Empty();
        return;
    }
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    GetLBText(i, buf.data());
    s = CString(buf.c_str());
}

void CListBox::GetText(int i, CString& s) const
{
    int len = GetTextLen(i);
    if (len < 0) {
        s.Empty();
        return;
    }
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    GetText(i, buf.data());
    s = CString(buf.c_str());
}

// ---- tab control ----
#include "platform/ui/CTabCtrl.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    TCITEM it{};
    it.mask = TCIF_TEXT;
    it.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(nItem, &it);
}

LONG CTabCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage)
{
    TCITEM it{};
    it.mask = TCIF_TEXT | TCIF_IMAGE;
    it.pszText = const_cast<LPSTR>(lpszItem);
    it.iImage = nImage;
    return InsertItem(nItem, &it);
}

CImageList* CTabCtrl::SetImageList(CImageList* pImageList)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr))));
}

CImageList* CTabCtrl::GetImageList() const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)));
}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ---- the range controls, pickers and tooltips ----
#include "platform/ui/CDateTimeCtrl.h"
#include "platform/ui/CIPAddressCtrl.h"
#include "platform/ui/CProgressCtrl.h"
#include "platform/ui/CScrollBar.h"
#include "platform/ui/CSliderCtrl.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/CToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* pMinRange, const SYSTEMTIME* pMaxRange)
{
    SYSTEMTIME st[2]{};
    WPARAM flags = 0;
    if (pMinRange) {
        st[0] = *pMinRange;
        flags |= GDTR_MIN;
    }
    if (pMaxRange) {
        st[1] = *pMaxRange;
        flags |= GDTR_MAX;
    }
    return static_cast<BOOL>(SendMessage(DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(st)));
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CWnd::CreateEx(0, TOOLTIPS_CLASS, "", WS_POPUP | dwStyle, 0, 0, 0, 0, CWnd::SafeHwnd(pParentWnd), nullptr);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = CWnd::SafeHwnd(pWnd);
    ti.uFlags = nIDTool == 0 && !lpRectTool ? TTF_IDISHWND : 0;
    ti.uId = ti.uFlags & TTF_IDISHWND ? reinterpret_cast<UINT_PTR>(ti.hwnd) : nIDTool;
    if (lpRectTool)
        ti.rect = *lpRectTool;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text.GetString(), lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = CWnd::SafeHwnd(pWnd);
    ti.uFlags = nIDTool == 0 ? TTF_IDISHWND : 0;
    ti.uId = nIDTool == 0 ? reinterpret_cast<UINT_PTR>(ti.hwnd) : nIDTool;
    SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = CWnd::SafeHwnd(pWnd);
    ti.uFlags = nIDTool == 0 ? TTF_IDISHWND : 0;
    ti.uId = nIDTool == 0 ? reinterpret_cast<UINT_PTR>(ti.hwnd) : nIDTool;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}
