// CWnd members that wrap the free window functions.
#include "platform/ui/CWnd.h"

#include "platform/gdi/CGdiObject.h"

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <string>

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}

void CWnd::SetOwner(CWnd* pOwner)
{
    vxw::WindowRegistry& reg = vxw::WindowRegistry::instance();
    auto lock = reg.lock();
    if (vxw::WindowRecord* r = m_hWnd ? reg.findLocked(m_hWnd) : nullptr) {
        if (!r->parent)
            r->owner = CWnd::SafeHwnd(pOwner);
    }
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    // Children only: GetParent of a pop-up is its owner.
    while (h && (::GetWindowLong(h, GWL_STYLE) & WS_CHILD)) {
        HWND p = ::GetParent(h);
        if (!p)
            break;
        h = p;
    }
    return FromHandle(h);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const
{
    if (phWnd)
        *phWnd = ::GetDlgItem(m_hWnd, nID);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::SetDlgCtrlID(int nID)
{
    return static_cast<int>(::SetWindowLong(m_hWnd, GWL_ID, nID));
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    return FromHandle(::GetWindow(m_hWnd, nCmd));
}

namespace {

bool TabStop(HWND h)
{
    return ::IsWindowVisible(h) && ::IsWindowEnabled(h) && (::GetWindowLong(h, GWL_STYLE) & WS_TABSTOP);
}

}  // namespace

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r || r->children.empty())
        return nullptr;
    const auto& kids = r->children;
    int n = static_cast<int>(kids.size());
    int start = -1;
    for (int i = 0; i < n; ++i) {
        if (kids[static_cast<size_t>(i)] == CWnd::SafeHwnd(pWndCtl))
            start = i;
    }
    for (int step = 1; step <= n; ++step) {
        int i = start < 0 ? (bPrevious ? n - step : step - 1) : ((start + (bPrevious ? -step : step)) % n + n) % n;
        if (TabStop(kids[static_cast<size_t>(i)]))
            return FromHandle(kids[static_cast<size_t>(i)]);
    }
    return nullptr;
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r || !pWndCtl)
        return nullptr;
    const auto& kids = r->children;
    auto it = std::find(kids.begin(), kids.end(), pWndCtl->m_hWnd);
    if (it == kids.end())
        return nullptr;
    // The group runs from a WS_GROUP control up to the next one.
    size_t i = static_cast<size_t>(it - kids.begin());
    size_t first = i;
    while (first > 0 && !(::GetWindowLong(kids[first], GWL_STYLE) & WS_GROUP))
        --first;
    size_t last = i;
    while (last + 1 < kids.size() && !(::GetWindowLong(kids[last + 1], GWL_STYLE) & WS_GROUP))
        ++last;
    size_t count = last - first + 1;
    for (size_t step = 1; step <= count; ++step) {
        size_t k = bPrevious ? first + (i - first + count - step) % count : first + (i - first + step) % count;
        if (::IsWindowVisible(kids[k]) && ::IsWindowEnabled(kids[k]))
            return FromHandle(kids[k]);
    }
    return nullptr;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    return ::IsChild(m_hWnd, CWnd::SafeHwnd(pWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

CWnd* CWnd::GetForegroundWindow()
{
    return FromHandle(::GetForegroundWindow());
}

CWnd* CWnd::GetActiveWindow()
{
    return FromHandle(::GetActiveWindow());
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

CWnd* CWnd::SetActiveWindow()
{
    HWND old = ::GetActiveWindow();
    ::SetForegroundWindow(m_hWnd);
    return FromHandle(old);
}

void CWnd::BringWindowToTop()
{
    if (QWidget* w = vxw::WidgetOf(m_hWnd))
        w->raise();
}

CWnd* CWnd::WindowFromPoint(POINT point)
{
    return FromHandle(::WindowFromPoint(point));
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::IsZoomed() const
{
    return ::IsZoomed(m_hWnd);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    if (lpRect)
        ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                     bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    // The special insert-after values arrive as CWnd pointers cast from HWNDs.
    HWND after = reinterpret_cast<HWND>(const_cast<CWnd*>(pWndInsertAfter));
    if (pWndInsertAfter && ::IsWindow(CWnd::SafeHwnd(pWndInsertAfter)))
        after = pWndInsertAfter->m_hWnd;
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (!::GetClientRect(m_hWnd, lpRect) && lpRect)
        *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!::GetWindowRect(m_hWnd, lpRect) && lpRect)
        *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
{
    for (UINT i = 0; i < nCount; ++i) {
        ::ClientToScreen(m_hWnd, &lpPoint[i]);
        if (pwndTo)
            ::ScreenToClient(pwndTo->m_hWnd, &lpPoint[i]);
    }
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
{
    MapWindowPoints(pwndTo, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r || !r->widget)
        return;
    RECT me{};
    GetWindowRect(&me);
    int w = me.right - me.left;
    int h = me.bottom - me.top;
    RECT area{};
    HWND center = pAlternateOwner ? pAlternateOwner->m_hWnd : (r->parent ? r->parent : r->owner);
    if (r->parent) {
        ::GetClientRect(r->parent, &area);
    } else if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        QScreen* s = QGuiApplication::primaryScreen();
        QRect g = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
        area = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    int x = area.left + ((area.right - area.left) - w) / 2;
    int y = area.top + ((area.bottom - area.top) - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetWindowText(LPCSTR lpszString)
{
    ::SetWindowText(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const
{
    int len = ::GetWindowTextLength(m_hWnd);
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    int got = ::GetWindowText(m_hWnd, buf.data(), len + 1);
    rString = CString(buf.data(), got);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLength(m_hWnd);
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    HFONT h = pFont ? static_cast<HFONT>(pFont->m_hObject) : nullptr;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(h), bRedraw);
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (r)
        r->userFont = pFont;
}

CFont* CWnd::GetFont() const
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r || !r->font)
        return nullptr;
    if (r->userFont && static_cast<HFONT>(r->userFont->m_hObject) == r->font)
        return r->userFont;
    return CFont::FromHandle(r->font);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    return r ? (bBigIcon ? r->iconBig : r->iconSmall) : nullptr;
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLong(hWnd, GWL_STYLE));
    DWORD next = (style & ~dwRemove) | dwAdd;
    if (style == next)
        return FALSE;
    ::SetWindowLong(hWnd, GWL_STYLE, static_cast<LONG>(next));
    if (vxw::WindowRecord* r = vxw::Rec(hWnd)) {
        // A top-level window's caption comes and goes with WS_CAPTION.
        if (!r->parent && r->widget && ((style ^ next) & WS_CAPTION)) {
            bool visible = r->widget->isVisible();
            r->widget->setWindowFlag(Qt::FramelessWindowHint, (next & WS_CAPTION) != WS_CAPTION);
            if (visible)
                r->widget->show();
        }
    }
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLong(hWnd, GWL_EXSTYLE));
    DWORD next = (style & ~dwRemove) | dwAdd;
    if (style == next)
        return FALSE;
    ::SetWindowLong(hWnd, GWL_EXSTYLE, static_cast<LONG>(next));
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::ValidateRect(LPCRECT) {}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, void*, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, nullptr, flags);
}

void CWnd::SetRedraw(BOOL bRedraw)
{
    SendMessage(WM_SETREDRAW, bRedraw, 0);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    return ::IsDlgButtonChecked(m_hWnd, nIDButton);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED)
            return id;
    }
    return 0;
}

void CWnd::SetDlgItemText(int nID, LPCSTR lpszString)
{
    ::SetDlgItemText(m_hWnd, nID, lpszString);
}

int CWnd::GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const
{
    return static_cast<int>(::GetDlgItemText(m_hWnd, nID, lpStr, nMaxCount));
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* w = GetDlgItem(nID))
        w->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    if (!lpScrollInfo)
        return FALSE;
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r)
        return FALSE;
    auto& s = nBar == SB_VERT ? r->vscroll : r->hscroll;
    if (nBar == SB_CTL) {
        int lo = 0;
        int hi = 0;
        SendMessage(SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
        lpScrollInfo->nMin = lo;
        lpScrollInfo->nMax = hi;
        lpScrollInfo->nPos = static_cast<int>(SendMessage(SBM_GETPOS));
        lpScrollInfo->nTrackPos = lpScrollInfo->nPos;
        lpScrollInfo->nPage = 0;
        return TRUE;
    }
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = s.nMin;
        lpScrollInfo->nMax = s.nMax;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = s.nPage;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = s.nPos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = s.nPos;
    return TRUE;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL)
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r || !lpScrollInfo)
        return FALSE;
    if (nBar == SB_CTL) {
        if (lpScrollInfo->fMask & SIF_RANGE)
            SendMessage(SBM_SETRANGE, static_cast<WPARAM>(lpScrollInfo->nMin), lpScrollInfo->nMax);
        if (lpScrollInfo->fMask & SIF_POS)
            SendMessage(SBM_SETPOS, static_cast<WPARAM>(lpScrollInfo->nPos), TRUE);
        return TRUE;
    }
    auto& s = nBar == SB_VERT ? r->vscroll : r->hscroll;
    if (lpScrollInfo->fMask & SIF_RANGE) {
        s.nMin = lpScrollInfo->nMin;
        s.nMax = lpScrollInfo->nMax;
    }
    if (lpScrollInfo->fMask & SIF_PAGE)
        s.nPage = lpScrollInfo->nPage;
    if (lpScrollInfo->fMask & SIF_POS)
        s.nPos = std::clamp(lpScrollInfo->nPos, s.nMin, std::max(s.nMin, s.nMax));
    return TRUE;
}

int CWnd::GetScrollPos(int nBar) const
{
    if (nBar == SB_CTL)
        return static_cast<int>(SendMessage(SBM_GETPOS));
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    return r ? (nBar == SB_VERT ? r->vscroll.nPos : r->hscroll.nPos) : 0;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    int old = GetScrollPos(nBar);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(nBar, &si, bRedraw);
    return old;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    const_cast<CWnd*>(this)->GetScrollInfo(nBar, &si, SIF_RANGE);
    if (lpMinPos)
        *lpMinPos = si.nMin;
    if (lpMaxPos)
        *lpMaxPos = si.nMax;
}

CMenu* CWnd::GetMenu() const
{
    return nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL) const
{
    return nullptr;
}

void CWnd::DragAcceptFiles(BOOL) {}

BOOL CWnd::ContinueModal()
{
    return m_bInModalLoop;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_bInModalLoop) {
        m_bInModalLoop = false;
        if (vxw::GuiThread* gui = vxw::GuiThread::instance())
            gui->wakeNested();
    }
}

int CWnd::RunModalLoop(DWORD)
{
    vxw::GuiThread* gui = vxw::GuiThread::instance();
    if (!gui)
        return -1;
    m_bInModalLoop = true;
    HWND self = m_hWnd;
    gui->runNested([this, self] { return !::IsWindow(self) || !ContinueModal(); });
    m_bInModalLoop = false;
    return m_nModalResult;
}
