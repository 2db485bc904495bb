#include "recorder/CMyBitmapButton.h"

#include "resources/VXKSTRes/resource.h"

namespace vxkst {

CMyToolTipCtrl::~CMyToolTipCtrl() = default;

BEGIN_MESSAGE_MAP(CMyToolTipCtrl, CToolTipCtrl)
END_MESSAGE_MAP()

}  // namespace vxkst

BEGIN_MESSAGE_MAP(CMyBitmapButton, CButton)
ON_WM_ERASEBKGND()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMyBitmapButton::CMyBitmapButton()
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDC_HAND_CURSOR), RT_GROUP_CURSOR);
    if (module)
        m_hCursor = ::LoadCursor(module, MAKEINTRESOURCE(IDC_HAND_CURSOR));
}

CMyBitmapButton::~CMyBitmapButton()
{
    Detach();
    if (m_hRegion)
        ::DeleteObject(m_hRegion);
    if (m_hCursor)
        ::DestroyCursor(m_hCursor);
}

void CMyBitmapButton::Detach()
{
    m_bmpNormal.Detach();
    m_bmpPressed.Detach();
    m_bmpDisabled.Detach();
}

BOOL CMyBitmapButton::SetBitmaps(HBITMAP normal, HBITMAP pressed, HBITMAP disabled)
{
    Detach();
    if (!normal || !m_bmpNormal.Attach(normal))
        return FALSE;
    BOOL ok = TRUE;
    if (pressed && !m_bmpPressed.Attach(pressed))
        ok = FALSE;
    if (disabled && !m_bmpDisabled.Attach(disabled))
        ok = FALSE;
    if (m_bUseKey) {
        HRGN region = BitmapToRegion(normal, m_crKey);
        if (region && m_hWnd) {
            // The window takes a region of its own; ours stays ours.
            HRGN forWindow = ::CreateRectRgn(0, 0, 0, 0);
            ::CombineRgn(forWindow, region, nullptr, RGN_COPY);
            ::SetWindowRgn(m_hWnd, forWindow, TRUE);
            if (HDC dc = ::GetDC(m_hWnd)) {
                ::SelectClipRgn(dc, region);
                ::ReleaseDC(m_hWnd, dc);
            }
        }
        if (m_hRegion)
            ::DeleteObject(m_hRegion);
        m_hRegion = region;
    }
    if (m_hWnd)
        Invalidate();
    return ok;
}

void CMyBitmapButton::SetToolTipText(const CString& text, const CString& title)
{
    m_strTip = text;
    m_strTipTitle = title;
    if (!m_tip.m_hWnd) {
        if (!m_tip.Create(this))
            return;
        CRect rc;
        GetClientRect(&rc);
        m_tip.AddTool(this, m_strTip, &rc, 0);
        m_tip.Activate(TRUE);
    } else {
        m_tip.UpdateTipText(m_strTip, this, 0);
    }
}

HBITMAP CMyBitmapButton::ImageForState(UINT state) const
{
    if ((state & ODS_SELECTED) && m_bmpPressed.m_hObject)
        return static_cast<HBITMAP>(m_bmpPressed.m_hObject);
    if ((state & ODS_DISABLED) && m_bmpDisabled.m_hObject)
        return static_cast<HBITMAP>(m_bmpDisabled.m_hObject);
    return static_cast<HBITMAP>(m_bmpNormal.m_hObject);
}

void CMyBitmapButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis || !m_bmpNormal.m_hObject)
        return;
    CMyBitmap* image = &m_bmpNormal;
    if ((dis->itemState & ODS_SELECTED) && m_bmpPressed.m_hObject)
        image = &m_bmpPressed;
    else if ((dis->itemState & ODS_DISABLED) && m_bmpDisabled.m_hObject)
        image = &m_bmpDisabled;
    CDC* dc = CDC::FromHandle(dis->hDC);
    image->Draw(dc, &dis->rcItem, m_crKey, m_bUseKey);
}

BOOL CMyBitmapButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CMyBitmapButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (IsWindowEnabled() && m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CMyBitmapButton::RelayToTip(UINT message, UINT flags, CPoint point)
{
    if (!m_tip.m_hWnd)
        return;
    MSG msg{};
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = flags;
    msg.lParam = MAKELPARAM(point.x, point.y);
    msg.time = 0;
    msg.pt = {point.x, point.y};
    m_tip.RelayEvent(&msg);
}

void CMyBitmapButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    RelayToTip(WM_LBUTTONDOWN, nFlags, point);
    CButton::OnLButtonDown(nFlags, point);
}

void CMyBitmapButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    RelayToTip(WM_LBUTTONUP, nFlags, point);
    CButton::OnLButtonUp(nFlags, point);
}

void CMyBitmapButton::OnMouseMove(UINT nFlags, CPoint point)
{
    RelayToTip(WM_MOUSEMOVE, nFlags, point);
    CButton::OnMouseMove(nFlags, point);
}

void CMyBitmapButton::OnDestroy()
{
    CButton::OnDestroy();
    if (m_hRegion) {
        ::DeleteObject(m_hRegion);
        m_hRegion = nullptr;
    }
    if (m_hCursor) {
        ::DestroyCursor(m_hCursor);
        m_hCursor = nullptr;
    }
}
