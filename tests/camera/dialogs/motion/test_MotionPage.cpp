// The motion detection page against camsim: areas drawn with the mouse in
// the zone dialog reach the camera in exact video pixels, the sensitivity
// and actions survive a reopen, the I/O alarm and the relay stay as they
// were, smart detection shows by model on cameras of two streams, and a
// failed load writes nothing.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/ZoneDrag.h"
#include "camera/dialogs/motion/CDlgMDDetect.h"
#include "camera/dialogs/motion/CMotionPic.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowRegistry_p.h"
#include "utility/vx_log.h"

#include <QWidget>

#include <ctime>

using namespace setup_harness;
using namespace zone_drag;

namespace {

constexpr int kMotion = 2;

int Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_wday;
}

// Five runs of detection: the four pairs show four of them.
const std::string kFiveRuns = "PPNNPPNNPPNNPPNNPPNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN";

// The video rectangle a drag on the picture becomes: each edge scaled
// (multiplied first, truncated), edges within 5 pixels of the border
// snapped to it.
motion_form::Area Expected(const Drag& g, int pw, int ph, zones::Size video)
{
    auto scale = [](long long v, long long to, long long from) { return static_cast<int>(v * to / from); };
    motion_form::Area a;
    a.left = g.x0 < 5 ? 0 : scale(g.x0, video.cx, pw);
    a.top = g.y0 < 5 ? 0 : scale(g.y0, video.cy, ph);
    a.right = pw - g.x1 < 5 ? video.cx : scale(g.x1, video.cx, pw);
    a.bottom = ph - g.y1 < 5 ? video.cy : scale(g.y1, video.cy, ph);
    return a;
}

std::string SetArea(const motion_form::Area& a, int n)
{
    char text[160];
    std::snprintf(text, sizeof text, "&cmd=setmdattr&-enable=1&-s=80&-name=%d&-x=%d&-y=%d&-w=%d&-h=%d", n, a.left,
                  a.top, a.right - a.left, a.bottom - a.top);
    return text;
}

bool Visible(CWnd* page, int id)
{
    return (page->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0;
}

UINT Checked(CWnd* page, int id)
{
    return page->IsDlgButtonChecked(id);
}

// What the camera answers now, read past the page.
std::string Ask(Fixture& f, const char* query)
{
    CString reply;
    f.dlg->Camera()->GetCgi(CString("/cgi-bin/hi3510/param.cgi?") + query, reply, 3000);
    return std::string(reply);
}

}  // namespace

TEST(MotionPage, MouseDrawnZonesSensitivityAndActionsReachTheCameraAndSurviveAReopen)
{
    for (int mode : {41, 101}) {
        SCOPED_TRACE(mode);
        Fixture f({});
        ASSERT_TRUE(f.connected);
        // Areas 1 and 3 enabled; the I/O alarm and the relay on, set
        // elsewhere; area 1's sensitivity out of range; today's schedule
        // with more runs than the page shows.
        const std::string today = "week" + std::to_string(Today());
        ASSERT_FALSE(f.cam
                         .set("md_" + today + "=" + kFiveRuns + "&videomode=" + std::to_string(mode)
                              + "&m1_enable=1&m1_x=10&m1_y=20&m1_w=300&m1_h=200&m1_sensitivity=0"
                                "&m3_enable=1&m3_x=600&m3_y=400&m3_w=200&m3_h=100&m3_sensitivity=90"
                                "&io_enable=1&io_flag=1&md_relay_switch=on")
                         .empty());
        auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(Loaded(page));
        EXPECT_EQ(ItemText(page, IDC_MD_SENSITIVITY), "50");
        EXPECT_EQ(page->Shown().areaCount, 2);
        EXPECT_FALSE(Visible(page, IDC_MD_SMART_ENABLE)) << "three streams: no smart detection";
        Choose(page, IDC_MD_SENSITIVITY, 79);
        Choose(page, IDC_MD_SNAP_COUNT, 2);
        Tick(page, IDC_MD_EMAIL, true);
        Tick(page, IDC_MD_SD_RECORD, true);

        std::vector<motion_form::Area> drawn;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            auto& zones = static_cast<CMotionPic&>(d);
            ASSERT_TRUE(WaitFor([&] { return !zones.IsDownloading(); }));
            ASSERT_TRUE(zones.IsPictureLoaded());
            EXPECT_EQ(zones.Layout().Count(), 2);
            QWidget* pic = vxw::WidgetOf(d.GetDlgItem(IDC_ZONE_PICTURE)->GetSafeHwnd());
            int pw = pic->width(), ph = pic->height();
            for (const Drag& g : {Drag{3, 3, pw / 4, ph / 4}, Drag{pw / 2 + 1, ph / 2 + 3, pw - 2, ph - 7}}) {
                DragOn(pic, g);
                drawn.push_back(Expected(g, pw, ph, zones::VideoSize(mode)));
            }
            d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                          reinterpret_cast<LPARAM>(d.GetDlgItem(IDOK)->GetSafeHwnd()));
        });
        Click(page, IDC_MD_ZONES);
        vxw::test::SetModalDialogHook(nullptr);
        ASSERT_EQ(drawn.size(), 2u);
        EXPECT_EQ(drawn[1].right, zones::VideoSize(mode).cx) << "snapped to the border";
        ASSERT_EQ(page->Shown().areaCount, 4);

        Click(page, IDC_APPLY);
        auto box = f.boxes.Next();
        EXPECT_EQ(box.caption, "Motion Detection Record");
        EXPECT_EQ(box.text, "Apply settings successfully.");
        ASSERT_TRUE(Idle(page));
        std::string log = f.Log();
        std::string want = SetArea({10, 20, 310, 220}, 1) + SetArea({600, 400, 800, 500}, 2) + SetArea(drawn[0], 3)
                           + SetArea(drawn[1], 4) + "&cmd=setalarmsnapattr&-snap_count=3";
        // The untouched day goes back as the camera sent it.
        EXPECT_NE(log.find("POST /cgi-bin/hi3510/param.cgi?&cmd=setscheduleex&-ename=md&-" + today + "=" + kFiveRuns
                           + "&cmd=setmdattr&"),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find(want), std::string::npos) << want << "\n" << log;
        EXPECT_EQ(log.find("setioattr"), std::string::npos);
        EXPECT_EQ(log.find("aname=relay"), std::string::npos);
        EXPECT_EQ(log.find("&&"), std::string::npos);
        std::string now = Ask(f, "cmd=getioattr&cmd=getmdalarm&-aname=relay");
        EXPECT_NE(now.find("var io_enable=\"1\";"), std::string::npos) << now;
        EXPECT_NE(now.find("var md_relay_switch=\"on\";"), std::string::npos) << now;
        f.Close();

        f.Open();
        ASSERT_TRUE(f.connected);
        page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
        ASSERT_TRUE(Loaded(page));
        EXPECT_EQ(ItemText(page, IDC_MD_SENSITIVITY), "80");
        EXPECT_EQ(ItemText(page, IDC_MD_SNAP_COUNT), "3");
        EXPECT_EQ(Checked(page, IDC_MD_EMAIL), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(Checked(page, IDC_MD_SD_RECORD), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(Checked(page, IDC_MD_FTP_SNAP), static_cast<UINT>(BST_UNCHECKED));
        ASSERT_EQ(page->Shown().areaCount, 4);
        EXPECT_EQ(page->Shown().areas[3].left, drawn[1].left);
        EXPECT_EQ(page->Shown().areas[3].bottom, drawn[1].bottom);
    }
}

TEST(MotionPage, TwoStreamCameraShowsSmartDetectionAndCouplesTheRecordActions)
{
    Fixture f({"--model", "CAMXB4-HX-Z4", "--streams", "2"});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(page));
    EXPECT_TRUE(Visible(page, IDC_MD_SMART_LABEL));
    EXPECT_TRUE(Visible(page, IDC_MD_SMART_ENABLE));
    EXPECT_FALSE(Visible(page, IDC_MD_SMART_TYPE));
    EXPECT_FALSE(Visible(page, IDC_MD_SMART_TRACKING));
    EXPECT_NE(f.Log().find("cmd=getmdalarm&-aname=record&cmd=getsmdattr&cmd=getsmdex "), std::string::npos);

    Tick(page, IDC_MD_SMART_ENABLE, true);
    EXPECT_TRUE(Visible(page, IDC_MD_SMART_TYPE));
    EXPECT_TRUE(Visible(page, IDC_MD_SMART_TRACKING));
    EXPECT_EQ(page->SendDlgItemMessage(IDC_MD_SMART_TYPE, CB_GETCOUNT), 3);
    Choose(page, IDC_MD_SMART_TYPE, 2);
    Tick(page, IDC_MD_SMART_TRACKING, true);

    // No upload of a recording that is not made.
    Tick(page, IDC_MD_FTP_RECORD, true);
    EXPECT_EQ(Checked(page, IDC_MD_SD_RECORD), static_cast<UINT>(BST_CHECKED));
    Tick(page, IDC_MD_SD_RECORD, false);
    EXPECT_EQ(Checked(page, IDC_MD_FTP_RECORD), static_cast<UINT>(BST_UNCHECKED));
    Tick(page, IDC_MD_FTP_RECORD, true);

    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));
    EXPECT_NE(f.Log().find("&cmd=setmdalarm&-aname=record&-switch=on&cmd=setmdalarm&-aname=ftprec&-switch=on"
                           "&cmd=setsmdattr&-smd_enable=1&cmd=setsmdex&-smd_rect=1&-smd_type=2 "),
              std::string::npos)
        << f.Log();
    f.Close();

    f.Open();
    page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(Checked(page, IDC_MD_SMART_ENABLE), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(Visible(page, IDC_MD_SMART_TYPE));
    EXPECT_EQ(page->SendDlgItemMessage(IDC_MD_SMART_TYPE, CB_GETCURSEL), 2);
    EXPECT_EQ(Checked(page, IDC_MD_SMART_TRACKING), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(Checked(page, IDC_MD_FTP_RECORD), static_cast<UINT>(BST_CHECKED));
}

TEST(MotionPage, SmartDetectionControlsByModel)
{
    struct Case {
        const char* model;
        int types;  // items of the target combo; 0: the combo stays hidden
        bool tracking;
    } cases[] = {{"CAMXC4-HX-Z", 2, true}, {"CAMXA1-NP-2", 0, false}, {"CAMXA1-N", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Fixture f({"--model", c.model, "--streams", "2"});
        ASSERT_TRUE(f.connected);
        auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
        ASSERT_TRUE(Loaded(page));
        Tick(page, IDC_MD_SMART_ENABLE, true);
        EXPECT_EQ(Visible(page, IDC_MD_SMART_TYPE), c.types > 0);
        EXPECT_EQ(Visible(page, IDC_MD_SMART_TRACKING), c.tracking);
        if (c.types > 0) {
            EXPECT_EQ(page->SendDlgItemMessage(IDC_MD_SMART_TYPE, CB_GETCOUNT), c.types);
        }
        Click(page, IDC_APPLY);
        EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
        ASSERT_TRUE(Idle(page));
        EXPECT_EQ(f.Log().find("-smd_type=") != std::string::npos, c.types > 0);
    }
}

TEST(MotionPage, FailedLoadWritesNothing)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    ASSERT_FALSE(f.cam.fault("cmderror=getmdattr").empty());
    auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    page->ShowWindow(SW_SHOW);
    EXPECT_EQ(f.boxes.Next().text, "Failed to get settings.");
    ASSERT_TRUE(Idle(page));
    EXPECT_FALSE(page->GetDlgItem(IDC_APPLY)->IsWindowEnabled());
    EXPECT_FALSE(page->GetDlgItem(IDC_MD_ZONES)->IsWindowEnabled());
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), 0);
    EXPECT_FALSE(page->IsRequestPending());
    EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
}

TEST(MotionPage, AreaOutsideTheCurrentVideoIsRefusedAndChangesNothing)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    ASSERT_FALSE(f.cam.set("videomode=101&m1_enable=1&m1_x=0&m1_y=0&m1_w=2560&m1_h=1920&m1_sensitivity=40").empty());
    auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(page));
    // The camera's videomode changes under the page: its area no longer fits.
    ASSERT_FALSE(f.cam.set("videomode=41").empty());
    Choose(page, IDC_MD_SENSITIVITY, 9);
    Click(page, IDC_APPLY);
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Failed to apply settings.");
    ASSERT_TRUE(Idle(page));
    EXPECT_NE(Ask(f, "cmd=getmdattr&-name=1").find("var m1_sensitivity=\"40\";"), std::string::npos);
}

TEST(MotionPage, ClosingTheWindowDuringTheZoneDialogsDownloadEndsBoth)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(page));
    ASSERT_FALSE(f.cam.fault("match=snap.jpg&delay=3000").empty());
    HWND settings = f.dlg->GetSafeHwnd();
    HWND pageWindow = page->GetSafeHwnd();
    bool ran = false;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        ran = true;
        EXPECT_TRUE(static_cast<CMotionPic&>(d).IsDownloading());
        ::PostMessage(settings, WM_CLOSE, 0, 0);
    });
    Click(page, IDC_MD_ZONES);
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(::IsWindow(pageWindow)) << "the dialog ended with the page";
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000));
    f.dlg = nullptr;
    EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
}

class MotionRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(MotionRoundTrip, SensitivityActionsAndScheduleSurviveAReopen)
{
    Fixture f({"--family", GetParam()});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(page));
    Choose(page, IDC_MD_SENSITIVITY, 29);
    Tick(page, IDC_MD_FTP_SNAP, true);
    Tick(page, IDC_MD_SD_SNAP, true);
    Tick(page, IDC_SCHEDULE_EVERYDAY, true);
    Choose(page, IDC_SCHEDULE_START_1, 16);
    Choose(page, IDC_SCHEDULE_START_1 + 1, 24);
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));
    f.Close();

    f.Open();
    ASSERT_TRUE(f.connected);
    page = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_MD_SENSITIVITY), "30");
    EXPECT_EQ(Checked(page, IDC_MD_FTP_SNAP), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(Checked(page, IDC_MD_SD_SNAP), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(Checked(page, IDC_MD_EMAIL), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(Checked(page, IDC_SCHEDULE_EVERYDAY), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1, CB_GETCURSEL), 16);
    EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 1, CB_GETCURSEL), 24);
}

INSTANTIATE_TEST_SUITE_P(Families, MotionRoundTrip, ::testing::Values("HX", "DY", "AJ", "HTL"));

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
