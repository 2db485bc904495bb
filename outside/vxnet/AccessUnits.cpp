#include "outside/vxnet/AccessUnits.h"

namespace vxnet {

namespace {

constexpr int kSliceNonIdr = 1;
constexpr int kSliceIdr = 5;
constexpr int kSei = 6;
constexpr int kRecoveryPointPayload = 6;

// Length of the start code at data[at], 0 when there is none.
int startCodeAt(const uint8_t* data, int size, int at)
{
    if (at + 3 <= size && data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 1)
        return 3;
    if (at + 4 <= size && data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 0 && data[at + 3] == 1)
        return 4;
    return 0;
}

}  // namespace

bool seiHasRecoveryPoint(const uint8_t* unit, int size)
{
    // Without the emulation prevention bytes; SEI units are short, and only
    // the messages' types and sizes are read.
    std::vector<uint8_t> rbsp;
    rbsp.reserve(size_t(size > 0 ? size : 0));
    int zeros = 0;
    for (int i = 1; i < size; ++i) {
        if (zeros >= 2 && unit[i] == 3) {
            zeros = 0;
            continue;
        }
        zeros = unit[i] == 0 ? zeros + 1 : 0;
        rbsp.push_back(unit[i]);
    }
    size_t at = 0;
    while (at < rbsp.size() && rbsp[at] != 0x80) {
        int type = 0;
        while (at < rbsp.size() && rbsp[at] == 0xff)
            type += 255, ++at;
        if (at >= rbsp.size())
            return false;
        type += rbsp[at++];
        size_t length = 0;
        while (at < rbsp.size() && rbsp[at] == 0xff)
            length += 255, ++at;
        if (at >= rbsp.size())
            return false;
        length += rbsp[at++];
        if (type == kRecoveryPointPayload)
            return true;
        at += length;
    }
    return false;
}

// The units that begin in this piece: a piece that begins with a slice is
// that slice to its end (one unit, or the first part of a fragmented one);
// any other (parameter sets, SEI, an aggregate of several units) is short
// and is looked through unit by unit.
void AccessUnitJoiner::scanUnits(const uint8_t* data, int size)
{
    int at = 0;
    int code = startCodeAt(data, size, 0);
    while (code > 0 && at + code < size) {
        const int unit = at + code;
        const int type = data[unit] & 0x1f;
        int next = unit + 1;
        while (next < size && !startCodeAt(data, size, next))
            ++next;
        if (type == kSei && !m_recovery)
            m_recovery = seiHasRecoveryPoint(data + unit, next - unit);
        if (type >= kSliceNonIdr && type <= kSliceIdr) {
            m_hasSlice = true;
            m_idr = m_idr || type == kSliceIdr;
            if (at == 0)
                return;
        }
        at = next;
        code = startCodeAt(data, size, at);
    }
}

void AccessUnitJoiner::add(const uint8_t* data, int size, int64_t pts, const Sink& sink)
{
    if (!data || size <= 0)
        return;
    if (!m_picture.empty() && ((pts != m_pts && m_hasSlice) || m_picture.size() + size_t(size) > kMaxBytes))
        flush(sink);
    m_pts = pts;
    // A piece without a start code continues the fragmented unit before it:
    // the bytes of a unit never hold one (emulation prevention).
    if (startCodeAt(data, size, 0))
        scanUnits(data, size);
    m_picture.insert(m_picture.end(), data, data + size);
}

void AccessUnitJoiner::flush(const Sink& sink)
{
    if (!m_picture.empty())
        sink(AccessUnit{m_picture.data(), int(m_picture.size()), m_pts, m_idr || (m_recovery && m_hasSlice)});
    m_picture.clear();
    m_hasSlice = false;
    m_idr = false;
    m_recovery = false;
}

}  // namespace vxnet
