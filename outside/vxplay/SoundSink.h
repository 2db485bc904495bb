#pragma once
// Decodes one audio track and plays it on the platform's sound output. The
// device is opened with the first sound; without one the sink stays silent
// (it says so once in the log). Used by one thread at a time.

#include "outside/wrap/FfmpegHandles.h"
#include "platform/audio/AudioOutput.h"

#include <memory>
#include <vector>

namespace vxplay {

class SoundSink {
public:
    SoundSink();
    ~SoundSink();

    // par describes the packet's track; a change of it starts a new decoder.
    void play(const AVCodecParameters* par, AVRational timeBase, const AVPacket* pkt);
    // Decodes and plays a whole frame that came from elsewhere.
    void playFrame(const AVFrame* frame);
    // Waits until what was queued has played (for a sound file played to its end).
    void drain(int timeoutMs);
    void reset();
    bool deviceMissing() const { return m_noDevice; }

private:
    bool ensureDecoder(const AVCodecParameters* par, AVRational timeBase);

    vxwrap::CodecContextPtr m_dec;
    int m_codec = 0;
    int m_rate = 0;
    int m_channels = 0;
    vxwrap::SwrPtr m_swr;
    int m_swrRate = 0;
    int m_swrChannels = 0;
    int m_swrFormat = -1;
    vxwrap::FramePtr m_frame;
    std::unique_ptr<vx::AudioOutput> m_out;
    std::vector<int16_t> m_buf;
    bool m_noDevice = false;
};

}  // namespace vxplay
