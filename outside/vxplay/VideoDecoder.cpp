#include "outside/vxplay/VideoDecoder.h"

#include "outside/vxplay/AvError.h"
#include "utility/vx_log.h"

namespace vxplay {

std::unique_ptr<VideoDecoder> VideoDecoder::create(const AVCodecParameters* par, AVRational timeBase)
{
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec) {
        vx_log(VX_LOG_ERROR, "vxplay VideoDecoder: no decoder for codec %d", int(par->codec_id));
        return nullptr;
    }
    std::unique_ptr<VideoDecoder> d(new VideoDecoder);
    d->m_ctx.reset(avcodec_alloc_context3(codec));
    d->m_frame = vxwrap::makeFrame();
    if (!d->m_ctx || !d->m_frame || avcodec_parameters_to_context(d->m_ctx.get(), par) < 0)
        return nullptr;
    d->m_ctx->pkt_timebase = timeBase;
    // Slice threads add no delay; a live picture should not lag behind.
    d->m_ctx->thread_type = FF_THREAD_SLICE;
    d->m_ctx->thread_count = 2;
    int err = avcodec_open2(d->m_ctx.get(), codec, nullptr);
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay VideoDecoder: cannot open %s: %s", codec->name, avErrorText(err).c_str());
        return nullptr;
    }
    return d;
}

int VideoDecoder::decode(const AVPacket* pkt, const FrameSink& sink)
{
    int err = avcodec_send_packet(m_ctx.get(), pkt);
    if (err < 0 && err != AVERROR(EAGAIN) && err != AVERROR_EOF) {
        if (err == AVERROR(ENOMEM))
            return err;
        // A damaged packet: skip it, the next key frame heals the picture.
    }
    for (;;) {
        err = avcodec_receive_frame(m_ctx.get(), m_frame.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            return 0;
        if (err < 0)
            return err == AVERROR(ENOMEM) ? err : 0;
        sink(m_frame.get());
        av_frame_unref(m_frame.get());
    }
}

void VideoDecoder::reset()
{
    avcodec_flush_buffers(m_ctx.get());
}

}  // namespace vxplay
