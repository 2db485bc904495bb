// GDI objects: the handle registry, stock objects, and creating, reading and
// deleting pens, brushes, fonts, bitmaps and regions.
#include "platform/gdi/GdiObject_p.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace vxgdi {
namespace {

std::mutex g_mutex;  // guards g_objects
std::unordered_map<const void*, std::unique_ptr<GdiObj>> g_objects;

HGDIOBJ g_stock[DC_PEN + 1] = {};
std::once_flag g_stockOnce;

HGDIOBJ MakeStockBrush(COLORREF c, UINT style)
{
    auto b = std::make_unique<BrushObj>();
    b->lb.lbStyle = style;
    b->lb.lbColor = c;
    b->stock = true;
    return Register(std::move(b));
}

HGDIOBJ MakeStockPen(COLORREF c, UINT style)
{
    auto p = std::make_unique<PenObj>();
    p->lp.lopnStyle = style;
    p->lp.lopnWidth.x = 1;
    p->lp.lopnColor = c;
    p->stock = true;
    return Register(std::move(p));
}

HGDIOBJ MakeStockFont(const char* face, int height, bool fixed)
{
    auto f = std::make_unique<FontObj>();
    f->lf.lfHeight = height;
    f->lf.lfWeight = FW_NORMAL;
    f->lf.lfPitchAndFamily = fixed ? FIXED_PITCH : (VARIABLE_PITCH | FF_SWISS);
    std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
    f->font = FontFromLogFont(f->lf);
    f->stock = true;
    return Register(std::move(f));
}

void MakeStock()
{
    g_stock[WHITE_BRUSH] = MakeStockBrush(RGB(255, 255, 255), BS_SOLID);
    g_stock[LTGRAY_BRUSH] = MakeStockBrush(RGB(192, 192, 192), BS_SOLID);
    g_stock[GRAY_BRUSH] = MakeStockBrush(RGB(128, 128, 128), BS_SOLID);
    g_stock[DKGRAY_BRUSH] = MakeStockBrush(RGB(64, 64, 64), BS_SOLID);
    g_stock[BLACK_BRUSH] = MakeStockBrush(RGB(0, 0, 0), BS_SOLID);
    g_stock[NULL_BRUSH] = MakeStockBrush(0, BS_NULL);
    g_stock[WHITE_PEN] = MakeStockPen(RGB(255, 255, 255), PS_SOLID);
    g_stock[BLACK_PEN] = MakeStockPen(RGB(0, 0, 0), PS_SOLID);
    g_stock[NULL_PEN] = MakeStockPen(0, PS_NULL);
    g_stock[OEM_FIXED_FONT] = MakeStockFont("Monospace", -12, true);
    g_stock[ANSI_FIXED_FONT] = MakeStockFont("Monospace", -12, true);
    g_stock[ANSI_VAR_FONT] = MakeStockFont("Sans Serif", -11, false);
    g_stock[SYSTEM_FONT] = MakeStockFont("Sans Serif", -12, false);
    g_stock[DEVICE_DEFAULT_FONT] = MakeStockFont("Sans Serif", -12, false);
    g_stock[SYSTEM_FIXED_FONT] = MakeStockFont("Monospace", -12, true);
    g_stock[DEFAULT_GUI_FONT] = MakeStockFont("Sans Serif", -11, false);
    auto b = std::make_unique<BrushObj>();
    b->dcBrush = true;
    b->stock = true;
    g_stock[DC_BRUSH] = Register(std::move(b));
    auto p = std::make_unique<PenObj>();
    p->dcPen = true;
    p->stock = true;
    p->lp.lopnWidth.x = 1;
    g_stock[DC_PEN] = Register(std::move(p));
}

}  // namespace

GdiObj* Lookup(HGDIOBJ h, DWORD type)
{
    if (!h)
        return nullptr;
    std::lock_guard lock(g_mutex);
    auto it = g_objects.find(h);
    if (it == g_objects.end())
        return nullptr;
    if (type && it->second->type != type)
        return nullptr;
    return it->second.get();
}

HGDIOBJ Register(std::unique_ptr<GdiObj> obj)
{
    HGDIOBJ h = obj.get();
    std::lock_guard lock(g_mutex);
    g_objects.emplace(h, std::move(obj));
    return h;
}

HBITMAP MakeBitmap(QImage image, bool mono, bool alpha)
{
    if (image.isNull())
        return nullptr;
    auto b = std::make_unique<BitmapObj>();
    QImage::Format f = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    b->image = image.format() == f ? std::move(image) : image.convertToFormat(f);
    b->mono = mono;
    b->alpha = alpha;
    return static_cast<HBITMAP>(Register(std::move(b)));
}

QFont FontFromLogFont(const LOGFONT& lf)
{
    QFont f;
    QString face = QString::fromUtf8(lf.lfFaceName, static_cast<int>(strnlen(lf.lfFaceName, LF_FACESIZE)));
    if (!face.isEmpty())
        f.setFamily(face);
    if ((lf.lfPitchAndFamily & 0x3) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN)
        f.setStyleHint(QFont::Monospace);
    else if ((lf.lfPitchAndFamily & 0xF0) == FF_ROMAN)
        f.setStyleHint(QFont::Serif);
    else
        f.setStyleHint(QFont::SansSerif);
    // A negative height is the character (em) height, a positive one the
    // cell height, which includes the internal leading; 0 is a default size.
    int h = lf.lfHeight;
    if (h < 0) {
        f.setPixelSize(-h);
    } else if (h > 0) {
        f.setPixelSize(100);
        QFontMetrics fm(f);
        int px = fm.height() > 0 ? h * 100 / fm.height() : h;
        f.setPixelSize(px > 0 ? px : 1);
    } else {
        f.setPixelSize(12);
    }
    if (lf.lfWeight != FW_DONTCARE)
        f.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight, 1, 1000)));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    if (lf.lfWidth > 0) {
        QFontMetrics fm(f);
        int avg = fm.averageCharWidth();
        if (avg > 0)
            f.setStretch(std::clamp<int>(lf.lfWidth * 100 / avg, 1, 4000));
    }
    return f;
}

LOGFONT LogFontFromQFont(const QFont& f)
{
    LOGFONT lf{};
    int px = f.pixelSize();
    if (px <= 0)
        px = static_cast<int>(f.pointSizeF() * 96.0 / 72.0 + 0.5);
    lf.lfHeight = -px;
    lf.lfWeight = f.weight();
    lf.lfItalic = f.italic();
    lf.lfUnderline = f.underline();
    lf.lfStrikeOut = f.strikeOut();
    lf.lfCharSet = DEFAULT_CHARSET;
    QByteArray face = f.family().toUtf8();
    std::strncpy(lf.lfFaceName, face.constData(), LF_FACESIZE - 1);
    return lf;
}

HFONT DefaultFont()
{
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

}  // namespace vxgdi

using namespace vxgdi;

HGDIOBJ GetStockObject(int index)
{
    std::call_once(g_stockOnce, MakeStock);
    if (index < 0 || index > DC_PEN)
        return nullptr;
    return g_stock[index];
}

BOOL DeleteObject(HGDIOBJ obj)
{
    GdiObj* o = Lookup(obj);
    if (!o)
        return FALSE;
    if (o->stock)
        return TRUE;
    // A bitmap still selected into a DC cannot be deleted: the DC would draw
    // into freed pixels.
    if (o->selectedIn > 0)
        return FALSE;
    std::lock_guard lock(g_mutex);
    g_objects.erase(obj);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj)
{
    GdiObj* o = Lookup(obj);
    return o ? o->type : 0;
}

int GetObject(HGDIOBJ obj, int size, LPVOID out)
{
    GdiObj* o = Lookup(obj);
    if (!o)
        return 0;
    auto put = [&](const void* data, int n) {
        if (!out)
            return n;
        if (size < n)
            return 0;
        std::memcpy(out, data, static_cast<size_t>(n));
        return n;
    };
    switch (o->type) {
    case OBJ_PEN:
        return put(&static_cast<PenObj*>(o)->lp, sizeof(LOGPEN));
    case OBJ_BRUSH:
        return put(&static_cast<BrushObj*>(o)->lb, sizeof(LOGBRUSH));
    case OBJ_FONT:
        return put(&static_cast<FontObj*>(o)->lf, sizeof(LOGFONT));
    case OBJ_BITMAP: {
        auto* b = static_cast<BitmapObj*>(o);
        BITMAP bm{};
        bm.bmType = 0;
        bm.bmWidth = b->image.width();
        bm.bmHeight = b->image.height();
        bm.bmPlanes = 1;
        bm.bmBitsPixel = b->mono ? 1 : 32;
        bm.bmWidthBytes = b->mono ? ((bm.bmWidth + 15) / 16) * 2 : bm.bmWidth * 4;
        bm.bmBits = nullptr;
        return put(&bm, sizeof(BITMAP));
    }
    default:
        return 0;
    }
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    auto p = std::make_unique<PenObj>();
    p->lp.lopnStyle = static_cast<UINT>(style);
    p->lp.lopnWidth.x = width < 1 ? 1 : width;
    p->lp.lopnColor = color;
    return static_cast<HPEN>(Register(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* lp)
{
    return lp ? CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto b = std::make_unique<BrushObj>();
    b->lb.lbStyle = BS_SOLID;
    b->lb.lbColor = color;
    return static_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    auto b = std::make_unique<BrushObj>();
    b->lb.lbStyle = BS_HATCHED;
    b->lb.lbColor = color;
    b->lb.lbHatch = static_cast<ULONG_PTR>(hatch);
    return static_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    BitmapObj* bm = Bitmap(bitmap);
    if (!bm)
        return nullptr;
    auto b = std::make_unique<BrushObj>();
    b->lb.lbStyle = BS_PATTERN;
    b->pattern = bm->image.copy();
    return static_cast<HBRUSH>(Register(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb)
        return nullptr;
    switch (lb->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(lb->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
    case BS_NULL:
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default:
        return nullptr;
    }
}

HFONT CreateFontIndirect(const LOGFONT* lf)
{
    if (!lf)
        return nullptr;
    auto f = std::make_unique<FontObj>();
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    f->font = FontFromLogFont(f->lf);
    return static_cast<HFONT>(Register(std::move(f)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic != 0);
    lf.lfUnderline = static_cast<BYTE>(underline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768)
        return nullptr;
    bool mono = planes * bitsPerPixel == 1;
    if (!mono && bitsPerPixel != 32 && bitsPerPixel != 24)
        return nullptr;
    QImage img(width, height, mono ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (img.isNull())
        return nullptr;
    img.fill(mono ? Qt::black : Qt::transparent);
    if (bits) {
        const auto* p = static_cast<const unsigned char*>(bits);
        if (mono) {
            int stride = ((width + 15) / 16) * 2;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (p[y * stride + x / 8] & (0x80 >> (x % 8)))
                        img.setPixel(x, y, 0xFFFFFFFFu);
        } else {
            int bpp = static_cast<int>(bitsPerPixel / 8);
            int stride = ((width * bpp + 3) / 4) * 4;
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < width; ++x) {
                    const unsigned char* px = p + y * stride + x * bpp;
                    BYTE a = bpp == 4 ? px[3] : 255;
                    line[x] = qRgba(px[2], px[1], px[0], a);
                }
            }
        }
    }
    auto b = std::make_unique<BitmapObj>();
    b->mono = mono;
    b->alpha = !mono && bitsPerPixel == 32;
    b->image = b->alpha ? std::move(img) : img.convertToFormat(QImage::Format_RGB32);
    return static_cast<HBITMAP>(Register(std::move(b)));
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits)
{
    BitmapObj* b = Bitmap(bitmap);
    if (!b || !bits || size <= 0)
        return 0;
    const QImage& img = b->image;
    auto* out = static_cast<unsigned char*>(bits);
    LONG n = 0;
    if (b->mono) {
        int stride = ((img.width() + 15) / 16) * 2;
        for (int y = 0; y < img.height(); ++y) {
            for (int xb = 0; xb < stride; ++xb) {
                if (n >= size)
                    return n;
                unsigned char v = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    int x = xb * 8 + bit;
                    if (x < img.width() && (img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                        v |= static_cast<unsigned char>(0x80 >> bit);
                }
                out[n++] = v;
            }
        }
        return n;
    }
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (n + 4 > size)
                return n;
            QRgb p = line[x];
            out[n++] = static_cast<unsigned char>(qBlue(p));
            out[n++] = static_cast<unsigned char>(qGreen(p));
            out[n++] = static_cast<unsigned char>(qRed(p));
            out[n++] = static_cast<unsigned char>(b->alpha ? qAlpha(p) : 0);
        }
    }
    return n;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits)
{
    BitmapObj* b = Bitmap(bitmap);
    if (!b || !bits)
        return 0;
    const auto* in = static_cast<const unsigned char*>(bits);
    QImage& img = b->image;
    DWORD n = 0;
    if (b->mono) {
        int stride = ((img.width() + 15) / 16) * 2;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                DWORD at = static_cast<DWORD>(y * stride + x / 8);
                if (at >= size)
                    return static_cast<LONG>(size);
                img.setPixel(x, y, (in[at] & (0x80 >> (x % 8))) ? 0xFFFFFFFFu : 0xFF000000u);
            }
        return static_cast<LONG>(std::min<DWORD>(size, static_cast<DWORD>(stride * img.height())));
    }
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (n + 4 > size)
                return static_cast<LONG>(n);
            BYTE a = b->alpha ? in[n + 3] : 255;
            line[x] = qRgba(in[n + 2], in[n + 1], in[n], a);
            n += 4;
        }
    }
    return static_cast<LONG>(n);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* bmi, UINT, void** bits, HANDLE, DWORD)
{
    // The pixels live in the bitmap's own image; callers that need a pointer
    // to them read and write through GetBitmapBits / SetBitmapBits instead.
    if (bits)
        *bits = nullptr;
    if (!bmi)
        return nullptr;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    return CreateBitmap(h.biWidth, height, h.biPlanes ? h.biPlanes : 1, h.biBitCount, nullptr);
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT)
{
    BitmapObj* b = Bitmap(bitmap);
    if (!b || !bmi)
        return 0;
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    const QImage& img = b->image;
    if (!bits) {
        h.biWidth = img.width();
        h.biHeight = img.height();
        h.biPlanes = 1;
        h.biBitCount = b->mono ? 1 : 32;
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(img.width() * img.height() * 4);
        return img.height();
    }
    // Only 32-bit output: rows bottom-up unless the height asks top-down.
    if (h.biBitCount != 32)
        return 0;
    bool topDown = h.biHeight < 0;
    auto* out = static_cast<QRgb*>(bits);
    int n = 0;
    for (UINT i = 0; i < lines && static_cast<int>(start + i) < img.height(); ++i) {
        int row = static_cast<int>(start + i);
        int y = topDown ? row : img.height() - 1 - row;
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            out[static_cast<size_t>(i) * static_cast<size_t>(img.width()) + static_cast<size_t>(x)] =
                b->alpha ? line[x] : (line[x] & 0x00FFFFFFu);
        ++n;
    }
    return n;
}
