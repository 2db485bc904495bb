#pragma once
// G.711 sound expanded straight to the float samples the AAC encoder takes.
// A recording turns every camera's G.711 into AAC; a table lookup per byte
// replaces a decoder, a sample converter and a frame per packet.
//
// Threads: the tables are built once, on first use, and only read after.

#include <cstdint>

namespace vxplay {

// The 256 samples of the codec's bytes, scaled to [-1, 1) exactly as
// FFmpeg's decoder and its 16-bit to float conversion would give them, or
// null for a codec other than A-law and mu-law (an AVCodecID).
const float* g711Samples(int codecId);

}  // namespace vxplay
