#include "outside/vxplay/PacketRing.h"

#include <algorithm>

namespace vxplay {

namespace {
// Steps of a track's stamps beyond these are a camera that set its clock
// (or a restarted stream), not time that passed; the same bounds as the
// recording's new time line.
constexpr int64_t kMaxForwardStepUs = 10 * 1000000;
constexpr int64_t kMaxBackwardStepUs = 1 * 1000000;
constexpr int kMaxLines = 64;
}  // namespace

PacketRing::PacketRing(int64_t keepUs, size_t maxBytes) : m_keepUs(keepUs < 0 ? 0 : keepUs), m_maxBytes(maxBytes) {}

// Each track keeps the steps of its own stamps; a step out of bounds puts the
// track where the ring's newest packet is, so sound that lags its picture
// keeps its lag and a clock set back does not make old packets look new.
int64_t PacketRing::lineOf(const StreamPacket& p)
{
    const int index = std::clamp(p.track ? p.track->desc.stream_index : 0, 0, kMaxLines - 1);
    if (m_lines.size() <= size_t(index))
        m_lines.resize(size_t(index) + 1);
    TrackLine& t = m_lines[size_t(index)];
    int64_t line = p.timeUs + t.offsetUs;
    if (!t.seen) {
        if (m_anyLine && (line > m_newestLineUs + kMaxForwardStepUs || line < m_newestLineUs - kMaxForwardStepUs))
            t.offsetUs = m_newestLineUs - p.timeUs;
    } else {
        const int64_t step = line - t.lastLineUs;
        if (step > kMaxForwardStepUs || step < -kMaxBackwardStepUs)
            t.offsetUs = std::max(m_newestLineUs, t.lastLineUs) - p.timeUs;
    }
    line = p.timeUs + t.offsetUs;
    t.seen = true;
    t.lastLineUs = line;
    m_newestLineUs = m_anyLine ? std::max(m_newestLineUs, line) : line;
    m_anyLine = true;
    return line;
}

void PacketRing::push(StreamPacketPtr p)
{
    if (!p || !p->pkt)
        return;
    if (p->isVideo()) {
        m_hasVideo = true;
        if (p->key)
            m_keys.push_back(m_frontSeq + m_packets.size());
    }
    m_bytes += p->size();
    const int64_t line = lineOf(*p);
    m_packets.push_back(Entry{std::move(p), line});
    trim();
}

void PacketRing::clear()
{
    m_frontSeq += m_packets.size();
    m_packets.clear();
    m_keys.clear();
    m_bytes = 0;
    m_hasVideo = false;
    m_lines.clear();
    m_anyLine = false;
    m_newestLineUs = 0;
}

void PacketRing::dropFront(size_t n)
{
    for (size_t i = 0; i < n && !m_packets.empty(); ++i) {
        m_bytes -= m_packets.front().packet->size();
        m_packets.pop_front();
        ++m_frontSeq;
    }
    while (!m_keys.empty() && m_keys.front() < m_frontSeq)
        m_keys.pop_front();
}

// The ring always starts at a video key frame, so that a recording taken from
// it decodes from its first packet. It keeps the latest key frame that lies
// at least keepUs before the newest packet, so it holds between keepUs and
// keepUs plus one key-frame interval; even with keepUs 0 it keeps the current
// group of pictures, so a recording (or the next segment) starts at once
// instead of waiting for the next key frame.
void PacketRing::trim()
{
    const int64_t newest = m_newestLineUs;
    if (!m_hasVideo) {
        // Audio only: a plain time window.
        size_t n = 0;
        while (n + 1 < m_packets.size() && newest - m_packets[n].lineUs > m_keepUs)
            ++n;
        dropFront(n);
    } else if (m_keys.empty()) {
        // No key frame yet: nothing a recording could start with.
        dropFront(m_packets.size());
    } else {
        dropFront(size_t(m_keys.front() - m_frontSeq));
        while (m_keys.size() > 1 && newest - m_packets[size_t(m_keys[1] - m_frontSeq)].lineUs >= m_keepUs)
            dropFront(size_t(m_keys[1] - m_frontSeq));
    }
    // Over the byte cap: give up whole groups of pictures from the front, and
    // everything when even the latest group is too large.
    while (m_bytes > m_maxBytes && !m_packets.empty()) {
        if (!m_hasVideo)
            dropFront(1);
        else if (m_keys.size() > 1)
            dropFront(size_t(m_keys[1] - m_frontSeq));
        else
            dropFront(m_packets.size());
    }
}

std::vector<StreamPacketPtr> PacketRing::snapshot(bool withHistory) const
{
    size_t from = 0;
    if (!withHistory) {
        if (m_hasVideo)
            from = m_keys.empty() ? m_packets.size() : size_t(m_keys.back() - m_frontSeq);
        else
            from = m_packets.size();
    }
    std::vector<StreamPacketPtr> out;
    out.reserve(m_packets.size() - from);
    for (size_t i = from; i < m_packets.size(); ++i)
        out.push_back(m_packets[i].packet);
    return out;
}

uint64_t PacketRing::continueMark() const
{
    if (m_hasVideo && !m_keys.empty())
        return m_keys.back();
    return m_frontSeq + m_packets.size();
}

bool PacketRing::snapshotFrom(uint64_t mark, std::vector<StreamPacketPtr>& out) const
{
    out.clear();
    if (mark < m_frontSeq || mark > m_frontSeq + m_packets.size())
        return false;
    for (size_t i = size_t(mark - m_frontSeq); i < m_packets.size(); ++i)
        out.push_back(m_packets[i].packet);
    return true;
}

}  // namespace vxplay
