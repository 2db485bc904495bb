#pragma once
// Reads back the segment files of one stream and counts what they hold, so
// that what reached the disk can be set against what the camera sent.

#include <string>

struct SegmentCount {
    int files = 0;
    int unreadable = 0;          // files the demuxer could not open or read to the end
    int notStartingWithKey = 0;  // files whose first video packet is no key frame
    long videoPackets = 0;
    long audioPackets = 0;
    long audioSamples = 0;  // sum of the audio packets' durations, in samples
    double minSeconds = 0;  // shortest and longest file, by video timestamps
    double maxSeconds = 0;
};

// Every *.mp4 file directly in dir.
SegmentCount countSegments(const std::string& dir);
