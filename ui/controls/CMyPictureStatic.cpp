#include "ui/controls/CMyPictureStatic.h"

BEGIN_MESSAGE_MAP(CMyPictureStatic, CStatic)
ON_WM_CREATE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CMyPictureStatic::CMyPictureStatic() : m_hHandCursor(nullptr), m_crColourKey(RGB(255, 255, 255)), m_bTransparent(FALSE)
{}

CMyPictureStatic::~CMyPictureStatic()
{
    if (m_hHandCursor)
        ::DestroyCursor(m_hHandCursor);
}

void CMyPictureStatic::SetImage(CString path)
{
    m_Picture.SetImage(path);
}

void CMyPictureStatic::SetTransparent(BOOL transparent, COLORREF key)
{
    m_bTransparent = transparent;
    m_crColourKey = key;
    m_Picture.SetTransparent(transparent, key);
}

void CMyPictureStatic::SetHandCursor()
{
    if (m_hHandCursor)
        ::DestroyCursor(m_hHandCursor);
    m_hHandCursor = ::LoadCursor(nullptr, IDC_HAND);
}

void CMyPictureStatic::SetToolTipText(CString text)
{
    m_strToolTip = text;
    if (::IsWindow(m_ToolTip.GetSafeHwnd())) {
        m_ToolTip.UpdateTipText(m_strToolTip, this, 0);
        return;
    }
    if (!m_ToolTip.Create(this))
        return;
    CRect rc;
    GetClientRect(&rc);
    m_ToolTip.AddTool(this, m_strToolTip, &rc, 0);
    m_ToolTip.Activate(TRUE);
}

int CMyPictureStatic::OnCreate(LPCREATESTRUCT)
{
    return Default() == -1 ? -1 : 0;
}

BOOL CMyPictureStatic::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMyPictureStatic::OnPaint()
{
    CPaintDC dc(this);
    if (!m_Picture.HasImage())
        return;
    CRect rc;
    GetClientRect(&rc);
    m_Picture.DrawImage(dc.GetSafeHdc(), 0, 0, rc.Width(), rc.Height());
}

void CMyPictureStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    m_ToolTip.RelayEvent(GetSafeHwnd(), WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
    CStatic::OnMouseMove(nFlags, point);
}

BOOL CMyPictureStatic::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hHandCursor) {
        ::SetCursor(m_hHandCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}
