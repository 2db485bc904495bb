#include "RecordingChild.h"

#include "outside/vxnet/vxnet.h"
#include "outside/vxplay/vxplay.h"
#include "utility/vx_log.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Key frames come every so many seconds by the camera's clock, give or take
// its jitter: a cut or the end falls on the key frame within half a frame
// (at 25 fps) of its time, not on the one after it.
constexpr double kSlackSeconds = 0.02;

// One camera: its session, its recorder instance and what came through.
// Everything but the atomics is touched only on the session's reader thread
// until the session is closed.
struct Stream {
    VXNET_HANDLE session = nullptr;
    vxplay_inst player = nullptr;
    std::string dir;
    double limit = 0;
    double segmentSeconds = 0;

    int videoIndex = -1;
    double videoTimeBase = 0;
    int audioCodec = 0;
    int audioChannels = 1;
    int64_t firstKeyPts = VXSTREAM_NOPTS;
    double nextCutAt = 0;  // stream time of the next cut, from the first key frame
    bool recording = false;

    StreamOutcome out;
    std::atomic<int> recordFailures{0};
    std::atomic<int> streamErrors{0};
    std::atomic<bool> done{false};
};

void onRecordResult(void* user, int result, const char* path)
{
    auto* s = static_cast<Stream*>(user);
    if (result != VXPLAY_OK) {
        ++s->recordFailures;
        std::fprintf(stderr, "bench_recording: recording %s ended with %d\n", path ? path : "?", result);
    }
}

void startSegment(Stream& s, double at)
{
    char name[32];
    std::snprintf(name, sizeof name, "/%03d.mp4", s.out.segments);
    ++s.out.segments;
    // Flag 0: the file begins at the ring's latest key frame, the one just handed over.
    const int r = vxplay_record_start(s.player, (s.dir + name).c_str(), 0, onRecordResult, &s);
    if (r != VXPLAY_OK) {
        ++s.recordFailures;
        std::fprintf(stderr, "bench_recording: record start %s%s: %d\n", s.dir.c_str(), name, r);
        return;
    }
    s.recording = true;
    while (s.nextCutAt <= at + kSlackSeconds)
        s.nextCutAt += s.segmentSeconds;
}

void stopSegment(Stream& s)
{
    s.recording = false;
    vxplay_record_stop(s.player);  // a failure comes to onRecordResult
}

void onTrack(void* user, const vxstream_track* t)
{
    auto* s = static_cast<Stream*>(user);
    if (t->media_type == VXSTREAM_MEDIA_VIDEO && s->videoIndex < 0 && t->time_base_den > 0) {
        s->videoIndex = t->stream_index;
        s->videoTimeBase = static_cast<double>(t->time_base_num) / t->time_base_den;
        s->out.width = t->width;
        s->out.height = t->height;
    } else if (t->media_type == VXSTREAM_MEDIA_AUDIO) {
        s->audioCodec = t->codec_id;
        s->audioChannels = t->channels > 0 ? t->channels : 1;
    }
    vxplay_init_track(s->player, t);
}

// The recorder's cut: at the first key frame at or past the next multiple of
// the segment length (counted from the first key frame, so that one late key
// frame does not shift every later cut), the file is closed and the next one
// begins with this key frame. Nothing is written twice and nothing falls
// between. The recording ends with the first picture at the length, as
// ffmpeg's -t ends the anchor's, key frame or not.
void onData(void* user, int index, int type, const uint8_t* data, int size, int64_t pts, int64_t dts, int flags)
{
    auto* s = static_cast<Stream*>(user);
    if (s->done)
        return;
    const bool video = index == s->videoIndex && pts != VXSTREAM_NOPTS;
    const bool key = video && (flags & VXSTREAM_FLAG_KEY);
    if (key && s->firstKeyPts == VXSTREAM_NOPTS)
        s->firstKeyPts = pts;
    if (s->firstKeyPts == VXSTREAM_NOPTS)
        return;  // nothing before the first key frame can be recorded
    const double at = video ? static_cast<double>(pts - s->firstKeyPts) * s->videoTimeBase : 0;
    if (video && at >= s->limit - kSlackSeconds) {
        if (s->recording)
            stopSegment(*s);
        s->out.finished = true;
        s->done = true;
        return;
    }
    if (key && s->recording && at >= s->nextCutAt - kSlackSeconds)
        stopSegment(*s);
    if (index == s->videoIndex) {
        ++s->out.videoReceived;
    } else if (type == VXSTREAM_MEDIA_AUDIO) {
        ++s->out.audioPackets;
        if (s->audioCodec == AV_CODEC_ID_PCM_ALAW || s->audioCodec == AV_CODEC_ID_PCM_MULAW)
            s->out.audioSamples += size / s->audioChannels;
    }
    if (vxplay_input_stream(s->player, nullptr, index, type, data, size, pts, dts, flags) != VXPLAY_OK)
        ++s->out.inputFailures;
    if (key && !s->recording)
        startSegment(*s, at);
}

void onStreamError(void* user, int code)
{
    auto* s = static_cast<Stream*>(user);
    ++s->streamErrors;
    std::fprintf(stderr, "bench_recording: stream error %d\n", code);
    s->done = true;
}

// The resident size now, in kB: the recorder's memory once every stream has
// run its length, apart from the peak of opening them.
long residentKb()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1)
            break;
    std::fclose(f);
    return kb;
}

}  // namespace

std::string StreamOutcome::toLine() const
{
    char line[256];
    std::snprintf(line, sizeof line, "%ld %ld %ld %ld %ld %d %d %d %d %d %d %d\n", videoReceived, audioPackets,
                  audioSamples, libReceived, libRecorded, segments, recordFailures, inputFailures, streamErrors, width,
                  height, finished ? 1 : 0);
    return line;
}

bool StreamOutcome::fromLine(const std::string& line, StreamOutcome& o)
{
    int finished = 0;
    if (std::sscanf(line.c_str(), "%ld %ld %ld %ld %ld %d %d %d %d %d %d %d", &o.videoReceived, &o.audioPackets,
                    &o.audioSamples, &o.libReceived, &o.libRecorded, &o.segments, &o.recordFailures, &o.inputFailures,
                    &o.streamErrors, &o.width, &o.height, &finished)
        != 12)
        return false;
    o.finished = finished != 0;
    return true;
}

int runIdle()
{
    vx_log_set_level(VX_LOG_ERROR);
    if (vxnet_init() != 0 || vxplay_init() != 0)
        return 2;
    vxplay_inst inst = nullptr;
    if (vxplay_create_instance(&inst, 0, 0) == 0)
        vxplay_destroy_instance(inst);
    vxplay_deinit();
    vxnet_deinit();
    return 0;
}

int runRecording(const RecordingJob& job, int fd)
{
    vx_log_set_level(VX_LOG_ERROR);
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    if (vxnet_init() != 0 || vxplay_init() != 0)
        return 2;
    std::vector<std::unique_ptr<Stream>> streams;
    for (int i = 0; i < job.streams; ++i) {
        auto s = std::make_unique<Stream>();
        s->dir = job.outDir + "/" + std::to_string(i);
        s->limit = job.seconds;
        s->segmentSeconds = job.segmentSeconds;
        if (::mkdir(s->dir.c_str(), 0755) != 0)
            return 3;
        if (vxplay_create_instance(&s->player, 0, job.prerecordMs) != 0 || !s->player)
            return 4;
        vxplay_audio_set_enable(s->player, 1);

        STConnectInfo b{};
        std::strcpy(b.szHost, "127.0.0.1");
        b.nHttpPort = job.httpPort;
        b.nMediaPort = job.rtspPort;
        std::strcpy(b.szUser, "admin");
        std::strcpy(b.szPassword, "admin");
        b.nStream = 1;
        if (vxnet_connect(&b, &s->session) != 0)
            return 5;
        vxnet_set_stream_track_callback(s->session, onTrack, s.get());
        vxnet_set_stream_callback(s->session, onData, s.get());
        vxnet_set_stream_error_callback(s->session, onStreamError, s.get());
        streams.push_back(std::move(s));
    }
    const auto t1 = Clock::now();
    // Opened all at once after the sessions are up, each from a thread of its
    // own as each camera's recording thread would, so that the streams run
    // side by side from the start (an open waits for the camera's answer).
    // A stream the camera refused (it serves only so many) counts as a
    // stream error and the others run on: leaving here would free the
    // streams under the readers that already deliver into them.
    {
        std::vector<std::thread> openers;
        for (auto& s : streams)
            openers.emplace_back([stream = s.get()] {
                const int rc = vxnet_open_stream(stream->session);
                if (rc != 0) {
                    ++stream->streamErrors;
                    std::fprintf(stderr, "bench_recording: stream open failed: %d\n", rc);
                    stream->done = true;
                }
            });
        for (auto& t : openers)
            t.join();
    }
    const auto t2 = Clock::now();

    // A stalled stream is given up after three times the length.
    const auto giveUp = Clock::now() + std::chrono::seconds(3 * job.seconds + 30);
    size_t open = streams.size();
    while (open > 0 && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (auto& s : streams) {
            if (s->session && s->done) {
                vxnet_disconnect(s->session);
                s->session = nullptr;
                --open;
            }
        }
    }
    const auto t3 = Clock::now();
    const long steadyKb = residentKb();
    std::string lines;
    for (auto& s : streams) {
        if (s->session)
            vxnet_disconnect(s->session);  // no callback runs after this
        s->session = nullptr;
        if (s->recording)
            stopSegment(*s);
        int64_t received = 0, recorded = 0;
        if (vxplay_record_counts(s->player, &received, &recorded) == VXPLAY_OK) {
            s->out.libReceived = static_cast<long>(received);
            s->out.libRecorded = static_cast<long>(recorded);
        }
        vxplay_destroy_instance(s->player);
        s->out.recordFailures = s->recordFailures;
        s->out.streamErrors = s->streamErrors;
        lines += s->out.toLine();
    }
    vxplay_deinit();
    vxnet_deinit();
    const auto t4 = Clock::now();
    auto sec = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    char phases[160];
    std::snprintf(phases, sizeof phases, "phases %.2f %.2f %.2f %.2f %ld\n", sec(t1 - t0), sec(t2 - t1), sec(t3 - t2),
                  sec(t4 - t3), steadyKb);
    lines += phases;
    if (::write(fd, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size()))
        return 7;
    return 0;
}
