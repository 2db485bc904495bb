#pragma once
// Turns decoded frames into 32-bit pixels for a window and into PNG files.
// One converter per thread that uses it.

#include "outside/wrap/FfmpegHandles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vxplay {

enum Transform : int {
    kTransformNone = 0,
    kTransformMirror = 1,  // left and right swapped
    kTransformFlip = 2,    // top and bottom swapped
};

struct Bgra {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    int stride = 0;
};

class PictureConverter {
public:
    // BGRA (B, G, R, 0xff bytes) of the frame at its own size, transformed.
    bool toBgra(const AVFrame* frame, int transform, Bgra& out);
    // Writes the frame as PNG at its own size. Never replaces a file:
    // VXPLAY_OK, VXPLAY_ERR_EXISTS, VXPLAY_ERR_IO or VXPLAY_ERR_CODEC.
    int writePng(const AVFrame* frame, int transform, const std::string& path);

private:
    bool convert(const AVFrame* frame, AVPixelFormat fmt, int transform, int bytesPerPixel, std::vector<uint8_t>& out,
                 int& stride);
    vxwrap::SwsPtr m_sws;
};

// Writes bytes to path without replacing an existing file: written beside it
// under a temporary name first, then linked into place, so a reader never
// sees half a file. VXPLAY_OK, VXPLAY_ERR_EXISTS or VXPLAY_ERR_IO.
int writeNewFile(const std::string& path, const uint8_t* data, size_t size);

}  // namespace vxplay
