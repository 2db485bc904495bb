#include "outside/vxnet/SpsInfo.h"

#include <cstddef>
#include <vector>

namespace vxnet {

namespace {

// Reads bits from the unit's payload with the emulation-prevention bytes
// taken out. Any read past the end marks the reader failed, so a truncated
// set is refused instead of read as zeros.
class BitReader {
public:
    explicit BitReader(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    bool failed() const { return m_failed; }

    uint32_t bits(int n)
    {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (m_pos >= m_bytes.size() * 8) {
                m_failed = true;
                return 0;
            }
            v = (v << 1) | ((m_bytes[m_pos / 8] >> (7 - m_pos % 8)) & 1u);
            ++m_pos;
        }
        return v;
    }
    bool flag() { return bits(1) != 0; }

    uint32_t ue()
    {
        int zeros = 0;
        while (!m_failed && bits(1) == 0) {
            if (++zeros > 31) {
                m_failed = true;
                return 0;
            }
        }
        if (zeros == 0)
            return 0;
        return ((1u << zeros) - 1) + bits(zeros);
    }
    int32_t se()
    {
        const uint32_t k = ue();
        return (k & 1) ? int32_t((k + 1) / 2) : -int32_t(k / 2);
    }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_pos = 0;
    bool m_failed = false;
};

std::vector<uint8_t> unescape(const uint8_t* d, int size)
{
    std::vector<uint8_t> out;
    out.reserve(size_t(size));
    int zeros = 0;
    for (int i = 0; i < size; ++i) {
        if (zeros >= 2 && d[i] == 3) {
            zeros = 0;
            continue;
        }
        zeros = d[i] == 0 ? zeros + 1 : 0;
        out.push_back(d[i]);
    }
    return out;
}

// The SPS unit (header byte included) within data, or size 0.
void findSps(const uint8_t* d, int size, const uint8_t*& unit, int& unitSize)
{
    unit = nullptr;
    unitSize = 0;
    if (size >= 8 && d[0] == 1) {
        // avcC: version, profile, compat, level, length size, SPS count, then 16-bit length + unit.
        if ((d[5] & 0x1f) == 0)
            return;
        const int len = (d[6] << 8) | d[7];
        if (len > 0 && 8 + len <= size) {
            unit = d + 8;
            unitSize = len;
        }
        return;
    }
    // Start-code separated units.
    int i = 0;
    while (i + 3 <= size) {
        if (d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1) {
            const int start = i + 3;
            int end = start;
            while (end + 3 <= size && !(d[end] == 0 && d[end + 1] == 0 && (d[end + 2] == 1 || d[end + 2] == 0)))
                ++end;
            if (end + 3 > size)
                end = size;
            if (start < size && (d[start] & 0x1f) == 7) {
                unit = d + start;
                unitSize = end - start;
                return;
            }
            i = end;
        } else {
            ++i;
        }
    }
}

void skipScalingList(BitReader& r, int count)
{
    int last = 8, next = 8;
    for (int j = 0; j < count && !r.failed(); ++j) {
        if (next != 0)
            next = (last + r.se() + 256) % 256;
        last = next == 0 ? last : next;
    }
}

}  // namespace

bool readH264Sps(const uint8_t* data, int size, SpsInfo& out)
{
    if (!data || size <= 0)
        return false;
    const uint8_t* unit = nullptr;
    int unitSize = 0;
    findSps(data, size, unit, unitSize);
    if (!unit || unitSize < 4)
        return false;
    BitReader r(unescape(unit + 1, unitSize - 1));
    const uint32_t profile = r.bits(8);
    r.bits(16);  // constraint flags, level
    r.ue();      // set id
    uint32_t chroma = 1;
    if (profile == 100 || profile == 110 || profile == 122 || profile == 244 || profile == 44 || profile == 83
        || profile == 86 || profile == 118 || profile == 128 || profile == 138 || profile == 139 || profile == 134
        || profile == 135) {
        chroma = r.ue();
        if (chroma > 3)
            return false;
        if (chroma == 3)
            r.flag();  // separate colour planes
        r.ue();        // luma bit depth
        r.ue();        // chroma bit depth
        r.flag();      // transform bypass
        if (r.flag()) {
            for (int i = 0; i < (chroma == 3 ? 12 : 8); ++i)
                if (r.flag())
                    skipScalingList(r, i < 6 ? 16 : 64);
        }
    }
    r.ue();  // log2 of the largest frame number
    const uint32_t pocType = r.ue();
    if (pocType == 0) {
        r.ue();
    } else if (pocType == 1) {
        r.flag();
        r.se();
        r.se();
        const uint32_t cycle = r.ue();
        if (cycle > 255)
            return false;
        for (uint32_t i = 0; i < cycle; ++i)
            r.se();
    } else if (pocType != 2) {
        return false;
    }
    r.ue();    // reference frames
    r.flag();  // gaps allowed
    const uint32_t widthMbs = r.ue() + 1;
    const uint32_t heightUnits = r.ue() + 1;
    const bool frameOnly = r.flag();
    if (!frameOnly)
        r.flag();  // adaptive frame/field
    r.flag();      // direct 8x8
    uint32_t cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
    if (r.flag()) {
        cropLeft = r.ue();
        cropRight = r.ue();
        cropTop = r.ue();
        cropBottom = r.ue();
    }
    if (r.failed() || widthMbs > 1024 || heightUnits > 1024)
        return false;
    // Crop units: chroma sample steps (4:2:0 2x2, 4:2:2 2x1, 4:4:4 and monochrome 1x1), doubled for fields.
    const uint32_t cropX = (chroma == 1 || chroma == 2) ? 2 : 1;
    const uint32_t cropY = (chroma == 1 ? 2 : 1) * (frameOnly ? 1 : 2);
    const int64_t width = int64_t(widthMbs) * 16 - int64_t(cropLeft + cropRight) * cropX;
    const int64_t height = int64_t(heightUnits) * 16 * (frameOnly ? 1 : 2) - int64_t(cropTop + cropBottom) * cropY;
    if (width <= 0 || height <= 0)
        return false;
    SpsInfo info;
    info.width = int(width);
    info.height = int(height);
    if (r.flag()) {  // picture usability information
        if (r.flag() && r.bits(8) == 255)  // aspect ratio: extended
            r.bits(32);
        if (r.flag())  // overscan
            r.flag();
        if (r.flag()) {  // video signal type
            r.bits(4);
            if (r.flag())
                r.bits(24);
        }
        if (r.flag()) {  // chroma location
            r.ue();
            r.ue();
        }
        if (r.flag()) {  // timing
            const uint32_t tick = r.bits(32);
            const uint32_t scale = r.bits(32);
            // A frame is two ticks (one per field).
            if (!r.failed() && tick > 0 && scale > 0 && scale <= 0x7fffffff && uint64_t(tick) * 2 <= 0x7fffffff) {
                info.frameRateNum = int(scale);
                info.frameRateDen = int(tick * 2);
            }
        }
    }
    if (r.failed())
        return false;
    out = info;
    return true;
}

}  // namespace vxnet
