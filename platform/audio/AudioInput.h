#pragma once
// Sound in from the machine's default input device (the microphone): 16-bit
// signed interleaved samples at a chosen rate and channel count.
//
// Threads: the consumer is called on the input's own thread; none after the
// destructor returns. Without a sound device open() fails, nothing else.

#include "platform/audio/AudioOutput.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vx {

class AudioInput {
public:
    using Consumer = std::function<void(const int16_t* samples, size_t frames)>;

    // nullptr when there is no input device or it takes no such format.
    static std::unique_ptr<AudioInput> open(int sampleRate, int channels, Consumer consumer);
    ~AudioInput();

    AudioInput(const AudioInput&) = delete;
    AudioInput& operator=(const AudioInput&) = delete;

    struct Impl;

private:
    explicit AudioInput(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

}  // namespace vx
