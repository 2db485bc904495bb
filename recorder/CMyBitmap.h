#pragma once
// Skin images of the recorder's buttons and the drawing helpers behind them:
// a plain copy, a copy that leaves key-coloured pixels of the destination
// alone, and the region of the pixels that are not key-coloured.
//
// GUI thread.

#include "platform/platform.h"

class CEnBitmap : public CBitmap {};

class CMyBitmap : public CEnBitmap {
public:
    // DrawCopy when the key colour is not in use, else DrawTransparentBitmap.
    BOOL Draw(CDC* pDC, LPCRECT rect, COLORREF key, BOOL useKey);
    // Copies the image part at the rectangle's top-left, of its size, to
    // (0, 0); a null rectangle copies the whole image.
    BOOL DrawCopy(CDC* pDC, LPCRECT rect);
};

// Draws the image so that its key-coloured pixels leave the destination
// unchanged: a monochrome mask, SRCAND, then SRCPAINT.
void DrawTransparentBitmap(CDC* pDC, HBITMAP image, int width, int height, int srcX, int srcY, COLORREF key);

// A new region of the image's pixels that differ from the key colour; the
// caller owns it. Null when the image cannot be read.
HRGN BitmapToRegion(HBITMAP image, COLORREF key);
