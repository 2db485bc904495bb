// The memory card's record player against camsim's recordings: the length
// shown is the file's, a click on the slider seeks there over byte ranges,
// pause and play need no new worker, the end stops; an account with
// reserved characters plays and stays out of the log; the 36-minute
// recording seeks near its end; a silent camera never holds the dialog.
// The browser pages open the player or, through a file of its own, the
// picture preview on a double click.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/sdcard/CDlgServerFiles.h"
#include "camera/dialogs/sdcard/CDlgServerRecordPlay.h"
#include "camera/dialogs/sdcard/CPreviewPic.h"
#include "camera/session/CStateBar.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowRegistry_p.h"
#include "utility/vx_log.h"

#include <QAbstractItemView>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <mutex>

using namespace setup_harness;

namespace {

using Clock = std::chrono::steady_clock;

std::string DayFolder(int daysBack)
{
    time_t t = time(nullptr) - daysBack * 86400;
    struct tm tm {};
    localtime_r(&t, &tm);
    char buf[32];
    strftime(buf, sizeof buf, "/sd/%Y%m%d/", &tm);
    return buf;
}

const std::string kShort = "REC_100000.avi";
const std::string kLong = "REC_080000.avi";

// Runs the player modally on the fixture's settings window; `body` works it
// from inside the modal loop, then the dialog is closed as a user does.
double RunPlayer(Fixture& f, const std::string& link, const std::string& name,
                 const std::function<void(CDlgServerRecordPlay&)>& body)
{
    CDlgServerRecordPlay dlg(f.dlg);
    dlg.m_pSetupDlg = f.dlg;
    dlg.m_strLink = link.c_str();
    dlg.m_strName = name.c_str();
    Clock::time_point closed;
    vxw::test::SetModalDialogHook([&](CDialog&) {
        body(dlg);
        closed = Clock::now();
        dlg.PostMessage(WM_CLOSE);
    });
    dlg.DoModal();
    vxw::test::SetModalDialogHook(nullptr);
    return std::chrono::duration<double>(Clock::now() - closed).count();
}

int SliderPos(CDlgServerRecordPlay& d)
{
    return static_cast<int>(d.SendDlgItemMessage(IDC_PLAY_SLIDER, TBM_GETPOS));
}

int SliderMax(CDlgServerRecordPlay& d)
{
    return static_cast<int>(d.SendDlgItemMessage(IDC_PLAY_SLIDER, TBM_GETRANGEMAX));
}

// A real mouse click on the slider's channel at a share of its width.
void ClickSlider(CDlgServerRecordPlay& d, double share, int* expected)
{
    CWnd* slider = d.GetDlgItem(IDC_PLAY_SLIDER);
    RECT channel{};
    slider->SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int x = channel.left + static_cast<int>((channel.right - channel.left) * share);
    const int y = (channel.top + channel.bottom) / 2;
    ASSERT_TRUE(CVXSliderCtrl::PositionAt(x, channel.left, channel.right, 0, SliderMax(d), *expected));
    QTest::mouseClick(vxw::WidgetOf(slider->GetSafeHwnd()), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}

bool Playing(CDlgServerRecordPlay& d)
{
    return WaitFor([&] { return d.IsPlaying() && SliderMax(d) > 0; });
}

int64_t Position(CDlgServerRecordPlay& d)
{
    return d.PlayCamera() ? d.PlayCamera()->GetPlayFilePosition() : -1;
}

// Lines of the request log for a file, from line `from` on.
std::vector<std::string> LogLinesFor(const Fixture& f, const std::string& name, size_t from = 0)
{
    std::vector<std::string> out;
    std::istringstream in(f.Log());
    size_t n = 0;
    for (std::string line; std::getline(in, line); ++n) {
        if (n >= from && line.find(name) != std::string::npos)
            out.push_back(line);
    }
    return out;
}

size_t LogLineCount(const Fixture& f)
{
    std::string log = f.Log();
    return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
}

// The settings window again, logged in with another password.
void ReopenWithPassword(Fixture& f, const std::string& password)
{
    f.Close();
    f.info.strPwd = password.c_str();
    vxcam_interface::ShowDialog(0, f.owner.GetSafeHwnd(), &f.info, 0, "", "", 0);
    HWND h = FindWindow(nullptr, "Camera Properties");
    f.dlg = h ? static_cast<CCameraSetupDlg*>(CWnd::FromHandlePermanent(h)) : nullptr;
    f.connected = f.dlg && WaitFor([&] { return ItemText(f.dlg, IDC_SETUP_STATUS) == "Connected"; });
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
    std::string Text() const
    {
        std::string all;
        for (const std::string& l : Lines())
            all += l;
        return all;
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

QAbstractItemView* ListView(CWnd* page)
{
    QWidget* w = vxw::WidgetOf(page->GetDlgItem(IDC_SD_LIST)->GetSafeHwnd());
    auto* v = qobject_cast<QAbstractItemView*>(w);
    return v ? v : w->findChild<QAbstractItemView*>();
}

// A person's double click on a row of the browser's list.
void DoubleClickRow(CWnd* page, int row)
{
    QAbstractItemView* view = ListView(page);
    ASSERT_NE(view, nullptr);
    QPoint at = view->visualRect(view->model()->index(row, 1)).center();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

int RowNamed(CWnd* page, const std::string& name)
{
    auto* list = static_cast<CListCtrl*>(page->GetDlgItem(IDC_SD_LIST));
    for (int i = 0; i < list->GetItemCount(); ++i) {
        if (std::string(list->GetItemText(i, 1).view()) == name)
            return i;
    }
    return -1;
}

}  // namespace

TEST(SdCardPlay, PlaysSeeksWhereClickedPausesAndStopsAtTheEnd)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    RunPlayer(f, DayFolder(0) + "record000/" + kShort, kShort, [&](CDlgServerRecordPlay& d) {
        char caption[128] = {};
        d.GetWindowText(caption, sizeof caption);
        EXPECT_STREQ(caption, ("camsim Playback (" + kShort + ")").c_str());
        ASSERT_TRUE(Playing(d));
        EXPECT_EQ(ItemText(&d, IDC_PLAY_TOTAL), "00:00:06");
        EXPECT_EQ(SliderMax(d), 6000);  // milliseconds
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_PAUSE)->IsWindowVisible());

        // Three quarters in: the slider takes the click itself and the player
        // reads on from there with a byte range.
        const size_t before = LogLineCount(f);
        int expected = 0;
        ClickSlider(d, 0.75, &expected);
        EXPECT_EQ(SliderPos(d), expected);
        EXPECT_NEAR(expected, 4500, 100);
        EXPECT_TRUE(WaitFor([&] { return Position(d) >= 4000000; }, 5000)) << Position(d);
        bool ranged = false;
        for (const std::string& line : LogLinesFor(f, kShort, before))
            ranged = ranged || line.find(" 206") != std::string::npos;
        EXPECT_TRUE(ranged) << f.Log();

        // Pause, then Play: the same worker's file goes on.
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY_PAUSE, BN_CLICKED), 0);
        EXPECT_TRUE(d.IsPaused());
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_SLIDER)->IsWindowEnabled());
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY_PLAY, BN_CLICKED), 0);
        EXPECT_FALSE(d.IsPaused());
        EXPECT_EQ(d.WorkersStarted(), 1);
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_SLIDER)->IsWindowEnabled());

        // The end stops: Play again, times back to zero.
        ASSERT_TRUE(WaitFor([&] { return !d.IsPlaying(); }, 15000));
        EXPECT_EQ(ItemText(&d, IDC_PLAY_TOTAL), "00:00:00");
        EXPECT_EQ(ItemText(&d, IDC_PLAY_ELAPSED), "00:00:00");
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_STOP)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_SLIDER)->IsWindowEnabled());

        // After a stop, Play starts a new worker.
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY_PLAY, BN_CLICKED), 0);
        EXPECT_TRUE(Playing(d));
        EXPECT_EQ(d.WorkersStarted(), 2);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAY_STOP, BN_CLICKED), 0);
        EXPECT_FALSE(d.IsPlaying());
    });
    // The settings window's own link is untouched by the player's.
    EXPECT_EQ(ItemText(f.dlg, IDC_SETUP_STATUS), "Connected");
}

TEST(SdCardPlay, LongRecordingShowsItsLengthAndSeeksNearItsEnd)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    RunPlayer(f, DayFolder(1) + "record000/" + kLong, kLong, [&](CDlgServerRecordPlay& d) {
        ASSERT_TRUE(Playing(d));
        // 36:40 is 2,200,000,000 microseconds: past 32 bits on the way.
        EXPECT_EQ(ItemText(&d, IDC_PLAY_TOTAL), "00:36:40");
        EXPECT_EQ(SliderMax(d), 2200000);
        int expected = 0;
        ClickSlider(d, 0.98, &expected);
        EXPECT_GT(expected, 2100000);
        ASSERT_TRUE(WaitFor([&] { return Position(d) >= int64_t(2100) * 1000000; }, 10000)) << Position(d);
        EXPECT_TRUE(WaitFor([&] { return ItemText(&d, IDC_PLAY_ELAPSED).rfind("00:3", 0) == 0; }, 5000))
            << ItemText(&d, IDC_PLAY_ELAPSED);
        EXPECT_GT(SliderPos(d), 2000000);
    });
}

TEST(SdCardPlay, DraggingTheThumbSeeksOnlyWhenReleased)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    RunPlayer(f, DayFolder(1) + "record000/" + kLong, kLong, [&](CDlgServerRecordPlay& d) {
        ASSERT_TRUE(Playing(d));
        CWnd* slider = d.GetDlgItem(IDC_PLAY_SLIDER);
        QWidget* w = vxw::WidgetOf(slider->GetSafeHwnd());
        RECT thumb{}, channel{};
        slider->SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        slider->SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        const QPoint grab((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
        const QPoint half((channel.left + channel.right) / 2, grab.y());
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, grab);
        QTest::mouseMove(w, (grab + half) / 2);
        QTest::mouseMove(w, half);
        EXPECT_GT(SliderPos(d), 900000);
        // Still where it played: the thumb moved, the player did not.
        vxw::PumpUntil([] { return false; }, 300);
        EXPECT_LT(Position(d), int64_t(100) * 1000000);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, half);
        EXPECT_TRUE(WaitFor([&] { return Position(d) >= int64_t(900) * 1000000; }, 10000)) << Position(d);
    });
}

TEST(SdCardPlay, ReservedCharactersInThePasswordPlayAndNeverReachTheLog)
{
    const std::string password = "p@ss:w/rd#1%";
    LogCapture capture;
    {
        Fixture f({});
        ASSERT_TRUE(f.cam.ok()) << f.cam.error();
        ASSERT_FALSE(f.cam.set("at_password0=p%40ss%3Aw%2Frd%231%25").empty());
        ReopenWithPassword(f, password);
        ASSERT_TRUE(f.connected);
        RunPlayer(f, DayFolder(0) + "record000/" + kShort, kShort,
                  [&](CDlgServerRecordPlay& d) { EXPECT_TRUE(Playing(d)); });
    }
    bool sawPlay = false;
    for (const std::string& line : capture.Lines()) {
        sawPlay = sawPlay || line.find("sd record play") != std::string::npos;
        EXPECT_EQ(line.find(password), std::string::npos) << line;
        EXPECT_EQ(line.find("p%40ss"), std::string::npos) << line;
    }
    EXPECT_TRUE(sawPlay);
}

TEST(SdCardPlay, AHangingCameraLetsTheDialogCloseAtOnce)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    // Only the card's files hang, not the settings window's own requests.
    ASSERT_FALSE(f.cam.fault("match=record000&hang=1").empty());
    const double closing = RunPlayer(f, DayFolder(0) + "record000/" + kShort, kShort, [&](CDlgServerRecordPlay& d) {
        EXPECT_TRUE(WaitFor([&] { return !LogLinesFor(f, kShort).empty(); }, 5000));
        EXPECT_FALSE(d.IsPlaying());
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowEnabled());
    });
    EXPECT_LT(closing, 2.0);
}

TEST(SdCardPlay, DoubleClickOnARecordingOpensThePlayer)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgServerFiles>(f.dlg, 4, 0);
    ASSERT_NE(page, nullptr);
    page->ShowWindow(SW_SHOW);
    Click(page, IDC_SD_SEARCH);
    ASSERT_TRUE(WaitFor([&] { return !page->IsBusy(); }));
    auto* list = static_cast<CListCtrl*>(page->GetDlgItem(IDC_SD_LIST));
    ASSERT_GT(list->GetItemCount(), 1);

    std::string link, caption;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        if (auto* player = dynamic_cast<CDlgServerRecordPlay*>(&d))
            link = std::string(player->m_strLink.view());
        char buf[128] = {};
        d.GetWindowText(buf, sizeof buf);
        caption = buf;
        d.PostMessage(WM_CLOSE);
    });
    NMITEMACTIVATE act{};
    act.hdr.hwndFrom = list->GetSafeHwnd();
    act.hdr.idFrom = IDC_SD_LIST;
    act.hdr.code = NM_DBLCLK;
    act.iItem = 1;
    page->SendMessage(WM_NOTIFY, IDC_SD_LIST, reinterpret_cast<LPARAM>(&act));
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_EQ(link, std::string(list->GetItemText(1, 4).view()));
    EXPECT_EQ(caption, "camsim Playback (" + std::string(list->GetItemText(1, 1).view()) + ")");
}

TEST(SdCardPlay, FullScreenHidesTheControlsAndEscapeBringsThemBack)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    RunPlayer(f, DayFolder(0) + "record000/" + kShort, kShort, [&](CDlgServerRecordPlay& d) {
        ASSERT_TRUE(Playing(d));
        CRect before, beforeWindow;
        d.GetClientRect(&before);
        d.GetWindowRect(&beforeWindow);
        // The video window asks for it (a double click on the picture).
        d.SendMessage(UM_VX_CAMERA_FULLSCREEN, 0, 0);
        EXPECT_TRUE(d.PlayCamera()->IsFullscreen());
        EXPECT_EQ(d.GetStyle() & WS_CAPTION, 0u);
        for (int id : {IDC_PLAY_PLAY, IDC_PLAY_PAUSE, IDC_PLAY_STOP, IDC_PLAY_SLIDER, IDC_PLAY_TOTAL, IDC_PLAY_ELAPSED})
            EXPECT_FALSE(d.GetDlgItem(id)->IsWindowVisible()) << id;

        QTest::keyClick(vxw::WidgetOf(d.GetSafeHwnd()), Qt::Key_Escape);
        ASSERT_TRUE(WaitFor([&] { return !d.PlayCamera()->IsFullscreen(); }, 5000));
        EXPECT_TRUE(::IsWindow(d.GetSafeHwnd()));  // Esc never closes the player
        EXPECT_NE(d.GetStyle() & WS_CAPTION, 0u);
        CRect after;
        d.GetClientRect(&after);
        EXPECT_EQ(after.Width(), before.Width());
        EXPECT_EQ(after.Height(), before.Height());
        CRect afterWindow;
        d.GetWindowRect(&afterWindow);
        EXPECT_TRUE(afterWindow == beforeWindow);
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_PAUSE)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_SLIDER)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(IDC_PLAY_SOUND_OFF)->IsWindowVisible());  // muted at start
        EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_SOUND_ON)->IsWindowVisible());
    });
}

TEST(SdCardPlay, DoubleClickOnAPicturePreviewsItFromAFileOfItsOwn)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgServerFiles>(f.dlg, 4, 1);
    ASSERT_NE(page, nullptr);
    page->ShowWindow(SW_SHOW);
    Click(page, IDC_SD_SEARCH);
    ASSERT_TRUE(WaitFor([&] { return !page->IsBusy(); }));
    auto* list = static_cast<CListCtrl*>(page->GetDlgItem(IDC_SD_LIST));
    ASSERT_GT(list->GetItemCount(), 1);

    std::vector<std::string> files;
    std::string caption;
    bool picture = false, fileThere = false, searchDisabled = false;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        if (auto* preview = dynamic_cast<CPreviewPic*>(&d)) {
            files.emplace_back(preview->Path().view());
            picture = preview->HasPicture();
            fileThere = std::filesystem::exists(files.back());
            searchDisabled = !page->GetDlgItem(IDC_SD_SEARCH)->IsWindowEnabled();
        }
        char buf[128] = {};
        d.GetWindowText(buf, sizeof buf);
        caption = buf;
        d.PostMessage(WM_CLOSE);
    });
    for (int row : {0, 1}) {
        const size_t before = files.size();
        NMITEMACTIVATE act{};
        act.hdr.hwndFrom = list->GetSafeHwnd();
        act.hdr.idFrom = IDC_SD_LIST;
        act.hdr.code = NM_DBLCLK;
        act.iItem = row;
        page->SendMessage(WM_NOTIFY, IDC_SD_LIST, reinterpret_cast<LPARAM>(&act));
        ASSERT_TRUE(WaitFor([&] { return files.size() > before && !page->IsBusy(); }));
        EXPECT_EQ(caption, "Image Preview (" + std::string(list->GetItemText(row, 1).view()) + ")");
        EXPECT_TRUE(picture);
        EXPECT_TRUE(fileThere);
        EXPECT_TRUE(searchDisabled);
        // Gone after the preview; the page is usable again.
        EXPECT_FALSE(std::filesystem::exists(files.back()));
        EXPECT_TRUE(page->GetDlgItem(IDC_SD_SEARCH)->IsWindowEnabled());
    }
    ASSERT_EQ(files.size(), 2u);
    for (const std::string& file : files)
        EXPECT_EQ(file.find("tmp.jpg"), std::string::npos) << file;

    // A picture that does not arrive shows nothing and leaves no file.
    ASSERT_FALSE(f.cam.fault("match=IMG_&error=404").empty());
    NMITEMACTIVATE act{};
    act.hdr.hwndFrom = list->GetSafeHwnd();
    act.hdr.idFrom = IDC_SD_LIST;
    act.hdr.code = NM_DBLCLK;
    act.iItem = 0;
    page->SendMessage(WM_NOTIFY, IDC_SD_LIST, reinterpret_cast<LPARAM>(&act));
    ASSERT_TRUE(WaitFor([&] { return !page->IsBusy(); }));
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_TRUE(page->GetDlgItem(IDC_SD_SEARCH)->IsWindowEnabled());
    const auto folder = std::filesystem::path(files[0]).parent_path();
    for (const auto& e : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(e.path().filename().string().rfind("preview-", 0), std::string::npos) << e.path();
}

TEST(SdCardPlay, RecordingsWhoseNamesNeedCodingPlayFromTheBrowser)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    struct Name {
        std::string name;
        std::string query;  // as a form codes it: "+" is "%2B"
        std::string path;   // as the request asks for it, coded once
    };
    const Name names[] = {
        {"REC SPACE.avi", "REC%20SPACE.avi", "REC%20SPACE.avi"},
        {"100%.avi", "100%25.avi", "100%25.avi"},
        {"a+b.avi", "a%2Bb.avi", "a+b.avi"},
        {"caf\xC3\xA9.avi", "caf%C3%A9.avi", "caf%C3%A9.avi"},
    };
    for (const Name& n : names)
        ASSERT_EQ(f.cam.get("/camsim/sd?file=" + DayFolder(0) + "record000/" + n.query + "&media=short"), "ok\n")
            << n.name;
    auto* page = PageAt<CDlgServerFiles>(f.dlg, 4, 0);
    ASSERT_NE(page, nullptr);
    page->ShowWindow(SW_SHOW);
    Click(page, IDC_SD_SEARCH);
    ASSERT_TRUE(WaitFor([&] { return !page->IsBusy(); }));

    for (const Name& n : names) {
        const std::string& name = n.name;
        const int row = RowNamed(page, name);
        ASSERT_GE(row, 0) << name;
        bool played = false;
        std::string caption;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            if (auto* player = dynamic_cast<CDlgServerRecordPlay*>(&d))
                played = Playing(*player);
            char buf[160] = {};
            d.GetWindowText(buf, sizeof buf);
            caption = buf;
            d.PostMessage(WM_CLOSE);
        });
        const size_t before = LogLineCount(f);
        DoubleClickRow(page, row);
        vxw::test::SetModalDialogHook(nullptr);
        EXPECT_TRUE(played) << name;
        EXPECT_EQ(caption, "camsim Playback (" + name + ")");
        // Asked for once, by the name the card has.
        std::vector<std::string> asked = LogLinesFor(f, "record000/" + n.path + " ", before);
        ASSERT_FALSE(asked.empty()) << name << "\n" << f.Log();
        for (const std::string& line : asked)
            EXPECT_EQ(line.find(" 404"), std::string::npos) << line;
    }
}

TEST(SdCardPlay, ARecordingThatCannotBeOpenedShowsTheConnectFailure)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok()) << f.cam.error();
    ASSERT_TRUE(f.connected);
    ASSERT_EQ(f.cam.get("/camsim/sd?file=" + DayFolder(0) + "record000/noise.avi&size=200000"), "ok\n");
    struct Case {
        const char* what;
        std::string link;
        bool refused;  // the camera's port is closed
    };
    const Case cases[] = {
        {"404", DayFolder(0) + "record000/missing.avi", false},
        {"not media", DayFolder(0) + "record000/noise.avi", false},
        {"refused", DayFolder(0) + "record000/" + kShort, true},
    };
    for (const Case& c : cases) {
        CWebWatchNB* setup = f.dlg->Camera();
        const int port = setup->m_stCameraInfo.nHttpPort;
        if (c.refused)
            setup->m_stCameraInfo.nHttpPort = 1;  // nothing listens there
        RunPlayer(f, c.link, "x.avi", [&](CDlgServerRecordPlay& d) {
            CStateBar* surface = d.PlayCamera()->GetStateBar();
            ASSERT_NE(surface, nullptr);
            EXPECT_TRUE(WaitFor(
                [&] {
                    return std::string(surface->GetStatusText().view())
                           == "Fail to connect to camera\nCheck network and firewall settings ...";
                },
                15000))
                << c.what << ": " << surface->GetStatusText().view();
            EXPECT_FALSE(d.IsPlaying()) << c.what;
            EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_PLAY)->IsWindowEnabled()) << c.what;
            EXPECT_FALSE(d.GetDlgItem(IDC_PLAY_PAUSE)->IsWindowVisible()) << c.what;
        });
        setup->m_stCameraInfo.nHttpPort = port;
    }
}

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
