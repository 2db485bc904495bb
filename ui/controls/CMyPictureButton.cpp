#include "ui/controls/CMyPictureButton.h"

IMPLEMENT_DYNAMIC(CMyPictureButton, CButton)

BEGIN_MESSAGE_MAP(CMyPictureButton, CButton)
ON_WM_ERASEBKGND()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_DESTROY()
ON_WM_MOUSEHOVER()
ON_WM_MOUSELEAVE()
ON_WM_ENABLE()
END_MESSAGE_MAP()

CMyPictureButton::CMyPictureButton()
    : m_crColourKey(RGB(255, 255, 255)), m_bTransparent(FALSE), m_hHandCursor(nullptr), m_bButtonOn(FALSE),
      m_bButtonOff(FALSE), m_bTrackArmed(TRUE)
{}

CMyPictureButton::~CMyPictureButton()
{
    if (m_hHandCursor)
        DestroyCursor(m_hHandCursor);
}

int CMyPictureButton::SetImage(UINT normal, UINT hot, UINT on, UINT off, UINT disabled, const char* resType,
                               BOOL transparent, COLORREF key, BOOL repaint)
{
    if (m_hWnd)
        SetButtonStyle(BS_OWNERDRAW, TRUE);
    m_picNormal.SetImage(normal, resType, transparent, key);
    m_picOn.SetImage(on, resType, transparent, key);
    m_picOff.SetImage(off, resType, transparent, key);
    m_picHot.SetImage(hot, resType, transparent, key);
    m_picDisabled.SetImage(disabled, resType, transparent, key);
    if (repaint && m_hWnd)
        Invalidate();
    return m_picNormal.HasImage();
}

int CMyPictureButton::SetImage(CString normal, CString hot, CString on, CString off, CString disabled, BOOL repaint)
{
    if (m_hWnd)
        SetButtonStyle(BS_OWNERDRAW, TRUE);
    m_picNormal.SetImage(normal);
    m_picOn.SetImage(on);
    m_picOff.SetImage(off);
    m_picHot.SetImage(hot);
    m_picDisabled.SetImage(disabled);
    if (repaint && m_hWnd)
        Invalidate();
    return m_picNormal.HasImage();
}

void CMyPictureButton::SetTransparent(BOOL transparent, COLORREF key)
{
    m_bTransparent = transparent;
    m_crColourKey = key;
    for (CMyPicture* pic : {&m_picNormal, &m_picHot, &m_picOn, &m_picOff, &m_picDisabled})
        pic->SetTransparent(transparent, key);
    m_bButtonOn = FALSE;
}

void CMyPictureButton::SetButtonOnOff(BOOL on, BOOL off)
{
    m_bButtonOn = on;
    m_bButtonOff = off;
    if (m_hWnd) {
        Invalidate();
        UpdateWindow();
    }
}

void CMyPictureButton::SetFitImageSize()
{
    if (!m_hWnd || !m_picNormal.HasImage())
        return;
    SetWindowPos(nullptr, 0, 0, m_picNormal.GetWidth(), m_picNormal.GetHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMyPictureButton::SetFitTransparentRegion()
{
    if (!m_hWnd || !m_bTransparent || !m_picNormal.HasImage())
        return;
    CRect rc;
    GetWindowRect(&rc);
    CDC* pDC = GetWindowDC();
    HRGN rgn = m_picNormal.GetRgn(pDC ? pDC->m_hDC : nullptr, rc.Width(), rc.Height());
    ReleaseDC(pDC);
    if (!rgn)
        return;
    SetWindowRgn(rgn, FALSE);
    // The window keeps a copy of the region.
    DeleteObject(rgn);
}

void CMyPictureButton::SetHandCursor()
{
    if (m_hHandCursor)
        DestroyCursor(m_hHandCursor);
    m_hHandCursor = LoadCursor(nullptr, IDC_HAND);
}

void CMyPictureButton::SetToolTipText(CString text, CString text2)
{
    m_strToolTip = text;
    m_strToolTip2 = text2;
    if (m_ToolTip.m_hWnd) {
        m_ToolTip.UpdateTipText(text, this, 0);
        return;
    }
    if (!m_hWnd || !m_ToolTip.Create(this))
        return;
    m_ToolTip.AddTool(this, text, nullptr, 0);
    m_ToolTip.SetDelayTime(TTDT_AUTOMATIC, 200);
    m_ToolTip.Activate(TRUE);
}

void CMyPictureButton::SetToolTipText(BOOL first)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.UpdateTipText(first ? m_strToolTip : m_strToolTip2, this, 0);
}

CMyPicture* CMyPictureButton::FaceFor(UINT itemState)
{
    if (!m_picNormal.HasImage())
        return nullptr;
    CMyPicture* base = &m_picNormal;
    if (m_bButtonOn && m_picOn.HasImage())
        base = &m_picOn;
    if (m_bButtonOff && m_picOff.HasImage())
        base = &m_picOff;
    if ((itemState & (ODS_SELECTED | ODS_HOTLIGHT)) && m_picHot.HasImage())
        return &m_picHot;
    if ((itemState & ODS_DISABLED) && m_picDisabled.HasImage())
        return &m_picDisabled;
    return base;
}

void CMyPictureButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CMyPicture* face = FaceFor(lpDrawItemStruct->itemState);
    if (!face)
        return;
    const RECT& rc = lpDrawItemStruct->rcItem;
    face->DrawImage(lpDrawItemStruct->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

BOOL CMyPictureButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CMyPictureButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (IsWindowEnabled() && m_hHandCursor) {
        SetCursor(m_hHandCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CMyPictureButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_ToolTip.RelayEvent(m_hWnd, WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
    Default();
}

void CMyPictureButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_ToolTip.RelayEvent(m_hWnd, WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
    Default();
}

void CMyPictureButton::OnMouseMove(UINT nFlags, CPoint point)
{
    m_ToolTip.RelayEvent(m_hWnd, WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
    if (m_bTrackArmed) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 2;
        TrackMouseEvent(&tme);
        m_bTrackArmed = FALSE;
    }
    Default();
}

void CMyPictureButton::OnDestroy()
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.DestroyWindow();
    Default();
}

void CMyPictureButton::OnMouseHover(UINT, CPoint)
{
    SetState(TRUE);
}

void CMyPictureButton::OnMouseLeave()
{
    m_bTrackArmed = TRUE;
    SetState(FALSE);
}

void CMyPictureButton::OnEnable(BOOL bEnable)
{
    if (!bEnable) {
        if (CWnd* parent = GetParent()) {
            CWnd* next = parent->GetNextDlgTabItem(this);
            if (next && next != this)
                next->SetFocus();
            else
                parent->SetFocus();
        }
    }
    Default();
}
