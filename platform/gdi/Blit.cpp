// Block transfers between DCs: BitBlt and StretchBlt with the raster
// operations, PatBlt, TransparentBlt and AlphaBlend.
//
// Colour and monochrome surfaces meet as the classic rules say: a colour
// source copied to a monochrome one gives white where the source has the
// source DC's background colour and black elsewhere; a monochrome source on
// a colour surface takes the destination DC's text colour for its black
// (0) pixels and its background colour for its white (1) ones. The masked
// drawing that buttons and shaped windows do depends on exactly this.
#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"

using namespace vxgdi;

namespace {

bool IsMono(DcHandle* dc)
{
    return dc->TargetIsMono();
}

// The source part as pixels for the destination: converted between colour
// and monochrome, opaque RGB32.
QImage SourcePart(DcHandle* src, DcHandle* dst, QRect part)
{
    QImage img = src->Snapshot();
    if (img.isNull())
        return QImage();
    QImage out = img.copy(part).convertToFormat(QImage::Format_RGB32);
    bool srcMono = IsMono(src);
    bool dstMono = IsMono(dst);
    if (srcMono && !dstMono) {
        QRgb fg = ToRgb(dst->st.text) | 0xFF000000u;
        QRgb bg = ToRgb(dst->st.bk) | 0xFF000000u;
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                line[x] = (line[x] & 0xFFFFFF) ? bg : fg;
        }
    } else if (!srcMono && dstMono) {
        QRgb key = ToRgb(src->st.bk) & 0xFFFFFF;
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x)
                line[x] = (line[x] & 0xFFFFFF) == key ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    return out;
}

bool RopMode(DWORD rop, QPainter::CompositionMode* mode)
{
    switch (rop) {
    case SRCCOPY:
        *mode = QPainter::CompositionMode_Source;
        return true;
    case SRCAND:
        *mode = QPainter::RasterOp_SourceAndDestination;
        return true;
    case SRCPAINT:
        *mode = QPainter::RasterOp_SourceOrDestination;
        return true;
    case SRCINVERT:
        *mode = QPainter::RasterOp_SourceXorDestination;
        return true;
    case NOTSRCCOPY:
        *mode = QPainter::RasterOp_NotSource;
        return true;
    case SRCERASE:
        *mode = QPainter::RasterOp_SourceAndNotDestination;
        return true;
    case NOTSRCERASE:
        *mode = QPainter::RasterOp_NotSourceAndNotDestination;
        return true;
    case MERGEPAINT:
        *mode = QPainter::RasterOp_NotSourceOrDestination;
        return true;
    default:
        return false;
    }
}

// Raster operations that need no source.
bool PatternOp(DcHandle* dst, QRect r, DWORD rop)
{
    DcPainter p(dst);
    if (!p.ok())
        return true;
    QPainter& q = p.p();
    switch (rop) {
    case BLACKNESS:
        q.setCompositionMode(QPainter::CompositionMode_Source);
        q.fillRect(r, Qt::black);
        return true;
    case WHITENESS:
        q.setCompositionMode(QPainter::CompositionMode_Source);
        q.fillRect(r, Qt::white);
        return true;
    case DSTINVERT:
        q.setCompositionMode(QPainter::RasterOp_NotDestination);
        q.fillRect(r, Qt::black);
        return true;
    case PATCOPY:
        q.setCompositionMode(QPainter::CompositionMode_Source);
        q.fillRect(r, p.Brush());
        return true;
    case PATINVERT:
        q.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        q.fillRect(r, p.Brush());
        return true;
    default:
        return false;
    }
}

// The opaque alpha of RGB32 surfaces must survive the bitwise operations.
void KeepOpaque(DcHandle* dst, QRect r)
{
    QImage* img = dst->TargetImage();
    if (!img || img->format() != QImage::Format_RGB32)
        return;
    QRect c = r.translated(dst->st.org).intersected(img->rect());
    for (int y = c.top(); y <= c.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img->scanLine(y));
        for (int x = c.left(); x <= c.right(); ++x)
            line[x] |= 0xFF000000u;
    }
}

bool Blit(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, DWORD rop, bool stretch)
{
    DcHandle* dst = FromHdc(hdst);
    if (!dst)
        return false;
    QRect dr(x, y, w, h);
    if (PatternOp(dst, dr.normalized(), rop))
        return true;
    QPainter::CompositionMode mode;
    if (!RopMode(rop, &mode))
        return false;
    DcHandle* src = FromHdc(hsrc);
    if (!src)
        return false;
    if (w == 0 || h == 0 || sw == 0 || sh == 0)
        return true;
    bool flipX = (w < 0) != (sw < 0);
    bool flipY = (h < 0) != (sh < 0);
    QRect s = QRect(sx + src->st.org.x(), sy + src->st.org.y(), sw, sh).normalized();
    dr = dr.normalized();
    if (!stretch) {
        // Parts outside the source leave the destination as it is.
        QSize ss = src->TargetSize();
        QRect clipped = s.intersected(QRect(QPoint(0, 0), ss));
        if (clipped.isEmpty())
            return true;
        dr = QRect(dr.topLeft() + (clipped.topLeft() - s.topLeft()), clipped.size());
        s = clipped;
    }
    QImage part = SourcePart(src, dst, s);
    if (part.isNull())
        return false;
    if (flipX || flipY)
        part = part.mirrored(flipX, flipY);
    if (part.size() != dr.size())
        part = part.scaled(dr.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    {
        DcPainter p(dst);
        if (!p.ok())
            return true;
        p.p().setCompositionMode(mode);
        p.p().drawImage(dr.topLeft(), part);
    }
    if (mode != QPainter::CompositionMode_Source)
        KeepOpaque(dst, dr);
    return true;
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || width < 0 || height < 0)
        return nullptr;
    // A zero size gives the 1x1 monochrome bitmap, as the classic call does.
    if (width == 0 || height == 0)
        return CreateBitmap(1, 1, 1, 1, nullptr);
    if (dc->TargetIsMono())
        return CreateBitmap(width, height, 1, 1, nullptr);
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull())
        return nullptr;
    img.fill(Qt::black);
    return MakeBitmap(std::move(img));
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    return PatternOp(dc, QRect(x, y, w, h).normalized(), rop);
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
{
    return Blit(dst, x, y, w, h, src, sx, sy, w, h, rop, false);
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop)
{
    return Blit(dst, x, y, w, h, src, sx, sy, sw, sh, rop, true);
}

BOOL TransparentBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, UINT key)
{
    DcHandle* dst = FromHdc(hdst);
    DcHandle* src = FromHdc(hsrc);
    if (!dst || !src || w < 0 || h < 0 || sw < 0 || sh < 0)
        return FALSE;
    if (w == 0 || h == 0 || sw == 0 || sh == 0)
        return TRUE;
    QRect s(sx + src->st.org.x(), sy + src->st.org.y(), sw, sh);
    QImage whole = src->Snapshot();
    if (whole.isNull() || !whole.rect().contains(s))
        return FALSE;
    QImage raw = whole.copy(s).convertToFormat(QImage::Format_RGB32);
    QImage part = SourcePart(src, dst, s);
    // Pixels of the key colour (compared in the source) leave the
    // destination untouched.
    QImage keyed(part.size(), QImage::Format_ARGB32);
    QRgb k = ToRgb(key) & 0xFFFFFF;
    for (int yy = 0; yy < part.height(); ++yy) {
        const auto* rl = reinterpret_cast<const QRgb*>(raw.constScanLine(yy));
        const auto* pl = reinterpret_cast<const QRgb*>(part.constScanLine(yy));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(yy));
        for (int xx = 0; xx < part.width(); ++xx)
            out[xx] = (rl[xx] & 0xFFFFFF) == k ? 0u : (pl[xx] | 0xFF000000u);
    }
    if (keyed.size() != QSize(w, h))
        keyed = keyed.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    DcPainter p(dst);
    if (p.ok()) {
        p.p().setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.p().drawImage(QPoint(x, y), keyed);
    }
    return TRUE;
}

BOOL AlphaBlend(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, BLENDFUNCTION bf)
{
    DcHandle* dst = FromHdc(hdst);
    DcHandle* src = FromHdc(hsrc);
    if (!dst || !src || bf.BlendOp != AC_SRC_OVER || w < 0 || h < 0 || sw < 0 || sh < 0)
        return FALSE;
    if (w == 0 || h == 0 || sw == 0 || sh == 0)
        return TRUE;
    QRect s(sx + src->st.org.x(), sy + src->st.org.y(), sw, sh);
    QImage whole = src->Snapshot();
    // A source rectangle outside the source surface is an error, not a clip.
    if (whole.isNull() || !whole.rect().contains(s))
        return FALSE;
    QImage part;
    BitmapObj* sb = src->kind == DcHandle::Kind::Memory ? Bitmap(src->st.bitmap) : nullptr;
    if ((bf.AlphaFormat & AC_SRC_ALPHA) && sb && sb->alpha) {
        // The pixels are taken as premultiplied, as the classic call reads them.
        part = whole.copy(s).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
        part = SourcePart(src, dst, s).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    if (part.size() != QSize(w, h))
        part = part.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    DcPainter p(dst);
    if (p.ok()) {
        p.p().setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.p().setOpacity(bf.SourceConstantAlpha / 255.0);
        p.p().drawImage(QPoint(x, y), part);
    }
    return TRUE;
}
