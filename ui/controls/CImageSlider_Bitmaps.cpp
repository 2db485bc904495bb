// Loading the channel and thumb bitmaps with their masks, and the plain
// setters of the slider.
#include "ui/controls/CImageSlider.h"

namespace {

constexpr COLORREF kKeyOfPixel = 0xFF000000;

// The mask is white where the bitmap has the key colour; the bitmap's key
// pixels then turn black, so that AND with the mask and OR with the bitmap
// draws it keyed.
void MakeMask(CBitmap& bitmap, CBitmap& mask, COLORREF key, int x, int y)
{
    mask.DeleteObject();
    BITMAP bm{};
    if (!bitmap.GetSafeHandle() || !bitmap.GetBitmap(&bm))
        return;
    CDC src;
    CDC dst;
    src.CreateCompatibleDC(nullptr);
    dst.CreateCompatibleDC(nullptr);
    mask.CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr);
    CBitmap* oldSrc = src.SelectObject(&bitmap);
    CBitmap* oldDst = dst.SelectObject(&mask);
    src.SetBkColor(key == kKeyOfPixel ? src.GetPixel(x, y) : key);
    dst.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &src, 0, 0, SRCCOPY);
    // Mask bits become black (set) and white (clear) on the colour bitmap.
    src.SetBkColor(RGB(0, 0, 0));
    src.SetTextColor(RGB(255, 255, 255));
    src.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &dst, 0, 0, SRCAND);
    src.SelectObject(oldSrc);
    dst.SelectObject(oldDst);
}

bool Size(const CBitmap& bitmap, int& w, int& h)
{
    BITMAP bm{};
    if (!bitmap.GetSafeHandle() || !bitmap.GetBitmap(&bm))
        return false;
    w = bm.bmWidth;
    h = bm.bmHeight;
    return true;
}

}  // namespace

BOOL CImageSlider::SetBitmapChannel(UINT nID, UINT nActiveID, BOOL bTransparent, COLORREF crKey, int x, int y)
{
    m_bmChannel.DeleteObject();
    m_bmChannelMask.DeleteObject();
    m_bmChannelActive.DeleteObject();
    m_bmChannelActiveMask.DeleteObject();
    m_bChannelLoaded = FALSE;
    m_bChannelActive = FALSE;
    if (nID == 0)
        return TRUE;
    if (!m_bmChannel.LoadBitmap(nID))
        return FALSE;
    if (bTransparent)
        MakeMask(m_bmChannel, m_bmChannelMask, crKey, x, y);
    if (nActiveID) {
        if (!m_bmChannelActive.LoadBitmap(nActiveID)) {
            m_bmChannel.DeleteObject();
            m_bmChannelMask.DeleteObject();
            return FALSE;
        }
        if (bTransparent)
            MakeMask(m_bmChannelActive, m_bmChannelActiveMask, crKey, x, y);
        m_bChannelActive = TRUE;
    }
    Size(m_bmChannel, m_nChannelWidth, m_nChannelHeight);
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, m_nChannelWidth, m_nChannelHeight, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(&m_rcClient);
    }
    m_bChannelTransparent = bTransparent;
    m_bChannelLoaded = TRUE;
    return TRUE;
}

BOOL CImageSlider::SetBitmapThumb(UINT nID, UINT nActiveID, BOOL bTransparent, COLORREF crKey, int x, int y)
{
    m_bmThumb.DeleteObject();
    m_bmThumbMask.DeleteObject();
    m_bmThumbActive.DeleteObject();
    m_bmThumbActiveMask.DeleteObject();
    m_bThumbLoaded = FALSE;
    m_bThumbActive = FALSE;
    if (nID == 0)
        return TRUE;
    if (!m_bmThumb.LoadBitmap(nID))
        return FALSE;
    if (bTransparent)
        MakeMask(m_bmThumb, m_bmThumbMask, crKey, x, y);
    if (nActiveID) {
        if (!m_bmThumbActive.LoadBitmap(nActiveID)) {
            m_bmThumb.DeleteObject();
            m_bmThumbMask.DeleteObject();
            return FALSE;
        }
        if (bTransparent)
            MakeMask(m_bmThumbActive, m_bmThumbActiveMask, crKey, x, y);
        m_bThumbActive = TRUE;
    }
    Size(m_bmThumb, m_nThumbWidth, m_nThumbHeight);
    if (!m_bChannelLoaded && m_hWnd) {
        GetClientRect(&m_rcClient);
        m_nChannelWidth = m_rcClient.right - m_rcClient.left;
        m_nChannelHeight = m_rcClient.bottom - m_rcClient.top;
    }
    m_bThumbTransparent = bTransparent;
    m_bThumbLoaded = TRUE;
    return TRUE;
}

void CImageSlider::SetRange(int nMin, int nMax, BOOL bRepaint)
{
    m_nMin = nMin;
    m_nMax = nMax;
    if (bRepaint && m_hWnd)
        Invalidate();
}

void CImageSlider::SetRangeMin(int nMin, BOOL bRepaint)
{
    SetRange(nMin, m_nMax, bRepaint);
}

void CImageSlider::SetRangeMax(int nMax, BOOL bRepaint)
{
    SetRange(m_nMin, nMax, bRepaint);
}

void CImageSlider::GetRange(int& nMin, int& nMax) const
{
    nMin = m_nMin;
    nMax = m_nMax;
}

void CImageSlider::SetPos(int nPos)
{
    if (nPos > m_nMax)
        nPos = m_nMax;
    if (nPos < m_nMin)
        nPos = m_nMin;
    m_nPos = nPos;
    if (m_hWnd)
        Invalidate();
}

int CImageSlider::SetPageSize(int nSize)
{
    const int previous = m_nPage;
    m_nPage = nSize;
    return previous;
}

void CImageSlider::SetMargin(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nMarginLeft = nLeft;
    m_nMarginTop = nTop;
    m_nMarginRight = nRight;
    m_nMarginBottom = nBottom;
}

void CImageSlider::DrawFocusRect(BOOL bDraw, BOOL bRepaint)
{
    m_bDrawFocusRect = bDraw;
    if (bRepaint && m_hWnd)
        Invalidate();
}

void CImageSlider::Enable(BOOL bEnable)
{
    m_bEnabled = bEnable;
    if (!bEnable && m_bDragging) {
        m_bDragging = FALSE;
        ReleaseCapture();
    }
    if (m_hWnd)
        Invalidate();
}
