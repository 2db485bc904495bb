#pragma once
// Turns a camera's audio (G.711, G.726 or anything else FFmpeg decodes) into
// AAC for an MP4 file, with FFmpeg's own AAC encoder. Used on the thread that
// feeds the recording.

#include "outside/vxplay/Track.h"
#include "outside/wrap/FfmpegHandles.h"

#include <functional>
#include <memory>
#include <vector>

namespace vxplay {

class AudioTranscoder {
public:
    using PacketSink = std::function<int(AVPacket*)>;

    // nullptr when the track cannot be decoded or the encoder is missing.
    static std::unique_ptr<AudioTranscoder> create(const Track& in);

    // The encoder, for the output stream's parameters (its extradata above all).
    const AVCodecContext* encoder() const { return m_enc.get(); }
    AVRational timeBase() const { return m_enc->time_base; }

    // One input packet; startUs is the time of its first sample on the
    // recording's time line. Encoded packets (pts in timeBase()) go to sink.
    int feed(const AVPacket* in, int64_t startUs, const PacketSink& sink);
    // Encodes what is left at the end of the recording.
    int finish(const PacketSink& sink);

private:
    AudioTranscoder() = default;
    int feedG711(const AVPacket* in, int64_t startUs, const PacketSink& sink);
    int encodeAvailable(bool flush, const PacketSink& sink);
    int drainEncoder(const PacketSink& sink);

    vxwrap::CodecContextPtr m_dec;
    vxwrap::CodecContextPtr m_enc;
    vxwrap::SwrPtr m_swr;
    vxwrap::AudioFifoPtr m_fifo;
    vxwrap::FramePtr m_decoded;
    vxwrap::FramePtr m_toEncode;
    vxwrap::PacketPtr m_encoded;
    int64_t m_nextPts = AV_NOPTS_VALUE;  // of the fifo's first sample, in 1/sample_rate
    // G.711 in one or two channels goes to the fifo by table, through m_planar.
    const float* m_g711 = nullptr;
    std::vector<float> m_planar;
};

}  // namespace vxplay
