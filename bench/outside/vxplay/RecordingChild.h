#pragma once
// The measured side of the recording benchmark: N camera streams received
// through vxnet and recorded through vxplay into segment files, all in this
// process, so that its CPU time and peak memory are the recorder's alone.

#include <string>

struct RecordingJob {
    int streams = 1;
    int seconds = 60;         // stream time recorded, by the stream's own timestamps
    int segmentSeconds = 10;  // a new file at the first key frame this long after the last
    int prerecordMs = 5000;   // the player's pre-record ring, as the recorder sets it
    int httpPort = 0;
    int rtspPort = 0;
    std::string outDir;  // stream i writes outDir/i/000.mp4, 001.mp4, ...
};

// What one stream did, written as one line per stream by runRecording and
// read back by the parent.
struct StreamOutcome {
    long videoReceived = 0;  // video packets handed to the player, from the first key frame on
    long audioPackets = 0;
    long audioSamples = 0;   // G.711: one byte a sample and channel
    long libReceived = 0;    // the player's own count of packets that came while a file was open
    long libRecorded = 0;    // ... and of those that went into it
    int segments = 0;        // files started
    int recordFailures = 0;  // starts refused and recordings that ended with an error
    int inputFailures = 0;   // packets the player refused
    int streamErrors = 0;    // error callbacks of the transport
    int width = 0;
    int height = 0;
    bool finished = false;  // reached the length before the give-up time

    std::string toLine() const;
    static bool fromLine(const std::string& line, StreamOutcome& out);
};

// Runs the job and writes one StreamOutcome line per stream to fd, then
// "phases C O R T K": seconds spent connecting the sessions, opening the
// streams, recording, and closing everything, and the resident size in kB
// at the end of recording.
// Returns 0, or a non-zero exit code when the libraries or a session failed to start.
int runRecording(const RecordingJob& job, int fd);

// Starts the libraries and does nothing else: the idle process whose peak
// memory is taken off the recorder's.
int runIdle();
