// The image layer over QImage: decoding, pixel formats, keyed and scaled
// drawing into DCs and images, and regions from rectangles.
#include "platform/gdi/gdiplus.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"
#include "platform/gdi/stream.h"

#include <QFile>

namespace Gdiplus {

struct Image::Impl {
    QImage image;  // ARGB32 (non-premultiplied) or RGB32
    PixelFormat format = PixelFormatUndefined;
};

struct GraphicsPath::Impl {
    QRegion region;
};

struct Region::Impl {
    QRegion region;
};

namespace {

PixelFormat FormatOf(const QImage& img)
{
    if (img.isNull())
        return PixelFormatUndefined;
    if (img.depth() == 1)
        return PixelFormat1bppIndexed;
    if (img.format() == QImage::Format_Indexed8)
        return img.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat8bppIndexed;
    if (img.hasAlphaChannel())
        return PixelFormat32bppARGB;
    return img.depth() == 24 ? PixelFormat24bppRGB : PixelFormat32bppRGB;
}

void Adopt(Image::Impl* d, QImage img)
{
    d->format = FormatOf(img);
    d->image = img.isNull() ? QImage()
                            : img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

// The image with the colour key applied: pixels within the key range
// become transparent.
QImage Keyed(const QImage& src, const ImageAttributes* attr)
{
    if (!attr || !attr->m_hasKey)
        return src;
    QImage out = src.convertToFormat(QImage::Format_ARGB32);
    const Color& lo = attr->m_low;
    const Color& hi = attr->m_high;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb p = line[x];
            if (qRed(p) >= lo.GetR() && qRed(p) <= hi.GetR() && qGreen(p) >= lo.GetG() && qGreen(p) <= hi.GetG()
                && qBlue(p) >= lo.GetB() && qBlue(p) <= hi.GetB())
                line[x] = 0;
        }
    }
    return out;
}

}  // namespace

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput*, void*)
{
    if (token)
        *token = 1;
    return Ok;
}

void GdiplusShutdown(ULONG_PTR) {}

Status ImageAttributes::SetColorKey(const Color& low, const Color& high, ColorAdjustType)
{
    m_hasKey = true;
    m_low = low;
    m_high = high;
    return Ok;
}

Status ImageAttributes::ClearColorKey(ColorAdjustType)
{
    m_hasKey = false;
    return Ok;
}

Image::Image() : m_impl(std::make_unique<Impl>()) {}
Image::~Image() = default;

Image* Image::FromFile(const char* path)
{
    auto* img = new Image();
    QFile f(QString::fromUtf8(path ? path : ""));
    if (!path || !f.open(QIODevice::ReadOnly)) {
        img->m_status = path ? FileNotFound : InvalidParameter;
        return img;
    }
    QByteArray data = f.readAll();
    QImage q;
    if (!q.loadFromData(data))
        img->m_status = UnknownImageFormat;
    Adopt(img->m_impl.get(), q);
    return img;
}

Image* Image::FromMemory(const void* data, size_t size)
{
    auto* img = new Image();
    QImage q;
    if (!data || size == 0 || size > static_cast<size_t>(INT32_MAX)) {
        img->m_status = InvalidParameter;
        return img;
    }
    if (!q.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size)))
        img->m_status = UnknownImageFormat;
    Adopt(img->m_impl.get(), q);
    return img;
}

Image* Image::FromStream(IStream* stream)
{
    if (!stream) {
        auto* img = new Image();
        img->m_status = InvalidParameter;
        return img;
    }
    return FromMemory(stream->Data(), stream->Size());
}

UINT Image::GetWidth() const
{
    return static_cast<UINT>(m_impl->image.width());
}

UINT Image::GetHeight() const
{
    return static_cast<UINT>(m_impl->image.height());
}

PixelFormat Image::GetPixelFormat() const
{
    return m_impl->format;
}

Image* Image::Clone() const
{
    auto* img = new Image();
    img->m_impl->image = m_impl->image.copy();
    img->m_impl->format = m_impl->format;
    img->m_status = m_status;
    return img;
}

Bitmap::Bitmap(INT width, INT height, PixelFormat format)
{
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) {
        m_status = InvalidParameter;
        return;
    }
    bool alpha = IsAlphaPixelFormat(format);
    m_impl->image = QImage(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (m_impl->image.isNull()) {
        m_status = OutOfMemory;
        return;
    }
    m_impl->image.fill(alpha ? Qt::transparent : Qt::black);
    m_impl->format = alpha ? PixelFormat32bppARGB : PixelFormat32bppRGB;
}

Bitmap* Bitmap::FromHBITMAP(HBITMAP hbm, HPALETTE)
{
    auto* b = new Bitmap();
    vxgdi::BitmapObj* o = vxgdi::Bitmap(hbm);
    if (!o) {
        b->m_status = InvalidParameter;
        return b;
    }
    // GDI bitmaps come without alpha, whatever their top byte holds.
    b->m_impl->image = o->image.convertToFormat(QImage::Format_RGB32);
    b->m_impl->format = PixelFormat32bppRGB;
    return b;
}

Bitmap* Bitmap::FromFile(const char* path)
{
    auto* b = new Bitmap();
    std::unique_ptr<Image> img(Image::FromFile(path));
    b->m_status = img->GetLastStatus();
    b->m_impl->image = img->impl()->image;
    b->m_impl->format = img->impl()->format;
    return b;
}

Status Bitmap::GetPixel(INT x, INT y, Color* color) const
{
    if (!color || !m_impl->image.valid(x, y))
        return InvalidParameter;
    QRgb p = m_impl->image.pixel(x, y);
    *color = Color(static_cast<BYTE>(qAlpha(p)), static_cast<BYTE>(qRed(p)), static_cast<BYTE>(qGreen(p)),
                   static_cast<BYTE>(qBlue(p)));
    return Ok;
}

Status Bitmap::SetPixel(INT x, INT y, const Color& color)
{
    if (!m_impl->image.valid(x, y))
        return InvalidParameter;
    m_impl->image.setPixel(x, y, qRgba(color.GetR(), color.GetG(), color.GetB(), color.GetA()));
    return Ok;
}

Status Bitmap::GetHBITMAP(const Color& background, HBITMAP* out) const
{
    if (!out || m_impl->image.isNull())
        return InvalidParameter;
    QImage flat(m_impl->image.size(), QImage::Format_RGB32);
    flat.fill(QColor(background.GetR(), background.GetG(), background.GetB()));
    QPainter p(&flat);
    p.drawImage(0, 0, m_impl->image);
    p.end();
    *out = vxgdi::MakeBitmap(flat);
    return *out ? Ok : OutOfMemory;
}

GraphicsPath::GraphicsPath() : m_impl(std::make_unique<Impl>()) {}
GraphicsPath::~GraphicsPath() = default;

Status GraphicsPath::AddRectangle(const Rect& r)
{
    if (r.Width > 0 && r.Height > 0)
        m_impl->region += QRect(r.X, r.Y, r.Width, r.Height);
    return Ok;
}

Status GraphicsPath::AddRectangles(const Rect* rects, INT count)
{
    if (!rects || count < 0)
        return InvalidParameter;
    QList<QRect> list;
    for (INT i = 0; i < count; ++i)
        if (rects[i].Width > 0 && rects[i].Height > 0)
            list.push_back(QRect(rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height));
    QRegion add;
    add.setRects(list.constData(), static_cast<int>(list.size()));
    m_impl->region += add;
    return Ok;
}

Region::Region() : m_impl(std::make_unique<Impl>()) {}

Region::Region(const Rect& r) : Region()
{
    Union(r);
}

Region::Region(const GraphicsPath* path) : Region()
{
    if (path)
        m_impl->region = path->m_impl->region;
}

Region::~Region() = default;

Status Region::Union(const Rect& r)
{
    if (r.Width > 0 && r.Height > 0)
        m_impl->region += QRect(r.X, r.Y, r.Width, r.Height);
    return Ok;
}

Status Region::Union(const Region* region)
{
    if (!region)
        return InvalidParameter;
    m_impl->region += region->m_impl->region;
    return Ok;
}

BOOL Region::IsVisible(INT x, INT y, const Graphics*) const
{
    return m_impl->region.contains(QPoint(x, y));
}

BOOL Region::IsEmpty(const Graphics*) const
{
    return m_impl->region.isEmpty();
}

Region* Region::Clone() const
{
    auto* r = new Region();
    r->m_impl->region = m_impl->region;
    return r;
}

HRGN Region::GetHRGN(const Graphics*) const
{
    HRGN h = ::CreateRectRgn(0, 0, 0, 0);
    if (vxgdi::RgnObj* r = vxgdi::Rgn(h))
        r->region = m_impl->region;
    return h;
}

Graphics::Graphics(HDC hdc) : m_hdc(hdc)
{
    if (!vxgdi::FromHdc(hdc))
        m_status = InvalidParameter;
}

Graphics::Graphics(Image* image) : m_image(image)
{
    if (!image || image->impl()->image.isNull())
        m_status = InvalidParameter;
}

Graphics::~Graphics() = default;

Status Graphics::DrawImage(Image* image, INT x, INT y)
{
    if (!image)
        return InvalidParameter;
    return DrawImage(image, x, y, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height)
{
    return DrawImage(image, Rect(x, y, width, height));
}

Status Graphics::DrawImage(Image* image, const Rect& dest)
{
    if (!image)
        return InvalidParameter;
    return DrawImage(image, dest, 0, 0, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()),
                     UnitPixel, nullptr);
}

Status Graphics::DrawImage(Image* image, const Rect& dest, INT srcx, INT srcy, INT srcwidth, INT srcheight, Unit,
                           const ImageAttributes* attributes)
{
    if (!image || m_status != Ok)
        return InvalidParameter;
    const QImage& src = image->impl()->image;
    if (src.isNull())
        return image->GetLastStatus() == Ok ? InvalidParameter : image->GetLastStatus();
    if (dest.Width <= 0 || dest.Height <= 0 || srcwidth <= 0 || srcheight <= 0)
        return Ok;
    QImage part = Keyed(src.copy(srcx, srcy, srcwidth, srcheight), attributes);
    // The key is applied before scaling, so that no key colour is blended
    // into the edges of what remains.
    QImage scaled = part.size() == QSize(dest.Width, dest.Height)
                        ? part
                        : part.scaled(dest.Width, dest.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (m_image) {
        QPainter p(&m_image->impl()->image);
        p.drawImage(dest.X, dest.Y, scaled);
        return Ok;
    }
    vxgdi::DcPainter p(vxgdi::FromHdc(m_hdc));
    if (!p.ok())
        return Ok;
    p.p().setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.p().drawImage(dest.X, dest.Y, scaled);
    return Ok;
}

Status Graphics::Clear(const Color& color)
{
    QColor c(color.GetR(), color.GetG(), color.GetB(), color.GetA());
    if (m_image) {
        m_image->impl()->image.fill(c);
        return Ok;
    }
    vxgdi::DcPainter p(vxgdi::FromHdc(m_hdc));
    if (p.ok()) {
        p.p().setCompositionMode(QPainter::CompositionMode_Source);
        p.p().fillRect(QRect(QPoint(0, 0), vxgdi::FromHdc(m_hdc)->TargetSize()), c);
    }
    return Ok;
}

}  // namespace Gdiplus
