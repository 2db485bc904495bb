#pragma once
// Owning wrappers of FFmpeg's handles; nothing else frees one by hand.

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include <memory>

namespace vxnet {

struct AvInputDeleter {
    void operator()(AVFormatContext* ctx) const { avformat_close_input(&ctx); }
};
// An opened (or allocated, not yet opened) demuxer.
using AvInput = std::unique_ptr<AVFormatContext, AvInputDeleter>;

struct AvPacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using AvPacket = std::unique_ptr<AVPacket, AvPacketDeleter>;

// Options for avformat_open_input; FFmpeg consumes the ones it knows.
class AvDictionary {
public:
    AvDictionary() = default;
    ~AvDictionary() { av_dict_free(&m_dict); }
    AvDictionary(const AvDictionary&) = delete;
    AvDictionary& operator=(const AvDictionary&) = delete;

    void set(const char* key, const char* value) { av_dict_set(&m_dict, key, value, 0); }
    AVDictionary** address() { return &m_dict; }

private:
    AVDictionary* m_dict = nullptr;
};

} // namespace vxnet
