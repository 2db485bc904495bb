#pragma once
// The floor of the recording benchmark: what the kernel alone costs to carry
// the same camera streams from a TCP socket to a file. Each stream is set up
// with the fewest RTSP requests that make the camera play over the
// connection, then read with large recv calls and written unchanged. Nothing
// is parsed, so no recorder can spend less.

#include <string>

struct FloorJob {
    int streams = 1;
    int seconds = 60;  // wall time each stream is read after it plays
    int rtspPort = 0;
    std::string outDir;  // stream i writes outDir/i.bin
};

// Runs the job and writes "floor BYTES FAILED KB" to fd: the bytes written
// over all streams, how many streams could not be set up or read, and the
// process's resident size in kB before it began.
// Returns 0, or non-zero when the run itself failed.
int runFloor(const FloorJob& job, int fd);
