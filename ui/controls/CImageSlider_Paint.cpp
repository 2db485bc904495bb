// Painting the slider and the conversions between position and pixel.
//
// Every paint starts from scratch (the parent's picture under a transparent
// channel, else the background colour), so the focus rectangle is drawn
// only while focused and nothing of an earlier paint is restored.
#include "ui/controls/CImageSlider.h"

int CImageSlider::Pos2Pixel(int nPos) const
{
    const int thumb = m_bVertical ? m_nThumbHeight : m_nThumbWidth;
    const int start = m_bVertical ? m_nMarginTop : m_nMarginLeft;
    const int end = m_bVertical ? m_nMarginBottom : m_nMarginRight;
    const int channel = m_bVertical ? m_nChannelHeight : m_nChannelWidth;
    const int travel = channel - end - thumb - start;
    // An empty range or travel has one place: the start of the travel.
    if (m_nMax == m_nMin || travel == 0)
        return thumb / 2 + start;
    return thumb / 2 + start + static_cast<int>((nPos - m_nMin) / static_cast<double>(m_nMax - m_nMin) * travel);
}

int CImageSlider::Pixel2Pos(int nPixel) const
{
    const int thumb = m_bVertical ? m_nThumbHeight : m_nThumbWidth;
    const int start = m_bVertical ? m_nMarginTop : m_nMarginLeft;
    const int end = m_bVertical ? m_nMarginBottom : m_nMarginRight;
    const int channel = m_bVertical ? m_nChannelHeight : m_nChannelWidth;
    const int travel = channel - end - start - thumb;
    if (m_nMax == m_nMin || travel == 0)
        return m_nMin;
    return static_cast<int>((nPixel - thumb / 2 - start) / static_cast<double>(travel) * (m_nMax - m_nMin) + m_nMin);
}

void CImageSlider::DrawBitmap(CDC* pDC, int x, int y, int w, int h, CBitmap* pBitmap, CBitmap* pMask, int srcX,
                              int srcY)
{
    if (w <= 0 || h <= 0 || !pBitmap->GetSafeHandle())
        return;
    CDC src;
    src.CreateCompatibleDC(pDC);
    const bool masked = pMask && pMask->GetSafeHandle();
    if (masked) {
        // Mask bits: set (white) keeps what lies below, clear blackens it.
        const COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
        const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
        CBitmap* old = src.SelectObject(pMask);
        pDC->BitBlt(x, y, w, h, &src, srcX, srcY, SRCAND);
        src.SelectObject(old);
        pDC->SetBkColor(oldBk);
        pDC->SetTextColor(oldText);
    }
    CBitmap* old = src.SelectObject(pBitmap);
    pDC->BitBlt(x, y, w, h, &src, srcX, srcY, masked ? SRCPAINT : SRCCOPY);
    src.SelectObject(old);
}

void CImageSlider::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height());
    CBitmap* oldBmp = mem.SelectObject(&bmp);
    if (m_bChannelLoaded && m_bChannelTransparent)
        mem.BitBlt(0, 0, rc.Width(), rc.Height(), &dc, 0, 0, SRCCOPY);
    else
        mem.FillSolidRect(&rc, dc.GetBkColor());

    const int thumbPixel = Pos2Pixel(m_nPos);
    CBitmap* channelMask = m_bChannelTransparent ? &m_bmChannelMask : nullptr;
    CBitmap* activeMask = m_bChannelTransparent ? &m_bmChannelActiveMask : nullptr;
    if (m_bChannelLoaded) {
        if (!m_bChannelActive || !m_bEnabled) {
            DrawBitmap(&mem, 0, 0, m_nChannelWidth, m_nChannelHeight, &m_bmChannel, channelMask, 0, 0);
        } else if (m_bVertical) {
            DrawBitmap(&mem, 0, 0, m_nChannelWidth, thumbPixel, &m_bmChannelActive, activeMask, 0, 0);
            DrawBitmap(&mem, 0, thumbPixel, m_nChannelWidth, m_nChannelHeight - thumbPixel, &m_bmChannel, channelMask,
                       0, thumbPixel);
        } else {
            DrawBitmap(&mem, 0, 0, thumbPixel, m_nChannelHeight, &m_bmChannelActive, activeMask, 0, 0);
            DrawBitmap(&mem, thumbPixel, 0, m_nChannelWidth - thumbPixel, m_nChannelHeight, &m_bmChannel, channelMask,
                       thumbPixel, 0);
        }
    }

    if (m_bThumbLoaded && m_bEnabled) {
        const bool active = m_bDragging && m_bThumbActive;
        CBitmap* thumb = active ? &m_bmThumbActive : &m_bmThumb;
        CBitmap* mask = m_bThumbTransparent ? (active ? &m_bmThumbActiveMask : &m_bmThumbMask) : nullptr;
        const int x = m_bVertical ? m_nMarginLeft : thumbPixel - m_nThumbWidth / 2;
        const int y = m_bVertical ? thumbPixel - m_nThumbHeight / 2 : m_nMarginTop;
        DrawBitmap(&mem, x, y, m_nThumbWidth, m_nThumbHeight, thumb, mask, 0, 0);
    }

    m_bFocusRectShown = m_bFocused && m_bEnabled && m_bDrawFocusRect;
    if (m_bFocusRectShown)
        mem.DrawFocusRect(&rc);

    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBmp);
}

BOOL CImageSlider::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
