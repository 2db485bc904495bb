// Recording N camera streams into 10-second segment files for 60 s of stream,
// through vxnet (RTSP over TCP) and vxplay (record-only instances, fragmented
// MP4, G.711 transcoded to AAC), beside the anchor run at the same time: one
// ffmpeg process per stream copying the video and encoding the sound to AAC
// into segments of the same length. Printed: CPU seconds and peak memory per
// stream for both, their ratios, and whether every packet the recorder was
// handed reached its files.
//
//   bench_recording [--streams N[,N...]] [--seconds S] [--segment S]
//                   [--prerecord MS] [--anchor-max K] [--quick] [--keep]
//
// Several stream counts (--streams 1,64) run one after the other, each with
// its own report, so that the cost per stream can be compared across them.
//
// Ours runs in a child process of its own (this program again), so its
// rusage is the recorder's alone: CPU is its user + system time, memory its
// peak RSS less that of an idle process with the same libraries loaded,
// divided by N. The anchor's CPU is the sum over its ffmpeg processes, its
// memory their average peak RSS. Each side reads its own simulated camera, a
// separate process whose cost enters neither figure; the camera replays a
// clip encoded once at start, so no encoder competes for the CPU.
//
// The floor, run at the same time from a third camera, is a plain recv-to-
// write loop per stream in a child of its own: the kernel's cost of taking
// the same bytes off the socket and into a file, which no recorder can go
// below. Its CPU is taken like ours, its memory as its peak less its size
// before it began.

#include "FloorChild.h"
#include "RecordingChild.h"
#include "SegmentCount.h"
#include "bench/support/Args.h"
#include "bench/support/ChildRun.h"
#include "support/CamsimProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFps = 25;

struct Options {
    int streams = 1;
    int seconds = 60;
    int segmentSeconds = 10;
    int prerecordMs = 5000;
    bool keep = false;
    int anchorLimit = 0;  // 0: the anchor records every stream
};

using vxbench::parseCounts;
using vxbench::parseInt;
using vxbench::spawnSelf;
using vxbench::Usage;
using vxbench::waitChild;

pid_t startAnchor(const std::string& url, const Options& o, const std::string& dir)
{
    const std::string t = std::to_string(o.seconds);
    const std::string seg = std::to_string(o.segmentSeconds);
    const std::string out = dir + "/%03d.mp4";
    pid_t pid = fork();
    if (pid == 0) {
        execlp("ffmpeg", "ffmpeg", "-nostdin", "-loglevel", "error", "-rtsp_transport", "tcp", "-i", url.c_str(), "-t",
               t.c_str(), "-c:v", "copy", "-c:a", "aac", "-f", "segment", "-segment_time", seg.c_str(),
               "-segment_format_options", "movflags=frag_keyframe+empty_moov", out.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

void usage(FILE* to)
{
    std::fprintf(
        to, "usage: bench_recording [--streams N[,N...]] [--seconds S] [--segment S] [--prerecord MS] [--anchor-max K] "
            "[--quick] [--keep]\n"
            "  --streams N     streams recorded at once by each side (1); a list runs each count in turn\n"
            "  --seconds S     stream time recorded per stream (60)\n"
            "  --segment S     segment file length (10)\n"
            "  --prerecord MS  pre-record ring of each player (5000, as the recorder sets it)\n"
            "  --quick         a smoke run: 1 stream, 12 s\n"
            "  --keep          keep the segment files and print where they are\n"
            "  --anchor-max K  the anchor records only the first K streams (its figures are per stream\n"
            "                  anyway): one ffmpeg process per stream may not fit in memory at 300\n");
}

double loadAverage()
{
    double l[1] = {0};
    return getloadavg(l, 1) == 1 ? l[0] : -1;
}

int childMain(int argc, char** argv)
{
    if (std::strcmp(argv[1], "--child-idle") == 0)
        return runIdle();
    if (std::strcmp(argv[1], "--child-floor") == 0) {
        // --child-floor streams seconds rtsp dir
        FloorJob job;
        if (argc != 6 || !parseInt(argv[2], 1, 10000, job.streams) || !parseInt(argv[3], 1, 100000, job.seconds)
            || !parseInt(argv[4], 1, 65535, job.rtspPort))
            return 64;
        job.outDir = argv[5];
        return runFloor(job, 3);
    }
    // --child-record streams seconds segment prerecord http rtsp dir
    RecordingJob job;
    if (argc != 9 || !parseInt(argv[2], 1, 10000, job.streams) || !parseInt(argv[3], 1, 100000, job.seconds)
        || !parseInt(argv[4], 1, 100000, job.segmentSeconds) || !parseInt(argv[5], 0, 600000, job.prerecordMs)
        || !parseInt(argv[6], 1, 65535, job.httpPort) || !parseInt(argv[7], 1, 65535, job.rtspPort))
        return 64;
    job.outDir = argv[8];
    return runRecording(job, 3);
}

struct Totals {
    long received = 0;
    long written = 0;
    long audioReceived = 0;
    long audioWritten = 0;
    long libReceived = 0;
    long libRecorded = 0;
    long minVideo = -1;
    long maxVideo = 0;
    int files = 0;
    int unreadable = 0;
    int notKey = 0;
    double minSeconds = 1e9;
    double maxSeconds = 0;
    int streamsMismatched = 0;

    void addFiles(const SegmentCount& c)
    {
        files += c.files;
        unreadable += c.unreadable;
        notKey += c.notStartingWithKey;
        written += c.videoPackets;
        audioWritten += c.audioSamples;
        if (c.files > 0) {
            minSeconds = std::min(minSeconds, c.minSeconds);
            maxSeconds = std::max(maxSeconds, c.maxSeconds);
        }
        minVideo = minVideo < 0 ? c.videoPackets : std::min(minVideo, c.videoPackets);
        maxVideo = std::max(maxVideo, c.videoPackets);
    }
};

// Each stream holds a few descriptors on every side (sockets, the segment
// file, the camera's end): the soft limit is raised toward the hard one when
// it is lower than the run needs, and the children inherit it.
bool raiseFileLimit(int streams)
{
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) != 0)
        return false;
    const rlim_t need = static_cast<rlim_t>(streams) * 16 + 256;
    if (lim.rlim_cur >= need)
        return true;
    lim.rlim_cur = lim.rlim_max == RLIM_INFINITY ? need : std::min(need, lim.rlim_max);
    if (setrlimit(RLIMIT_NOFILE, &lim) != 0 || lim.rlim_cur < need) {
        std::fprintf(stderr, "bench_recording: %d streams need %lu descriptors, the limit allows %lu\n", streams,
                     static_cast<unsigned long>(need), static_cast<unsigned long>(lim.rlim_cur));
        return false;
    }
    return true;
}

int anchorCount(const Options& o)
{
    return o.anchorLimit > 0 ? std::min(o.anchorLimit, o.streams) : o.streams;
}

// One run of both sides with o.streams streams. 0: every packet reached its
// files; 2: something was lost or failed; 1: the run itself could not be made.
int runOnce(const Options& o)
{
    if (!raiseFileLimit(o.streams))
        return 1;
    char tmpl[] = "/tmp/bench_recording.XXXXXX";
    if (!mkdtemp(tmpl)) {
        std::perror("bench_recording: mkdtemp");
        return 1;
    }
    const std::string root = tmpl;
    const std::string oursDir = root + "/ours";
    const std::string anchorDir = root + "/anchor";
    const std::string floorDir = root + "/floor";
    ::mkdir(oursDir.c_str(), 0755);
    ::mkdir(floorDir.c_str(), 0755);
    ::mkdir(anchorDir.c_str(), 0755);
    for (int i = 0; i < o.streams; ++i)
        if (i < anchorCount(o))
            ::mkdir((anchorDir + "/" + std::to_string(i)).c_str(), 0755);

    const std::vector<std::string> camArgs = {"--replay",
                                              "--width",
                                              "1920",
                                              "--height",
                                              "1080",
                                              "--fps",
                                              std::to_string(kFps),
                                              "--bitrate",
                                              "4000",
                                              "--keyint",
                                              std::to_string(2 * kFps)};
    CamsimProcess ourCam(camArgs, 60000);
    CamsimProcess anchorCam(camArgs, 60000);
    CamsimProcess floorCam(camArgs, 60000);
    if (!ourCam.ok() || !anchorCam.ok() || !floorCam.ok()) {
        std::fprintf(stderr, "bench_recording: camsim: %s\n",
                     (!ourCam.ok()      ? ourCam
                      : !anchorCam.ok() ? anchorCam
                                        : floorCam)
                         .error()
                         .c_str());
        std::filesystem::remove_all(root);
        return 1;
    }

    // The idle process first, alone, with the same libraries loaded.
    Usage idle = waitChild(spawnSelf({"--child-idle"}, -1));
    if (idle.status != 0) {
        std::fprintf(stderr, "bench_recording: the idle process failed (%d)\n", idle.status);
        std::filesystem::remove_all(root);
        return 1;
    }

    const double loadBefore = loadAverage();
    // Both sides at the same time, so that both see the same load.
    std::vector<pid_t> anchors;
    for (int i = 0; i < anchorCount(o); ++i)
        anchors.push_back(startAnchor(anchorCam.rtspUrl("/"), o, anchorDir + "/" + std::to_string(i)));

    const vxbench::Reporter rec = vxbench::spawnSelfReporting(
        {"--child-record", std::to_string(o.streams), std::to_string(o.seconds), std::to_string(o.segmentSeconds),
         std::to_string(o.prerecordMs), std::to_string(ourCam.httpPort()), std::to_string(ourCam.rtspPort()), oursDir});
    if (rec.pid < 0)
        return 1;
    const vxbench::Reporter floorRun =
        vxbench::spawnSelfReporting({"--child-floor", std::to_string(o.streams), std::to_string(o.seconds),
                                     std::to_string(floorCam.rtspPort()), floorDir});
    if (floorRun.pid < 0)
        return 1;
    const std::string lines = vxbench::readAll(rec.fd);
    Usage ours = waitChild(rec.pid);
    const std::string floorLine = vxbench::readAll(floorRun.fd);
    Usage floorUse = waitChild(floorRun.pid);
    long floorBytes = 0;
    int floorFailed = -1;
    long floorStartKb = 0;
    std::sscanf(floorLine.c_str(), "floor %ld %d %ld", &floorBytes, &floorFailed, &floorStartKb);

    double anchorCpu = 0;
    double anchorRssKb = 0;
    int anchorFailed = 0;
    for (pid_t pid : anchors) {
        Usage u = waitChild(pid);
        anchorCpu += u.cpuSeconds;
        anchorRssKb += static_cast<double>(u.maxRssKb);
        anchorFailed += u.status != 0;
    }
    const double loadAfter = loadAverage();
    ourCam.stop();
    anchorCam.stop();
    floorCam.stop();

    if (ours.status != 0) {
        std::fprintf(stderr, "bench_recording: the recording process failed (%d)\n", ours.status);
        if (!o.keep)
            std::filesystem::remove_all(root);
        return 1;
    }

    // What each side's files hold, read back after both ended.
    Totals t, a;
    int unfinished = 0, recordFailures = 0, inputFailures = 0, streamErrors = 0, segments = 0, width = 0, height = 0;
    size_t pos = 0;
    for (int i = 0; i < o.streams; ++i) {
        const size_t end = lines.find('\n', pos);
        StreamOutcome so;
        if (end == std::string::npos || !StreamOutcome::fromLine(lines.substr(pos, end - pos), so)) {
            std::fprintf(stderr, "bench_recording: stream %d sent no outcome\n", i);
            return 1;
        }
        pos = end + 1;
        SegmentCount c = countSegments(oursDir + "/" + std::to_string(i));
        t.addFiles(c);
        t.received += so.videoReceived;
        t.audioReceived += so.audioSamples;
        t.libReceived += so.libReceived;
        t.libRecorded += so.libRecorded;
        t.streamsMismatched += c.videoPackets != so.videoReceived;
        unfinished += so.finished ? 0 : 1;
        recordFailures += so.recordFailures;
        inputFailures += so.inputFailures;
        streamErrors += so.streamErrors;
        segments += so.segments;
        width = so.width;
        height = so.height;
        if (i < anchorCount(o))
            a.addFiles(countSegments(anchorDir + "/" + std::to_string(i)));
    }

    double phase[4] = {0, 0, 0, 0};
    long steadyKb = 0;
    std::sscanf(lines.c_str() + pos, "phases %lf %lf %lf %lf %ld", &phase[0], &phase[1], &phase[2], &phase[3],
                &steadyKb);

    const double N = o.streams;
    const double per30 = 30.0 / o.seconds;
    const double ourCpu = ours.cpuSeconds / N;
    const double ancCpu = anchorCpu / anchorCount(o);
    const double ourMem = static_cast<double>(ours.maxRssKb - idle.maxRssKb) / 1024.0 / N;
    const double ancMem = anchorRssKb / 1024.0 / anchorCount(o);
    const double cpuRatio = ancCpu > 0 ? ourCpu / ancCpu : 0;
    const double memRatio = ancMem > 0 ? ourMem / ancMem : 0;
    const bool packetsEqual =
        t.streamsMismatched == 0 && t.written == t.received && t.received > 0 && t.libRecorded == t.libReceived;

    std::printf("bench_recording: %d stream%s, %d s each in %d s segments, %dx%d %d fps 4 Mbit/s H.264 + G.711, "
                "pre-record %d ms\n",
                o.streams, o.streams == 1 ? "" : "s", o.seconds, o.segmentSeconds, width, height, kFps, o.prerecordMs);
    std::printf("load average %.2f before, %.2f after (%ld cores)\n", loadBefore, loadAfter,
                sysconf(_SC_NPROCESSORS_ONLN));
    std::printf("%-22s %12s %12s %16s\n", "", "CPU s/stream", "CPU s/30 s", "peak MB/stream");
    std::printf("%-22s %12.3f %12.3f %16.1f   (process peak %.1f MB less idle %.1f MB, / %d)\n", "ours (vxnet+vxplay)",
                ourCpu, ourCpu * per30, ourMem, static_cast<double>(ours.maxRssKb) / 1024.0,
                static_cast<double>(idle.maxRssKb) / 1024.0, o.streams);
    std::printf("%-22s %12.3f %12.3f %16.1f   (%d ffmpeg process%s%s)\n", "anchor (ffmpeg)", ancCpu, ancCpu * per30,
                ancMem, anchorCount(o), anchorCount(o) == 1 ? "" : "es", anchorFailed ? ", some failed" : "");
    // The simulated camera refuses some of the floor's plain clients while it
    // prepares its media: the floor is taken per stream that it read.
    const int floorRead = floorUse.status == 0 && floorFailed >= 0 ? o.streams - floorFailed : 0;
    const double floorCpu = floorRead > 0 ? floorUse.cpuSeconds / floorRead : 0;
    const double floorMem =
        floorRead > 0 ? static_cast<double>(floorUse.maxRssKb - floorStartKb) / 1024.0 / floorRead : 0;
    std::printf("%-22s %12.3f %12.3f %16.1f   (recv-to-write loop, %.1f MB written by %d of %d streams)\n",
                "floor (kernel)", floorCpu, floorCpu * per30, floorMem, static_cast<double>(floorBytes) / 1e6,
                floorRead, o.streams);
    std::printf("%-22s %12.3f %12s %16.3f\n", "ratio ours/anchor", cpuRatio, "", memRatio);
    std::printf("%-22s %12.3f\n", "ratio floor/anchor", ancCpu > 0 ? floorCpu / ancCpu : 0);
    std::printf("goal: CPU ratio <= 0.333 %s, memory <= 8 MB per stream %s\n", cpuRatio <= 1.0 / 3 ? "met" : "MISSED",
                ourMem <= 8.0 ? "met" : "MISSED");
    std::printf("packets written equal packets received: %s (video %ld written, %ld received; %d stream%s differ)\n",
                packetsEqual ? "yes" : "NO", t.written, t.received, t.streamsMismatched,
                t.streamsMismatched == 1 ? "" : "s");
    std::printf("the player's own count: %ld packets recorded of %ld received while a file was open\n", t.libRecorded,
                t.libReceived);
    std::printf("audio samples: %ld written as AAC, %ld received as G.711 (%+ld)\n", t.audioWritten, t.audioReceived,
                t.audioWritten - t.audioReceived);
    std::printf("ours:   %d files (%d started), %.2f..%.2f s, %ld..%ld video packets per stream of %d expected; "
                "%d unreadable, %d not starting at a key frame; %d record failures, %d refused packets, "
                "%d stream errors, %d streams short of %d s\n",
                t.files, segments, t.minSeconds, t.maxSeconds, t.minVideo, t.maxVideo, o.seconds * kFps, t.unreadable,
                t.notKey, recordFailures, inputFailures, streamErrors, unfinished, o.seconds);
    std::printf("ours:   %.2f s connecting, %.2f s opening the streams, %.2f s recording, %.2f s closing; "
                "%.1f MB per stream resident at the end of recording (the peak is over the whole run)\n",
                phase[0], phase[1], phase[2], phase[3], static_cast<double>(steadyKb - idle.maxRssKb) / 1024.0 / N);
    std::printf("anchor: %d files, %.2f..%.2f s, %ld..%ld video packets per stream; %d unreadable, "
                "%d not starting at a key frame\n",
                a.files, a.minSeconds, a.maxSeconds, a.minVideo, a.maxVideo, a.unreadable, a.notKey);
    if (o.keep)
        std::printf("files kept in %s\n", root.c_str());
    else
        std::filesystem::remove_all(root);
    return packetsEqual && unfinished == 0 && recordFailures == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strncmp(argv[1], "--child-", 8) == 0)
        return childMain(argc, argv);

    Options o;
    std::vector<int> counts = {1};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--streams" && hasValue && parseCounts(argv[i + 1], counts)) {
            ++i;
        } else if (a == "--seconds" && hasValue && parseInt(argv[i + 1], 4, 3600, o.seconds)) {
            ++i;
        } else if (a == "--segment" && hasValue && parseInt(argv[i + 1], 2, 3600, o.segmentSeconds)) {
            ++i;
        } else if (a == "--prerecord" && hasValue && parseInt(argv[i + 1], 0, 30000, o.prerecordMs)) {
            ++i;
        } else if (a == "--quick") {
            counts = {1};
            o.seconds = 12;
        } else if (a == "--anchor-max" && hasValue && parseInt(argv[i + 1], 1, 1000, o.anchorLimit)) {
            ++i;
        } else if (a == "--keep") {
            o.keep = true;
        } else if (a == "--help" || a == "-h") {
            usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "bench_recording: bad argument %s\n", a.c_str());
            usage(stderr);
            return 64;
        }
    }
    int worst = 0;
    for (int n : counts) {
        o.streams = n;
        worst = std::max(worst, runOnce(o));
        std::fflush(stdout);
        if (worst == 1)
            break;
    }
    return worst;
}
