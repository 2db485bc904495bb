// N record-only camera objects, each driven from a thread of its own as the
// recorder drives them (Connect, StartPlay, StartRecord, IsPlaying once a
// second, a new segment by StopRecord and StartRecord, Cleanup), beside the
// anchor run at the same time: the plain vxnet + vxplay recording of the
// recording benchmark, same number of streams from a camera of its own.
// Printed: CPU seconds and peak memory per camera for both, and what the
// camera object adds as ratios.
//
//   bench_webwatch [--cameras N[,N...]] [--seconds S] [--segment S] [--quick]
//
// Each side runs in a child process (this program again), so that its rusage
// is its own; memory is the peak RSS less that of an idle child with the same
// libraries loaded, divided by N.

#include "RecordingChild.h"
#include "bench/support/Args.h"
#include "bench/support/ChildRun.h"
#include "camera/session/CWebWatchNB.h"
#include "support/CamsimProcess.h"
#include "utility/vx_log.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using vxbench::parseCounts;
using vxbench::parseInt;
using vxbench::readAll;
using vxbench::Reporter;
using vxbench::spawnSelf;
using vxbench::spawnSelfReporting;
using vxbench::Usage;
using vxbench::waitChild;

struct Options {
    std::vector<int> cameras = {64, 300};
    int seconds = 30;
    int segmentSeconds = 10;
    int prerecordMs = 5000;
};

// ---- the measured side: camera objects ----

struct ObjectResult {
    std::atomic<int> connected{0};
    std::atomic<int> recording{0};
    std::atomic<int> segments{0};
    std::atomic<int> lost{0};  // IsPlaying turned 0 while recording
    std::atomic<int> retries{0};
};

void driveObject(int index, int httpPort, int rtspPort, const std::string& dir, int seconds, int segmentSeconds,
                 ObjectResult& result)
{
    CWebWatchNB camera(1, index, 0, nullptr);
    camera.SetCameraInfo("127.0.0.1", httpPort, rtspPort, 0, 0, "admin", "admin");
    camera.SetRecordOnly(1);
    // As the recorder's thread does: a camera that did not answer in time is
    // tried again on the next pass (300 logins at once queue up at one camsim).
    bool up = false;
    for (int attempt = 0; attempt < 5 && !up; ++attempt) {
        if (attempt > 0) {
            ++result.retries;
            camera.Cleanup();
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        up = camera.Connect() && camera.StartPlay();
    }
    if (!up) {
        camera.Cleanup();
        return;
    }
    ++result.connected;
    camera.SetRecordPath(dir.c_str());
    if (camera.StartRecord(1)) {
        ++result.recording;
        ++result.segments;
    }
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto segmentStart = start;
    while (Clock::now() - start < std::chrono::seconds(seconds)) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        if (!camera.IsPlaying()) {
            ++result.lost;
            break;
        }
        if (Clock::now() - segmentStart >= std::chrono::seconds(segmentSeconds)) {
            camera.StopRecord();
            camera.SetRecordPath(dir.c_str());
            if (camera.StartRecord(1))
                ++result.segments;
            segmentStart = Clock::now();
        }
    }
    camera.StopRecord();
    camera.Cleanup();
}

// ports: "HTTP:RTSP,HTTP:RTSP,..." of the cameras, taken in turn.
int runObjects(int n, int seconds, int segmentSeconds, int prerecordMs, const std::string& ports,
               const std::string& outDir)
{
    std::vector<std::pair<int, int>> cams;
    for (size_t pos = 0; pos < ports.size();) {
        size_t comma = ports.find(',', pos);
        if (comma == std::string::npos)
            comma = ports.size();
        int http = 0, rtsp = 0;
        if (std::sscanf(ports.substr(pos, comma - pos).c_str(), "%d:%d", &http, &rtsp) != 2)
            return 64;
        cams.emplace_back(http, rtsp);
        pos = comma + 1;
    }
    if (cams.empty())
        return 64;
    vx_log_set_level(VX_LOG_ERROR);
    if (!CWebWatchBase::InitLib())
        return 2;
    CWebWatchBase::SetPreRecLen(prerecordMs);
    CWebWatchBase::SetRecLenSwitch(0);
    ObjectResult result;
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
        std::string dir = outDir + "/" + std::to_string(i);
        ::mkdir(dir.c_str(), 0755);
        const auto& cam = cams[static_cast<size_t>(i) % cams.size()];
        threads.emplace_back(driveObject, i, cam.first, cam.second, dir, seconds, segmentSeconds, std::ref(result));
    }
    for (auto& t : threads)
        t.join();
    CWebWatchBase::DeinitLib();
    char line[200];
    int len = std::snprintf(line, sizeof line, "objects %d connected %d recording %d segments %d lost %d retries\n",
                            result.connected.load(), result.recording.load(), result.segments.load(),
                            result.lost.load(), result.retries.load());
    return ::write(3, line, static_cast<size_t>(len)) == len ? 0 : 3;
}

int childMain(int argc, char** argv)
{
    if (std::strcmp(argv[1], "--child-idle") == 0) {
        // The same libraries as the two measured sides, started and stopped.
        if (!CWebWatchBase::InitLib())
            return 2;
        CWebWatchBase::DeinitLib();
        return runIdle();
    }
    // --child-objects N seconds segment prerecord HTTP:RTSP[,HTTP:RTSP...] dir
    // --child-anchor N seconds segment prerecord http rtsp dir
    int n = 0, seconds = 0, segment = 0, prerecord = 0, http = 0, rtsp = 0;
    if (argc < 8 || !parseInt(argv[2], 1, 10000, n) || !parseInt(argv[3], 1, 100000, seconds)
        || !parseInt(argv[4], 1, 100000, segment) || !parseInt(argv[5], 0, 600000, prerecord))
        return 64;
    if (std::strcmp(argv[1], "--child-objects") == 0)
        return argc == 8 ? runObjects(n, seconds, segment, prerecord, argv[6], argv[7]) : 64;
    if (argc != 9 || !parseInt(argv[6], 1, 65535, http) || !parseInt(argv[7], 1, 65535, rtsp))
        return 64;
    RecordingJob job;
    job.streams = n;
    job.seconds = seconds;
    job.segmentSeconds = segment;
    job.prerecordMs = prerecord;
    job.httpPort = http;
    job.rtspPort = rtsp;
    job.outDir = argv[8];
    return runRecording(job, 3);
}

int runOnce(int n, const Options& o)
{
    char tmpl[] = "/tmp/bench_webwatch.XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const std::string root = tmpl;
    const std::string oursDir = root + "/ours";
    const std::string anchorDir = root + "/anchor";
    ::mkdir(oursDir.c_str(), 0755);
    ::mkdir(anchorDir.c_str(), 0755);

    const std::vector<std::string> camArgs = {"--replay", "--width",   "640",  "--height", "360", "--fps",
                                              "25",       "--bitrate", "1000", "--keyint", "50"};
    // A simulated camera serves up to 256 connections, and each camera object
    // keeps its alarm channel open beside its requests: one camera process
    // for every 100 objects (the plain recording opens no side channel).
    std::vector<std::unique_ptr<CamsimProcess>> ourCams;
    std::string ourPorts;
    for (int i = 0; i < (n + 99) / 100; ++i) {
        ourCams.push_back(std::make_unique<CamsimProcess>(camArgs, 60000));
        if (!ourCams.back()->ok()) {
            std::fprintf(stderr, "bench_webwatch: camsim did not start\n");
            std::filesystem::remove_all(root);
            return 1;
        }
        ourPorts += (ourPorts.empty() ? "" : ",") + std::to_string(ourCams.back()->httpPort()) + ":"
                    + std::to_string(ourCams.back()->rtspPort());
    }
    CamsimProcess anchorCam(camArgs, 60000);
    if (!anchorCam.ok()) {
        std::fprintf(stderr, "bench_webwatch: camsim did not start\n");
        std::filesystem::remove_all(root);
        return 1;
    }
    Usage idle = waitChild(spawnSelf({"--child-idle"}, -1));

    const std::vector<std::string> common = {std::to_string(n), std::to_string(o.seconds),
                                             std::to_string(o.segmentSeconds), std::to_string(o.prerecordMs)};
    auto args = [&](const char* role, const CamsimProcess& cam, const std::string& dir) {
        std::vector<std::string> a = {role};
        a.insert(a.end(), common.begin(), common.end());
        a.push_back(std::to_string(cam.httpPort()));
        a.push_back(std::to_string(cam.rtspPort()));
        a.push_back(dir);
        return a;
    };
    Reporter anchor = spawnSelfReporting(args("--child-anchor", anchorCam, anchorDir));
    if (anchor.fd < 0)
        return 1;
    std::vector<std::string> oursArgs = {"--child-objects"};
    oursArgs.insert(oursArgs.end(), common.begin(), common.end());
    oursArgs.push_back(ourPorts);
    oursArgs.push_back(oursDir);
    Reporter ours = spawnSelfReporting(oursArgs);
    if (ours.fd < 0) {
        readAll(anchor.fd);
        waitChild(anchor.pid);
        return 1;
    }
    std::string anchorLines, oursLines;
    std::thread drain([&] { anchorLines = readAll(anchor.fd); });
    oursLines = readAll(ours.fd);
    drain.join();
    Usage o1 = waitChild(ours.pid);
    Usage a1 = waitChild(anchor.pid);
    ourCams.clear();
    anchorCam.stop();

    int connected = 0, recording = 0, segments = 0, lost = 0, retries = 0;
    std::sscanf(oursLines.c_str(), "objects %d connected %d recording %d segments %d lost %d retries", &connected,
                &recording, &segments, &lost, &retries);
    int anchorStreams = 0;
    for (size_t pos = 0; (pos = anchorLines.find('\n', pos)) != std::string::npos; ++pos)
        ++anchorStreams;
    anchorStreams = anchorStreams > 0 ? anchorStreams - 1 : 0;  // the last line holds the phases

    const double N = n;
    const double ourCpu = o1.cpuSeconds / N;
    const double ancCpu = a1.cpuSeconds / N;
    const double ourMem = static_cast<double>(o1.maxRssKb - idle.maxRssKb) / 1024.0 / N;
    const double ancMem = static_cast<double>(a1.maxRssKb - idle.maxRssKb) / 1024.0 / N;
    const double cpuRatio = ancCpu > 0 ? ourCpu / ancCpu : 0;
    const double memRatio = ancMem > 0 ? ourMem / ancMem : 0;
    std::printf("bench_webwatch: %d cameras, %d s each in %d s segments, 640x360 25 fps 1 Mbit/s H.264 + G.711, "
                "pre-record %d ms\n",
                n, o.seconds, o.segmentSeconds, o.prerecordMs);
    std::printf("%-26s %12s %16s\n", "", "CPU s/camera", "peak MB/camera");
    std::printf("%-26s %12.3f %16.2f   (exit %d; %d connected, %d recording, %d segments, %d lost streams, "
                "%d connects retried)\n",
                "ours (CWebWatchNB)", ourCpu, ourMem, o1.status, connected, recording, segments, lost, retries);
    std::printf("%-26s %12.3f %16.2f   (exit %d; %d streams reported)\n", "anchor (vxnet + vxplay)", ancCpu, ancMem,
                a1.status, anchorStreams);
    std::printf("%-26s %12.3f %16.3f\n", "ratio ours/anchor", cpuRatio, memRatio);
    std::printf("extra per camera: CPU %+.1f %%, memory %+.1f %%; goal CPU within 10 %% of the anchor: %s\n",
                (cpuRatio - 1) * 100, (memRatio - 1) * 100, cpuRatio <= 1.10 ? "met" : "MISSED");
    std::filesystem::remove_all(root);
    return o1.status == 0 && connected == n ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strncmp(argv[1], "--child-", 8) == 0)
        return childMain(argc, argv);
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--cameras" && hasValue && parseCounts(argv[i + 1], o.cameras)) {
            ++i;
        } else if (a == "--seconds" && hasValue && parseInt(argv[i + 1], 4, 3600, o.seconds)) {
            ++i;
        } else if (a == "--segment" && hasValue && parseInt(argv[i + 1], 2, 3600, o.segmentSeconds)) {
            ++i;
        } else if (a == "--quick") {
            o.cameras = {4};
            o.seconds = 8;
            o.segmentSeconds = 4;
        } else {
            std::fprintf(stderr, "usage: bench_webwatch [--cameras N[,N...]] [--seconds S] [--segment S] [--quick]\n"
                                 "  --cameras N  record-only objects beside as many plain recordings (64,300)\n"
                                 "  --seconds S  recording time per camera (30)\n"
                                 "  --segment S  segment length (10)\n");
            return a == "--help" ? 0 : 64;
        }
    }
    int worst = 0;
    for (int n : o.cameras) {
        int r = runOnce(n, o);
        worst = r > worst ? r : worst;
    }
    return worst;
}
