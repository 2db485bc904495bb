#pragma once
// The pre-record ring: the stream's latest packets, so that a recording can
// begin before the moment it was asked for. Owned by one Player, used under
// its record lock.

#include "outside/vxplay/Track.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace vxplay {

class PacketRing {
public:
    // keepUs: how far back the ring reaches; maxBytes: the most it holds.
    PacketRing(int64_t keepUs, size_t maxBytes);

    void push(StreamPacketPtr p);
    void clear();

    // The ring's packets from its first video key frame on (all of them for
    // a stream without video). withHistory false: only from the latest key frame.
    std::vector<StreamPacketPtr> snapshot(bool withHistory) const;

    size_t bytes() const { return m_bytes; }
    size_t count() const { return m_packets.size(); }

private:
    void trim();
    void dropFront(size_t n);

    int64_t m_keepUs;
    size_t m_maxBytes;
    std::deque<StreamPacketPtr> m_packets;
    // Sequence numbers of the video key frames in the ring; the front packet
    // has sequence number m_frontSeq.
    std::deque<uint64_t> m_keys;
    uint64_t m_frontSeq = 0;
    size_t m_bytes = 0;
    bool m_hasVideo = false;
};

}  // namespace vxplay
