#include "outside/vxplay/Picture.h"

#include "outside/vxplay/vxplay.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxplay {

bool PictureConverter::convert(const AVFrame* frame, AVPixelFormat fmt, int transform, int bpp,
                               std::vector<uint8_t>& out, int& stride)
{
    const int w = frame->width;
    const int h = frame->height;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384)
        return false;
    m_sws.reset(sws_getCachedContext(m_sws.release(), w, h, AVPixelFormat(frame->format), w, h, fmt, SWS_BILINEAR,
                                     nullptr, nullptr, nullptr));
    if (!m_sws)
        return false;
    stride = w * bpp;
    out.resize(size_t(stride) * size_t(h));
    uint8_t* dst[4] = {out.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {stride, 0, 0, 0};
    if (transform & kTransformFlip) {
        // Written bottom row first: the picture comes out upside down.
        dst[0] = out.data() + size_t(stride) * size_t(h - 1);
        dstStride[0] = -stride;
    }
    if (sws_scale(m_sws.get(), frame->data, frame->linesize, 0, h, dst, dstStride) != h)
        return false;
    if (transform & kTransformMirror) {
        for (int y = 0; y < h; ++y) {
            uint8_t* row = out.data() + size_t(stride) * size_t(y);
            for (int l = 0, r = w - 1; l < r; ++l, --r)
                std::swap_ranges(row + l * bpp, row + l * bpp + bpp, row + r * bpp);
        }
    }
    return true;
}

bool PictureConverter::toBgra(const AVFrame* frame, int transform, Bgra& out)
{
    if (!convert(frame, AV_PIX_FMT_BGRA, transform, 4, out.pixels, out.stride))
        return false;
    out.width = frame->width;
    out.height = frame->height;
    // Pixels of a decoded picture are opaque.
    for (int y = 0; y < out.height; ++y) {
        uint8_t* row = out.pixels.data() + size_t(out.stride) * size_t(y);
        for (int x = 0; x < out.width; ++x)
            row[x * 4 + 3] = 0xff;
    }
    return true;
}

int PictureConverter::writePng(const AVFrame* frame, int transform, const std::string& path)
{
    std::vector<uint8_t> rgb;
    int stride = 0;
    if (!convert(frame, AV_PIX_FMT_RGB24, transform, 3, rgb, stride))
        return VXPLAY_ERR_CODEC;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (!codec)
        return VXPLAY_ERR_CODEC;
    vxwrap::CodecContextPtr enc(avcodec_alloc_context3(codec));
    if (!enc)
        return VXPLAY_ERR_NOMEM;
    enc->width = frame->width;
    enc->height = frame->height;
    enc->pix_fmt = AV_PIX_FMT_RGB24;
    enc->time_base = AVRational{1, 25};
    if (avcodec_open2(enc.get(), codec, nullptr) < 0)
        return VXPLAY_ERR_CODEC;
    vxwrap::FramePtr f = vxwrap::makeFrame();
    vxwrap::PacketPtr pkt = vxwrap::makePacket();
    if (!f || !pkt)
        return VXPLAY_ERR_NOMEM;
    f->format = AV_PIX_FMT_RGB24;
    f->width = frame->width;
    f->height = frame->height;
    f->data[0] = rgb.data();
    f->linesize[0] = stride;
    f->pts = 0;
    if (avcodec_send_frame(enc.get(), f.get()) < 0 || avcodec_send_frame(enc.get(), nullptr) < 0
        || avcodec_receive_packet(enc.get(), pkt.get()) < 0)
        return VXPLAY_ERR_CODEC;
    return writeNewFile(path, pkt->data, size_t(pkt->size));
}

int writeNewFile(const std::string& path, const uint8_t* data, size_t size)
{
    if (path.empty())
        return VXPLAY_ERR_ARG;
    if (::access(path.c_str(), F_OK) == 0)
        return VXPLAY_ERR_EXISTS;
    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return VXPLAY_ERR_IO;
    bool ok = true;
    size_t done = 0;
    while (ok && done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += size_t(n);
    }
    ok = ::fchmod(fd, 0644) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    int result = VXPLAY_OK;
    if (!ok)
        result = VXPLAY_ERR_IO;
    else if (::link(tmp.c_str(), path.c_str()) != 0)
        result = errno == EEXIST ? VXPLAY_ERR_EXISTS : VXPLAY_ERR_IO;
    ::unlink(tmp.c_str());
    return result;
}

}  // namespace vxplay
