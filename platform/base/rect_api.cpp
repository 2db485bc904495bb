#include "platform/base/rect_api.h"

#include <algorithm>

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom)
{
    if (!lprc)
        return FALSE;
    lprc->left = xLeft;
    lprc->top = yTop;
    lprc->right = xRight;
    lprc->bottom = yBottom;
    return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc)
{
    return SetRect(lprc, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc)
{
    if (!lprcDst || !lprcSrc)
        return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc)
{
    return !lprc || lprc->left >= lprc->right || lprc->top >= lprc->bottom;
}

BOOL EqualRect(const RECT* lprc1, const RECT* lprc2)
{
    if (!lprc1 || !lprc2)
        return FALSE;
    return lprc1->left == lprc2->left && lprc1->top == lprc2->top && lprc1->right == lprc2->right
           && lprc1->bottom == lprc2->bottom;
}

BOOL PtInRect(const RECT* lprc, POINT pt)
{
    if (!lprc)
        return FALSE;
    return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy)
{
    if (!lprc)
        return FALSE;
    lprc->left += dx;
    lprc->right += dx;
    lprc->top += dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy)
{
    if (!lprc)
        return FALSE;
    lprc->left -= dx;
    lprc->right += dx;
    lprc->top -= dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (!lprcDst || !lprcSrc1 || !lprcSrc2)
        return FALSE;
    // Work on copies: the destination may be one of the sources.
    const RECT a = *lprcSrc1;
    const RECT b = *lprcSrc2;
    if (IsRectEmpty(&a) || IsRectEmpty(&b) || a.left >= b.right || b.left >= a.right || a.top >= b.bottom
        || b.top >= a.bottom) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    lprcDst->left = std::max(a.left, b.left);
    lprcDst->right = std::min(a.right, b.right);
    lprcDst->top = std::max(a.top, b.top);
    lprcDst->bottom = std::min(a.bottom, b.bottom);
    return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (!lprcDst || !lprcSrc1 || !lprcSrc2)
        return FALSE;
    const RECT a = *lprcSrc1;
    const RECT b = *lprcSrc2;
    const bool emptyA = IsRectEmpty(&a);
    const bool emptyB = IsRectEmpty(&b);
    if (emptyA && emptyB) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    if (emptyA) {
        *lprcDst = b;
    } else if (emptyB) {
        *lprcDst = a;
    } else {
        lprcDst->left = std::min(a.left, b.left);
        lprcDst->top = std::min(a.top, b.top);
        lprcDst->right = std::max(a.right, b.right);
        lprcDst->bottom = std::max(a.bottom, b.bottom);
    }
    return TRUE;
}

BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (!lprcDst || !lprcSrc1 || !lprcSrc2)
        return FALSE;
    RECT r = *lprcSrc1;
    RECT cut;
    if (IntersectRect(&cut, lprcSrc1, lprcSrc2)) {
        // Only a cut across a whole side leaves a rectangle.
        if (cut.top == r.top && cut.bottom == r.bottom) {
            if (cut.left == r.left)
                r.left = cut.right;
            else if (cut.right == r.right)
                r.right = cut.left;
        } else if (cut.left == r.left && cut.right == r.right) {
            if (cut.top == r.top)
                r.top = cut.bottom;
            else if (cut.bottom == r.bottom)
                r.bottom = cut.top;
        }
    }
    *lprcDst = r;
    if (IsRectEmpty(&r)) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    return TRUE;
}
