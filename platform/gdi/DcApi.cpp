// Device-context state: memory DCs, selecting objects, colours and modes,
// SaveDC/RestoreDC, clipping and the viewport origin.
#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"

#include <QGuiApplication>
#include <QScreen>

using namespace vxgdi;

namespace {

// A new memory DC starts with a 1x1 monochrome bitmap selected, so that a
// bitmap made compatible with it is monochrome, as callers of the classic
// API expect.
HGDIOBJ StockMonoBitmap()
{
    static HGDIOBJ s = [] {
        HBITMAP h = CreateBitmap(1, 1, 1, 1, nullptr);
        if (GdiObj* o = Lookup(h))
            o->stock = true;
        return static_cast<HGDIOBJ>(h);
    }();
    return s;
}

QRect ToQRect(int l, int t, int r, int b)
{
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1)).normalized();
}

int RegionKind(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRegion FullSurface(DcHandle* dc)
{
    QSize s = dc->TargetSize();
    return QRegion(0, 0, s.width(), s.height());
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !FromHdc(hdc))
        return nullptr;
    auto dc = std::make_unique<DcHandle>();
    dc->kind = DcHandle::Kind::Memory;
    HDC h = NewDc(std::move(dc));
    DcHandle* d = FromHdc(h);
    d->st.bitmap = StockMonoBitmap();
    if (BitmapObj* b = Bitmap(d->st.bitmap))
        ++b->selectedIn;
    return h;
}

BOOL DeleteDC(HDC hdc)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || dc->kind == DcHandle::Kind::Window)
        return FALSE;
    FreeDc(hdc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj)
{
    DcHandle* dc = FromHdc(hdc);
    GdiObj* o = Lookup(obj);
    if (!dc || !o)
        return nullptr;
    HGDIOBJ old = nullptr;
    switch (o->type) {
    case OBJ_PEN:
        old = dc->st.pen;
        dc->st.pen = obj;
        return old;
    case OBJ_BRUSH:
        old = dc->st.brush;
        dc->st.brush = obj;
        return old;
    case OBJ_FONT:
        old = dc->st.font;
        dc->st.font = obj;
        return old;
    case OBJ_BITMAP: {
        // Only memory DCs take bitmaps, and a bitmap lives in one DC at a time.
        if (dc->kind != DcHandle::Kind::Memory)
            return nullptr;
        if (obj == dc->st.bitmap)
            return obj;
        if (o->selectedIn > 0 && !o->stock)
            return nullptr;
        old = dc->st.bitmap;
        if (BitmapObj* b = Bitmap(old))
            --b->selectedIn;
        ++o->selectedIn;
        dc->st.bitmap = obj;
        // The clip of a memory DC belongs to its surface.
        dc->st.clip.reset();
        return old;
    }
    case OBJ_REGION:
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(obj))));
    default:
        return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
        return dc->st.pen;
    case OBJ_BRUSH:
        return dc->st.brush;
    case OBJ_FONT:
        return dc->st.font;
    case OBJ_BITMAP:
        return dc->st.bitmap;
    default:
        return nullptr;
    }
}

int SaveDC(HDC hdc)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return 0;
    dc->saved.push_back(dc->st);
    if (BitmapObj* b = Bitmap(dc->st.bitmap))
        ++b->selectedIn;
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    int n = static_cast<int>(dc->saved.size());
    int level = saved < 0 ? n + saved + 1 : saved;
    if (level < 1 || level > n)
        return FALSE;
    if (BitmapObj* b = Bitmap(dc->st.bitmap))
        --b->selectedIn;
    dc->st = dc->saved[static_cast<size_t>(level - 1)];
    // Levels above the restored one are dropped; each held a bitmap count.
    for (int i = level; i < n; ++i)
        if (BitmapObj* b = Bitmap(dc->saved[static_cast<size_t>(i)].bitmap))
            --b->selectedIn;
    dc->saved.resize(static_cast<size_t>(level - 1));
    return TRUE;
}

#define DC_SETTER(name, field, type, fail)                                                                             \
    type name(HDC hdc, type value)                                                                                     \
    {                                                                                                                  \
        DcHandle* dc = FromHdc(hdc);                                                                                   \
        if (!dc)                                                                                                       \
            return fail;                                                                                               \
        type old = static_cast<type>(dc->st.field);                                                                    \
        dc->st.field = value;                                                                                          \
        return old;                                                                                                    \
    }

DC_SETTER(SetTextColor, text, COLORREF, CLR_INVALID)
DC_SETTER(SetBkColor, bk, COLORREF, CLR_INVALID)
DC_SETTER(SetDCBrushColor, dcBrush, COLORREF, CLR_INVALID)
DC_SETTER(SetDCPenColor, dcPen, COLORREF, CLR_INVALID)
DC_SETTER(SetROP2, rop2, int, 0)
DC_SETTER(SetTextAlign, textAlign, UINT, 0xFFFFFFFFu)

int SetBkMode(HDC hdc, int mode)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int old = dc->st.bkMode;
    dc->st.bkMode = mode;
    return old;
}

COLORREF GetTextColor(HDC hdc)
{
    DcHandle* dc = FromHdc(hdc);
    return dc ? dc->st.text : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc)
{
    DcHandle* dc = FromHdc(hdc);
    return dc ? dc->st.bk : CLR_INVALID;
}

int GetBkMode(HDC hdc)
{
    DcHandle* dc = FromHdc(hdc);
    return dc ? dc->st.bkMode : 0;
}

int SetStretchBltMode(HDC hdc, int mode)
{
    // Stretching always takes the nearest pixel (colour on colour).
    return FromHdc(hdc) && mode > 0 ? COLORONCOLOR : 0;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = POINT{dc->st.org.x(), dc->st.org.y()};
    dc->st.org = QPoint(x, y);
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT org)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !org)
        return FALSE;
    *org = POINT{dc->st.org.x(), dc->st.org.y()};
    return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    return SetViewportOrgEx(hdc, dc->st.org.x() + dx, dc->st.org.y() + dy, old);
}

int GetDeviceCaps(HDC hdc, int index)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return 0;
    QSize s = dc->TargetSize();
    if (dc->kind == DcHandle::Kind::Screen || dc->kind == DcHandle::Kind::Window) {
        if (QScreen* scr = QGuiApplication::primaryScreen())
            s = scr->size();
    }
    switch (index) {
    case HORZRES:
        return s.width();
    case VERTRES:
        return s.height();
    case BITSPIXEL:
        return dc->TargetIsMono() ? 1 : 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case RASTERCAPS:
        return 0;  // no palette device
    default:
        return 0;
    }
}

// Clip regions are kept in surface coordinates; the rectangles given are
// logical, so the viewport origin moves them.
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return ERROR;
    QRegion r(ToQRect(left, top, right, bottom).translated(dc->st.org));
    if (right <= left || bottom <= top)
        r = QRegion();
    dc->st.clip = (dc->st.clip ? *dc->st.clip : FullSurface(dc)).intersected(r);
    return RegionKind(*dc->st.clip);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return ERROR;
    QRegion r;
    if (right > left && bottom > top)
        r = QRegion(ToQRect(left, top, right, bottom).translated(dc->st.org));
    dc->st.clip = (dc->st.clip ? *dc->st.clip : FullSurface(dc)).subtracted(r);
    return RegionKind(*dc->st.clip);
}

int SelectClipRgn(HDC hdc, HRGN rgn)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return ERROR;
    if (!rgn) {
        dc->st.clip.reset();
        return SIMPLEREGION;
    }
    RgnObj* r = Rgn(rgn);
    if (!r)
        return ERROR;
    // Region coordinates are device coordinates: the origin does not move them.
    dc->st.clip = r->region;
    return RegionKind(r->region);
}

int GetClipBox(HDC hdc, LPRECT rect)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return ERROR;
    QRegion r = dc->st.clip ? *dc->st.clip : FullSurface(dc);
    QRect b = r.boundingRect().translated(-dc->st.org);
    *rect = r.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return RegionKind(r);
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    QRegion r = dc->st.clip ? *dc->st.clip : FullSurface(dc);
    return r.contains(QPoint(x, y) + dc->st.org);
}

BOOL RectVisible(HDC hdc, LPCRECT rect)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return FALSE;
    QRegion r = dc->st.clip ? *dc->st.clip : FullSurface(dc);
    return r.intersects(ToQRect(rect->left, rect->top, rect->right, rect->bottom).translated(dc->st.org));
}
