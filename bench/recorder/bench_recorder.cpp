// The recorder program recording N cameras (rows that all point at one
// simulated camera replaying 1920x1080, 25 fps, 4 Mbit/s, a key frame every
// 2 s, G.711 sound), continuously in one-minute segments for a given time,
// ended by a second start with "-exit"; beside it in the same run the anchor:
// N ffmpeg processes recording a second simulated camera into 60-second
// segments. Printed per stream: CPU seconds per 30 s (wait4 usage) and
// memory (the program's peak RSS less its peak RSS with the same cameras
// listed and none started; the anchor's average peak RSS), their ratios, and the
// packets of every segment the program closed: taken into the file against
// received while the file was open, summed per camera from its log.
//
//   bench_recorder [--cameras N[,N...]] [--seconds S] [--anchor-max K]
//
// --anchor-max K runs the anchor on the first K cameras only (its figures
// are per stream): one ffmpeg process per camera does not fit in memory at 300.
//
// Goals: at most a third of the anchor's CPU, at most 8 MB per stream, no
// packet lost at 64 cameras.

#include "bench/support/ChildRun.h"
#include "support/CamsimProcess.h"
#include "support/FileBytes.h"
#include "support/WaitUntil.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

const std::string kProgram = std::string(VX_BIN_DIR) + "/VXKST-HD";

using vxtest::ReadFile;
using vxtest::WriteFile;

using vxtest::WaitUntil;

// A program folder with N cameras on one camera's ports.
struct Folder {
    std::string dir;
    Folder(const CamsimProcess& cam, int n, bool start)
    {
        char tmpl[] = "/tmp/vxkst-bench.XXXXXX";
        dir = mkdtemp(tmpl);
        mkdir((dir + "/config").c_str(), 0700);
        mkdir((dir + "/rt").c_str(), 0700);
        WriteFile(dir + "/config/vxkstskin.ini",
                  ReadFile(std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini"));
        WriteFile(dir + "/config/vxkstcfg.ini",
                  std::string("[Config]\nlog_level=4\nDataType=1\n[SysParam]\nStartRecord=") + (start ? "1" : "0")
                      + "\nRecordLength=1\nFreeSpace=0\n");
        std::string hours;
        for (int h = 0; h < 24; ++h)
            hours += std::to_string(h) + ",";
        std::string sql =
            "CREATE TABLE TBL_CAMERA (CAMERAID INTEGER PRIMARY KEY AUTOINCREMENT, IP TEXT, NAME TEXT, PORT INTEGER, "
            "CHANNEL INTEGER, UID TEXT, PWD TEXT, TYPE INTEGER, STREAM INTEGER, RTSP INTEGER, PIN TEXT, FLAG "
            "INTEGER);\nCREATE TABLE TBL_CHANNEL_LIST (CAMERAID INTEGER PRIMARY KEY, MON_SREC_TIME TEXT, "
            "TUE_SREC_TIME TEXT, WED_SREC_TIME TEXT, THU_SREC_TIME TEXT, FRI_SREC_TIME TEXT, SAT_SREC_TIME TEXT, "
            "SUN_SREC_TIME TEXT, MON_NACT_TIME TEXT, TUE_NACT_TIME TEXT, WED_NACT_TIME TEXT, THU_NACT_TIME TEXT, "
            "FRI_NACT_TIME TEXT, SAT_NACT_TIME TEXT, SUN_NACT_TIME TEXT, REC_ENABLE INTEGER, REC_PATH TEXT, "
            "REC_DAYS INTEGER, REC_DURATION INTEGER, FLAG INTEGER);\nBEGIN;\n";
        for (int i = 1; i <= n; ++i) {
            sql += "INSERT INTO TBL_CAMERA VALUES(" + std::to_string(i) + ", '127.0.0.1', 'cam" + std::to_string(i)
                   + "', " + std::to_string(cam.httpPort()) + ", 0, 'admin', 'admin', 2, 0, "
                   + std::to_string(cam.rtspPort()) + ", '', 0);\nINSERT INTO TBL_CHANNEL_LIST VALUES("
                   + std::to_string(i);
            for (int d = 0; d < 7; ++d)
                sql += ", '" + hours + "'";
            for (int d = 0; d < 7; ++d)
                sql += ", ''";
            sql += ", 1, '', 7, 0, 0);\n";
        }
        sql += "COMMIT;\n";
        WriteFile(dir + "/schema.sql", sql);
        std::system(("sqlite3 '" + dir + "/VXKST.sqlite' < '" + dir + "/schema.sql'").c_str());
    }
    ~Folder() { std::filesystem::remove_all(dir); }
    std::string Log() const { return ReadFile(dir + "/vxkst.log"); }
};

pid_t Spawn(const Folder& f, std::vector<std::string> args)
{
    std::vector<std::string> env = {"VX_PROGRAM_DIR=" + f.dir, "VX_RUNTIME_DIR=" + f.dir + "/rt",
                                    "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e) {
        std::string v = *e;
        if (v.rfind("VX_", 0) && v.rfind("QT_QPA_PLATFORM=", 0) && v.rfind("DISPLAY=", 0)
            && v.rfind("WAYLAND_DISPLAY=", 0))
            env.push_back(v);
    }
    args.insert(args.begin(), kProgram);
    std::vector<char*> argv, envp;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, kProgram.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    return pid;
}

void Exit(const Folder& f)
{
    pid_t ender = Spawn(f, {"-exit"});
    vxbench::waitChild(ender);
}

// The process's peak resident size so far.
long PeakRssKb(pid_t pid)
{
    std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
    size_t at = status.find("VmHWM:");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + 6);
}

// The program with the cameras listed and none started: its peak then, so
// that the recording program's peak less it is what recording added (peak
// against peak, as the anchor's figure is).
long ListedRssKb(const CamsimProcess& cam, int n)
{
    Folder f(cam, n, false);
    pid_t pid = Spawn(f, {});
    WaitUntil([&] { return f.Log().find("CMainDlg::OnInitDialog") != std::string::npos; }, 30);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    long rss = PeakRssKb(pid);
    Exit(f);
    vxbench::waitChild(pid);
    return rss;
}

pid_t StartAnchor(const std::string& url, int seconds, const std::string& dir)
{
    const std::string t = std::to_string(seconds);
    const std::string out = dir + "/%03d.mp4";
    pid_t pid = fork();
    if (pid == 0) {
        execlp("ffmpeg", "ffmpeg", "-nostdin", "-loglevel", "error", "-rtsp_transport", "tcp", "-i", url.c_str(), "-t",
               t.c_str(), "-c:v", "copy", "-c:a", "aac", "-f", "segment", "-segment_time", "60",
               "-segment_format_options", "movflags=frag_keyframe+empty_moov", out.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

struct Packets {
    long long taken = 0, received = 0, files = 0;
};

// Sums the close lines of the log per camera folder.
std::map<int, Packets> PacketsOf(const std::string& log)
{
    std::map<int, Packets> per;
    static const std::regex line(R"(closed .*Camera-(\d+)/\d+\.mp4, \d+ packets, took (\d+) of (\d+) received)");
    std::istringstream in(log);
    std::string l;
    while (std::getline(in, l)) {
        std::smatch m;
        if (std::regex_search(l, m, line)) {
            Packets& p = per[std::stoi(m[1])];
            p.taken += std::stoll(m[2]);
            p.received += std::stoll(m[3]);
            ++p.files;
        }
    }
    return per;
}

int Run(int n, int seconds, int anchorMax)
{
    const std::vector<std::string> cam = {"--replay",  "--width", "1920",     "--height", "1080",     "--fps", "25",
                                          "--bitrate", "4000",    "--keyint", "50",       "--family", "DY"};
    CamsimProcess ours(cam), theirs(cam);
    if (!ours.ok() || !theirs.ok()) {
        std::fprintf(stderr, "bench_recorder: camsim did not start\n");
        return 1;
    }
    const long listedKb = ListedRssKb(ours, n);

    Folder f(ours, n, true);
    std::string anchorDir = f.dir + "/anchor";
    std::vector<pid_t> anchors;
    const int anchorCount = anchorMax > 0 ? std::min(anchorMax, n) : n;
    for (int i = 0; i < anchorCount; ++i) {
        std::string d = anchorDir + "/" + std::to_string(i);
        std::filesystem::create_directories(d);
        anchors.push_back(StartAnchor(theirs.rtspUrl("/"), seconds, d));
    }
    pid_t program = Spawn(f, {});
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    Exit(f);
    vxbench::Usage oursUse = vxbench::waitChild(program);
    double anchorCpu = 0, anchorRss = 0;
    int anchorFailed = 0;
    for (pid_t a : anchors) {
        vxbench::Usage u = vxbench::waitChild(a);
        anchorCpu += u.cpuSeconds;
        anchorRss += static_cast<double>(u.maxRssKb);
        anchorFailed += u.status != 0;
    }

    const double per30 = 30.0 / seconds;
    const double oursCpu = oursUse.cpuSeconds / n * per30;
    const double theirCpu = anchorCpu / anchorCount * per30;
    const double oursMem = static_cast<double>(oursUse.maxRssKb - listedKb) / n / 1024.0;
    const double theirMem = anchorRss / anchorCount / 1024.0;
    std::printf("\n%d cameras, %d s, 1920x1080 25 fps 4 Mbit/s, one-minute segments\n", n, seconds);
    std::printf("%-22s %18s %18s\n", "", "CPU s/stream/30 s", "MB per stream");
    std::printf("%-22s %18.3f %18.2f   (exit status %d, listed %ld KB, peak %ld KB)\n", "VXKST-HD", oursCpu, oursMem,
                oursUse.status, listedKb, oursUse.maxRssKb);
    std::printf("%-22s %18.3f %18.2f   (%d ffmpeg process%s%s)\n", "anchor (ffmpeg)", theirCpu, theirMem,
                anchorCount, anchorCount == 1 ? "" : "es", anchorFailed ? ", some failed" : "");
    std::printf("%-22s %18.2f %18.2f   (goals: CPU <= 0.33, memory <= 8 MB)\n", "ratio ours/anchor",
                theirCpu > 0 ? oursCpu / theirCpu : 0.0, theirMem > 0 ? oursMem / theirMem : 0.0);

    std::map<int, Packets> packets = PacketsOf(f.Log());
    long long taken = 0, received = 0, files = 0;
    int lossy = 0;
    for (const auto& [id, p] : packets) {
        taken += p.taken;
        received += p.received;
        files += p.files;
        lossy += p.taken != p.received;
    }
    std::printf("packets: %lld segments of %zu cameras, %lld taken of %lld received, %d cameras lost packets\n", files,
                packets.size(), taken, received, lossy);
    if (static_cast<int>(packets.size()) < n)
        std::printf("         %d cameras closed no segment\n", n - static_cast<int>(packets.size()));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts = {8, 64};
    int seconds = 150;
    int anchorMax = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--cameras" && i + 1 < argc) {
            counts.clear();
            std::stringstream ss(argv[++i]);
            std::string item;
            while (std::getline(ss, item, ','))
                counts.push_back(std::max(1, std::min(300, std::atoi(item.c_str()))));
        } else if (a == "--seconds" && i + 1 < argc) {
            seconds = std::max(10, std::atoi(argv[++i]));
        } else if (a == "--anchor-max" && i + 1 < argc) {
            anchorMax = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_recorder [--cameras N[,N...]] [--seconds S] [--anchor-max K]\n");
            return 2;
        }
    }
    signal(SIGPIPE, SIG_IGN);
    int rc = 0;
    for (int n : counts)
        rc |= Run(n, seconds, anchorMax);
    return rc;
}
