// Mouse, keys and focus of the slider, and what it tells its parent.
#include "ui/controls/CImageSlider.h"

#include <cstdlib>

BEGIN_MESSAGE_MAP(CImageSlider, CStatic)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_KILLFOCUS()
ON_WM_SETFOCUS()
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

void CImageSlider::Notify(UINT message) const
{
    if (CWnd* parent = GetParent())
        parent->PostMessage(message, static_cast<WPARAM>(GetDlgCtrlID()), m_nPos);
}

void CImageSlider::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bEnabled)
        return;
    SetCapture();
    SetFocus();
    m_bDragging = TRUE;
    const int at = m_bVertical ? point.y : point.x;
    const int half = (m_bVertical ? m_nThumbHeight : m_nThumbWidth) / 2;
    const int centre = Pos2Pixel(m_nPos);
    // A press on the thumb keeps the grip; elsewhere the thumb jumps so that
    // its centre lies under the cursor.
    m_nDragOffset = std::abs(at - centre) <= half ? at - centre : 0;
    OnMouseMove(nFlags, point);
    Invalidate();
}

void CImageSlider::OnMouseMove(UINT, CPoint point)
{
    if (!m_bEnabled || !m_bDragging)
        return;
    const int thumb = m_bVertical ? m_nThumbHeight : m_nThumbWidth;
    const int low = (m_bVertical ? m_nMarginTop : m_nMarginLeft) + thumb / 2;
    const int high = (m_bVertical ? m_nChannelHeight - m_nMarginBottom : m_nChannelWidth - m_nMarginRight) - thumb / 2;
    int pixel = (m_bVertical ? point.y : point.x) - m_nDragOffset;
    if (pixel > high)
        pixel = high;
    if (pixel < low)
        pixel = low;
    if (pixel == Pos2Pixel(m_nPos))
        return;
    m_nPos = Pixel2Pos(pixel);
    Invalidate();
    Notify(IMAGESLIDER_MOVING);
}

void CImageSlider::OnLButtonUp(UINT, CPoint)
{
    if (!m_bEnabled || !m_bDragging)
        return;
    ReleaseCapture();
    m_bDragging = FALSE;
    Invalidate();
    Notify(IMAGESLIDER_MOVED);
}

UINT CImageSlider::OnGetDlgCode()
{
    if (GetKeyState(VK_TAB) < 0)
        return static_cast<UINT>(Default());
    return DLGC_WANTALLKEYS;
}

void CImageSlider::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_bEnabled)
        return;
    switch (nChar) {
    case VK_PRIOR:
        SetPos(m_nPos - m_nPage);
        break;
    case VK_NEXT:
        SetPos(m_nPos + m_nPage);
        break;
    case VK_END:
        SetPos(m_nMax);
        break;
    case VK_HOME:
        SetPos(m_nMin);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetPos(m_nPos + 1);
        break;
    case VK_LEFT:
    case VK_UP:
        SetPos(m_nPos - 1);
        break;
    default:
        Default();
        return;
    }
    Notify(IMAGESLIDER_MOVED);
}

void CImageSlider::OnKillFocus(CWnd*)
{
    m_bFocused = FALSE;
    Invalidate();
}

void CImageSlider::OnSetFocus(CWnd*)
{
    m_bFocused = TRUE;
    Invalidate();
}

int CImageSlider::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CStatic::OnCreate(lpCreateStruct);
}

void CImageSlider::OnDestroy()
{
    for (CBitmap* bitmap : {&m_bmChannel, &m_bmChannelMask, &m_bmChannelActive, &m_bmChannelActiveMask, &m_bmThumb,
                            &m_bmThumbMask, &m_bmThumbActive, &m_bmThumbActiveMask, &m_bmThumbBk})
        bitmap->DeleteObject();
    Default();
}
