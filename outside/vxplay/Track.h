#pragma once
// The player's own copy of one stream track, kept beyond the transport's
// callback, and one packet of it.

#include "outside/vxnet/vxstream.h"
#include "outside/wrap/FfmpegHandles.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vxplay {

struct Track {
    vxstream_track desc{};  // extradata pointer cleared: see extradata
    std::vector<uint8_t> extradata;

    static std::shared_ptr<const Track> fromDescription(const vxstream_track& d);
    bool isVideo() const { return desc.media_type == VXSTREAM_MEDIA_VIDEO; }
    bool isAudio() const { return desc.media_type == VXSTREAM_MEDIA_AUDIO; }
    AVRational timeBase() const { return AVRational{desc.time_base_num, desc.time_base_den}; }
    // Fills par with what a decoder or a muxer needs of this track.
    int toParameters(AVCodecParameters* par) const;
};

using TrackPtr = std::shared_ptr<const Track>;

// One packet in the track's time base, with its time in microseconds for the
// code that compares tracks (the ring, the recorder's rebasing).
struct StreamPacket {
    vxwrap::PacketPtr pkt;
    TrackPtr track;
    int64_t timeUs = 0;
    bool key = false;

    bool isVideo() const { return track->isVideo(); }
    size_t size() const { return pkt ? size_t(pkt->size) : 0; }
    std::shared_ptr<StreamPacket> clone() const;
};

using StreamPacketPtr = std::shared_ptr<const StreamPacket>;

}  // namespace vxplay
