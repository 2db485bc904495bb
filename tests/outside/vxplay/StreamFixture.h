#pragma once
// A short camera-like stream for the player's tests: H.264 (key frame every
// 2 s, 25 fps, 320x240) with G.711 A-law sound in 20 ms packets, made once per test program
// with the ffmpeg tool, then demuxed and handed to a player exactly as the
// transport hands a camera's stream: Annex-B video, 90 kHz and 8 kHz time
// bases, timestamps on a camera clock that does not start at 0.

#include "outside/vxplay/vxplay.h"
#include "support/RunCommand.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vxtest {

struct FixturePacket {
    int stream = 0;
    int mediaType = 0;
    std::vector<uint8_t> data;
    int64_t pts = 0;
    int64_t dts = 0;
    int flags = 0;
    double seconds = 0;  // time from the stream's start
};

class StreamFixture {
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;
    static constexpr double kSeconds = 34;

    // Made on first use; aborts the test program when the ffmpeg tool fails.
    static const StreamFixture& get();
    // The same tracks for 6 s, with pictures of noise: a stream of about
    // 1 MB/s, whose groups of pictures are several megabytes.
    static const StreamFixture& busy();

    void describe(vxplay_inst inst) const;
    // Feeds the packets whose time lies in [from, to) seconds.
    void feed(vxplay_inst inst, double from, double to) const;
    // Hands one packet over as the transport does.
    static void input(vxplay_inst inst, const FixturePacket& p);

    std::vector<vxstream_track> tracks;
    std::vector<FixturePacket> packets;
    std::string dir;  // a scratch folder of the test program

private:
    static StreamFixture* make(const std::string& name, const std::string& videoOptions, int seconds);

    std::vector<std::vector<uint8_t>> m_extradata;
};

struct ProbeResult {
    bool ok = false;
    std::string videoCodec;
    std::string audioCodec;
    int width = 0;
    int height = 0;
    double duration = 0;  // of the container
    int videoFrames = 0;  // decoded by ffprobe
    bool firstFrameKey = false;
};
// What ffprobe makes of a file.
ProbeResult probe(const std::string& path);

// The test program's scratch folder, removed when the program ends.
std::string scratchRoot();
// A fresh empty folder in it for one test.
std::string scratchDir(const std::string& name);

}  // namespace vxtest
