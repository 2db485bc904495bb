// Shapes and pixels: rectangles, frames, lines, ellipses, polygons, edges
// and the focus rectangle, with the classic pixel rules (right and bottom
// edges excluded, lines without their last point).
#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"

#include <QPolygon>

using namespace vxgdi;

namespace {

// Fills with the raster mode of the DC (copy, XOR or NOT).
void ApplyRop2(QPainter& p, int rop2)
{
    switch (rop2) {
    case R2_XORPEN:
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case R2_NOT:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    default:
        p.setCompositionMode(QPainter::CompositionMode_Source);
        break;
    }
}

// Draws a solid line of the pen without its end point. Horizontal and
// vertical lines are filled as rectangles so that they are pixel-exact.
void Line(DcPainter& dp, QPoint a, QPoint b)
{
    QPen pen = dp.Pen();
    if (pen.style() == Qt::NoPen || a == b)
        return;
    int w = std::max(1, dp.PenWidth());
    QPainter& p = dp.p();
    if (pen.style() == Qt::SolidLine && (a.y() == b.y() || a.x() == b.x())) {
        int half = (w - 1) / 2;
        auto span = [](int from, int to) {
            // Pixels from `from` up to but not including `to`.
            return to > from ? std::pair(from, to) : std::pair(to + 1, from + 1);
        };
        QRect r;
        if (a.y() == b.y()) {
            auto [x0, x1] = span(a.x(), b.x());
            r = QRect(x0, a.y() - half, x1 - x0, w);
        } else {
            auto [y0, y1] = span(a.y(), b.y());
            r = QRect(a.x() - half, y0, w, y1 - y0);
        }
        p.fillRect(r, pen.color());
        return;
    }
    // Other lines: stop one pixel short of the end along the major axis.
    QPoint d = b - a;
    int steps = std::max(std::abs(d.x()), std::abs(d.y()));
    QPointF end = QPointF(a) + QPointF(d) * (steps - 1.0) / steps;
    p.setPen(pen);
    p.drawLine(QPointF(a), end);
}

}  // namespace

COLORREF GetPixel(HDC hdc, int x, int y)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return CLR_INVALID;
    QPoint pt = QPoint(x, y) + dc->st.org;
    if (dc->st.clip && !dc->st.clip->contains(pt))
        return CLR_INVALID;
    QImage* img = dc->TargetImage();
    QImage snap;
    if (!img) {
        snap = dc->Snapshot();
        img = &snap;
    }
    if (!img->valid(pt))
        return CLR_INVALID;
    return ToColorRef(img->pixel(pt));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    DcHandle* dc = FromHdc(hdc);
    DcPainter p(dc);
    if (!p.ok())
        return CLR_INVALID;
    QColor c = p.Color(color);
    p.p().setCompositionMode(QPainter::CompositionMode_Source);
    p.p().fillRect(QRect(x, y, 1, 1), c);
    return RGB(c.red(), c.green(), c.blue());
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color)
{
    return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = POINT{dc->st.pos.x(), dc->st.pos.y()};
    dc->st.pos = QPoint(x, y);
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    {
        DcPainter p(dc);
        if (p.ok()) {
            ApplyRop2(p.p(), dc->st.rop2);
            Line(p, dc->st.pos, QPoint(x, y));
        }
    }
    dc->st.pos = QPoint(x, y);
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    ApplyRop2(p.p(), dc->st.rop2);
    for (int i = 1; i < count; ++i)
        Line(p, QPoint(points[i - 1].x, points[i - 1].y), QPoint(points[i].x, points[i].y));
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].x, points[i].y);
    ApplyRop2(p.p(), dc->st.rop2);
    p.p().setPen(Qt::NoPen);
    p.p().setBrush(p.Brush());
    p.p().drawPolygon(poly, Qt::OddEvenFill);
    for (int i = 0; i < count; ++i)
        Line(p, poly[i], poly[(i + 1) % count]);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    QRect r = Exclusive(left, top, right, bottom);
    QPainter& q = p.p();
    ApplyRop2(q, dc->st.rop2);
    QBrush brush = p.Brush();
    QPen pen = p.Pen();
    int w = pen.style() == Qt::NoPen ? 0 : p.PenWidth();
    if (brush.style() != Qt::NoBrush) {
        // With a null pen the filled area is one pixel smaller on the right
        // and bottom, as the classic call draws it.
        QRect inner = w ? r.adjusted(w, w, -w, -w) : r.adjusted(0, 0, -1, -1);
        if (!inner.isEmpty())
            q.fillRect(inner, brush);
    }
    if (w) {
        if (pen.style() == Qt::SolidLine) {
            QColor c = pen.color();
            q.fillRect(QRect(r.left(), r.top(), r.width(), w), c);
            q.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), c);
            q.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), c);
            q.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), c);
        } else {
            q.setPen(pen);
            q.setBrush(Qt::NoBrush);
            q.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int w, int h)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    QRect r = Exclusive(left, top, right, bottom).adjusted(0, 0, -1, -1);
    ApplyRop2(p.p(), dc->st.rop2);
    p.p().setPen(p.Pen());
    p.p().setBrush(p.Brush());
    p.p().drawRoundedRect(r, w / 2.0, h / 2.0);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    QRect r = Exclusive(left, top, right, bottom).adjusted(0, 0, -1, -1);
    ApplyRop2(p.p(), dc->st.rop2);
    p.p().setPen(p.Pen());
    p.p().setBrush(p.Brush());
    p.p().drawEllipse(r);
    return TRUE;
}

int FillRect(HDC hdc, LPCRECT rect, HBRUSH brush)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return FALSE;
    // Brush "handles" 1..31 are system colour indexes plus one.
    auto idx = reinterpret_cast<uintptr_t>(brush);
    if (idx > 0 && idx <= 31)
        brush = GetSysColorBrush(static_cast<int>(idx - 1));
    if (!Brush(brush))
        return FALSE;
    HGDIOBJ old = dc->st.brush;
    dc->st.brush = brush;
    {
        DcPainter p(dc);
        if (p.ok()) {
            p.p().setCompositionMode(QPainter::CompositionMode_Source);
            QRect r = Exclusive(rect->left, rect->top, rect->right, rect->bottom);
            if (!r.isEmpty())
                p.p().fillRect(r, p.Brush());
        }
    }
    dc->st.brush = old;
    return TRUE;
}

int FrameRect(HDC hdc, LPCRECT rect, HBRUSH brush)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect || !Brush(brush))
        return FALSE;
    QRect r = Exclusive(rect->left, rect->top, rect->right, rect->bottom);
    if (r.isEmpty())
        return TRUE;
    HGDIOBJ old = dc->st.brush;
    dc->st.brush = brush;
    {
        DcPainter p(dc);
        if (p.ok()) {
            QBrush b = p.Brush();
            QPainter& q = p.p();
            q.setCompositionMode(QPainter::CompositionMode_Source);
            q.fillRect(QRect(r.left(), r.top(), r.width(), 1), b);
            q.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), b);
            q.fillRect(QRect(r.left(), r.top(), 1, r.height()), b);
            q.fillRect(QRect(r.right(), r.top(), 1, r.height()), b);
        }
    }
    dc->st.brush = old;
    return TRUE;
}

BOOL InvertRect(HDC hdc, LPCRECT rect)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return FALSE;
    DcPainter p(dc);
    if (p.ok()) {
        p.p().setCompositionMode(QPainter::RasterOp_NotDestination);
        p.p().fillRect(Exclusive(rect->left, rect->top, rect->right, rect->bottom), Qt::black);
    }
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, LPCRECT rect)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return FALSE;
    QRect r = Exclusive(rect->left, rect->top, rect->right, rect->bottom);
    if (r.isEmpty())
        return TRUE;
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    // A dotted frame XORed onto the surface (every other pixel, on a
    // checkerboard of the surface): drawing it twice removes it.
    QPainter& q = p.p();
    q.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QColor white(Qt::white);
    QPoint o = dc->st.org;
    auto dot = [&](int x, int y) {
        if (((x + o.x() + y + o.y()) & 1) == 0)
            q.fillRect(QRect(x, y, 1, 1), white);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top())
            dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left())
            dot(r.right(), y);
    }
    return TRUE;
}

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return FALSE;
    QRect r = Exclusive(rect->left, rect->top, rect->right, rect->bottom);
    bool mono = flags & BF_MONO;
    bool flat = flags & BF_FLAT;
    COLORREF light = GetSysColor(COLOR_3DLIGHT), hilite = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Outer ring then inner ring; each has a top-left and a bottom-right colour.
    struct Ring {
        COLORREF tl, br;
        bool on;
    };
    Ring outer{0, 0, false}, inner{0, 0, false};
    if (edge & BDR_RAISEDOUTER)
        outer = {light, dark, true};
    else if (edge & BDR_SUNKENOUTER)
        outer = {shadow, hilite, true};
    if (edge & BDR_RAISEDINNER)
        inner = {hilite, shadow, true};
    else if (edge & BDR_SUNKENINNER)
        inner = {dark, light, true};
    if (flat || mono) {
        COLORREF c = mono ? RGB(0, 0, 0) : shadow;
        COLORREF ci = mono ? GetSysColor(COLOR_WINDOW) : face;
        if (outer.on)
            outer = {c, c, true};
        if (inner.on)
            inner = {ci, ci, true};
    }
    {
        DcPainter p(dc);
        if (p.ok()) {
            QPainter& q = p.p();
            q.setCompositionMode(QPainter::CompositionMode_Source);
            QRect cur = r;
            for (const Ring& ring : {outer, inner}) {
                if (!ring.on || cur.isEmpty())
                    continue;
                QColor tl = p.Color(ring.tl), br = p.Color(ring.br);
                if (flags & BF_TOP)
                    q.fillRect(QRect(cur.left(), cur.top(), cur.width(), 1), tl);
                if (flags & BF_LEFT)
                    q.fillRect(QRect(cur.left(), cur.top(), 1, cur.height()), tl);
                if (flags & BF_BOTTOM)
                    q.fillRect(QRect(cur.left(), cur.bottom(), cur.width(), 1), br);
                if (flags & BF_RIGHT)
                    q.fillRect(QRect(cur.right(), cur.top(), 1, cur.height()), br);
                cur.adjust(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? -1 : 0,
                           flags & BF_BOTTOM ? -1 : 0);
            }
            if ((flags & BF_MIDDLE) && !cur.isEmpty())
                q.fillRect(cur, p.Color(mono ? GetSysColor(COLOR_WINDOW) : face));
            r = cur;
        }
    }
    if (flags & BF_ADJUST)
        *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return TRUE;
}
