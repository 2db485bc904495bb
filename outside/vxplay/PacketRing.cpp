#include "outside/vxplay/PacketRing.h"

namespace vxplay {

PacketRing::PacketRing(int64_t keepUs, size_t maxBytes) : m_keepUs(keepUs < 0 ? 0 : keepUs), m_maxBytes(maxBytes) {}

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
    m_packets.push_back(std::move(p));
    trim();
}

void PacketRing::clear()
{
    m_frontSeq += m_packets.size();
    m_packets.clear();
    m_keys.clear();
    m_bytes = 0;
    m_hasVideo = false;
}

void PacketRing::dropFront(size_t n)
{
    for (size_t i = 0; i < n && !m_packets.empty(); ++i) {
        m_bytes -= m_packets.front()->size();
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
    const int64_t newest = m_packets.back()->timeUs;
    if (!m_hasVideo) {
        // Audio only: a plain time window.
        size_t n = 0;
        while (n + 1 < m_packets.size() && newest - m_packets[n]->timeUs > m_keepUs)
            ++n;
        dropFront(n);
    } else if (m_keys.empty()) {
        // No key frame yet: nothing a recording could start with.
        dropFront(m_packets.size());
    } else {
        dropFront(size_t(m_keys.front() - m_frontSeq));
        while (m_keys.size() > 1 && newest - m_packets[size_t(m_keys[1] - m_frontSeq)]->timeUs >= m_keepUs)
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
    return std::vector<StreamPacketPtr>(m_packets.begin() + long(from), m_packets.end());
}

}  // namespace vxplay
