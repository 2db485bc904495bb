#pragma once
// The recordings on the memory card: real files a player can open, encoded
// once and kept in a cache folder below the system's temporary folder (keyed
// by the encoder settings), so that starting camsim again costs a file read.
//
// The container is AVI, whose index sits at the file's end: a player over
// HTTP must ask for byte ranges to open and to seek it, as with a camera.
//
// Threads: load() from any thread; it blocks while it encodes.

#include <string>

namespace camsim {

struct SdMedia {
    // Some seconds of H.264 video with G.711 A-law sound.
    std::string shortRecording;
    int shortSeconds = 0;
    // Over 36 minutes at one picture a second, tiny, without sound.
    std::string longRecording;
    int longSeconds = 0;

    static bool load(SdMedia& out, std::string& error);
};

}  // namespace camsim
