#pragma once
// Every FFmpeg handle the player holds, each wrapped once so that no code
// frees one by hand.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace vxplay {

struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct InputFormatClose {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
// An output context whose AVIO belongs to someone else (see OutputFile).
struct OutputFormatFree {
    void operator()(AVFormatContext* f) const { avformat_free_context(f); }
};
struct SwsFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct SwrFree {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct AudioFifoFree {
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};
struct AvioFree {
    void operator()(AVIOContext* io) const
    {
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }
};
struct CodecParametersFree {
    void operator()(AVCodecParameters* p) const { avcodec_parameters_free(&p); }
};

using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatClose>;
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatFree>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFree>;
using AvioPtr = std::unique_ptr<AVIOContext, AvioFree>;
using CodecParametersPtr = std::unique_ptr<AVCodecParameters, CodecParametersFree>;

inline PacketPtr makePacket() { return PacketPtr(av_packet_alloc()); }
inline FramePtr makeFrame() { return FramePtr(av_frame_alloc()); }

// A new reference to the same packet data (no copy).
inline PacketPtr refPacket(const AVPacket* src)
{
    PacketPtr p = makePacket();
    if (p && av_packet_ref(p.get(), src) < 0)
        p.reset();
    return p;
}

} // namespace vxplay
