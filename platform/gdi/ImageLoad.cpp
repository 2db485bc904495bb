// Loading bitmaps, icons and cursors: from files (LR_LOADFROMFILE) or from
// the encoded image bytes (PNG, BMP, JPEG) of a resource module.
#include "platform/gdi/Icon_p.h"
#include "platform/gdi/ResourceBytes_p.h"

#include <QFile>
#include <QPainter>

namespace vxgdi {
HICON StandardIconOf(LPCSTR name);
}

using namespace vxgdi;

namespace {

bool IsId(LPCSTR name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

QImage Decode(const std::vector<unsigned char>* bytes)
{
    QImage img;
    if (bytes && !bytes->empty())
        img.loadFromData(bytes->data(), static_cast<int>(bytes->size()));
    return img;
}

HBITMAP BitmapFromImage(const QImage& img, UINT flags)
{
    if (img.isNull())
        return nullptr;
    bool alpha = img.hasAlphaChannel() && (flags & LR_CREATEDIBSECTION);
    if (img.hasAlphaChannel() && !alpha) {
        // Without a DIB section a picture's transparency is dropped, as the
        // classic loader does; transparent pixels show black.
        QImage flat(img.size(), QImage::Format_RGB32);
        flat.fill(Qt::black);
        QPainter p(&flat);
        p.drawImage(0, 0, img);
        p.end();
        return MakeBitmap(flat);
    }
    return MakeBitmap(img, false, alpha);
}

QImage Sized(const QImage& img, int cx, int cy, UINT flags)
{
    if (img.isNull())
        return img;
    if (cx == 0 && (flags & LR_DEFAULTSIZE))
        cx = 32;
    if (cy == 0 && (flags & LR_DEFAULTSIZE))
        cy = 32;
    if (cx > 0 && cy > 0 && QSize(cx, cy) != img.size())
        return img.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return img;
}

}  // namespace

HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name)
{
    if (!name)
        return nullptr;
    QImage img = Decode(FindResourceBytes(module, RT_BITMAP_ID, name));
    return BitmapFromImage(img, 0);
}

HICON LoadIcon(HINSTANCE module, LPCSTR name)
{
    if (!name)
        return nullptr;
    if (!module && IsId(name))
        if (HICON std = StandardIconOf(name))
            return std;
    const std::vector<unsigned char>* bytes = FindResourceBytes(module, RT_GROUP_ICON_ID, name);
    if (!bytes)
        bytes = FindResourceBytes(module, RT_ICON_ID, name);
    QImage img = Decode(bytes);
    return img.isNull() ? nullptr : MakeIcon(img, true, QPoint());
}

HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (!name)
        return nullptr;
    QImage img;
    if (flags & LR_LOADFROMFILE) {
        if (IsId(name))
            return nullptr;
        img.load(QString::fromUtf8(name));
    } else if (type == IMAGE_BITMAP) {
        img = Decode(FindResourceBytes(module, RT_BITMAP_ID, name));
    } else if (type == IMAGE_ICON) {
        if (!module && IsId(name))
            if (HICON std = StandardIconOf(name))
                return std;
        const std::vector<unsigned char>* bytes = FindResourceBytes(module, RT_GROUP_ICON_ID, name);
        img = Decode(bytes ? bytes : FindResourceBytes(module, RT_ICON_ID, name));
    } else if (type == IMAGE_CURSOR) {
        const std::vector<unsigned char>* bytes = FindResourceBytes(module, RT_GROUP_CURSOR_ID, name);
        img = Decode(bytes ? bytes : FindResourceBytes(module, RT_CURSOR_ID, name));
    }
    if (img.isNull())
        return nullptr;
    switch (type) {
    case IMAGE_BITMAP:
        return BitmapFromImage(Sized(img, cx, cy, flags & ~static_cast<UINT>(LR_DEFAULTSIZE)), flags);
    case IMAGE_ICON:
        return MakeIcon(Sized(img, cx, cy, flags), true, QPoint());
    case IMAGE_CURSOR: {
        // Cursor pictures carry their hot spot in the "hotspot" text key
        // ("x,y"); without one it is the top-left corner.
        QPoint hot;
        const QStringList parts = img.text(QStringLiteral("hotspot")).split(',');
        if (parts.size() == 2)
            hot = QPoint(parts[0].toInt(), parts[1].toInt());
        return MakeIcon(Sized(img, cx, cy, flags), false, hot);
    }
    default:
        return nullptr;
    }
}

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags)
{
    if (type == IMAGE_BITMAP) {
        BitmapObj* b = Bitmap(image);
        if (!b)
            return nullptr;
        QImage img = Sized(b->image, cx, cy, flags & ~static_cast<UINT>(LR_DEFAULTSIZE));
        return MakeBitmap(img.copy(), b->mono, b->alpha);
    }
    IconObj* i = Icon(image);
    if (!i)
        return nullptr;
    return MakeIcon(Sized(i->image, cx, cy, flags), i->isIcon, i->hotspot);
}
