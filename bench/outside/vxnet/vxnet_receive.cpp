// Receiving N camera streams through vxnet, beside the anchor: one ffmpeg
// process per stream copying the same stream to nowhere
// (-rtsp_transport tcp -c copy -f null -t S). Both read the same simulated
// camera in the same run, and both stop after S seconds of stream by its
// timestamps; printed are CPU seconds per 30 s of stream, peak memory per
// stream, their ratios, and the packets each vxnet stream received.
//
//   vxnet_receive [N] [seconds]     defaults: 1 stream, 20 s
//
// The camera replays a 1920x1080, 25 fps, 4 Mbit/s H.264 clip with a key frame
// every 2 s and G.711 audio, so no encoder competes for the CPU.

#include "outside/vxnet/vxnet.h"
#include "bench/support/ChildRun.h"
#include "support/CamsimProcess.h"
#include "utility/vx_log.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using vxbench::Usage;
using vxbench::waitChild;

// One stream's intake. The stream is done once it has delivered `seconds` of
// video by its own timestamps, as the anchor's -t counts them.
struct Counter {
    std::atomic<long> packets{0};
    std::atomic<long> bytes{0};
    std::atomic<int> errors{0};
    std::atomic<bool> done{false};
    double limit = 0;
    int videoIndex = -1;
    double timeBase = 0;
    int64_t firstPts = INT64_MIN;
};

void onTrack(void* user, const vxstream_track* t)
{
    auto* c = static_cast<Counter*>(user);
    if (t->media_type == VXSTREAM_MEDIA_VIDEO && c->videoIndex < 0 && t->time_base_den > 0) {
        c->videoIndex = t->stream_index;
        c->timeBase = static_cast<double>(t->time_base_num) / t->time_base_den;
    }
}

void onData(void* user, int index, int, const uint8_t*, int size, int64_t pts, int64_t, int)
{
    auto* c = static_cast<Counter*>(user);
    if (c->done)
        return;
    ++c->packets;
    c->bytes += size;
    if (index == c->videoIndex && pts != VXSTREAM_NOPTS) {
        if (c->firstPts == INT64_MIN)
            c->firstPts = pts;
        if (static_cast<double>(pts - c->firstPts) * c->timeBase >= c->limit)
            c->done = true;
    }
}

void onError(void* user, int)
{
    auto* c = static_cast<Counter*>(user);
    ++c->errors;
    c->done = true;
}

// The measured side, in a child of its own so that its CPU time and peak
// memory are its alone. Writes one line per stream to fd.
int receiveWithVxnet(int streams, int seconds, int http_port, int rtsp_port, int fd)
{
    vx_log_set_level(VX_LOG_ERROR);
    if (vxnet_init() != 0)
        return 2;
    std::vector<VXNET_HANDLE> handles(static_cast<size_t>(streams), nullptr);
    std::vector<Counter> counters(static_cast<size_t>(streams));
    for (int i = 0; i < streams; ++i) {
        STConnectInfo b{};
        std::strcpy(b.szHost, "127.0.0.1");
        b.nHttpPort = http_port;
        b.nMediaPort = rtsp_port;
        std::strcpy(b.szUser, "admin");
        std::strcpy(b.szPassword, "admin");
        b.nStream = 1;
        counters[i].limit = seconds;
        if (vxnet_connect(&b, &handles[i]) != 0)
            return 3;
        vxnet_set_stream_track_callback(handles[i], onTrack, &counters[i]);
        vxnet_set_stream_callback(handles[i], onData, &counters[i]);
        vxnet_set_stream_error_callback(handles[i], onError, &counters[i]);
        if (vxnet_open_stream(handles[i]) != 0)
            return 4;
    }
    // Each stream is closed as soon as it has its share; a stalled one is
    // given up after three times the length.
    auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(3 * seconds + 30);
    int open = streams;
    while (open > 0 && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (int i = 0; i < streams; ++i) {
            if (handles[i] && counters[i].done) {
                vxnet_disconnect(handles[i]);
                handles[i] = nullptr;
                --open;
            }
        }
    }
    for (int i = 0; i < streams; ++i)
        if (handles[i])
            vxnet_disconnect(handles[i]);
    vxnet_deinit();
    for (const Counter& c : counters)
        dprintf(fd, "%ld %ld %d %d\n", c.packets.load(), c.bytes.load(), c.errors.load(), c.done.load() ? 1 : 0);
    return 0;
}

pid_t startAnchor(const std::string& url, int seconds)
{
    pid_t pid = fork();
    if (pid == 0) {
        std::string t = std::to_string(seconds);
        execlp("ffmpeg", "ffmpeg", "-nostdin", "-loglevel", "error", "-rtsp_transport", "tcp", "-i", url.c_str(), "-t",
               t.c_str(), "-c", "copy", "-f", "null", "-", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

}  // namespace

int main(int argc, char** argv)
{
    int streams = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    int seconds = argc > 2 ? std::max(5, std::atoi(argv[2])) : 20;

    CamsimProcess cam(
        {"--replay", "--width", "1920", "--height", "1080", "--fps", "25", "--bitrate", "4000", "--keyint", "50"},
        60000);
    if (!cam.ok()) {
        std::fprintf(stderr, "vxnet_receive: %s\n", cam.error().c_str());
        return 1;
    }
    std::string url = cam.rtspUrl("/");

    // The anchor and vxnet run at the same time, so both see the same load.
    std::vector<pid_t> anchors;
    for (int i = 0; i < streams; ++i)
        anchors.push_back(startAnchor(url, seconds));

    int pipefd[2];
    if (pipe(pipefd) != 0)
        return 1;
    pid_t child = fork();
    if (child == 0) {
        close(pipefd[0]);
        _exit(receiveWithVxnet(streams, seconds, cam.httpPort(), cam.rtspPort(), pipefd[1]));
    }
    close(pipefd[1]);
    const std::string lines = vxbench::readAll(pipefd[0]);
    Usage vx = waitChild(child);

    double anchorCpu = 0;
    long anchorRss = 0;
    int anchorFailed = 0;
    for (pid_t pid : anchors) {
        Usage u = waitChild(pid);
        anchorCpu += u.cpuSeconds;
        anchorRss = std::max(anchorRss, u.maxRssKb);
        anchorFailed += u.status != 0;
    }
    if (vx.status != 0) {
        std::fprintf(stderr, "vxnet_receive: the vxnet side failed (%d)\n", vx.status);
        return 1;
    }

    long minPackets = -1, maxPackets = 0, errors = 0, unfinished = 0;
    double mbits = 0;
    const char* p = lines.c_str();
    for (int i = 0; i < streams; ++i) {
        long packets = 0, bytes = 0;
        int errs = 0, done = 0, used = 0;
        if (std::sscanf(p, "%ld %ld %d %d\n%n", &packets, &bytes, &errs, &done, &used) < 4)
            break;
        unfinished += done ? 0 : 1;
        p += used;
        minPackets = minPackets < 0 ? packets : std::min(minPackets, packets);
        maxPackets = std::max(maxPackets, packets);
        errors += errs;
        mbits += static_cast<double>(bytes) * 8 / 1e6 / seconds;  // per second of stream
    }

    double per30 = 30.0 / seconds;
    double vxCpu = vx.cpuSeconds / streams * per30;
    double anCpu = anchorCpu / streams * per30;
    double vxMem = static_cast<double>(vx.maxRssKb) / 1024.0 / streams;
    double anMem = static_cast<double>(anchorRss) / 1024.0;
    std::printf("streams %d, %d s each, 1920x1080 25 fps 4 Mbit/s + G.711\n", streams, seconds);
    std::printf("vxnet : %.3f CPU s per 30 s of stream, %.1f MB per stream (process peak %.1f MB)\n", vxCpu, vxMem,
                static_cast<double>(vx.maxRssKb) / 1024.0);
    std::printf("anchor: %.3f CPU s per 30 s of stream, %.1f MB per stream%s\n", anCpu, anMem,
                anchorFailed ? " (some anchor runs failed)" : "");
    std::printf("ratio : CPU %.3f, memory %.3f\n", anCpu > 0 ? vxCpu / anCpu : 0.0, anMem > 0 ? vxMem / anMem : 0.0);
    std::printf("vxnet packets per stream %ld..%ld, %.2f Mbit/s of stream on average, %ld stream errors, "
                "%ld streams short of %d s\n",
                minPackets, maxPackets, mbits / streams, errors, unfinished, seconds);
    return 0;
}
