// The real program recording camsim ended from outside: SIGTERM (a service
// stop, kill, a logout) runs the same exit as a second start's "-exit", a
// second signal during that exit ends it at once, and a display that goes
// away ends it without a crash.
#include "program_instance.h"

#include "support/CamsimProcess.h"
#include "support/RunCommand.h"

#include <dirent.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>

using namespace progtest;

namespace {

using Clock = std::chrono::steady_clock;

// One camera that records all week; ten-second groups of pictures, so a
// program that dies instead of closing its file loses seconds of them.
class RecordingFolder {
public:
    explicit RecordingFolder(const CamsimProcess& cam)
    {
        std::ofstream(f.dir.file("config/vxkstcfg.ini")) << "[Config]\nlog_level=4\nDataType=1\n"
                                                            "[SysParam]\nStartRecord=1\nRecordLength=5\nFreeSpace=0\n";
        sqlite3* db = nullptr;
        sqlite3_open(f.dir.file("VXKST.sqlite").c_str(), &db);
        std::string hours;
        for (int h = 0; h < 24; ++h)
            hours += std::to_string(h) + ",";
        std::string sql =
            "CREATE TABLE TBL_CAMERA (CAMERAID INTEGER PRIMARY KEY AUTOINCREMENT, IP TEXT, NAME TEXT, PORT INTEGER, "
            "CHANNEL INTEGER, UID TEXT, PWD TEXT, TYPE INTEGER, STREAM INTEGER, RTSP INTEGER, PIN TEXT, FLAG INTEGER);"
            "CREATE TABLE TBL_CHANNEL_LIST (CAMERAID INTEGER PRIMARY KEY, MON_SREC_TIME TEXT, TUE_SREC_TIME TEXT, "
            "WED_SREC_TIME TEXT, THU_SREC_TIME TEXT, FRI_SREC_TIME TEXT, SAT_SREC_TIME TEXT, SUN_SREC_TIME TEXT, "
            "MON_NACT_TIME TEXT, TUE_NACT_TIME TEXT, WED_NACT_TIME TEXT, THU_NACT_TIME TEXT, FRI_NACT_TIME TEXT, "
            "SAT_NACT_TIME TEXT, SUN_NACT_TIME TEXT, REC_ENABLE INTEGER, REC_PATH TEXT, REC_DAYS INTEGER, "
            "REC_DURATION INTEGER, FLAG INTEGER);"
            "INSERT INTO TBL_CAMERA(IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, PIN, FLAG) VALUES("
            "'127.0.0.1', 'A', "
            + std::to_string(cam.httpPort()) + ", 0, 'admin', 'admin', 2, 0, " + std::to_string(cam.rtspPort())
            + ", '', 0);INSERT INTO TBL_CHANNEL_LIST VALUES(1";
        for (int d = 0; d < 7; ++d)
            sql += ", '" + hours + "'";
        for (int d = 0; d < 7; ++d)
            sql += ", ''";
        sql += ", 1, '', 7, 0, 0);";
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    std::vector<std::string> Segments() const
    {
        std::vector<std::string> files;
        if (DIR* d = opendir(folder().c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n.size() == 18 && n.compare(14, 4, ".mp4") == 0)
                    files.push_back(folder() + n);
            }
            closedir(d);
        }
        std::sort(files.begin(), files.end());
        return files;
    }
    std::string folder() const { return f.dir.file("movies/Camera-1/"); }
    // The broadcast socket a running program listens on.
    std::string Socket(pid_t pid) const { return f.dir.file("rt/w-" + std::to_string(pid) + ".sock"); }

    // Waits for the first segment; when it appeared.
    bool WaitForSegment(Clock::time_point& appeared) const
    {
        bool ok = WaitUntil([&] { return !Segments().empty(); }, 30);
        appeared = Clock::now();
        return ok;
    }

    Folder f;
};

CamsimProcess LongGroups()
{
    return CamsimProcess({"--family", "DY", "--fps", "15", "--keyint", "150"});
}

double Duration(const std::string& path)
{
    return atof(
        vxtest::runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null")
            .c_str());
}

double SecondsSince(Clock::time_point t)
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// What an orderly end leaves: the exit in the log, the segment closed with
// everything up to the end (not only up to its last key frame), no socket,
// no crash report.
void ExpectOrderlyEnd(const RecordingFolder& r, pid_t pid, const char* why, double recordedSeconds)
{
    const std::string log = r.f.Log();
    EXPECT_NE(log.find(why), std::string::npos) << log;
    EXPECT_NE(log.find("CMainDlg::DoExit done"), std::string::npos) << log;
    EXPECT_EQ(access(r.Socket(pid).c_str(), F_OK), -1) << "the socket is left behind";
    EXPECT_EQ(access(r.f.dir.file("VXKST.crash").c_str(), F_OK), -1) << "a crash report";
    const auto segments = r.Segments();
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_GE(Duration(segments[0]), recordedSeconds - 1.0) << "the open fragment is lost";
}

TEST(ProgramEnd, SigtermEndsTheProgramAsAnExitDoes)
{
    CamsimProcess cam = LongGroups();
    ASSERT_TRUE(cam.ok()) << cam.error();
    RecordingFolder r(cam);
    Instance program(r.f, {});
    Clock::time_point appeared;
    ASSERT_TRUE(r.WaitForSegment(appeared)) << r.f.Log();
    const pid_t pid = program.pid();
    EXPECT_EQ(access(r.Socket(pid).c_str(), F_OK), 0);
    std::this_thread::sleep_for(std::chrono::seconds(7));
    const double recorded = SecondsSince(appeared);
    kill(pid, SIGTERM);
    const int status = program.Wait(30);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ExpectOrderlyEnd(r, pid, "CMainDlg::OnEndSession", recorded);
}

TEST(ProgramEnd, ASecondSignalDuringTheExitEndsAtOnce)
{
    CamsimProcess cam = LongGroups();
    ASSERT_TRUE(cam.ok()) << cam.error();
    RecordingFolder r(cam);
    Instance program(r.f, {});
    Clock::time_point appeared;
    ASSERT_TRUE(r.WaitForSegment(appeared)) << r.f.Log();
    // The kernel keeps one pending signal of a kind, so a second SIGTERM
    // sent this soon could merge with the first; a SIGINT cannot.
    kill(program.pid(), SIGTERM);
    kill(program.pid(), SIGINT);
    const int status = program.Wait(30);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_TRUE(WTERMSIG(status) == SIGINT || WTERMSIG(status) == SIGTERM) << WTERMSIG(status);
    EXPECT_EQ(access(r.f.dir.file("VXKST.crash").c_str(), F_OK), -1);
}

// An X server of the test's own on a free display number.
class Xvfb {
public:
    Xvfb()
    {
        if (vxtest::runCommand("command -v Xvfb").empty())
            return;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-nolisten", "tcp", "-screen", "0", "1280x800x24"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number;
        char c;
        while (m_pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            m_display = ":" + number;
    }
    ~Xvfb() { Stop(); }
    void Stop()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

TEST(ProgramEnd, ALostDisplayEndsTheProgramWithoutACrash)
{
    Xvfb x;
    if (x.display().empty())
        GTEST_SKIP() << "Xvfb is not installed: the lost display is not tried";
    CamsimProcess cam = LongGroups();
    ASSERT_TRUE(cam.ok()) << cam.error();
    RecordingFolder r(cam);
    Instance program(r.f, {}, false, {"DISPLAY=" + x.display(), "QT_QPA_PLATFORM=xcb"});
    Clock::time_point appeared;
    ASSERT_TRUE(r.WaitForSegment(appeared)) << r.f.Log();
    std::this_thread::sleep_for(std::chrono::seconds(7));
    const double recorded = SecondsSince(appeared);
    const pid_t pid = program.pid();
    x.Stop();
    const int status = program.Wait(30);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ExpectOrderlyEnd(r, pid, "CMainDlg::OnEndSession", recorded);
}

}  // namespace
