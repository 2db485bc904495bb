#include "platform/base/CRect.h"

CPoint CSize::operator+(POINT point) const
{
    return CPoint(cx + point.x, cy + point.y);
}

CPoint CSize::operator-(POINT point) const
{
    return CPoint(cx - point.x, cy - point.y);
}

CRect CSize::operator+(const RECT* lpRect) const
{
    CRect r(lpRect);
    r.OffsetRect(cx, cy);
    return r;
}

CRect CSize::operator-(const RECT* lpRect) const
{
    CRect r(lpRect);
    r.OffsetRect(-cx, -cy);
    return r;
}

CRect CPoint::operator+(const RECT* lpRect) const
{
    CRect r(lpRect);
    r.OffsetRect(x, y);
    return r;
}

CRect CPoint::operator-(const RECT* lpRect) const
{
    CRect r(lpRect);
    r.OffsetRect(-x, -y);
    return r;
}

void CRect::InflateRect(LPCRECT lpRect)
{
    if (lpRect)
        InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::InflateRect(int l, int t, int r, int b)
{
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void CRect::DeflateRect(LPCRECT lpRect)
{
    if (lpRect)
        DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::DeflateRect(int l, int t, int r, int b)
{
    left += l;
    top += t;
    right -= r;
    bottom -= b;
}

void CRect::NormalizeRect()
{
    if (left > right) {
        LONG t = left;
        left = right;
        right = t;
    }
    if (top > bottom) {
        LONG t = top;
        top = bottom;
        bottom = t;
    }
}
