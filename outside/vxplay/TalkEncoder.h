#pragma once
// Encodes 8 kHz mono talk audio into 20 ms blocks of one camera codec.

#include "outside/wrap/FfmpegHandles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vxplay {

class TalkEncoder {
public:
    static constexpr int kSampleRate = 8000;
    static constexpr int kBlockSamples = kSampleRate / 50;  // 20 ms

    // (block, length, ms since the first sample)
    using BlockSink = std::function<void(const uint8_t*, int, int64_t)>;

    // nullptr for a codec code other than VXPLAY_TALK_G711A, _G726, _G711U.
    static std::unique_ptr<TalkEncoder> create(int codec);

    // Any number of samples; every finished block goes to sink.
    void push(const int16_t* samples, size_t count, const BlockSink& sink);

private:
    TalkEncoder() = default;
    vxwrap::CodecContextPtr m_enc;
    vxwrap::FramePtr m_frame;
    vxwrap::PacketPtr m_pkt;
    std::vector<int16_t> m_pending;
    int64_t m_blocks = 0;
};

}  // namespace vxplay
