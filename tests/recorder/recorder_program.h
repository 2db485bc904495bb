#pragma once
// A recorder in process for the recording and command tests: its own
// program folder (configuration, shipped skin, database), cameras written
// straight into the database, the main window run offscreen, and helpers
// that watch a row's status while the window's loop runs.

#include "recorder_test_env.h"

#include "camera/session/CWebWatchBase.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/CMainDlg.h"
#include "resources/VXKSTRes/resource.h"
#include "support/CamsimProcess.h"
#include "support/RunCommand.h"
#include "utility/vx_log.h"

#include <dirent.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace rectest {

// The text a status code shows in column 0.
inline CString StatusText(int code)
{
    switch (code) {
    case 0:
        return Text(IDS_STATE_STOPPED);
    case 1:
        return Text(IDS_STATE_IDLE);
    case 2:
        return Text(IDS_STATE_RECORDING);
    case 3:
        return Text(IDS_STATE_OFF_SCHEDULE);
    case 4:
        return Text(IDS_STATE_DISABLED);
    case 5:
        return Text(IDS_STATE_DISK_LOW);
    case 7:
        return Text(IDS_STATE_WAIT_MOTION);
    case 16:
        return Text(IDS_STATE_NO_CAMERA);
    case 17:
        return Text(IDS_STATE_CONNECT_FAILED);
    case 18:
        return Text(IDS_STATE_PLAY_FAILED);
    default:
        return CString();
    }
}

enum class Hours { All, None, Motion };

struct Camera {
    std::string host = "127.0.0.1";
    int httpPort = 80;
    int rtspPort = 554;
    int type = 2;
    int stream = 0;
    int channel = 0;
    std::string name = "cam";
    std::string user = "admin";
    std::string password = "admin";
    Hours hours = Hours::All;
    int enable = 1;
    std::string folder;  // empty: the default folder
};

inline Camera CameraOf(const CamsimProcess& cam, Hours hours = Hours::All)
{
    Camera c;
    c.httpPort = cam.httpPort();
    c.rtspPort = cam.rtspPort();
    c.hours = hours;
    return c;
}

// A loopback port below 20000 that nothing listens on now: the camera
// dialog admits RTSP ports up to 20000 only.
inline int FreeLowPort()
{
    static int next = 15000 + (getpid() * 7) % 4000;
    for (int tries = 0; tries < 4000; ++tries) {
        int port = next;
        next = next >= 19990 ? 15000 : next + 1;
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool free = bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(fd);
        if (free)
            return port;
    }
    return 0;
}

inline std::vector<std::string> SegmentsIn(const std::string& dir)
{
    std::vector<std::string> files;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".mp4") == 0)
                files.push_back(n);
        }
        closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline long long FileSize(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

class Program {
public:
    explicit Program(const std::string& sysParam = "RecordLength=1\nFreeSpace=0\nStartRecord=0\n",
                     const std::string& config = "")
    {
        mkdir(dir.file("config").c_str(), 0700);
        WriteFile(dir.file("config/vxkstskin.ini"),
                  ReadFile(std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini"));
        WriteFile(dir.file("config/vxkstcfg.ini"), "[Config]\nDataType=1\n" + config + "[SysParam]\n" + sysParam);
        CGlobalInfo& g = GlobalInfo();
        AfxSetResourceHandle(ResourceLibrary());
        g.m_hSkinModule = ResourceLibrary();
        g.LoadConfig((dir.path() + "/").c_str());
        CWebWatchBase::SetPreRecLen(g.m_nPreRecLen);
        CWebWatchBase::SetRecLenSwitch(0);
    }

    static std::string HourList(bool on)
    {
        std::string s;
        for (int h = 0; on && h < 24; ++h)
            s += std::to_string(h) + ",";
        return s;
    }

    // Writes a camera row and its schedule row; the camera's id.
    int Add(const Camera& c)
    {
        sqlite3* db = nullptr;
        sqlite3_open(GlobalInfo().m_strSqlitePath, &db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO TBL_CAMERA(IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, PIN, FLAG) "
                           "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, '', 0)",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, c.host.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, c.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, c.httpPort);
        sqlite3_bind_int(st, 4, c.channel);
        sqlite3_bind_text(st, 5, c.user.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 6, c.password.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 7, c.type);
        sqlite3_bind_int(st, 8, c.stream);
        sqlite3_bind_int(st, 9, c.rtspPort);
        sqlite3_step(st);
        sqlite3_finalize(st);
        int id = static_cast<int>(sqlite3_last_insert_rowid(db));
        sqlite3_close(db);
        SetSchedule(id, c.hours, c.enable, c.folder);
        return id;
    }

    // Replaces a camera's schedule row.
    void SetSchedule(int id, Hours hours, int enable = 1, const std::string& folder = "")
    {
        sqlite3* db = nullptr;
        sqlite3_open(GlobalInfo().m_strSqlitePath, &db);
        std::string cont = HourList(hours == Hours::All), motion = HourList(hours == Hours::Motion);
        std::string sql = "INSERT OR REPLACE INTO TBL_CHANNEL_LIST(CAMERAID, MON_SREC_TIME, TUE_SREC_TIME, "
                          "WED_SREC_TIME, THU_SREC_TIME, FRI_SREC_TIME, SAT_SREC_TIME, SUN_SREC_TIME, MON_NACT_TIME, "
                          "TUE_NACT_TIME, WED_NACT_TIME, THU_NACT_TIME, FRI_NACT_TIME, SAT_NACT_TIME, SUN_NACT_TIME, "
                          "REC_ENABLE, REC_PATH, REC_DAYS, REC_DURATION) VALUES("
                          + std::to_string(id);
        for (int d = 0; d < 7; ++d)
            sql += ", '" + cont + "'";
        for (int d = 0; d < 7; ++d)
            sql += ", '" + motion + "'";
        sql += ", " + std::to_string(enable) + ", ?1, 7, 0)";
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        sqlite3_bind_text(st, 1, folder.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
        sqlite3_close(db);
    }

    // Runs the main window; `check` works it. Other modal dialogs go to
    // `dialogs` (a dialog the window opens), else they are cancelled.
    INT_PTR Run(const std::function<void(CMainDlg&)>& check, const std::function<void(CDialog&)>& dialogs = nullptr)
    {
        GlobalInfo().LoadMainSkin();
        CMainDlg dlg;
        bool ran = false;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            auto* main = dynamic_cast<CMainDlg*>(&d);
            if (!main) {
                if (dialogs)
                    dialogs(d);
                else
                    d.EndDialog(IDCANCEL);
                return;
            }
            if (ran)
                return;
            ran = true;
            check(*main);
            if (::IsWindow(d.GetSafeHwnd()) && !main->IsExiting()) {
                main->DoExit();
                d.EndDialog(IDCANCEL);
            }
        });
        INT_PTR r = dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        GlobalInfo().FreeAll();
        return r;
    }

    std::string CameraFolder(int id) const { return dir.path() + "/movies/Camera-" + std::to_string(id) + "/"; }

    vxtest::TempDir dir;
};

// Watches the status of a row while the window's loop runs; every change is
// kept in `seen`.
class StatusWatch {
public:
    StatusWatch(CMainDlg& dlg, int row) : m_dlg(dlg), m_row(row)
    {
        const int slot = dlg.SlotOfRow(row);
        m_id = slot >= 0 ? dlg.Slot(slot).CAMERAID : 0;
        auto previous = dlg.m_fnStatusApplied;
        dlg.m_fnStatusApplied = [this, previous](const STRecordMsg& m) {
            if (previous)
                previous(m);
            if (m.nCameraID == m_id && m.nState != 6)
                applied.push_back(m.nState);
        };
    }
    ~StatusWatch() { m_dlg.m_fnStatusApplied = nullptr; }
    int Now()
    {
        CString text = m_dlg.List().GetItemText(m_row, 0);
        for (int code : {0, 1, 2, 3, 4, 5, 7, 16, 17, 18}) {
            if (text == StatusText(code))
                return code;
        }
        return -1;
    }
    // Pumps until the status is `code` (true) or ms passed.
    bool WaitFor(int code, DWORD ms)
    {
        return Until([&] { return Now() == code; }, ms);
    }
    bool Until(const std::function<bool()>& cond, DWORD ms)
    {
        return vxw::PumpUntil(
            [&] {
                Note();
                return cond();
            },
            ms);
    }
    void Pump(DWORD ms)
    {
        Until([] { return false; }, ms);
    }
    void Note()
    {
        int now = Now();
        if (seen.empty() || seen.back() != now)
            seen.push_back(now);
    }
    bool Saw(int code) const { return std::find(seen.begin(), seen.end(), code) != seen.end(); }
    std::vector<int> seen;     // what the row showed between pumps
    std::vector<int> applied;  // every status applied to the row

private:
    int m_id = 0;
    CMainDlg& m_dlg;
    int m_row;
};

// The test program's camera library and GUI thread.
class RecorderEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(vxw::InitGuiThread());
        // Warnings and errors only: the library's traces drown the report
        // (VX_TEST_LOG=6 brings them back when a failure needs them).
        const char* level = std::getenv("VX_TEST_LOG");
        vx_log_set_level(level ? std::atoi(level) : 3);
        ASSERT_EQ(CWebWatchBase::InitLib(), 1);
    }
    void TearDown() override
    {
        CWebWatchBase::DeinitLib();
        vxw::ShutdownGuiThread();
    }
};

}  // namespace rectest

#define VX_RECORDER_TEST_MAIN()                                                                                        \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        ::testing::InitGoogleTest(&argc, argv);                                                                        \
        ::testing::AddGlobalTestEnvironment(new rectest::RecorderEnvironment());                                       \
        return RUN_ALL_TESTS();                                                                                        \
    }
