// Regions: rectangles, ellipses, rounded rectangles and polygons, combined
// and tested as the classic calls do; coordinates are device pixels with the
// right and bottom edges excluded.
#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"

#include <QPainterPath>
#include <QPolygon>

using namespace vxgdi;

namespace {

HRGN NewRgn(QRegion r)
{
    auto o = std::make_unique<RgnObj>();
    o->region = std::move(r);
    return static_cast<HRGN>(Register(std::move(o)));
}

int Kind(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    QRect r = Exclusive(left, top, right, bottom);
    return NewRgn(r.isEmpty() ? QRegion() : QRegion(r));
}

HRGN CreateRectRgnIndirect(LPCRECT rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    QRect r = Exclusive(left, top, right, bottom);
    return NewRgn(r.isEmpty() ? QRegion() : QRegion(r, QRegion::Ellipse));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h)
{
    QRect r = Exclusive(left, top, right, bottom);
    if (r.isEmpty())
        return NewRgn(QRegion());
    QPainterPath path;
    path.addRoundedRect(QRectF(r), w / 2.0, h / 2.0);
    return NewRgn(QRegion(path.toFillPolygon().toPolygon()));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    if (!points || count < 3)
        return nullptr;
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].x, points[i].y);
    return NewRgn(QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
    RgnObj* d = Rgn(dest);
    RgnObj* a = Rgn(src1);
    if (!d || !a)
        return ERROR;
    if (mode == RGN_COPY) {
        d->region = a->region;
        return Kind(d->region);
    }
    RgnObj* b = Rgn(src2);
    if (!b)
        return ERROR;
    switch (mode) {
    case RGN_AND:
        d->region = a->region.intersected(b->region);
        break;
    case RGN_OR:
        d->region = a->region.united(b->region);
        break;
    case RGN_XOR:
        d->region = a->region.xored(b->region);
        break;
    case RGN_DIFF:
        d->region = a->region.subtracted(b->region);
        break;
    default:
        return ERROR;
    }
    return Kind(d->region);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    RgnObj* r = Rgn(rgn);
    if (!r)
        return FALSE;
    QRect q = Exclusive(left, top, right, bottom);
    r->region = q.isEmpty() ? QRegion() : QRegion(q);
    return TRUE;
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    RgnObj* r = Rgn(rgn);
    return r && r->region.contains(QPoint(x, y));
}

BOOL RectInRegion(HRGN rgn, LPCRECT rect)
{
    RgnObj* r = Rgn(rgn);
    return r && rect && r->region.intersects(Exclusive(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    RgnObj* x = Rgn(a);
    RgnObj* y = Rgn(b);
    return x && y && x->region == y->region;
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    RgnObj* r = Rgn(rgn);
    if (!r)
        return ERROR;
    r->region.translate(dx, dy);
    return Kind(r->region);
}

int GetRgnBox(HRGN rgn, LPRECT rect)
{
    RgnObj* r = Rgn(rgn);
    if (!r || !rect)
        return ERROR;
    QRect b = r->region.boundingRect();
    *rect =
        r->region.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
    return Kind(r->region);
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush)
{
    DcHandle* dc = FromHdc(hdc);
    RgnObj* r = Rgn(rgn);
    if (!dc || !r || !Brush(brush))
        return FALSE;
    HGDIOBJ old = dc->st.brush;
    dc->st.brush = brush;
    {
        DcPainter p(dc);
        if (p.ok()) {
            // Region coordinates are device coordinates.
            p.p().resetTransform();
            QBrush b = p.Brush();
            for (const QRect& q : r->region)
                p.p().fillRect(q, b);
        }
    }
    dc->st.brush = old;
    return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h)
{
    RgnObj* r = Rgn(rgn);
    if (!r || w < 1 || h < 1)
        return FALSE;
    // The frame is the region minus itself shrunk by the frame width.
    QRegion inner = r->region.intersected(r->region.translated(w, 0))
                        .intersected(r->region.translated(-w, 0))
                        .intersected(r->region.translated(0, h))
                        .intersected(r->region.translated(0, -h));
    HRGN frame = NewRgn(r->region.subtracted(inner));
    BOOL ok = FillRgn(hdc, frame, brush);
    DeleteObject(frame);
    return ok;
}
