#pragma once
// Joins the pieces an RTP H.264 depacketizer hands over, one per RTP packet
// (whole units behind a start code, or the parts of a fragmented unit that
// follow its first), into access units: one picture each, with whether it
// decodes on its own. The RTP timestamp already says where a picture ends,
// so a stream whose SDP described it needs no parser that scans every byte
// for start codes.
//
// Threads: owned by one reader thread; no locks.

#include <cstdint>
#include <functional>
#include <vector>

namespace vxnet {

struct AccessUnit {
    const uint8_t* data;
    int size;
    int64_t pts;
    bool key;  // an IDR picture, or one a recovery point message makes a start
};

class AccessUnitJoiner {
public:
    using Sink = std::function<void(const AccessUnit&)>;

    // A piece with its timestamp. A piece of a new time after a picture
    // that holds a slice completes that picture, which goes to sink first.
    // Units without a slice (parameter sets sent ahead of their picture
    // with a time of their own) go with the next picture.
    void add(const uint8_t* data, int size, int64_t pts, const Sink& sink);
    // Gives the pending picture (the stream ended) and starts over.
    void flush(const Sink& sink);

    // A picture that never ends is given as it is at this size rather than
    // grown without bound.
    static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

private:
    void scanUnits(const uint8_t* data, int size);

    std::vector<uint8_t> m_picture;
    int64_t m_pts = 0;
    bool m_hasSlice = false;
    bool m_idr = false;
    bool m_recovery = false;
};

// True when the SEI unit (its header byte first, escaped as on the wire)
// carries a recovery point message.
bool seiHasRecoveryPoint(const uint8_t* unit, int size);

}  // namespace vxnet
