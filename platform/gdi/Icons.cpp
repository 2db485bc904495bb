// Icons: making them from colour and mask bitmaps, reading them back,
// drawing them, the standard icons, and DrawState.
#include "platform/gdi/Icon_p.h"

#include "platform/gdi/DcHandle_p.h"

#include <cstring>

using namespace vxgdi;

namespace vxgdi {

HICON MakeIcon(QImage image, bool isIcon, QPoint hotspot)
{
    if (image.isNull())
        return nullptr;
    auto o = std::make_unique<IconObj>();
    o->image = image.convertToFormat(QImage::Format_ARGB32);
    o->isIcon = isIcon;
    o->hotspot = isIcon ? QPoint(o->image.width() / 2, o->image.height() / 2) : hotspot;
    return static_cast<HICON>(Register(std::move(o)));
}

void DrawArgb(HDC hdc, int x, int y, const QImage& image, int cx, int cy)
{
    DcHandle* dc = FromHdc(hdc);
    DcPainter p(dc);
    if (!p.ok() || image.isNull())
        return;
    QImage img = image;
    if (cx > 0 && cy > 0 && QSize(cx, cy) != img.size())
        img = img.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (dc->TargetIsMono()) {
        // On a monochrome surface every opaque pixel becomes black or white.
        QImage m = img.convertToFormat(QImage::Format_ARGB32);
        for (int yy = 0; yy < m.height(); ++yy) {
            auto* line = reinterpret_cast<QRgb*>(m.scanLine(yy));
            for (int xx = 0; xx < m.width(); ++xx) {
                QRgb px = line[xx];
                int lum = (qRed(px) * 30 + qGreen(px) * 59 + qBlue(px) * 11) / 100;
                line[xx] = qAlpha(px) < 128 ? 0u : (lum >= 128 ? 0xFFFFFFFFu : 0xFF000000u);
            }
        }
        img = m;
    }
    p.p().setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.p().drawImage(QPoint(x, y), img);
}

void DrawDisabled(HDC hdc, int x, int y, const QImage& image)
{
    QImage src = image.convertToFormat(QImage::Format_ARGB32);
    auto shape = [&](COLORREF c) {
        QImage out(src.size(), QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        QRgb col = ToRgb(c) | 0xFF000000u;
        for (int yy = 0; yy < src.height(); ++yy) {
            const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(yy));
            auto* o = reinterpret_cast<QRgb*>(out.scanLine(yy));
            for (int xx = 0; xx < src.width(); ++xx) {
                QRgb px = in[xx];
                int lum = (qRed(px) * 30 + qGreen(px) * 59 + qBlue(px) * 11) / 100;
                if (qAlpha(px) >= 128 && lum < 192)
                    o[xx] = col;
            }
        }
        return out;
    };
    DrawArgb(hdc, x + 1, y + 1, shape(GetSysColor(COLOR_BTNHIGHLIGHT)));
    DrawArgb(hdc, x, y, shape(GetSysColor(COLOR_BTNSHADOW)));
}

}  // namespace vxgdi

namespace {

// The standard icons are drawn once: a framed square with a sign.
HICON StandardIcon(uintptr_t id)
{
    static HICON icons[5] = {};
    unsigned i = static_cast<unsigned>(id - 32512);
    if (i >= 5)
        return nullptr;
    if (icons[i])
        return icons[i];
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        static const QColor colours[] = {QColor(70, 110, 180), QColor(200, 30, 30), QColor(40, 90, 200),
                                         QColor(230, 180, 0), QColor(40, 90, 200)};
        static const char* signs[] = {"", "x", "?", "!", "i"};
        p.setBrush(colours[i]);
        p.setPen(Qt::NoPen);
        if (i == 0)
            p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
        else
            p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setPen(Qt::white);
        QFont f;
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QString::fromLatin1(signs[i]));
    }
    auto o = std::make_unique<IconObj>();
    o->image = img;
    o->hotspot = QPoint(16, 16);
    o->stock = true;
    icons[i] = static_cast<HICON>(Register(std::move(o)));
    return icons[i];
}

}  // namespace

namespace vxgdi {
// The standard icon for an IDI_ id, or null.
HICON StandardIconOf(LPCSTR name)
{
    return StandardIcon(reinterpret_cast<uintptr_t>(name));
}
}  // namespace vxgdi

HICON CreateIconIndirect(PICONINFO info)
{
    if (!info)
        return nullptr;
    BitmapObj* mask = Bitmap(info->hbmMask);
    BitmapObj* color = Bitmap(info->hbmColor);
    if (!mask)
        return nullptr;
    QImage out;
    if (color) {
        out = QImage(color->image.size(), QImage::Format_ARGB32);
        for (int y = 0; y < out.height(); ++y) {
            auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                QRgb c = color->image.pixel(x, y);
                bool transparent = mask->image.valid(x, y) && (mask->image.pixel(x, y) & 0xFFFFFF) != 0;
                if (color->alpha) {
                    // Alpha icons take their shape from the colour bitmap.
                    o[x] = qAlpha(c) ? qUnpremultiply(c) : 0u;
                } else {
                    o[x] = transparent ? 0u : (c | 0xFF000000u);
                }
            }
        }
    } else {
        // A monochrome icon: the mask bitmap holds the AND mask above the XOR
        // image; the XOR part is drawn black or white.
        int h = mask->image.height() / 2;
        out = QImage(mask->image.width(), h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < out.width(); ++x) {
                bool andBit = (mask->image.pixel(x, y) & 0xFFFFFF) != 0;
                bool xorBit = (mask->image.pixel(x, y + h) & 0xFFFFFF) != 0;
                out.setPixel(x, y, andBit ? 0u : (xorBit ? 0xFFFFFFFFu : 0xFF000000u));
            }
    }
    auto o = std::make_unique<IconObj>();
    o->image = out;
    o->isIcon = info->fIcon != 0;
    o->hotspot = o->isIcon ? QPoint(out.width() / 2, out.height() / 2)
                           : QPoint(static_cast<int>(info->xHotspot), static_cast<int>(info->yHotspot));
    return static_cast<HICON>(Register(std::move(o)));
}

HICON CopyIcon(HICON icon)
{
    IconObj* i = Icon(icon);
    if (!i)
        return nullptr;
    auto o = std::make_unique<IconObj>();
    o->image = i->image;
    o->isIcon = i->isIcon;
    o->hotspot = i->hotspot;
    return static_cast<HICON>(Register(std::move(o)));
}

BOOL DestroyIcon(HICON icon)
{
    IconObj* i = Icon(icon);
    if (!i)
        return FALSE;
    return i->stock ? TRUE : DeleteObject(icon);
}

BOOL GetIconInfo(HICON icon, PICONINFO info)
{
    IconObj* i = Icon(icon);
    if (!i || !info)
        return FALSE;
    const QImage& img = i->image;
    QImage color(img.size(), QImage::Format_RGB32);
    QImage mask(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto* c = reinterpret_cast<QRgb*>(color.scanLine(y));
        auto* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            bool opaque = qAlpha(in[x]) >= 128;
            c[x] = opaque ? (in[x] | 0xFF000000u) : 0xFF000000u;
            m[x] = opaque ? 0xFF000000u : 0xFFFFFFFFu;
        }
    }
    info->fIcon = i->isIcon;
    info->xHotspot = static_cast<DWORD>(i->hotspot.x());
    info->yHotspot = static_cast<DWORD>(i->hotspot.y());
    info->hbmColor = MakeBitmap(color);
    info->hbmMask = MakeBitmap(mask, true);
    return TRUE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH flicker, UINT flags)
{
    IconObj* i = Icon(icon);
    if (!i || !FromHdc(hdc))
        return FALSE;
    if (cx == 0)
        cx = (flags & DI_DEFAULTSIZE) ? 32 : i->image.width();
    if (cy == 0)
        cy = (flags & DI_DEFAULTSIZE) ? 32 : i->image.height();
    if (flicker) {
        RECT r{x, y, x + cx, y + cy};
        FillRect(hdc, &r, flicker);
    }
    QImage img = i->image;
    if ((flags & DI_NORMAL) == DI_MASK) {
        // The mask alone: black where the icon is opaque, white elsewhere.
        QImage m(img.size(), QImage::Format_ARGB32);
        for (int yy = 0; yy < img.height(); ++yy)
            for (int xx = 0; xx < img.width(); ++xx)
                m.setPixel(xx, yy, qAlpha(img.pixel(xx, yy)) >= 128 ? 0xFF000000u : 0xFFFFFFFFu);
        img = m;
    } else if ((flags & DI_NORMAL) == DI_IMAGE) {
        QImage m = img.convertToFormat(QImage::Format_ARGB32);
        for (int yy = 0; yy < m.height(); ++yy)
            for (int xx = 0; xx < m.width(); ++xx)
                if (qAlpha(m.pixel(xx, yy)) < 128)
                    m.setPixel(xx, yy, 0xFF000000u);
        img = m;
    }
    DrawArgb(hdc, x, y, img, cx, cy);
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon)
{
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawState(HDC hdc, HBRUSH, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y, int cx, int cy, UINT flags)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    UINT type = flags & 0x000F;
    QImage img;
    switch (type) {
    case DST_ICON: {
        IconObj* i = Icon(reinterpret_cast<HICON>(data));
        if (!i)
            return FALSE;
        img = i->image;
        break;
    }
    case DST_BITMAP: {
        BitmapObj* b = Bitmap(reinterpret_cast<HBITMAP>(data));
        if (!b)
            return FALSE;
        img = b->image.convertToFormat(QImage::Format_ARGB32);
        break;
    }
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        auto text = reinterpret_cast<LPCSTR>(data);
        if (!text)
            return FALSE;
        int n = wData ? static_cast<int>(wData) : -1;
        UINT fmt = DT_SINGLELINE | DT_NOCLIP | (type == DST_TEXT ? DT_NOPREFIX : 0);
        if (flags & DSS_DISABLED) {
            COLORREF oldText = SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
            int oldMode = SetBkMode(hdc, TRANSPARENT);
            RECT r1{x + 1, y + 1, x + 1 + (cx ? cx : 10000), y + 1 + (cy ? cy : 1000)};
            DrawText(hdc, text, n, &r1, fmt);
            SetTextColor(hdc, GetSysColor(COLOR_BTNSHADOW));
            RECT r2{x, y, x + (cx ? cx : 10000), y + (cy ? cy : 1000)};
            DrawText(hdc, text, n, &r2, fmt);
            SetTextColor(hdc, oldText);
            SetBkMode(hdc, oldMode);
        } else {
            RECT r{x, y, x + (cx ? cx : 10000), y + (cy ? cy : 1000)};
            DrawText(hdc, text, n, &r, fmt);
        }
        return TRUE;
    }
    case DST_COMPLEX:
        if (!proc)
            return FALSE;
        return proc(hdc, data, wData, cx, cy);
    default:
        return FALSE;
    }
    // Icons and bitmaps are drawn at their own size; cx and cy only clip.
    if (cx > 0 && cy > 0 && (cx < img.width() || cy < img.height()))
        img = img.copy(0, 0, std::min(cx, img.width()), std::min(cy, img.height()));
    if (flags & DSS_DISABLED)
        DrawDisabled(hdc, x, y, img);
    else
        DrawArgb(hdc, x, y, img);
    return TRUE;
}
