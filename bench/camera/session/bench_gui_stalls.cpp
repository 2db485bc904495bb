// The longest time the GUI thread is kept from its message loop, measured by
// a message that posts itself again each time it is handled (its wait is the
// loop's stall), in four cases, each beside the same figure for the empty
// loop of the same run:
//   (a) the stop of N record-only cameras whose HTTP port takes requests and
//       never answers, as the recorder's "-stop_rec" does it (each camera's
//       calls interrupted, then each thread joined and its object deleted);
//   (b) one motion alarm fanned out to M motion cameras playing 1080p at
//       4 Mbit/s with 5 s of pre-record (StartRecord on the GUI thread);
//   (c) resizing and flipping a camera window every 100 ms while its
//       reconnect worker connects to a camera that answers after 2.5 s;
//   (d) N cameras started at once (objects made and their threads started).
// With --soak MINUTES instead: 8 cameras recording in 10 s segments and 8
// whose logins are refused and 8 that answer every request with 500 (each
// tried again every second), the program's RSS,
// descriptors and threads sampled each minute, and their slopes per minute
// over the samples after the first five minutes (after the first one when
// the soak is shorter).
//
//   bench_gui_stalls [--cameras N] [--motion-cameras M] [--no-interrupt] [--only CASES]
//   bench_gui_stalls --soak MINUTES
//
// VX_BENCH_LOG set in the environment prints the library's errors.
// --no-interrupt stops (a) the way the recorder did before its stop
// interrupted the calls in flight, for the figure before the change.

#include "bench/support/Args.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/platform.h"
#include "platform/ui/GuiRuntime.h"
#include "support/CamsimProcess.h"
#include "utility/vx_log.h"

#include <dirent.h>
#include <malloc.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using vxbench::parseInt;

double MsSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

constexpr UINT kProbeMsg = WM_USER + 501;

// A hidden window whose message posts itself again: the longest wait of that
// message is the longest stall of the loop.
class StallProbe : public CWnd {
public:
    StallProbe() { CreateEx(0, "VxBenchProbe", "probe", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr); }
    ~StallProbe() override
    {
        if (::IsWindow(m_hWnd))
            DestroyWindow();
    }
    void Start()
    {
        m_postedAt = Clock::now();
        PostMessage(kProbeMsg, 0, 0);
    }
    void Reset() { m_maxMs = 0; }
    double MaxMs() const { return m_maxMs; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbeMsg) {
            const double waited = MsSince(m_postedAt);
            if (waited > m_maxMs)
                m_maxMs = waited;
            m_postedAt = Clock::now();
            PostMessage(kProbeMsg, 0, 0);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    Clock::time_point m_postedAt;
    double m_maxMs = 0;
};

// Runs the loop for ms, calling tick (on the GUI thread, between rounds of the
// loop) every tickMs when given; the longest stall meanwhile.
double Measure(StallProbe& probe, DWORD ms, const std::function<void()>& tick = nullptr, DWORD tickMs = 100)
{
    vxw::PumpUntil([] { return false; }, 50);
    probe.Reset();
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        vxw::PumpUntil([] { return false; }, tick ? tickMs : 50);
        if (tick)
            tick();
    }
    vxw::PumpUntil([] { return false; }, 50);
    return probe.MaxMs();
}

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The GUI thread's own CPU time in the last job: a stall much longer than it
// was spent waiting (for a lock, or for a core on a busy machine).
double g_jobCpuMs = -1;
double g_jobWallMs = -1;

// Runs one job on the GUI thread inside the loop and goes on pumping for a
// while after it: the longest stall, the job's own time included.
double MeasureJob(StallProbe& probe, const std::function<void()>& job)
{
    vxw::PumpUntil([] { return false; }, 100);
    probe.Reset();
    const double cpu0 = ThreadCpuMs();
    const auto wall0 = Clock::now();
    job();
    g_jobWallMs = MsSince(wall0);
    g_jobCpuMs = ThreadCpuMs() - cpu0;
    vxw::PumpUntil([] { return false; }, 300);
    return probe.MaxMs();
}

// One record-only camera driven from a thread of its own as the recorder
// drives it: connect (and play), then wait; a stop ends it.
struct Driven {
    std::unique_ptr<CWebWatchNB> camera;
    HANDLE thread = nullptr;
    HANDLE stopEvent = nullptr;
    std::atomic<bool> stop{false};
    std::atomic<int> playing{0};
    bool play = false;

    static DWORD WINAPI Run(LPVOID p)
    {
        auto* d = static_cast<Driven*>(p);
        while (!d->stop) {
            if (d->camera->Connect() && (!d->play || d->camera->StartPlay())) {
                d->playing = 1;
                while (!d->stop && WaitForSingleObject(d->stopEvent, 1000) == WAIT_TIMEOUT) {}
                break;
            }
            if (WaitForSingleObject(d->stopEvent, 3000) == WAIT_OBJECT_0)
                break;
        }
        d->camera->Cleanup();
        return 0;
    }
};

// A camera takes a few hundred clients at most, and N real cameras are N
// peers: one camsim for each hundred cameras; empty when one did not start.
std::vector<std::unique_ptr<CamsimProcess>> StartPeers(int cameras, const std::vector<std::string>& args)
{
    std::vector<std::unique_ptr<CamsimProcess>> sims;
    for (int i = 0; i < (cameras + 99) / 100; ++i) {
        sims.push_back(std::make_unique<CamsimProcess>(args));
        if (!sims.back()->ok()) {
            std::fprintf(stderr, "camsim: %s\n", sims.back()->error().c_str());
            return {};
        }
    }
    return sims;
}

std::vector<const CamsimProcess*> Peers(const std::vector<std::unique_ptr<CamsimProcess>>& sims)
{
    std::vector<const CamsimProcess*> cams;
    for (const auto& sim : sims)
        cams.push_back(sim.get());
    return cams;
}

// Camera i is served by camsim i % the number of them.
std::vector<std::unique_ptr<Driven>> StartCameras(int n, const std::vector<const CamsimProcess*>& cams, bool play,
                                                  CWnd* parent)
{
    std::vector<std::unique_ptr<Driven>> all;
    for (int i = 0; i < n; ++i) {
        const CamsimProcess& cam = *cams[size_t(i) % cams.size()];
        auto d = std::make_unique<Driven>();
        d->camera = std::make_unique<CWebWatchNB>(1, i + 1, 0, parent);
        d->camera->SetCameraInfo(cam.address().c_str(), cam.httpPort(), cam.rtspPort(), 0, 0, "admin", "admin");
        d->camera->SetRecordOnly(1);
        d->play = play;
        d->stopEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
        d->thread = CreateThread(nullptr, 0, &Driven::Run, d.get(), 0, nullptr);
        all.push_back(std::move(d));
    }
    return all;
}

// As the recorder's stop of all: every run told (and its calls interrupted),
// then each joined and its object deleted.
void StopCameras(std::vector<std::unique_ptr<Driven>>& all, bool interrupt)
{
    for (auto& d : all) {
        d->stop = true;
        SetEvent(d->stopEvent);
        if (interrupt)
            d->camera->InterruptSession(1);
    }
    for (auto& d : all) {
        WaitForSingleObject(d->thread, INFINITE);
        CloseHandle(d->thread);
        CloseHandle(d->stopEvent);
        d->camera.reset();
    }
    all.clear();
}

bool WaitPlaying(std::vector<std::unique_ptr<Driven>>& all, DWORD ms)
{
    return vxw::PumpUntil(
        [&] {
            for (auto& d : all) {
                if (!d->playing)
                    return false;
            }
            return true;
        },
        ms);
}

void Report(const char* what, double ms, double anchorMs)
{
    std::printf("%-64s %9.1f ms   (empty loop %6.1f ms)%s", what, ms, anchorMs, ms < 100.0 ? "" : "   over 100 ms");
    if (g_jobCpuMs >= 0)
        std::printf("   the job %.1f ms, of it GUI thread CPU %.1f ms", g_jobWallMs, g_jobCpuMs);
    std::printf("\n");
    std::fflush(stdout);
    g_jobCpuMs = -1;
    g_jobWallMs = -1;
}

struct Options {
    int cameras = 300;
    int motionCameras = 300;
    bool interrupt = true;
    int soakMinutes = 0;
    std::string cases = "abcd";
    bool Runs(char c) const { return cases.find(c) != std::string::npos; }
};

int RunStalls(const Options& o)
{
    CWnd parent;
    parent.CreateEx(0, "VxBenchParent", "parent", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr);
    StallProbe probe;
    probe.Start();
    const double anchor = Measure(probe, 2000);
    std::printf("empty message loop: longest stall %.1f ms over 2 s\n\n", anchor);

    if (o.Runs('a')) {  // (a)
        CamsimProcess hung({"--family", "HX", "--hang", "--no-rtsp"});
        if (!hung.ok()) {
            std::fprintf(stderr, "camsim: %s\n", hung.error().c_str());
            return 1;
        }
        auto all = StartCameras(o.cameras, {&hung}, false, &parent);
        vxw::PumpUntil([] { return false; }, 1500);  // every thread waits inside its connect now
        const double ms = MeasureJob(probe, [&] { StopCameras(all, o.interrupt); });
        char what[128];
        std::snprintf(what, sizeof what, "(a) stop of %d cameras that never answer%s", o.cameras,
                      o.interrupt ? "" : " (not interrupted)");
        Report(what, ms, Measure(probe, 1000));
    }
    if (o.Runs('b')) {  // (b)
        const auto sims = StartPeers(o.motionCameras, {"--family", "HX", "--replay", "--width", "1920", "--height",
                                                       "1080", "--bitrate", "4000", "--fps", "25", "--keyint", "50"});
        if (sims.empty())
            return 1;
        const auto cams = Peers(sims);
        CWebWatchBase::SetPreRecLen(5000);
        CWebWatchBase::SetRecLenSwitch(0);
        auto all = StartCameras(o.motionCameras, cams, true, &parent);
        if (!WaitPlaying(all, 120000)) {
            int playing = 0;
            for (auto& d : all)
                playing += d->playing;
            std::printf("(b) %d of %zu cameras play; measured with those\n", playing, all.size());
        }
        vxw::PumpUntil([] { return false; }, 6000);  // the pre-record fills
        const std::string dir =
            std::filesystem::temp_directory_path().string() + "/bench_gui_stalls_" + std::to_string(getpid()) + "/";
        // A folder for each camera, as the recorder gives them.
        for (size_t i = 0; i < all.size(); ++i)
            std::filesystem::create_directories(dir + "Camera-" + std::to_string(i + 1));
        const double ms = MeasureJob(probe, [&] {
            for (size_t i = 0; i < all.size(); ++i) {
                auto& d = all[i];
                d->camera->SetRecordPath((dir + "Camera-" + std::to_string(i + 1) + "/").c_str());
                d->camera->StartRecord(1);
            }
        });
        char what[128];
        std::snprintf(what, sizeof what, "(b) motion alarm to %d cameras, 1080p 4 Mbit/s, 5 s pre-record",
                      o.motionCameras);
        Report(what, ms, Measure(probe, 1000));
        for (auto& d : all)
            d->camera->StopRecord();
        StopCameras(all, true);
        std::filesystem::remove_all(dir);
        CWebWatchBase::SetPreRecLen(0);
    }
    if (o.Runs('c')) {  // (c)
        CamsimProcess slow({"--family", "HX", "--delay-ms", "2500"});
        if (!slow.ok()) {
            std::fprintf(stderr, "camsim: %s\n", slow.error().c_str());
            return 1;
        }
        CWebWatchNB camera(1, 1, 0, &parent);
        camera.SetCameraInfo(slow.address().c_str(), slow.httpPort(), slow.rtspPort(), 0, 0, "admin", "admin");
        camera.Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 120), &parent, 1001);
        camera.StartAutoConnect();
        int round = 0;
        const double ms = Measure(probe, 12000, [&] {
            ++round;
            camera.MoveWindow(0, 0, 160 + (round % 2) * 40, 120 + (round % 2) * 30);
            camera.SetFlip();
        });
        Report("(c) resize and flip while the reconnect worker connects (2.5 s)", ms, Measure(probe, 1000));
        camera.StopAutoConnect();
        camera.Cleanup();
        camera.DestroyWindow();
    }
    if (o.Runs('d')) {  // (d)
        const auto sims = StartPeers(o.cameras, {"--family", "HX", "--replay"});
        if (sims.empty())
            return 1;
        const auto cams = Peers(sims);
        std::vector<std::unique_ptr<Driven>> all;
        const double ms = MeasureJob(probe, [&] { all = StartCameras(o.cameras, cams, true, &parent); });
        char what[128];
        std::snprintf(what, sizeof what, "(d) %d cameras started at once", o.cameras);
        Report(what, ms, Measure(probe, 1000));
        WaitPlaying(all, 60000);
        StopCameras(all, true);
    }
    parent.DestroyWindow();
    return 0;
}

// ---- soak ----

long RssKb()
{
    FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long CountIn(const char* dir)
{
    long n = 0;
    if (DIR* d = opendir(dir)) {
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}

double Slope(const std::vector<double>& y, size_t from)
{
    const size_t n = y.size() > from ? y.size() - from : 0;
    if (n < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = from; i < y.size(); ++i) {
        const double x = static_cast<double>(i);
        sx += x;
        sy += y[i];
        sxx += x * x;
        sxy += x * y[i];
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

// A recording camera's thread: segments of 10 s; a closed segment is deleted
// so the disk stays as it was.
struct Recording {
    std::unique_ptr<CWebWatchNB> camera;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::string dir;
    void Run()
    {
        while (!stop) {
            if (!camera->IsLogin() || !camera->IsPlaying()) {
                camera->Cleanup();
                if (!camera->Connect() || !camera->StartPlay()) {
                    for (int i = 0; i < 30 && !stop; ++i)
                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    continue;
                }
                camera->SetRecordPath(dir.c_str());
                camera->StartRecord(1);
            }
            for (int i = 0; i < 100 && !stop; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            camera->StopRecord();
            std::filesystem::remove(static_cast<const char*>(camera->GetLastRecordFile()));
            camera->StartRecord(1);
        }
        camera->StopRecord();
        camera->Cleanup();
    }
};

// A camera that never logs in, tried again every second.
struct Refused {
    std::unique_ptr<CWebWatchNB> camera;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<long> attempts{0};
    void Run()
    {
        while (!stop) {
            camera->Connect();
            camera->Cleanup();
            ++attempts;
            for (int i = 0; i < 10 && !stop; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
};

int RunSoak(int minutes)
{
    CamsimProcess good({"--family", "HX", "--replay"});
    CamsimProcess refusing({"--family", "HX", "--refuse-login", "--no-rtsp"});
    CamsimProcess erring({"--family", "HX", "--http-error", "500", "--no-rtsp"});
    if (!good.ok() || !refusing.ok() || !erring.ok()) {
        std::fprintf(stderr, "camsim did not start\n");
        return 1;
    }
    CWebWatchBase::SetPreRecLen(5000);
    CWebWatchBase::SetRecLenSwitch(0);
    const std::string dir =
        std::filesystem::temp_directory_path().string() + "/bench_soak_" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(dir);
    std::vector<std::unique_ptr<Recording>> recording;
    std::vector<std::unique_ptr<Refused>> refused;
    for (int i = 0; i < 8; ++i) {
        auto r = std::make_unique<Recording>();
        r->camera = std::make_unique<CWebWatchNB>(1, i + 1, 0, nullptr);
        r->camera->SetCameraInfo(good.address().c_str(), good.httpPort(), good.rtspPort(), 0, 0, "admin", "admin");
        r->camera->SetRecordOnly(1);
        r->dir = dir + "cam" + std::to_string(i) + "/";
        std::filesystem::create_directories(r->dir);
        r->thread = std::thread([p = r.get()] { p->Run(); });
        recording.push_back(std::move(r));
        for (const CamsimProcess* peer : {&refusing, &erring}) {
            auto f = std::make_unique<Refused>();
            f->camera = std::make_unique<CWebWatchNB>(1, int(100 + refused.size()), 0, nullptr);
            f->camera->SetCameraInfo(peer->address().c_str(), peer->httpPort(), 554, 0, 0, "admin", "admin");
            f->camera->SetRecordOnly(1);
            f->thread = std::thread([p = f.get()] { p->Run(); });
            refused.push_back(std::move(f));
        }
    }
    // Beside the RSS, the allocator's own view: what the program holds
    // (in use) and what the allocator keeps free for later, so that growth
    // of the one tells apart from the other.
    std::vector<double> rss, used, kept, fds, threads;
    std::printf("minute   RSS kB  in use kB  kept free kB  descriptors  threads  failed logins\n");
    for (int m = 0; m <= minutes; ++m) {
        if (m > 0)
            std::this_thread::sleep_for(std::chrono::minutes(1));
        long attempts = 0;
        for (auto& f : refused)
            attempts += f->attempts;
        rss.push_back(static_cast<double>(RssKb()));
        const struct mallinfo2 heap = mallinfo2();
        used.push_back(static_cast<double>(heap.uordblks + heap.hblkhd) / 1024.0);
        kept.push_back(static_cast<double>(heap.fordblks) / 1024.0);
        fds.push_back(static_cast<double>(CountIn("/proc/self/fd")));
        threads.push_back(static_cast<double>(CountIn("/proc/self/task")));
        std::printf("%6d %8.0f %10.0f %13.0f %12.0f %8.0f %15ld\n", m, rss.back(), used.back(), kept.back(), fds.back(),
                    threads.back(), attempts);
        std::fflush(stdout);
    }
    for (auto& r : recording)
        r->stop = true;
    for (auto& f : refused)
        f->stop = true;
    for (auto& r : recording)
        r->thread.join();
    for (auto& f : refused)
        f->thread.join();
    recording.clear();
    refused.clear();
    std::filesystem::remove_all(dir);
    const size_t from = minutes > 5 ? 5 : 1;
    std::printf("\nslopes per minute from minute %zu: RSS %+.1f kB, descriptors %+.2f, threads %+.2f "
                "(goal: RSS under 10 kB); heap in use %+.1f kB, kept free %+.1f kB\n",
                from, Slope(rss, from), Slope(fds, from), Slope(threads, from), Slope(used, from), Slope(kept, from));
    // The allocator settles slowly: the second half of a long soak tells a
    // growth that goes on from one that levels off.
    if (minutes >= 20) {
        const size_t half = size_t(minutes) / 2;
        std::printf("slopes per minute from minute %zu: RSS %+.1f kB, heap in use %+.1f kB, kept free %+.1f kB\n", half,
                    Slope(rss, half), Slope(used, half), Slope(kept, half));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--cameras" && hasValue && parseInt(argv[i + 1], 1, 300, o.cameras)) {
            ++i;
        } else if (a == "--motion-cameras" && hasValue && parseInt(argv[i + 1], 1, 300, o.motionCameras)) {
            ++i;
        } else if (a == "--soak" && hasValue && parseInt(argv[i + 1], 1, 100000, o.soakMinutes)) {
            ++i;
        } else if (a == "--only" && hasValue && std::strlen(argv[i + 1]) > 0
                   && std::strspn(argv[i + 1], "abcd") == std::strlen(argv[i + 1])) {
            o.cases = argv[++i];
        } else if (a == "--no-interrupt") {
            o.interrupt = false;
        } else {
            std::fprintf(stderr,
                         "usage: bench_gui_stalls [--cameras N] [--motion-cameras M] [--no-interrupt] [--only CASES]\n"
                         "       bench_gui_stalls --soak MINUTES\n"
                         "  --cameras N         cameras of the stop and the start (300)\n"
                         "  --motion-cameras M  1080p cameras the motion alarm reaches (300)\n"
                         "  --no-interrupt      stop without interrupting the calls in flight\n"
                         "  --only CASES        the cases to run, of abcd (all)\n"
                         "  --soak MINUTES      8 recording, 8 refused and 8 erring cameras, sampled each minute\n");
            return a == "--help" ? 0 : 64;
        }
    }
    vx_log_set_level(getenv("VX_BENCH_LOG") ? VX_LOG_ERROR : VX_LOG_FATAL);
    if (!vxw::InitGuiThread(argc, argv) || !CWebWatchBase::InitLib())
        return 1;
    const int rc = o.soakMinutes > 0 ? RunSoak(o.soakMinutes) : RunStalls(o);
    CWebWatchBase::DeinitLib();
    vxw::ShutdownGuiThread();
    return rc;
}
