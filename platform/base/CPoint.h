#pragma once
// A point in logical units, with the arithmetic of the classic class.

#include "platform/base/CSize.h"

class CRect;

class CPoint : public tagPOINT {
public:
    CPoint()
    {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT initPt)
    {
        x = initPt.x;
        y = initPt.y;
    }  // NOLINT
    explicit CPoint(SIZE initSize)
    {
        x = initSize.cx;
        y = initSize.cy;
    }
    // The packed coordinates of a mouse message: signed low and high words.
    explicit CPoint(LPARAM dwPoint)
    {
        x = GET_X_LPARAM(dwPoint);
        y = GET_Y_LPARAM(dwPoint);
    }

    void Offset(int xOffset, int yOffset)
    {
        x += xOffset;
        y += yOffset;
    }
    void Offset(POINT point) { Offset(point.x, point.y); }
    void Offset(SIZE size) { Offset(size.cx, size.cy); }
    void SetPoint(int X, int Y)
    {
        x = X;
        y = Y;
    }

    BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
    BOOL operator!=(POINT point) const { return !(*this == point); }
    // Same-type forms, so C++20 finds no reversed candidate as good as these.
    BOOL operator==(const CPoint& other) const { return x == other.x && y == other.y; }
    BOOL operator!=(const CPoint& other) const { return !(*this == other); }
    void operator+=(SIZE size) { Offset(size); }
    void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
    void operator+=(POINT point) { Offset(point); }
    void operator-=(POINT point) { Offset(-point.x, -point.y); }

    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
    CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
    CRect operator+(const RECT* lpRect) const;
    CRect operator-(const RECT* lpRect) const;
};
