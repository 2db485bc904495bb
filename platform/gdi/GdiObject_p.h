#pragma once
// What GDI object handles stand for. A handle is the address of one of these
// records; a registry of live records lets every call reject a handle that
// was deleted or never was one, instead of reading freed memory.

#include "platform/gdi/wingdi.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>

#include <memory>
#include <utility>

namespace vxgdi {

// The rectangle between two corners in either order, right and bottom edges
// excluded, as the classic shape and region calls take it.
inline QRect Exclusive(int l, int t, int r, int b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

struct GdiObj {
    explicit GdiObj(DWORD t) : type(t) {}
    virtual ~GdiObj() = default;
    DWORD type;
    bool stock = false;  // stock objects are never deleted
    int selectedIn = 0;  // DCs that hold it selected: such a bitmap is not deleted
};

struct PenObj : GdiObj {
    PenObj() : GdiObj(OBJ_PEN) {}
    LOGPEN lp{};
    bool dcPen = false;  // DC_PEN: the DC's pen colour
};

struct BrushObj : GdiObj {
    BrushObj() : GdiObj(OBJ_BRUSH) {}
    LOGBRUSH lb{};
    QImage pattern;        // BS_PATTERN
    bool dcBrush = false;  // DC_BRUSH: the DC's brush colour
};

struct FontObj : GdiObj {
    FontObj() : GdiObj(OBJ_FONT) {}
    LOGFONT lf{};
    QFont font;
};

// Colour bitmaps hold 32-bit pixels (RGB32, or premultiplied ARGB when they
// carry alpha); monochrome ones hold only black and white pixels in the same
// format, so that every drawing call works on both.
struct BitmapObj : GdiObj {
    BitmapObj() : GdiObj(OBJ_BITMAP) {}
    QImage image;
    bool mono = false;
    bool alpha = false;                   // 32-bit bitmap whose top byte is meaningful
    std::vector<unsigned char> bitsCopy;  // backing of GetObject's bmBits
};

struct RgnObj : GdiObj {
    RgnObj() : GdiObj(OBJ_REGION) {}
    QRegion region;
};

// The handle's record when it is live and of the asked type (0: any).
GdiObj* Lookup(HGDIOBJ h, DWORD type = 0);
template <typename T>
T* As(HGDIOBJ h, DWORD type)
{
    return static_cast<T*>(Lookup(h, type));
}
inline PenObj* Pen(HGDIOBJ h)
{
    return As<PenObj>(h, OBJ_PEN);
}
inline BrushObj* Brush(HGDIOBJ h)
{
    return As<BrushObj>(h, OBJ_BRUSH);
}
inline FontObj* Font(HGDIOBJ h)
{
    return As<FontObj>(h, OBJ_FONT);
}
inline BitmapObj* Bitmap(HGDIOBJ h)
{
    return As<BitmapObj>(h, OBJ_BITMAP);
}
inline RgnObj* Rgn(HGDIOBJ h)
{
    return As<RgnObj>(h, OBJ_REGION);
}

// Registers a new record and returns its handle.
HGDIOBJ Register(std::unique_ptr<GdiObj> obj);

// Colour conversions: COLORREF is 0x00BBGGRR, QRgb 0xAARRGGBB.
inline QRgb ToRgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF ToColorRef(QRgb p)
{
    return RGB(qRed(p), qGreen(p), qBlue(p));
}
inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A bitmap record over the image (takes the image as it is).
HBITMAP MakeBitmap(QImage image, bool mono = false, bool alpha = false);
// The image a bitmap's pixels would show on a colour surface: monochrome
// bitmaps give black and white, alpha bitmaps their premultiplied pixels.
QFont FontFromLogFont(const LOGFONT& lf);
LOGFONT LogFontFromQFont(const QFont& f);
// The font a DC uses before one is selected.
HFONT DefaultFont();

}  // namespace vxgdi
