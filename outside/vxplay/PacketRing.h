#pragma once
// The pre-record ring: the stream's latest packets, so that a recording can
// begin before the moment it was asked for. Owned by one Player, used under
// its record lock.
//
// The ring measures how far back it reaches on a time line of its own, made
// of the stamps' steps in the order the packets arrived: a camera that sets
// its clock back or ahead moves the stamps, not the window the ring keeps.

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

    // Where a recording that continues one closed now would begin: the
    // latest video key frame (for sound only, the next packet). A mark stays
    // good while its packet is in the ring.
    uint64_t continueMark() const;
    // The packets from the mark on; false (and nothing) when the mark's
    // packet has left the ring or the ring was cleared since.
    bool snapshotFrom(uint64_t mark, std::vector<StreamPacketPtr>& out) const;

    size_t bytes() const { return m_bytes; }
    size_t count() const { return m_packets.size(); }

private:
    struct Entry {
        StreamPacketPtr packet;
        int64_t lineUs;  // on the ring's own time line
    };
    // One track's stamps against the ring's time line.
    struct TrackLine {
        bool seen = false;
        int64_t offsetUs = 0;  // the ring's time = stamp + offset
        int64_t lastLineUs = 0;
    };

    int64_t lineOf(const StreamPacket& p);
    void trim();
    void dropFront(size_t n);

    int64_t m_keepUs;
    size_t m_maxBytes;
    std::deque<Entry> m_packets;
    // Sequence numbers of the video key frames in the ring; the front packet
    // has sequence number m_frontSeq.
    std::deque<uint64_t> m_keys;
    uint64_t m_frontSeq = 0;
    size_t m_bytes = 0;
    bool m_hasVideo = false;
    std::vector<TrackLine> m_lines;  // by stream index
    bool m_anyLine = false;
    int64_t m_newestLineUs = 0;
};

}  // namespace vxplay
