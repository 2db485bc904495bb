#pragma once
// One recording: an MP4 file written as fragments, one at every video key
// frame and more between key frames where a fragment would pass
// kFragmentBytes, so that a file cut off by a crash still plays up to its
// last fragment. Video is copied; audio is copied when it is AAC and
// transcoded to AAC otherwise. Not thread-safe: its Player calls it under the
// record lock.

#include "outside/vxplay/AudioTranscoder.h"
#include "outside/vxplay/OutputFile.h"
#include "outside/vxplay/Track.h"
#include "outside/wrap/FfmpegHandles.h"

#include <memory>
#include <string>
#include <vector>

namespace vxplay {

class Mp4Recorder {
public:
    // A fragment ends before the media it holds would reach this size (one
    // picture larger than it makes a fragment of its own).
    static constexpr int kFragmentBytes = 160 * 1024;

    ~Mp4Recorder();

    // Creates the file (never over an existing one). The header is written
    // with the first video key frame (or the first packet of a stream without
    // video); packets before it are skipped.
    // result: VXPLAY_OK or a VXPLAY_ERR_ value.
    static std::unique_ptr<Mp4Recorder> start(const std::string& path, bool withAudio, int* result);

    // tracks: the stream's tracks as known now; the file takes its tracks
    // from them when it writes its header (a recording may start before the
    // stream has described itself). Packets of tracks the file does not hold
    // are skipped. VXPLAY_OK, or the error that ended the recording (further
    // writes are ignored; what reached the file stays, and a file whose
    // header never reached it is removed).
    int write(const StreamPacket& p, const std::vector<TrackPtr>& tracks);
    // Writes the last fragment and closes the file. VXPLAY_OK, or an error
    // (VXPLAY_ERR_NO_PICTURE when no key frame ever came: the empty file is removed).
    int stop();

    const std::string& path() const { return m_file.path(); }
    bool failed() const { return m_error != 0; }
    int64_t packetsWritten() const { return m_packetsWritten; }
    // Packets of the stream the file took (copied, or fed to the sound encoder).
    int64_t packetsTaken() const { return m_packetsTaken; }
    // Packets of the file's tracks handed to write() since its first picture,
    // less those stamped before it (counted apart, in the close's log line).
    int64_t packetsReceived() const { return m_packetsReceived; }

private:
    struct Output {
        TrackPtr track;
        AVStream* stream = nullptr;
        std::unique_ptr<AudioTranscoder> transcoder;
        int64_t lastDts = AV_NOPTS_VALUE;  // in the output stream's time base
        int64_t lastDurationUs = 0;
        int64_t lastInUs = AV_NOPTS_VALUE;
        int64_t originUs = 0;  // the camera time of this track that is 0 in the file
    };

    Mp4Recorder() = default;
    int openMuxer(const StreamPacket& first, const std::vector<TrackPtr>& tracks);
    Output* outputFor(const Track& t);
    int writeMuxed(Output& out, AVPacket* pkt, int64_t timeUs, int64_t ptsOffsetUs, bool key);
    int fail(int averror, const char* what);

    OutputFile m_file;
    vxwrap::OutputFormatPtr m_fmt;
    std::vector<Output> m_outputs;
    bool m_withAudio = false;
    bool m_headerWritten = false;
    bool m_headerOnDisk = false;  // the header reached the file: from here on it plays
    int64_t m_lastOutUs = 0;      // latest time written, on the file's time line
    int m_error = 0;
    int64_t m_packetsWritten = 0;
    int64_t m_packetsTaken = 0;
    int64_t m_packetsReceived = 0;
    int64_t m_packetsBeforeStart = 0;
    vxwrap::PacketPtr m_work;
};

}  // namespace vxplay
