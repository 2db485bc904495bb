#pragma once
// Owning wrappers of FFmpeg's handles, one of each kind for the whole system:
// nothing frees an FFmpeg handle by hand. Header-only; the code that uses a
// wrapper links the FFmpeg library it belongs to.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/dict.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace vxwrap {

struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
// An opened demuxer, or one allocated and not yet opened.
struct InputFormatClose {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
// An output context whose AVIO belongs to someone else.
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
// A custom AVIO context and the buffer it was made with (av_malloc'd).
struct AvioFree {
    void operator()(AVIOContext* io) const
    {
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }
};
struct BsfFree {
    void operator()(AVBSFContext* b) const { av_bsf_free(&b); }
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
using BsfPtr = std::unique_ptr<AVBSFContext, BsfFree>;

inline PacketPtr makePacket()
{
    return PacketPtr(av_packet_alloc());
}
inline FramePtr makeFrame()
{
    return FramePtr(av_frame_alloc());
}

// A new reference to the same packet data (no copy).
inline PacketPtr refPacket(const AVPacket* src)
{
    PacketPtr p = makePacket();
    if (p && av_packet_ref(p.get(), src) < 0)
        p.reset();
    return p;
}

// Options for the open calls; FFmpeg consumes the ones it knows and leaves
// the rest, which go with the dictionary.
class Dictionary {
public:
    Dictionary() = default;
    ~Dictionary() { av_dict_free(&m_dict); }
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // False when FFmpeg could not allocate the entry.
    bool set(const char* key, const char* value) { return av_dict_set(&m_dict, key, value, 0) >= 0; }
    AVDictionary** address() { return &m_dict; }

private:
    AVDictionary* m_dict = nullptr;
};

}  // namespace vxwrap
