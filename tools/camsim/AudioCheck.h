#pragma once
// What camsim hears of a talk session: the blocks decoded to 16-bit samples
// (G.711 by table, G.726 through FFmpeg) and the strongest frequency in them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace camsim {

enum class TalkCodec { None, G711A, G711U, G726 };
const char* talkCodecName(TalkCodec codec);

int16_t alawToLinear(uint8_t a);
int16_t ulawToLinear(uint8_t u);

class AudioDecoder {
public:
    explicit AudioDecoder(TalkCodec codec);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;
    // Appends the block's samples; false when the decoder refused it.
    bool decode(const uint8_t* data, size_t length, std::vector<int16_t>& out);

private:
    struct Av;
    TalkCodec codec_;
    std::unique_ptr<Av> av_;
};

// The dominant frequency of 8 kHz samples in Hz by zero crossings (with a
// little hysteresis, so noise around zero does not count); 0 for silence.
int dominantFrequency(const std::vector<int16_t>& samples, int sampleRate = 8000);

}  // namespace camsim
