#pragma once
// An extent in logical units, with the arithmetic of the classic class.

#include "platform/base/types.h"

class CPoint;
class CRect;

class CSize : public tagSIZE {
public:
    CSize()
    {
        cx = 0;
        cy = 0;
    }
    CSize(int initCX, int initCY)
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE initSize)
    {
        cx = initSize.cx;
        cy = initSize.cy;
    }  // NOLINT
    explicit CSize(POINT initPt)
    {
        cx = initPt.x;
        cy = initPt.y;
    }
    // Low word is cx, high word cy, as packed in a message parameter.
    explicit CSize(DWORD dwSize)
    {
        cx = static_cast<short>(LOWORD(dwSize));
        cy = static_cast<short>(HIWORD(dwSize));
    }

    BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    BOOL operator!=(SIZE size) const { return !(*this == size); }
    // Same-type forms, so C++20 finds no reversed candidate as good as these.
    BOOL operator==(const CSize& other) const { return cx == other.cx && cy == other.cy; }
    BOOL operator!=(const CSize& other) const { return !(*this == other); }
    void operator+=(SIZE size)
    {
        cx += size.cx;
        cy += size.cy;
    }
    void operator-=(SIZE size)
    {
        cx -= size.cx;
        cy -= size.cy;
    }
    void SetSize(int CX, int CY)
    {
        cx = CX;
        cy = CY;
    }

    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CPoint operator+(POINT point) const;
    CPoint operator-(POINT point) const;
    CRect operator+(const RECT* lpRect) const;
    CRect operator-(const RECT* lpRect) const;
};
