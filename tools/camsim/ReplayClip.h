#pragma once
// For --replay: the test pattern encoded once at start, a whole number of
// key-frame intervals long, so that a stream can send it again and again
// without an encoder running. The clip starts with a key frame and ends just
// before one, so the loop joins where a key frame comes anyway.

#include "tools/camsim/Options.h"

#include <string>
#include <vector>

namespace camsim {

struct ReplayClip {
    struct Frame {
        std::string data;  // one access unit, Annex B byte stream
        bool key = false;
    };
    std::vector<Frame> frames;
    int fps = 0;

    // Encodes the clip for the main (sub = false) or the sub stream.
    static bool encode(const Options& options, bool sub, ReplayClip& out, std::string& error);
    // One second of a 440 Hz tone in G.711 A-law, 8000 Hz, in 20 ms blocks; a
    // whole number of cycles, so the loop has no click.
    static ReplayClip alawTone();
};

}  // namespace camsim
