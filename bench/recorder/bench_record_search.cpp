// The recording search over a month of one-minute segments (43,200 empty
// files dated by their names) and 500 other files, beside `find` and
// `ls -l` listing the same folder in the same run. Prints each time and its
// ratio to the anchor:
//   SearchFiles for a month, a day and an hour against `find -name '*.mp4'`,
//   the dialog's whole search (scan and list, offscreen) against `ls -l`.
//   bench_record_search [folder]   (default: a fresh temporary folder)

#include "recorder/CGlobalInfo.h"
#include "recorder/CRecordQueryDlg.h"
#include "recorder/CSearchRecordFile.h"
#include "support/LocalTime.h"

#include "platform/platform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

using vxtest::LocalTime;

void Fill(const std::string& dir)
{
    // 30 days of March 2024, one segment a minute.
    const time_t first = LocalTime(2024, 3, 1, 0, 0, 0);
    char name[64];
    for (int i = 0; i < 30 * 24 * 60; ++i) {
        const time_t start = first + time_t(i) * 60;
        struct tm t = {};
        localtime_r(&start, &t);
        strftime(name, sizeof name, "%Y%m%d%H%M%S.mp4", &t);
        const std::string path = dir + name;
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            continue;
        struct timespec times[2] = {{start + 60, 0}, {start + 60, 0}};
        futimens(fd, times);
        ::close(fd);
    }
    for (int i = 0; i < 500; ++i) {
        std::snprintf(name, sizeof name, "note-%03d.txt", i);
        ::close(::open((dir + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    }
}

double RunCommand(const std::string& cmd)
{
    auto t0 = Clock::now();
    if (std::system((cmd + " >/dev/null 2>&1").c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", cmd.c_str());
    return Seconds(t0);
}

double TimeSearch(const std::string& dir, COleDateTime from, COleDateTime to, INT_PTR* found)
{
    CSearchRecordFile search;
    CArray<STRecordFileKst> results;
    auto t0 = Clock::now();
    search.SearchFiles(from, to, dir.c_str(), results);
    double s = Seconds(t0);
    *found = results.GetSize();
    return s;
}

// The dialog of a program whose one camera records into `dir`: opening,
// then a click on search for the whole month, timed to the filled list.
double TimeDialogSearch(const std::string& programDir, const std::string& dir, int* rows)
{
    CGlobalInfo& g = GlobalInfo();
    std::filesystem::create_directories(programDir + "config");
    FILE* f = std::fopen((programDir + "config/vxkstcfg.ini").c_str(), "w");
    if (f) {
        std::fputs("[Config]\nDataType=1\n", f);
        std::fclose(f);
    }
    HMODULE lib = LoadLibraryA("VXKSTRes.dll");
    HINSTANCE res = lib ? vxw::ResourceModuleOfLibrary(lib) : nullptr;
    AfxSetResourceHandle(res);
    g.m_hSkinModule = res;
    g.LoadConfig(programDir.c_str());
    STIPCfgKst cam;
    cam.CAMERAID = -1;
    CopyTextField(cam.NAME, "bench");
    CopyTextField(cam.IP, "127.0.0.1");
    cam.TYPE = 2;
    const int id = g.m_db.SaveCamera(cam);
    CArray<STCameraInfoKst> plans;
    STCameraInfoKst plan;
    plan.CAMERAID = id;
    CopyTextField(plan.REC_PATH, dir.c_str());
    plans.Add(plan);
    g.m_db.SaveSchedules(plans, -1, FALSE);
    g.m_arrCameras.RemoveAll();
    g.m_db.LoadCameras(g.m_arrCameras);

    double seconds = -1;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        auto& dlg = static_cast<CRecordQueryDlg&>(d);
        dlg.m_dtStartDate.SetDate(2024, 3, 1);
        dlg.m_dtEndDate.SetDate(2024, 3, 31);
        dlg.m_dtStartTime.SetTime(0, 0, 0);
        dlg.m_dtEndTime.SetTime(23, 59, 59);
        dlg.UpdateData(FALSE);
        HWND button = ::GetDlgItem(dlg.GetSafeHwnd(), 242);
        auto t0 = Clock::now();
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(242, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        seconds = Seconds(t0);
        *rows = dlg.List().GetItemCount();
        dlg.EndDialog(IDCANCEL);
    });
    {
        CRecordQueryDlg dlg;
        dlg.DoModal();
    }
    vxw::test::SetModalDialogHook(nullptr);
    g.FreeAll();
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string base;
    if (argc > 1) {
        base = argv[1];
    } else {
        char tmpl[] = "/tmp/vx-bench-search-XXXXXX";
        if (!mkdtemp(tmpl))
            return 1;
        base = tmpl;
    }
    const std::string dir = base + "/segments/";
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", (base + "/xdg").c_str(), 1);
    std::printf("filling %s ...\n", dir.c_str());
    Fill(dir);
    // A first listing brings the folder into the cache for every side.
    RunCommand("ls -f '" + dir + "'");

    const double find = RunCommand("find '" + dir + "' -maxdepth 1 -name '*.mp4' -printf '%f %s %T@\\n'");
    const double ls = RunCommand("ls -l --full-time '" + dir + "'");
    std::printf("anchor  find -name '*.mp4'        %8.3f s\n", find);
    std::printf("anchor  ls -l --full-time         %8.3f s\n", ls);

    const struct {
        const char* what;
        COleDateTime from, to;
    } ranges[] = {
        {"month", COleDateTime(2024, 3, 1, 0, 0, 0), COleDateTime(2024, 3, 31, 0, 0, 0)},
        {"day", COleDateTime(2024, 3, 15, 0, 0, 0), COleDateTime(2024, 3, 15, 23, 59, 59)},
        {"hour", COleDateTime(2024, 3, 15, 10, 0, 0), COleDateTime(2024, 3, 15, 11, 0, 0)},
    };
    for (const auto& r : ranges) {
        INT_PTR found = 0;
        const double s = TimeSearch(dir, r.from, r.to, &found);
        std::printf("SearchFiles %-5s %6ld files   %8.3f s   %.2f x find (goal 2)\n", r.what, static_cast<long>(found),
                    s, s / find);
    }

    if (!vxw::InitGuiThread()) {
        std::fprintf(stderr, "no GUI thread\n");
        return 1;
    }
    int rows = 0;
    const double dialog = TimeDialogSearch(base + "/program/", dir, &rows);
    std::printf("dialog search month %6d rows    %8.3f s   %.2f x ls -l (goal 5)\n", rows, dialog, dialog / ls);
    vxw::ShutdownGuiThread();

    if (argc <= 1)
        std::filesystem::remove_all(base);
    return 0;
}
