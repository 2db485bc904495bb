// Image lists: pictures of one size with their transparency, added from
// bitmaps (with a mask bitmap or a mask colour) or icons, and drawn by index.
#include "platform/gdi/imagelist.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/Icon_p.h"

using namespace vxgdi;

namespace {

// Slices a bitmap into images of the list's size; `opaque(x, y)` says which
// pixels of the whole bitmap show.
template <typename Opaque>
int AddSlices(ImageListObj* il, const QImage& src, Opaque opaque)
{
    if (il->cx <= 0 || il->cy <= 0 || src.isNull())
        return -1;
    bool masked = il->flags & ILC_MASK;
    int first = static_cast<int>(il->images.size());
    int n = std::max(1, src.width() / il->cx);
    for (int i = 0; i < n; ++i) {
        QImage img(il->cx, il->cy, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        for (int y = 0; y < il->cy && y < src.height(); ++y)
            for (int x = 0; x < il->cx; ++x) {
                int sx = i * il->cx + x;
                if (sx >= src.width())
                    break;
                QRgb p = src.pixel(sx, y) | 0xFF000000u;
                img.setPixel(x, y, (!masked || opaque(sx, y)) ? p : 0u);
            }
        il->images.push_back(std::move(img));
    }
    return first;
}

QImage Blend(const QImage& img, int percent)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    QRgb hl = ToRgb(GetSysColor(COLOR_HIGHLIGHT));
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb p = line[x];
            if (!qAlpha(p))
                continue;
            auto mix = [&](int a, int b) { return (a * (100 - percent) + b * percent) / 100; };
            line[x] = qRgba(mix(qRed(p), qRed(hl)), mix(qGreen(p), qGreen(hl)), mix(qBlue(p), qBlue(hl)), qAlpha(p));
        }
    }
    return out;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int grow)
{
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return nullptr;
    auto o = std::make_unique<ImageListObj>();
    o->cx = cx;
    o->cy = cy;
    o->flags = flags;
    o->grow = std::max(1, grow);
    return Register(std::move(o));
}

BOOL ImageList_Destroy(HIMAGELIST himl)
{
    ImageListObj* il = ImageList(himl);
    if (!il)
        return FALSE;
    DeleteObject(il->strip);
    DeleteObject(il->stripMask);
    return DeleteObject(himl);
}

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask)
{
    ImageListObj* il = ImageList(himl);
    BitmapObj* b = Bitmap(image);
    if (!il || !b)
        return -1;
    BitmapObj* m = Bitmap(mask);
    if (b->alpha && !m) {
        // A 32-bit bitmap brings its own transparency.
        QImage src = b->image.convertToFormat(QImage::Format_ARGB32);
        int first = static_cast<int>(il->images.size());
        int n = std::max(1, src.width() / il->cx);
        for (int i = 0; i < n; ++i)
            il->images.push_back(src.copy(i * il->cx, 0, il->cx, il->cy));
        return first;
    }
    const QImage* mi = m ? &m->image : nullptr;
    return AddSlices(il, b->image, [&](int x, int y) {
        // A set mask bit (white) marks a transparent pixel.
        return !mi || !mi->valid(x, y) || (mi->pixel(x, y) & 0xFFFFFF) == 0;
    });
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF mask)
{
    ImageListObj* il = ImageList(himl);
    BitmapObj* b = Bitmap(image);
    if (!il || !b)
        return -1;
    QRgb key = ToRgb(mask) & 0xFFFFFF;
    const QImage& src = b->image;
    return AddSlices(il, src, [&](int x, int y) { return (src.pixel(x, y) & 0xFFFFFF) != key; });
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int index, HICON icon)
{
    ImageListObj* il = ImageList(himl);
    IconObj* ic = Icon(icon);
    if (!il || !ic)
        return -1;
    QImage img = ic->image.scaled(il->cx, il->cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_ARGB32);
    if (index < 0) {
        il->images.push_back(img);
        return static_cast<int>(il->images.size()) - 1;
    }
    if (index >= static_cast<int>(il->images.size()))
        return -1;
    il->images[static_cast<size_t>(index)] = img;
    return index;
}

BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask)
{
    ImageListObj* il = ImageList(himl);
    if (!il || index < 0 || index >= static_cast<int>(il->images.size()))
        return FALSE;
    size_t before = il->images.size();
    if (ImageList_Add(himl, image, mask) < 0)
        return FALSE;
    il->images[static_cast<size_t>(index)] = il->images[before];
    il->images.resize(before);
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int index)
{
    ImageListObj* il = ImageList(himl);
    if (!il)
        return FALSE;
    if (index == -1) {
        il->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= static_cast<int>(il->images.size()))
        return FALSE;
    il->images.erase(il->images.begin() + index);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl)
{
    ImageListObj* il = ImageList(himl);
    return il ? static_cast<int>(il->images.size()) : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count)
{
    ImageListObj* il = ImageList(himl);
    if (!il)
        return FALSE;
    QImage blank(il->cx, il->cy, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    il->images.resize(count, blank);
    return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    ImageListObj* il = ImageList(himl);
    if (!il || !cx || !cy)
        return FALSE;
    *cx = il->cx;
    *cy = il->cy;
    return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy)
{
    ImageListObj* il = ImageList(himl);
    if (!il || cx <= 0 || cy <= 0)
        return FALSE;
    // As with the classic call, a new size empties the list.
    il->cx = cx;
    il->cy = cy;
    il->images.clear();
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int index, IMAGEINFO* info)
{
    ImageListObj* il = ImageList(himl);
    if (!il || !info || index < 0 || index >= static_cast<int>(il->images.size()))
        return FALSE;
    int n = static_cast<int>(il->images.size());
    QImage strip(il->cx * n, il->cy, QImage::Format_RGB32);
    QImage mask(il->cx * n, il->cy, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i) {
        const QImage& img = il->images[static_cast<size_t>(i)];
        for (int y = 0; y < il->cy; ++y)
            for (int x = 0; x < il->cx; ++x) {
                QRgb p = img.pixel(x, y);
                bool opaque = qAlpha(p) >= 128;
                strip.setPixel(i * il->cx + x, y, opaque ? (p | 0xFF000000u) : 0xFF000000u);
                mask.setPixel(i * il->cx + x, y, opaque ? 0xFF000000u : 0xFFFFFFFFu);
            }
    }
    DeleteObject(il->strip);
    DeleteObject(il->stripMask);
    il->strip = MakeBitmap(strip);
    il->stripMask = (il->flags & ILC_MASK) ? MakeBitmap(mask, true) : nullptr;
    *info = IMAGEINFO{};
    info->hbmImage = il->strip;
    info->hbmMask = il->stripMask;
    info->rcImage = RECT{index * il->cx, 0, (index + 1) * il->cx, il->cy};
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF bk)
{
    ImageListObj* il = ImageList(himl);
    if (!il)
        return CLR_NONE;
    COLORREF old = il->bk;
    il->bk = bk;
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl)
{
    ImageListObj* il = ImageList(himl);
    return il ? il->bk : CLR_NONE;
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF bk, COLORREF,
                      UINT style)
{
    ImageListObj* il = ImageList(himl);
    if (!il || !FromHdc(hdc) || index < 0 || index >= static_cast<int>(il->images.size()))
        return FALSE;
    QImage img = il->images[static_cast<size_t>(index)];
    if (dx > 0 && dy > 0 && (dx < il->cx || dy < il->cy))
        img = img.copy(0, 0, dx, dy);
    if (style & ILD_MASK) {
        QImage m(img.size(), QImage::Format_ARGB32);
        for (int yy = 0; yy < img.height(); ++yy)
            for (int xx = 0; xx < img.width(); ++xx)
                m.setPixel(xx, yy, qAlpha(img.pixel(xx, yy)) >= 128 ? 0xFF000000u : 0xFFFFFFFFu);
        DrawArgb(hdc, x, y, m);
        return TRUE;
    }
    if (style & ILD_BLEND50)
        img = Blend(img, 50);
    else if (style & ILD_BLEND25)
        img = Blend(img, 25);
    // Without ILD_TRANSPARENT a background colour fills the transparent part.
    if (!(style & ILD_TRANSPARENT) && bk != CLR_NONE && bk != CLR_DEFAULT) {
        HBRUSH b = CreateSolidBrush(bk);
        RECT r{x, y, x + img.width(), y + img.height()};
        FillRect(hdc, &r, b);
        DeleteObject(b);
    }
    DrawArgb(hdc, x, y, img);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC hdc, int x, int y, UINT style)
{
    ImageListObj* il = ImageList(himl);
    if (!il)
        return FALSE;
    return ImageList_DrawEx(himl, index, hdc, x, y, 0, 0, il->bk, CLR_DEFAULT, style);
}

HICON ImageList_GetIcon(HIMAGELIST himl, int index, UINT)
{
    ImageListObj* il = ImageList(himl);
    if (!il || index < 0 || index >= static_cast<int>(il->images.size()))
        return nullptr;
    return MakeIcon(il->images[static_cast<size_t>(index)], true, QPoint());
}
