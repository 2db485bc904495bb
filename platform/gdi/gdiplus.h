#pragma once
// A small image layer in the manner of the classic imaging API: decode a
// picture (PNG, JPEG, BMP) from a file or from memory, read its size and
// pixel format, draw a part of it scaled into a DC or into another image with
// an optional colour key, read and write pixels, and turn sets of rectangles
// into GDI regions. Objects belong to the thread that uses them.
// Paths and text are UTF-8.

#include "platform/base/types.h"

#include <cstddef>
#include <memory>

struct IStream;

namespace Gdiplus {

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
};

typedef INT PixelFormat;
typedef DWORD ARGB;
#define PixelFormatIndexed     0x00010000
#define PixelFormatGDI         0x00020000
#define PixelFormatAlpha       0x00040000
#define PixelFormatPAlpha      0x00080000
#define PixelFormatUndefined   0
#define PixelFormat1bppIndexed (1 | (1 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat8bppIndexed (3 | (8 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat24bppRGB    (8 | (24 << 8) | PixelFormatGDI)
#define PixelFormat32bppRGB    (9 | (32 << 8) | PixelFormatGDI)
#define PixelFormat32bppARGB   (10 | (32 << 8) | PixelFormatAlpha | PixelFormatGDI)
#define PixelFormat32bppPARGB  (11 | (32 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatGDI)

inline BOOL IsAlphaPixelFormat(PixelFormat f)
{
    return (f & PixelFormatAlpha) != 0;
}

enum Unit { UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2 };
enum ColorAdjustType { ColorAdjustTypeDefault = 0, ColorAdjustTypeBitmap = 1 };

class Color {
public:
    Color() = default;
    Color(BYTE r, BYTE g, BYTE b) : m_argb(MakeARGB(255, r, g, b)) {}
    Color(BYTE a, BYTE r, BYTE g, BYTE b) : m_argb(MakeARGB(a, r, g, b)) {}
    explicit Color(ARGB argb) : m_argb(argb) {}
    BYTE GetA() const { return static_cast<BYTE>(m_argb >> 24); }
    BYTE GetR() const { return static_cast<BYTE>(m_argb >> 16); }
    BYTE GetG() const { return static_cast<BYTE>(m_argb >> 8); }
    BYTE GetB() const { return static_cast<BYTE>(m_argb); }
    ARGB GetValue() const { return m_argb; }
    void SetFromCOLORREF(COLORREF c) { m_argb = MakeARGB(255, GetRValue(c), GetGValue(c), GetBValue(c)); }
    COLORREF ToCOLORREF() const { return RGB(GetR(), GetG(), GetB()); }
    static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b)
    {
        return (static_cast<ARGB>(a) << 24) | (static_cast<ARGB>(r) << 16) | (static_cast<ARGB>(g) << 8) | b;
    }

private:
    ARGB m_argb = 0xFF000000u;
};

struct Rect {
    Rect() = default;
    Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
    INT X = 0;
    INT Y = 0;
    INT Width = 0;
    INT Height = 0;
};

struct GdiplusStartupInput {
    UINT GdiplusVersion = 1;
    void* DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};
// Nothing needs starting; kept so that hosts written for the classic API run.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output);
void GdiplusShutdown(ULONG_PTR token);

// Colours between a low and a high key (inclusive, per channel) are drawn
// transparent.
class ImageAttributes {
public:
    ImageAttributes() = default;
    Status SetColorKey(const Color& low, const Color& high, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorKey(ColorAdjustType type = ColorAdjustTypeDefault);

    bool m_hasKey = false;
    Color m_low;
    Color m_high;
};

class Image {
public:
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Always an object (null only when memory runs out): one whose data could
    // not be decoded reports it through GetLastStatus and has no pixels.
    static Image* FromFile(const char* path);
    static Image* FromMemory(const void* data, size_t size);
    static Image* FromStream(IStream* stream);
    Status GetLastStatus() const { return m_status; }
    UINT GetWidth() const;
    UINT GetHeight() const;
    PixelFormat GetPixelFormat() const;
    Image* Clone() const;

    struct Impl;
    Impl* impl() const { return m_impl.get(); }

protected:
    Image();
    std::unique_ptr<Impl> m_impl;
    Status m_status = Ok;
};

class Bitmap : public Image {
public:
    Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
    // A copy of the bitmap's pixels; the palette is not used.
    static Bitmap* FromHBITMAP(HBITMAP hbm, HPALETTE hpal);
    static Bitmap* FromFile(const char* path);
    Status GetPixel(INT x, INT y, Color* color) const;
    Status SetPixel(INT x, INT y, const Color& color);
    // A new GDI bitmap the caller deletes; transparent pixels over `background`.
    Status GetHBITMAP(const Color& background, HBITMAP* out) const;

private:
    Bitmap() = default;
};

class GraphicsPath {
public:
    GraphicsPath();
    ~GraphicsPath();
    GraphicsPath(const GraphicsPath&) = delete;
    GraphicsPath& operator=(const GraphicsPath&) = delete;
    Status AddRectangle(const Rect& rect);
    Status AddRectangles(const Rect* rects, INT count);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

class Graphics;

class Region {
public:
    Region();
    explicit Region(const Rect& rect);
    explicit Region(const GraphicsPath* path);
    ~Region();
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    Status Union(const Rect& rect);
    Status Union(const Region* region);
    BOOL IsVisible(INT x, INT y, const Graphics* g = nullptr) const;
    BOOL IsEmpty(const Graphics* g = nullptr) const;
    Region* Clone() const;
    // A new GDI region the caller deletes.
    HRGN GetHRGN(const Graphics* g) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

class Graphics {
public:
    explicit Graphics(HDC hdc);
    explicit Graphics(Image* image);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    static Graphics* FromHDC(HDC hdc) { return new Graphics(hdc); }
    static Graphics* FromImage(Image* image) { return new Graphics(image); }

    Status DrawImage(Image* image, INT x, INT y);
    Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
    Status DrawImage(Image* image, const Rect& dest);
    // The source rectangle of the image, scaled into the destination.
    Status DrawImage(Image* image, const Rect& dest, INT srcx, INT srcy, INT srcwidth, INT srcheight, Unit unit,
                     const ImageAttributes* attributes = nullptr);
    Status Clear(const Color& color);
    Status GetLastStatus() const { return m_status; }

private:
    HDC m_hdc = nullptr;
    Image* m_image = nullptr;
    Status m_status = Ok;
};

}  // namespace Gdiplus
