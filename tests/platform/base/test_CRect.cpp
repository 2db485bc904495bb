#include "platform/base/CRect.h"

#include <gtest/gtest.h>

namespace {
::testing::AssertionResult Is(const RECT& r, int l, int t, int rr, int b)
{
    if (r.left == l && r.top == t && r.right == rr && r.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom
                                         << ") != (" << l << "," << t << "," << rr << "," << b << ")";
}
}  // namespace

TEST(CRect, MeasuresAndPoints)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_TRUE(r.Size() == CSize(100, 50));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
    EXPECT_TRUE(r.BottomRight() == CPoint(110, 70));
    EXPECT_TRUE(r.CenterPoint() == CPoint(60, 45));
    r.TopLeft() = CPoint(0, 0);  // TopLeft is a reference into the rectangle
    EXPECT_TRUE(Is(r, 0, 0, 110, 70));
    EXPECT_TRUE(Is(CRect(CPoint(1, 2), CSize(3, 4)), 1, 2, 4, 6));
    EXPECT_TRUE(Is(CRect(CPoint(1, 2), CPoint(3, 4)), 1, 2, 3, 4));
    EXPECT_TRUE(Is(CRect(static_cast<LPCRECT>(nullptr)), 0, 0, 0, 0));

    LPRECT p = r;
    LPCRECT cp = r;
    EXPECT_EQ(p, &r);
    EXPECT_EQ(cp, &r);
}

TEST(CRect, EmptyNullAndContainment)
{
    struct Case {
        CRect r;
        bool empty, null;
    } cases[] = {
        {CRect(0, 0, 0, 0), true, true},   {CRect(0, 0, 10, 0), true, false},   {CRect(5, 5, 4, 10), true, false},
        {CRect(0, 0, 1, 1), false, false}, {CRect(-5, -5, 5, 5), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!!c.r.IsRectEmpty(), c.empty);
        EXPECT_EQ(!!c.r.IsRectNull(), c.null);
    }
    // Right and bottom edges are outside.
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10)));
    EXPECT_FALSE(r.PtInRect(CPoint(-1, 5)));
    EXPECT_FALSE(CRect(5, 5, 0, 0).PtInRect(CPoint(2, 2)));
}

TEST(CRect, InflateDeflateOffset)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(2, 3);
    EXPECT_TRUE(Is(r, 8, 7, 22, 23));
    r.DeflateRect(2, 3);
    EXPECT_TRUE(Is(r, 10, 10, 20, 20));
    r.InflateRect(CSize(1, 1));
    r.DeflateRect(CSize(1, 1));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_TRUE(Is(r, 9, 8, 23, 24));
    r.DeflateRect(1, 2, 3, 4);
    CRect by(1, 1, 2, 2);
    r.InflateRect(&by);
    EXPECT_TRUE(Is(r, 9, 9, 22, 22));
    r.DeflateRect(&by);
    EXPECT_TRUE(Is(r, 10, 10, 20, 20));
    r.OffsetRect(5, -5);
    EXPECT_TRUE(Is(r, 15, 5, 25, 15));
    r.OffsetRect(CPoint(-5, 5));
    r.OffsetRect(CSize(1, 1));
    EXPECT_TRUE(Is(r, 11, 11, 21, 21));
    r.MoveToXY(0, 0);
    EXPECT_TRUE(Is(r, 0, 0, 10, 10));

    CRect n(10, 20, 0, 5);
    n.NormalizeRect();
    EXPECT_TRUE(Is(n, 0, 5, 10, 20));
}

TEST(CRect, IntersectAndUnion)
{
    struct Case {
        CRect a, b;
        bool intersects;
        CRect inter;
        bool unionNonEmpty;
        CRect uni;
    } cases[] = {
        {CRect(0, 0, 10, 10), CRect(5, 5, 15, 15), true, CRect(5, 5, 10, 10), true, CRect(0, 0, 15, 15)},
        // Touching edges do not overlap.
        {CRect(0, 0, 10, 10), CRect(10, 0, 20, 10), false, CRect(), true, CRect(0, 0, 20, 10)},
        {CRect(0, 0, 10, 10), CRect(2, 2, 4, 4), true, CRect(2, 2, 4, 4), true, CRect(0, 0, 10, 10)},
        // An empty rectangle is left out of a union, wherever it lies.
        {CRect(0, 0, 10, 10), CRect(50, 50, 50, 60), false, CRect(), true, CRect(0, 0, 10, 10)},
        {CRect(), CRect(), false, CRect(), false, CRect()},
    };
    for (const auto& c : cases) {
        CRect r(1, 2, 3, 4);
        EXPECT_EQ(!!r.IntersectRect(&c.a, &c.b), c.intersects);
        EXPECT_TRUE(r == c.inter);
        EXPECT_TRUE((c.a & c.b) == c.inter);
        EXPECT_EQ(!!r.UnionRect(&c.a, &c.b), c.unionNonEmpty);
        EXPECT_TRUE(r == c.uni);
        EXPECT_TRUE((c.a | c.b) == c.uni);
    }
    // The destination may be a source.
    CRect r(0, 0, 10, 10);
    r &= CRect(5, 5, 20, 20);
    EXPECT_TRUE(Is(r, 5, 5, 10, 10));
    r |= CRect(0, 0, 1, 1);
    EXPECT_TRUE(Is(r, 0, 0, 10, 10));
}

TEST(CRect, Operators)
{
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r == CRect(0, 0, 10, 10));
    EXPECT_TRUE(r != CRect(0, 0, 10, 11));
    EXPECT_TRUE(r.EqualRect(CRect(0, 0, 10, 10)));
    r += CPoint(1, 2);
    EXPECT_TRUE(Is(r, 1, 2, 11, 12));
    r -= CSize(1, 2);
    EXPECT_TRUE(Is(r, 0, 0, 10, 10));
    CRect inset(1, 1, 1, 1);
    r -= &inset;
    EXPECT_TRUE(Is(r, 1, 1, 9, 9));
    r += &inset;
    EXPECT_TRUE(Is(r + CPoint(1, 1), 1, 1, 11, 11));
    EXPECT_TRUE(Is(r - CSize(1, 1), -1, -1, 9, 9));

    CPoint p(3, 4);
    EXPECT_TRUE(p + CSize(1, 1) == CPoint(4, 5));
    EXPECT_TRUE(CSize(p - CPoint(1, 1)) == CSize(2, 3));
    EXPECT_TRUE(-p == CPoint(-3, -4));
    p += CPoint(1, 1);
    p -= CSize(2, 2);
    EXPECT_TRUE(p == CPoint(2, 3));
    // A mouse message's packed coordinates are signed words.
    EXPECT_TRUE(CPoint(static_cast<LPARAM>(MAKELPARAM(-5, 7))) == CPoint(-5, 7));
    EXPECT_TRUE(CSize(1, 2) + CSize(3, 4) == CSize(4, 6));
}

TEST(CRect, SubtractRect)
{
    CRect r;
    CRect src(0, 0, 10, 10);
    CRect left(0, 0, 4, 10);
    EXPECT_TRUE(r.SubtractRect(&src, &left));
    EXPECT_TRUE(Is(r, 4, 0, 10, 10));
    CRect middle(3, 3, 6, 6);  // a hole leaves no rectangle: the source stays
    EXPECT_TRUE(r.SubtractRect(&src, &middle));
    EXPECT_TRUE(Is(r, 0, 0, 10, 10));
    EXPECT_FALSE(r.SubtractRect(&src, &src));
    EXPECT_TRUE(r.IsRectNull());
}
