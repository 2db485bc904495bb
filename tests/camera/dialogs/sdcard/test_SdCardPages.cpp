// The memory-card browser pages against camsim's card: a search lists the
// day's recordings, downloads arrive byte for byte into the host's folder,
// a cut file fails alone, Stop ends a slow download at once, and a hostile
// card neither makes the browser loop nor leave "/sd/" nor write outside
// its folder.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/sdcard/CDlgServerFiles.h"
#include "camera/dialogs/vxcam_interface.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "platform/ui/TestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimProcess.h"
#include "support/TempDir.h"
#include "utility/vx_log.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace setup_harness;
constexpr DWORD kCardWait = 30000;  // a search or download on a shared machine

size_t Write(char* data, size_t size, size_t n, void* out)
{
    static_cast<std::string*>(out)->append(data, size * n);
    return size * n;
}

std::string Fetch(const CamsimProcess& cam, const std::string& path)
{
    std::string body;
    CURL* c = curl_easy_init();
    std::string url = cam.httpUrl(path);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_USERPWD, "admin:admin");
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 10000L);
    curl_easy_perform(c);
    curl_easy_cleanup(c);
    return body;
}

std::vector<std::string> LogLines(const std::string& log)
{
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

std::set<std::string> FilesIn(const std::string& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        names.insert(fs::relative(e.path(), dir).string());
    return names;
}

// Every log line at every level while it lives.
class LogCapture {
public:
    LogCapture()
    {
        vx_log_set_level(6);
        m_previous = vx_log_set_log_func(&Capture);
    }
    ~LogCapture()
    {
        vx_log_set_log_func(m_previous);
        vx_log_set_level(4);
        std::lock_guard lock(s_mutex);
        s_lines.clear();
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(s_mutex);
        return s_lines;
    }

private:
    static void Capture(int, const char* line, int length)
    {
        std::lock_guard lock(s_mutex);
        s_lines.emplace_back(line, static_cast<size_t>(length));
    }
    static inline std::mutex s_mutex;
    static inline std::vector<std::string> s_lines;
    vx_log_func m_previous = nullptr;
};

// A settings window on camsim with its record page shown.
struct Fixture {
    // hostFolder false: the host names no download folder.
    explicit Fixture(std::vector<std::string> extra = {}, bool hostFolder = true)
        : log(dir.file("requests.log")), cam(Args(extra, log)), owner(hostFolder ? downloads.path() : std::string())
    {}
    static std::vector<std::string> Args(std::vector<std::string> extra, const std::string& log)
    {
        extra.insert(extra.end(), {"--no-rtsp", "--log", log});
        return extra;
    }
    bool Open(int page = 0)
    {
        STWatchCameraInfo info = CamsimRecord(cam);
        dlg = ShowSetupDlg(owner.GetSafeHwnd(), info);
        if (!dlg || !WaitFor([&] { return Connected(dlg); }, kCardWait))
            return false;
        files = PageAt<CDlgServerFiles>(dlg, 4, page);
        if (!files)
            return false;
        files->ShowWindow(SW_SHOW);
        return true;
    }
    void Close()
    {
        if (!dlg)
            return;
        CloseSetupDlg(dlg);
        dlg = nullptr;
    }
    ~Fixture() { Close(); }

    void Click(int id)
    {
        CWnd* b = files->GetDlgItem(id);
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->IsWindowEnabled()) << "button " << id;
        files->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b->GetSafeHwnd()));
    }
    bool Idle()
    {
        return WaitFor([&] { return !files->IsBusy(); }, kCardWait);
    }
    CListCtrl& List() { return *static_cast<CListCtrl*>(files->GetDlgItem(IDC_SD_LIST)); }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < List().GetItemCount(); ++i)
            names.emplace_back(List().GetItemText(i, 1).view());
        return names;
    }
    void Select(const std::vector<int>& rows)
    {
        for (int i = 0; i < List().GetItemCount(); ++i)
            List().SetItemState(i, 0, LVIS_SELECTED);
        for (int r : rows)
            List().SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    }
    int RowOf(const std::string& name)
    {
        std::vector<std::string> names = Names();
        auto it = std::find(names.begin(), names.end(), name);
        return it == names.end() ? -1 : static_cast<int>(it - names.begin());
    }
    bool Search()
    {
        Click(IDC_SD_SEARCH);
        return Idle();
    }

    vxtest::TempDir dir{"vx-sdpages"};
    // The host's folder lies two levels inside a sandbox, so a name that
    // climbs out of it would still land where the test can see it.
    struct Folder {
        explicit Folder(const vxtest::TempDir& sandbox) : p(sandbox.file("a/b/files")) { fs::create_directories(p); }
        const std::string& path() const { return p; }
        std::string p;
    };
    vxtest::TempDir sandbox{"vx-sdfiles"};
    Folder downloads{sandbox};
    std::string log;
    CamsimProcess cam;
    Owner owner;
    CCameraSetupDlg* dlg = nullptr;
    CDlgServerFiles* files = nullptr;
};

TEST(SdCardPages, SearchListsTheDaysRecordingsAndDownloadsThem)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(std::string(f.files->DownloadFolder().view()), f.downloads.path());
    ASSERT_TRUE(f.Search());
    // Today, 00:00 to 23:59:59: the five recordings, never the index file
    // nor a picture.
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"REC_000000.avi", "REC_100000.avi", "REC_101559.avi",
                                                   "REC_101600.avi", "REC_235959.avi"}));
    EXPECT_TRUE(boxes.calls.empty());

    // The second of three is cut midway: it fails alone, leaves nothing,
    // and the end says so.
    ASSERT_FALSE(f.cam.fault("match=REC_101559&cut=1000").empty());
    f.Select({1, 2, 3});
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    ASSERT_TRUE(WaitFor([&] { return !boxes.calls.empty(); }));
    EXPECT_EQ(boxes.calls.back().text,
              "Download the selected files finished.\n1 of 3 files could not be downloaded:\nREC_101559.avi\n"
              "They are left selected: Download tries them again.");
    EXPECT_EQ(boxes.calls.back().caption, "Record Query");
    EXPECT_EQ(boxes.calls.back().type & MB_ICONMASK, UINT(MB_ICONWARNING));
    EXPECT_EQ(FilesIn(f.downloads.path()), (std::set<std::string>{"REC_100000.avi", "REC_101600.avi"}));
    for (int row : {1, 3}) {
        std::string link(f.List().GetItemText(row, 4).view());
        std::string name(f.List().GetItemText(row, 1).view());
        std::string want = Fetch(f.cam, link);
        ASSERT_FALSE(want.empty());
        EXPECT_EQ(ReadFile(fs::path(f.downloads.path()) / name), want) << name;
    }

    // Only the failed row is left selected, so Download alone retries it.
    std::vector<int> selected;
    for (int i = f.List().GetNextItem(-1, LVNI_SELECTED); i >= 0; i = f.List().GetNextItem(i, LVNI_SELECTED))
        selected.push_back(i);
    EXPECT_EQ(selected, std::vector<int>{2});
    ASSERT_FALSE(f.cam.fault("clear=1").empty());
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    ASSERT_TRUE(WaitFor([&] { return boxes.calls.size() == 2; }));
    EXPECT_EQ(FilesIn(f.downloads.path()),
              (std::set<std::string>{"REC_100000.avi", "REC_101559.avi", "REC_101600.avi"}));

    // Again: the files there are kept, the new ones are numbered, and a
    // download without a failure says only that it finished.
    f.Select({1});
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    EXPECT_TRUE(fs::exists(fs::path(f.downloads.path()) / "REC_100000 (2).avi"));
    ASSERT_TRUE(WaitFor([&] { return boxes.calls.size() == 3; }));
    EXPECT_EQ(boxes.calls.back().text, "Download the selected files finished.");
    EXPECT_EQ(boxes.calls.back().type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(ItemText(f.dlg, IDC_SETUP_STATUS), "Connected");
}

TEST(SdCardPages, FailedDownloadsAreCountedNamedAndLeaveNoFile)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    const std::string today(COleDateTime::GetCurrentTime().Format("/sd/%Y%m%d/record000/").view());
    // The card's files, each with its own fault.
    const std::pair<std::string, std::string> cases[] = {
        {"cut.avi", "size=400000&cut=2000"},
        {"gone.avi", "size=4000&status=404"},
        {"moved.avi", "size=4000&status=302"},
        // A body that never ends is cut at the listed size's bound.
        {"endless.avi", "size=65536&listed=1000K&endless=1"},
        // A body much shorter than the listing says is no file.
        {"short.avi", "size=500&listed=1000K"},
        {"fine.avi", "size=3000"},
    };
    for (const auto& [name, file] : cases)
        ASSERT_EQ(f.cam.get("/camsim/sd?file=" + today + name + "&" + file), "ok\n") << name;
    // Part files a killed run left behind go when the page starts; one that
    // a running download holds stays.
    const fs::path stale = fs::path(f.downloads.path()) / "old.avi.part-0123abcd";
    const fs::path held = fs::path(f.downloads.path()) / "busy.avi.part-89abcdef";
    std::ofstream(stale) << "stale";
    std::ofstream(held) << "held";
    int holder = ::open(held.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    ASSERT_TRUE(f.Open());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(held));
    ::close(holder);
    fs::remove(held);

    ASSERT_TRUE(f.Search());
    std::vector<int> rows;
    for (const auto& c : cases) {
        rows.push_back(f.RowOf(c.first));
        ASSERT_GE(rows.back(), 0) << c.first;
    }
    f.Select(rows);
    auto t0 = std::chrono::steady_clock::now();
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 20.0);
    ASSERT_TRUE(WaitFor([&] { return !boxes.calls.empty(); }));
    const std::string text = boxes.calls.back().text;
    EXPECT_EQ(text.rfind("Download the selected files finished.\n5 of 6 files could not be downloaded:\n", 0), 0u)
        << text;
    for (const char* name : {"cut.avi", "gone.avi", "moved.avi", "endless.avi", "short.avi"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
    EXPECT_EQ(boxes.calls.back().type & MB_ICONMASK, UINT(MB_ICONWARNING));
    // Nothing under a final name but the whole file, no part left.
    EXPECT_EQ(FilesIn(f.downloads.path()), (std::set<std::string>{"fine.avi"}));
}

TEST(SdCardPages, NamesWithControlCharactersShowEscapedAndLandByTheirLink)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    const std::string today(COleDateTime::GetCurrentTime().Format("/sd/%Y%m%d/record000/").view());
    // Listed as "a<LF>b.avi" and "<ESC>[2J.avi", kept as plain files.
    ASSERT_EQ(f.cam.get("/camsim/sd?file=" + today + "lf.avi&size=100&name=a%0Ab.avi"), "ok\n");
    ASSERT_EQ(f.cam.get("/camsim/sd?file=" + today + "esc.avi&size=100&name=%1B%5B2J.avi"), "ok\n");
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.Search());
    const int lf = f.RowOf("a\\nb.avi"), esc = f.RowOf("\\x1B[2J.avi");
    ASSERT_GE(lf, 0);
    ASSERT_GE(esc, 0);
    f.Select({lf, esc});
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    ASSERT_TRUE(WaitFor([&] { return !boxes.calls.empty(); }));
    EXPECT_EQ(boxes.calls.back().text, "Download the selected files finished.");
    EXPECT_EQ(FilesIn(f.downloads.path()), (std::set<std::string>{"lf.avi", "esc.avi"}));
}

TEST(SdCardPages, TooDeepAFolderIsSkippedAloneAndAPageTooLargeIsNamed)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    const std::string today(COleDateTime::GetCurrentTime().Format("/sd/%Y%m%d/").view());
    // Seven folders below the day: past the bound; the file after the
    // chain, in the same folder, is still found.
    ASSERT_EQ(f.cam.get("/camsim/sd?file=" + today + "a/b/c/d/e/f/g/deep.avi&size=10"), "ok\n");
    ASSERT_EQ(f.cam.get("/camsim/sd?file=" + today + "after.avi&size=10"), "ok\n");
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.Search());
    std::vector<std::string> names = f.Names();
    EXPECT_NE(std::find(names.begin(), names.end(), "after.avi"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "deep.avi"), names.end());
    EXPECT_EQ(f.List().GetItemCount(), 6);  // and the day's five recordings
    EXPECT_EQ(ItemText(f.files, IDC_SD_STATUS), "");

    // A listing over the reply bound says so, and the rest is listed.
    ASSERT_FALSE(f.cam.get("/camsim/sd?page=" + today + "huge/&rows=200000").empty());
    ASSERT_EQ(f.cam.get("/camsim/sd?file=" + today + "huge/x.avi&size=10"), "ok\n");
    ASSERT_TRUE(f.Search());
    EXPECT_EQ(f.List().GetItemCount(), 6);
    EXPECT_EQ(ItemText(f.files, IDC_SD_STATUS), "The card's listing of " + today + "huge/ is too large to read.");
    EXPECT_TRUE(boxes.calls.empty());
}

TEST(SdCardPages, TheBrowserLogsItsListingAndDownloadSteps)
{
    Boxes boxes;
    LogCapture capture;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open(1));
    ASSERT_TRUE(f.Search());
    const int row = f.RowOf("IMG_000000.jpg");
    ASSERT_GE(row, 0);
    f.Select({row});
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    std::string all;
    for (const std::string& line : capture.Lines()) {
        all += line;
        EXPECT_EQ(line.find("download stopped"), std::string::npos) << line;
        EXPECT_EQ(line.find("admin:admin"), std::string::npos) << line;
    }
    for (const char* text :
         {"ParseFiles : no start : -1", "ParseLine : <tr><td><a href=", "ParseLine ok: IMG_000000.jpg",
          "file (IMG_000000.jpg) modify time: (", "file (IMG_000000.jpg) modify time: 20",
          "file dir time: ", "download file connect ip", "downloading 1/1", "download ok IMG_000000.jpg"})
        EXPECT_NE(all.find(text), std::string::npos) << text;
}

TEST(SdCardPages, SearchesKeepTheirDaysTimesAndKindsOnly)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    COleDateTime now = COleDateTime::GetCurrentTime();
    COleDateTime today(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
    COleDateTime yesterday = today - COleDateTimeSpan(1, 0, 0, 0);
    std::string day(today.Format("%Y%m%d").view());
    std::string at9(today.Format("%Y%m%d090000").view());
    // In time, but in folders whose names are no day in range: three days
    // back, one digit short (8 characters with the slash), one too many.
    std::string back3((today - COleDateTimeSpan(3, 0, 0, 0)).Format("%Y%m%d").view());
    for (const std::string& folder : {back3, day.substr(0, 7), day + "0"})
        ASSERT_EQ(f.cam.get("/camsim/sd?file=/sd/" + folder + "/record000/stray.avi&size=10&time=" + at9), "ok\n");
    ASSERT_TRUE(f.Open());

    struct Case {
        int page;  // 0 recordings, 1 pictures
        COleDateTime from;
        int fromHour, fromMinute;
        COleDateTime to;
        int toHour, toMinute;
        std::vector<std::string> names;
        std::string firstLink;
    };
    const std::string yFolder = "/sd/" + std::string(yesterday.Format("%Y%m%d").view()) + "/";
    const Case cases[] = {
        // Across two day folders; 10:15 ends at 10:15:59, so 10:16:00 is
        // out; the index file at 01:00 is never a result.
        {0,
         yesterday,
         10,
         16,
         today,
         10,
         15,
         {"REC_101600.avi", "REC_235959.avi", "REC_000000.avi", "REC_100000.avi", "REC_101559.avi"},
         yFolder + "record000/REC_101600.avi"},
        {1,
         today,
         0,
         0,
         today,
         23,
         59,
         {"IMG_000000.jpg", "IMG_100000.jpg", "IMG_101559.jpg", "IMG_101600.jpg", "IMG_235959.jpg"},
         "/sd/" + day + "/images000/IMG_000000.jpg"},
    };
    for (const Case& c : cases) {
        f.files = PageAt<CDlgServerFiles>(f.dlg, 4, c.page);
        ASSERT_NE(f.files, nullptr);
        f.files->ShowWindow(SW_SHOW);
        auto set = [&](int id, const COleDateTime& t) {
            static_cast<CDateTimeCtrl*>(f.files->GetDlgItem(id))->SetTime(t);
        };
        set(IDC_SD_START_DATE, c.from);
        set(IDC_SD_END_DATE, c.to);
        set(IDC_SD_START_TIME, COleDateTime(1899, 12, 30, c.fromHour, c.fromMinute, 0));
        set(IDC_SD_END_TIME, COleDateTime(1899, 12, 30, c.toHour, c.toMinute, 0));
        ASSERT_TRUE(f.Search());
        EXPECT_EQ(f.Names(), c.names) << c.page;
        if (f.List().GetItemCount() > 0) {
            EXPECT_EQ(std::string(f.List().GetItemText(0, 4).view()), c.firstLink) << c.page;
        }
    }
    EXPECT_TRUE(boxes.calls.empty());
}

TEST(SdCardPages, DownloadIsRefusedWithoutASelectionOrAFolder)
{
    Boxes boxes;
    Fixture f({}, false);
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open());
    EXPECT_TRUE(f.files->DownloadFolder().IsEmpty());
    ASSERT_TRUE(f.Search());
    ASSERT_GT(f.List().GetItemCount(), 0);
    auto download = [&] { f.files->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SD_DOWNLOAD, BN_CLICKED), 0); };
    f.Select({});
    download();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "No file selected.");
    // Without a folder the file would land at the root.
    f.Select({0});
    download();
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[1].text, "Failed to download the selected files.");
    EXPECT_FALSE(f.files->IsBusy());
    EXPECT_TRUE(f.files->GetDlgItem(IDC_SD_SEARCH)->IsWindowEnabled());
    for (const auto& l : LogLines(f.log))
        EXPECT_EQ(l.find(".avi"), std::string::npos) << l;
}

TEST(SdCardPages, InvalidRangesAreRefusedAndLeaveEveryControlEnabled)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open());
    auto set = [&](int id, int y, int mo, int d, int h, int mi) {
        COleDateTime t;
        t.SetDateTime(y, mo, d, h, mi, 0);
        static_cast<CDateTimeCtrl*>(f.files->GetDlgItem(id))->SetTime(t);
    };
    set(IDC_SD_START_DATE, 2026, 12, 10, 0, 0);
    set(IDC_SD_END_DATE, 2026, 12, 9, 0, 0);
    f.Click(IDC_SD_SEARCH);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "Invalid date.\n(12/10/2026 00:00:00 - 12/09/2026 00:00:00)");
    set(IDC_SD_END_DATE, 2026, 12, 10, 0, 0);
    set(IDC_SD_START_TIME, 1899, 12, 30, 10, 30);
    set(IDC_SD_END_TIME, 1899, 12, 30, 10, 15);
    f.Click(IDC_SD_SEARCH);
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[1].text, "Invalid time.");
    for (int id : {IDC_SD_SEARCH, IDC_SD_START_DATE, IDC_SD_START_TIME, IDC_SD_END_DATE, IDC_SD_END_TIME})
        EXPECT_TRUE(f.files->GetDlgItem(id)->IsWindowEnabled()) << id;
}

TEST(SdCardPages, StopEndsASlowDownloadAtOnceWithoutAFileOrABox)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open());
    std::string today(COleDateTime::GetCurrentTime().Format("/sd/%Y%m%d/").view());
    ASSERT_FALSE(f.cam.get("/camsim/sd?file=" + today + "record000/slow.avi&size=4000000").empty());
    ASSERT_TRUE(f.Search());
    int slow = f.RowOf("slow.avi");
    ASSERT_GE(slow, 0) << (boxes.calls.empty() ? ItemText(f.files, IDC_SD_STATUS) : boxes.calls[0].text);
    ASSERT_FALSE(f.cam.fault("match=slow.avi&rate=100000").empty());
    f.Select({slow});
    f.Click(IDC_SD_DOWNLOAD);
    // Once the transfer runs, the status shows the file's share.
    EXPECT_TRUE(WaitFor(
        [&] {
            std::string status = ItemText(f.files, IDC_SD_STATUS);
            return status.rfind("Downloading files... ( 1 / 1 ) ", 0) == 0 && status.back() == '%'
                   && status.find(" 0%") == std::string::npos;
        },
        10000))
        << ItemText(f.files, IDC_SD_STATUS);
    auto t0 = std::chrono::steady_clock::now();
    f.Click(IDC_SD_STOP);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 2.0);
    EXPECT_FALSE(f.files->IsBusy());
    vxw::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(FilesIn(f.downloads.path()).empty());
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(f.files->GetDlgItem(IDC_SD_SEARCH)->IsWindowEnabled());
}

TEST(SdCardPages, StopEndsASearchOnAHangingCardAtOnce)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open());
    std::string today(COleDateTime::GetCurrentTime().Format("/sd/%Y%m%d/").view());
    // The top page answers; the day's folder never does.
    ASSERT_FALSE(f.cam.fault("match=" + today + "&hang=1").empty());
    f.Click(IDC_SD_SEARCH);
    EXPECT_TRUE(f.files->IsBusy());
    EXPECT_TRUE(
        WaitFor([&] { return ItemText(f.files, IDC_SD_STATUS).find("1 folders read") != std::string::npos; }, 10000))
        << ItemText(f.files, IDC_SD_STATUS);
    auto t0 = std::chrono::steady_clock::now();
    f.Click(IDC_SD_STOP);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
    EXPECT_FALSE(f.files->IsBusy());
    ASSERT_FALSE(f.cam.fault("clear=1").empty());
    vxw::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(f.List().GetItemCount(), 0);
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(f.files->GetDlgItem(IDC_SD_SEARCH)->IsWindowEnabled());
    // The page searches again as usual.
    ASSERT_TRUE(f.Search());
    EXPECT_EQ(f.List().GetItemCount(), 5);
}

TEST(SdCardPages, DestroyingThePageMidDownloadJoinsItsWorker)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.Search());
    ASSERT_GT(f.List().GetItemCount(), 1);
    ASSERT_FALSE(f.cam.fault("match=REC_&rate=5000").empty());
    f.Select({0, 1});
    f.Click(IDC_SD_DOWNLOAD);
    vxw::PumpUntil([] { return false; }, 500);
    f.Close();
    EXPECT_TRUE(FilesIn(f.downloads.path()).empty());
}

TEST(SdCardPages, AHostileCardNeitherLoopsNorLeavesTheCardNorItsFolder)
{
    Boxes boxes;
    Fixture f;
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    COleDateTime now = COleDateTime::GetCurrentTime();
    std::string day(now.Format("%Y%m%d").view());
    std::string today = "/sd/" + day + "/";
    std::string date(now.Format("%d-").view());
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    date += std::string(months[now.GetMonth() - 1]) + std::string(now.Format("-%Y 00:00:01").view());
    auto row = [&](const std::string& link, const std::string& name, const std::string& size) {
        return "<tr><td><a href=\"" + link + "\">" + name + "</a></td><td>&nbsp;" + date + "</td><td>&nbsp;&nbsp;"
               + size + "</td></tr>";
    };
    auto setPage = [&](const std::string& page, const std::string& markup) {
        char* esc = curl_easy_escape(nullptr, markup.c_str(), static_cast<int>(markup.size()));
        std::string r = f.cam.get("/camsim/sd?page=" + page + "&markup=" + esc);
        curl_free(esc);
        return r;
    };
    const std::string dir = "[DIRECTORY]";
    ASSERT_FALSE(setPage("/sd/", row(today, day + "/", dir) + row("/sd/", day + "/", dir)
                                     + row("http://127.0.0.1:1/sd/", day + "/", dir))
                     .empty());
    ASSERT_FALSE(setPage(today, row("./", "self/", dir) + row("../", "up/", dir) + row(today + "loop/", "loop/", dir)
                                    + row("/cgi-bin/hi3510/sysreboot.cgi", "reboot/", dir)
                                    + row("/cgi-bin/hi3510/sysreboot.cgi", "reboot.avi", "1K")
                                    + row(today + "f/a.avi", "../../x", "1K") + row(today + "f/b.avi", "/abs/y", "1K")
                                    + row(today + "f/c.avi", "a\\b", "1K")
                                    + row(today + "f/d.avi", std::string(300, 'n') + ".avi", "1K")
                                    + row(today + "f/e.avi", "twice.avi", "1K")
                                    + row(today + "g/e.avi", "twice.avi", "1K") + row(today + "big/", "big/", dir)
                                    + row(today + "huge/", "huge/", dir))
                     .empty());
    ASSERT_FALSE(setPage(today + "loop/", row(today, "back/", dir) + row(today + "loop/", "again/", dir)).empty());
    // More rows than the browser keeps, and a page larger than any reply it
    // takes.
    ASSERT_FALSE(f.cam.get("/camsim/sd?page=" + today + "big/&rows=30000").empty());
    ASSERT_FALSE(f.cam.get("/camsim/sd?page=" + today + "huge/&rows=200000").empty());
    for (const char* p : {"f/a.avi", "f/b.avi", "f/c.avi", "f/d.avi", "f/e.avi", "g/e.avi"})
        ASSERT_FALSE(f.cam.get("/camsim/sd?file=" + today + p + "&size=2000").empty());
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.Search());
    int rows = f.List().GetItemCount();
    EXPECT_EQ(rows, 20000);
    // The results are cut short, and the page says so.
    EXPECT_NE(ItemText(f.files, IDC_SD_STATUS).find("only the first"), std::string::npos);

    std::vector<std::string> before = LogLines(f.log);
    std::map<std::string, int> reads;
    for (const auto& l : before) {
        std::istringstream in(l);
        std::string method, target;
        in >> method >> target;
        if (target.rfind("/sd", 0) == 0)
            ++reads[target];
        EXPECT_EQ(target.find("sysreboot"), std::string::npos) << l;
    }
    for (const auto& [target, n] : reads)
        EXPECT_EQ(n, 1) << target;

    // Download the hostile rows (the first ones in page order) and a few
    // of the big page's.
    std::vector<int> pick;
    for (int i = 0; i < 9; ++i)
        pick.push_back(i);
    f.Select(pick);
    f.Click(IDC_SD_DOWNLOAD);
    ASSERT_TRUE(f.Idle());
    std::set<std::string> got = FilesIn(f.downloads.path());
    for (const auto& name : got)
        EXPECT_EQ(name.find('/'), std::string::npos) << name;
    EXPECT_TRUE(got.count("x"));
    EXPECT_TRUE(got.count("y"));
    EXPECT_TRUE(got.count("b"));
    EXPECT_TRUE(got.count("twice.avi"));
    EXPECT_TRUE(got.count("twice (2).avi"));
    // The 300-character name arrives cut short with its extension; the big
    // page's rows name files that are not there and leave nothing.
    EXPECT_EQ(got.size(), 6u);
    auto longName = std::find_if(got.begin(), got.end(), [](const std::string& n) { return n.rfind("nnnn", 0) == 0; });
    ASSERT_NE(longName, got.end());
    EXPECT_LE(longName->size(), 200u);
    EXPECT_EQ(longName->substr(longName->size() - 4), ".avi");
    std::set<std::string> sandbox{"a", "a/b", "a/b/files"};
    for (const auto& name : got)
        sandbox.insert("a/b/files/" + name);
    EXPECT_EQ(FilesIn(f.sandbox.path()), sandbox);
    EXPECT_FALSE(fs::exists("/abs/y"));
    // Nothing but the login's probes and the card was asked.
    for (const auto& l : LogLines(f.log)) {
        std::istringstream in(l);
        std::string method, target;
        in >> method >> target;
        EXPECT_EQ(target.find("sysreboot"), std::string::npos) << l;
        EXPECT_EQ(target.find("//"), std::string::npos) << l;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
