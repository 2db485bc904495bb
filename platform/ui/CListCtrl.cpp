#include "platform/ui/CListCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn)
{
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMN c{};
    c.mask = LVCF_TEXT | LVCF_FMT;
    c.pszText = const_cast<LPSTR>(lpszColumnHeading);
    c.fmt = nFormat;
    if (nWidth != -1) {
        c.mask |= LVCF_WIDTH;
        c.cx = nWidth;
    }
    if (nSubItem != -1) {
        c.mask |= LVCF_SUBITEM;
        c.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &c);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) const
{
    if (iCount < 0) {
        CHeaderCtrl* h = GetHeaderCtrl();
        iCount = h ? h->GetItemCount() : 0;
    }
    return static_cast<BOOL>(
        SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    // The header adds no data: its object is a window object like any other.
    return static_cast<CHeaderCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))));
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEM it{};
    it.mask = nMask;
    it.iItem = nItem;
    it.pszText = const_cast<LPSTR>(lpszItem);
    it.state = nState;
    it.stateMask = nStateMask;
    it.iImage = nImage;
    it.lParam = lParam;
    return InsertItem(&it);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                        LPARAM lParam)
{
    LVITEM it{};
    it.mask = nMask;
    it.iItem = nItem;
    it.iSubItem = nSubItem;
    it.pszText = const_cast<LPSTR>(lpszItem);
    it.iImage = nImage;
    it.state = nState;
    it.stateMask = nStateMask;
    it.lParam = lParam;
    return SetItem(&it);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText)
{
    LVITEM it{};
    it.iSubItem = nSubItem;
    it.pszText = const_cast<LPSTR>(lpszText ? lpszText : "");
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&it)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // Grows the buffer until the text fits, as texts may be long.
    for (int size = 256; size <= (1 << 20); size *= 4) {
        std::string buf(static_cast<size_t>(size), '\0');
        int n = GetItemText(nItem, nSubItem, buf.data(), size);
        if (n < size - 1)
            return CString(buf.data(), n);
    }
    return CString();
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const
{
    LVITEM it{};
    it.iSubItem = nSubItem;
    it.pszText = lpszText;
    it.cchTextMax = nLen;
    return static_cast<int>(SendMessage(LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&it)));
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEM it{};
    it.mask = LVIF_PARAM;
    it.iItem = nItem;
    return GetItem(&it) ? static_cast<DWORD_PTR>(it.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEM it{};
    it.state = nState;
    it.stateMask = nMask;
    return SetItemState(nItem, &it);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    int i = GetNextItem(-1, LVNI_SELECTED);
    return reinterpret_cast<POSITION>(static_cast<intptr_t>(i + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    int i = static_cast<int>(reinterpret_cast<intptr_t>(pos)) - 1;
    int next = GetNextItem(i, LVNI_SELECTED);
    pos = reinterpret_cast<POSITION>(static_cast<intptr_t>(next + 1));
    return i;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType)
{
    auto old = reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                    reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr)));
    return CImageList::FromHandle(old);
}

CImageList* CListCtrl::GetImageList(int nImageListType) const
{
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType))));
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    if (!lpRect)
        return FALSE;
    lpRect->left = static_cast<LONG>(nCode);
    return static_cast<BOOL>(
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    RECT rc{nArea, iSubItem, 0, 0};
    BOOL ok =
        static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem), reinterpret_cast<LPARAM>(&rc)));
    if (ok)
        ref = rc;
    return ok;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info{};
    info.pt = pt;
    int i = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return i;
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
