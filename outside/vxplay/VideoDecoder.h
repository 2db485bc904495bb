#pragma once
// Decodes one video track into frames. Used by one thread at a time (the
// instance's decode thread or its file thread).

#include "outside/wrap/FfmpegHandles.h"

#include <functional>
#include <memory>

namespace vxplay {

class VideoDecoder {
public:
    using FrameSink = std::function<void(AVFrame*)>;

    // nullptr when there is no decoder for the codec.
    static std::unique_ptr<VideoDecoder> create(const AVCodecParameters* par, AVRational timeBase);

    // One packet (nullptr drains the decoder at the end); every finished
    // frame goes to sink. A damaged packet is skipped: 0 unless the decoder broke.
    int decode(const AVPacket* pkt, const FrameSink& sink);
    void reset();

private:
    VideoDecoder() = default;
    vxwrap::CodecContextPtr m_ctx;
    vxwrap::FramePtr m_frame;
};

}  // namespace vxplay
