#include "tools/camsim/ReplayClip.h"

#include "tools/camsim/PipelineRun.h"

#include <cmath>

namespace camsim {

namespace {

// G.711 A-law of one 16-bit sample.
unsigned char alaw(int16_t pcm)
{
    int sign = pcm < 0 ? 0x00 : 0x80;
    int v = pcm < 0 ? std::min(32767, -pcm - 1) : pcm;
    v >>= 3;  // 13-bit magnitude
    int exponent = 0;
    for (int m = v >> 5; m && exponent < 7; m >>= 1)
        ++exponent;
    int mantissa = exponent ? (v >> exponent) & 0x0F : (v >> 1) & 0x0F;
    return static_cast<unsigned char>((sign | (exponent << 4) | mantissa) ^ 0x55);
}

}  // namespace

ReplayClip ReplayClip::alawTone()
{
    ReplayClip clip;
    clip.fps = 50;
    const double pi = std::acos(-1.0);
    for (int block = 0; block < 50; ++block) {
        Frame f;
        f.key = true;
        for (int i = 0; i < 160; ++i) {
            int n = block * 160 + i;
            f.data += static_cast<char>(alaw(static_cast<int16_t>(9000 * std::sin(2 * pi * 440 * n / 8000.0))));
        }
        clip.frames.push_back(std::move(f));
    }
    return clip;
}

bool ReplayClip::encode(const Options& o, bool sub, ReplayClip& out, std::string& error)
{
    int w = sub ? std::max(16, o.width / 2 / 2 * 2) : o.width;
    int h = sub ? std::max(16, o.height / 2 / 2 * 2) : o.height;
    int kbps = sub ? std::max(16, o.bitrateKbps / 4) : o.bitrateKbps;
    // At least two seconds, so the picture does not visibly jump every frame.
    int gops = std::max(1, (2 * o.fps + o.keyInterval - 1) / o.keyInterval);
    int frames = gops * o.keyInterval;
    std::string line = "videotestsrc num-buffers=" + std::to_string(frames)
                       + " pattern=smpte horizontal-speed=2 ! video/x-raw,format=I420,width=" + std::to_string(w)
                       + ",height=" + std::to_string(h) + ",framerate=" + std::to_string(o.fps)
                       + "/1 ! x264enc tune=zerolatency speed-preset=ultrafast bframes=0 threads=1 bitrate="
                       + std::to_string(kbps) + " key-int-max=" + std::to_string(o.keyInterval)
                       + " ! video/x-h264,stream-format=byte-stream,alignment=au,profile=constrained-baseline"
                         " ! fakesink name=out signal-handoffs=true sync=false";
    out.frames.clear();
    out.fps = o.fps;
    PipelineEnd end = runPipeline(
        line, 120,
        [&out](const char* data, size_t size, bool key) {
            Frame f;
            f.data.assign(data, size);
            f.key = key;
            out.frames.push_back(std::move(f));
        },
        error);
    if (end == PipelineEnd::BadLine) {
        error = "replay encoder: " + error;
        return false;
    }
    const bool ok = end == PipelineEnd::Ended;
    if (!ok || out.frames.empty() || !out.frames.front().key) {
        error = "replay encoder: no clip";
        return false;
    }
    return true;
}

}  // namespace camsim
