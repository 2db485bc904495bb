#include "recorder/CMyBitmap.h"

#include <vector>

BOOL CMyBitmap::Draw(CDC* pDC, LPCRECT rect, COLORREF key, BOOL useKey)
{
    if (!useKey)
        return DrawCopy(pDC, rect);
    BITMAP bm{};
    if (!m_hObject || !GetBitmap(&bm))
        return TRUE;
    int x = rect ? rect->left : 0;
    int y = rect ? rect->top : 0;
    int w = rect ? rect->right - rect->left : bm.bmWidth;
    int h = rect ? rect->bottom - rect->top : bm.bmHeight;
    DrawTransparentBitmap(pDC, static_cast<HBITMAP>(m_hObject), w, h, x, y, key);
    return TRUE;
}

BOOL CMyBitmap::DrawCopy(CDC* pDC, LPCRECT rect)
{
    BITMAP bm{};
    if (!pDC || !m_hObject || !GetBitmap(&bm))
        return FALSE;
    CDC mem;
    if (!mem.CreateCompatibleDC(pDC))
        return FALSE;
    CBitmap* old = mem.SelectObject(this);
    int x = rect ? rect->left : 0;
    int y = rect ? rect->top : 0;
    int w = rect ? rect->right - rect->left : bm.bmWidth;
    int h = rect ? rect->bottom - rect->top : bm.bmHeight;
    pDC->BitBlt(0, 0, w, h, &mem, x, y, SRCCOPY);
    mem.SelectObject(old);
    return TRUE;
}

void DrawTransparentBitmap(CDC* pDC, HBITMAP image, int width, int height, int srcX, int srcY, COLORREF key)
{
    if (!pDC || !image || width <= 0 || height <= 0)
        return;
    CDC src, copy, mask;
    src.CreateCompatibleDC(pDC);
    copy.CreateCompatibleDC(pDC);
    mask.CreateCompatibleDC(pDC);
    HGDIOBJ oldSrc = ::SelectObject(src.GetSafeHdc(), image);
    CBitmap copyBmp, maskBmp;
    copyBmp.CreateCompatibleBitmap(pDC, width, height);
    maskBmp.CreateBitmap(width, height, 1, 1, nullptr);
    CBitmap* oldCopy = copy.SelectObject(&copyBmp);
    CBitmap* oldMask = mask.SelectObject(&maskBmp);
    // 1. The part of the image that is drawn.
    copy.BitBlt(0, 0, width, height, &src, srcX, srcY, SRCCOPY);
    // 2. The mask: key-coloured pixels white, all others black.
    COLORREF oldBk = copy.SetBkColor(key);
    mask.BitBlt(0, 0, width, height, &copy, 0, 0, SRCCOPY);
    copy.SetBkColor(oldBk);
    // 3. Key-coloured pixels of the copy become black.
    copy.SetBkColor(RGB(0, 0, 0));
    copy.SetTextColor(RGB(255, 255, 255));
    copy.BitBlt(0, 0, width, height, &mask, 0, 0, SRCAND);
    // 4. The destination turns black where the image is opaque.
    COLORREF dstBk = pDC->SetBkColor(RGB(255, 255, 255));
    COLORREF dstText = pDC->SetTextColor(RGB(0, 0, 0));
    pDC->BitBlt(0, 0, width, height, &mask, 0, 0, SRCAND);
    // 5. The image goes over it.
    pDC->BitBlt(0, 0, width, height, &copy, 0, 0, SRCPAINT);
    pDC->SetBkColor(dstBk);
    pDC->SetTextColor(dstText);
    copy.SelectObject(oldCopy);
    mask.SelectObject(oldMask);
    ::SelectObject(src.GetSafeHdc(), oldSrc);
}

HRGN BitmapToRegion(HBITMAP image, COLORREF key)
{
    BITMAP bm{};
    if (!image || !::GetObject(image, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 || bm.bmBitsPixel != 32)
        return nullptr;
    const int w = bm.bmWidth, h = bm.bmHeight;
    std::vector<unsigned char> bits(static_cast<size_t>(w) * h * 4);
    if (::GetBitmapBits(image, static_cast<LONG>(bits.size()), bits.data()) != static_cast<LONG>(bits.size()))
        return nullptr;
    auto isKey = [&](int x, int y) {
        const unsigned char* p = &bits[(static_cast<size_t>(y) * w + x) * 4];  // B G R A
        return RGB(p[2], p[1], p[0]) == (key & 0xFFFFFF);
    };
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    // Rows from the bottom up; each run of non-key pixels is one rectangle,
    // closed at the first key pixel or at the row's end.
    for (int y = h - 1; y >= 0; --y) {
        int x = 0;
        while (x < w) {
            while (x < w && isKey(x, y))
                ++x;
            int start = x;
            while (x < w && !isKey(x, y))
                ++x;
            if (x > start) {
                HRGN run = ::CreateRectRgn(start, y, x, y + 1);
                ::CombineRgn(region, region, run, RGN_OR);
                ::DeleteObject(run);
            }
        }
    }
    return region;
}
