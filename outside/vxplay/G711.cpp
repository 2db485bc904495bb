#include "outside/vxplay/G711.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

#include <array>

namespace vxplay {

namespace {

// The standard expansions of the two companding laws to 16-bit linear.
int alawToLinear(uint8_t code)
{
    const int a = code ^ 0x55;
    const int segment = (a & 0x70) >> 4;
    int value = (a & 0x0f) * 2 + 1;
    value = segment ? (value + 32) << (segment + 2) : value << 3;
    return (a & 0x80) ? value : -value;
}

int mulawToLinear(uint8_t code)
{
    const int u = ~code & 0xff;
    const int bias = 0x84;
    const int value = (((u & 0x0f) << 3) + bias) << ((u & 0x70) >> 4);
    return (u & 0x80) ? bias - value : value - bias;
}

using Table = std::array<float, 256>;

Table build(int (*expand)(uint8_t))
{
    Table t{};
    for (int i = 0; i < 256; ++i)
        t[size_t(i)] = float(expand(uint8_t(i))) * (1.0f / 32768.0f);
    return t;
}

}  // namespace

const float* g711Samples(int codecId)
{
    static const Table alaw = build(alawToLinear);
    static const Table mulaw = build(mulawToLinear);
    if (codecId == AV_CODEC_ID_PCM_ALAW)
        return alaw.data();
    if (codecId == AV_CODEC_ID_PCM_MULAW)
        return mulaw.data();
    return nullptr;
}

}  // namespace vxplay
