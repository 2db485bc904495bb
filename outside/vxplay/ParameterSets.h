#pragma once
// Finds the parameter sets (H.264 SPS/PPS, H.265 VPS/SPS/PPS) inside a key
// frame in Annex-B form, for a camera that sends them only in band.

#include <cstdint>
#include <vector>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace vxplay {

// The parameter-set NAL units of the packet, each behind a 4-byte start code;
// empty when there are none or the packet is not in Annex-B form.
std::vector<uint8_t> extractParameterSets(AVCodecID codec, const uint8_t* data, int size);

}  // namespace vxplay
