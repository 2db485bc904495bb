#include "outside/vxplay/ParameterSets.h"

namespace vxplay {

namespace {

// Position of the next 00 00 01 at or after pos, or size.
int findStartCode(const uint8_t* d, int size, int pos)
{
    for (int i = pos; i + 2 < size; ++i) {
        if (d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1)
            return i;
    }
    return size;
}

bool isParameterSet(AVCodecID codec, uint8_t header)
{
    if (codec == AV_CODEC_ID_H264) {
        const int type = header & 0x1f;
        return type == 7 || type == 8;
    }
    if (codec == AV_CODEC_ID_HEVC) {
        const int type = (header >> 1) & 0x3f;
        return type >= 32 && type <= 34;
    }
    return false;
}

}  // namespace

std::vector<uint8_t> extractParameterSets(AVCodecID codec, const uint8_t* data, int size)
{
    std::vector<uint8_t> out;
    if (!data || size < 4)
        return out;
    int sc = findStartCode(data, size, 0);
    while (sc < size) {
        const int begin = sc + 3;
        int next = findStartCode(data, size, begin);
        int end = next;
        // A 4-byte start code's leading zero belongs to it, not to this unit.
        while (end > begin && data[end - 1] == 0)
            --end;
        if (begin < end && isParameterSet(codec, data[begin])) {
            static const uint8_t kStart[4] = {0, 0, 0, 1};
            out.insert(out.end(), kStart, kStart + 4);
            out.insert(out.end(), data + begin, data + end);
        }
        sc = next;
    }
    return out;
}

}  // namespace vxplay
