#pragma once
// What an H.264 sequence parameter set tells about the picture: its size and,
// when the camera put timing into it, its frame rate. Lets a stream whose SDP
// carries the parameter sets start without decoding pictures to learn them.
//
// Threads: plain functions, no state.

#include <cstdint>

namespace vxnet {

struct SpsInfo {
    int width = 0;
    int height = 0;
    // Frames per second as a fraction; 0/0 when the set carries no timing.
    int frameRateNum = 0;
    int frameRateDen = 0;
};

// Reads the first sequence parameter set found in data, given either as
// start-code separated units (as from an SDP's sprop-parameter-sets) or as an
// avcC record. False when there is none or it cannot be read to the end of
// the fields above (a damaged or truncated set, an unknown profile layout).
bool readH264Sps(const uint8_t* data, int size, SpsInfo& out);

}  // namespace vxnet
