#pragma once
// Sound out through the machine's default output device: 16-bit signed
// interleaved samples at a chosen rate and channel count.
//
// Threads: an AudioOutput may be used from any one thread at a time; it plays
// on a thread of its own. Without a sound device open() fails, nothing else.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vx {

class AudioOutput {
public:
    // nullptr when there is no output device or it takes no such format.
    static std::unique_ptr<AudioOutput> open(int sampleRate, int channels);
    ~AudioOutput();  // stops at once; what is still queued is dropped

    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Queues frames (one sample per channel each). Never blocks: beyond about
    // two seconds queued the oldest sound is dropped, so a stalled device
    // cannot hold up a decoder. false once the device has failed.
    bool write(const int16_t* samples, size_t frames);
    // Waits until what is queued has been played; false after timeoutMs.
    bool drain(int timeoutMs);

    int sampleRate() const;
    int channels() const;

    struct Impl;

private:
    explicit AudioOutput(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

// Stand-ins for the sound devices, for tests on machines that have none. A
// hook set here replaces the device for every AudioOutput or AudioInput
// opened afterwards; an empty function restores the real device.
struct AudioTestHooks {
    // Receives what an output plays, in real time, in blocks of about 10 ms.
    using OutputHook = std::function<void(const int16_t* samples, size_t frames, int sampleRate, int channels)>;
    // Fills buf with frames of captured sound; called every 20 ms with 20 ms worth.
    using InputHook = std::function<void(int16_t* buf, size_t frames, int sampleRate, int channels)>;
    static void setOutput(OutputHook hook);
    static void setInput(InputHook hook);
};

}  // namespace vx
