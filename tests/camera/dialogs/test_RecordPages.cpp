// The auto capture, record schedule and record options pages against
// camsim: changed through their controls, applied, and shown again by a
// reopened window; untouched schedule days go back as the camera sent them.
#include "camera/dialogs/CDlgAutoCapture.h"
#include "camera/dialogs/CDlgRecParam.h"
#include "camera/dialogs/CDlgTimeRec.h"
#include "SetupDlgHarness.h"
#include "camera/session/CWebWatchNB.h"
#include "utility/vx_log.h"

#include <curl/curl.h>

#include <ctime>

using namespace setup_harness;

namespace {

constexpr int kCapture = 3, kPlayback = 4;

int Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_wday;
}

std::string Day(int d)
{
    return "week" + std::to_string(d);
}

// Five runs: the pairs show four of them.
const std::string kFiveRuns = "PPNNPPNNPPNNPPNNPPNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN";

}  // namespace

TEST(AutoCapturePage, AppliesTimersNameAndEverydayAndAReopenShowsThem)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgAutoCapture>(f.dlg, kCapture, 0);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    EXPECT_FALSE(page->GetDlgItem(IDC_CAPTURE_FTP_INTERVAL)->IsWindowEnabled());
    Tick(page, IDC_CAPTURE_FTP, true);
    EXPECT_TRUE(page->GetDlgItem(IDC_CAPTURE_FTP_INTERVAL)->IsWindowEnabled());
    page->SetDlgItemText(IDC_CAPTURE_FTP_INTERVAL, "30");
    Choose(page, IDC_CAPTURE_NAME_MODE, 0);  // "Overwrite"
    EXPECT_TRUE(page->GetDlgItem(IDC_CAPTURE_FILE_NAME)->IsWindowEnabled());
    page->SetDlgItemText(IDC_CAPTURE_FILE_NAME, "gate&x=1");
    Tick(page, IDC_SCHEDULE_EVERYDAY, true);
    Choose(page, IDC_SCHEDULE_START_1, 16);     // 08:00
    Choose(page, IDC_SCHEDULE_START_1 + 1, 24); // 12:00
    Choose(page, IDC_SCHEDULE_START_1 + 2, 26); // 13:00
    Choose(page, IDC_SCHEDULE_START_1 + 3, 48); // 24:00
    Click(page, IDC_APPLY);
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, "Auto Capture");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));  // loaded again after the apply

    const std::string day = std::string(16, 'N') + std::string(8, 'P') + "NN" + std::string(22, 'P');
    std::string log = f.Log();
    EXPECT_NE(log.find("-as_enable=1&-as_interval=30&-as_type=ftp"), std::string::npos) << log;
    EXPECT_NE(log.find("-snap_name_mode=1&-snap_timer_name=gate%26x%3D1&cmd=setscheduleex&-ename=snap&-week0=" + day +
                       "&-week1=" + day),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("&-week6=" + day), std::string::npos);
    f.Close();

    f.Open();
    ASSERT_TRUE(f.connected);
    page = PageAt<CDlgAutoCapture>(f.dlg, kCapture, 0);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_CAPTURE_FTP), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(ItemText(page, IDC_CAPTURE_FTP_INTERVAL), "30");
    EXPECT_EQ(page->SendDlgItemMessage(IDC_CAPTURE_NAME_MODE, CB_GETCURSEL), 0);
    EXPECT_EQ(ItemText(page, IDC_CAPTURE_FILE_NAME), "gate&x=1");
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_SCHEDULE_EVERYDAY), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(page->SendDlgItemMessage(IDC_CAPTURE_DAY, CB_GETCURSEL), Today());
    const int want[] = {16, 24, 26, 48, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1 + i, CB_GETCURSEL), want[i]) << i;
}

TEST(AutoCapturePage, OutOfRangeIntervalSendsNothing)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgAutoCapture>(f.dlg, kCapture, 0);
    ASSERT_TRUE(Loaded(page));
    page->SetDlgItemText(IDC_CAPTURE_SD_INTERVAL, "65536");
    Click(page, IDC_APPLY);
    EXPECT_FALSE(page->IsRequestPending());
    EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
}

TEST(RecordSchedulePage, UntouchedDayGoesBackWholeAndTouchedDayIsRebuilt)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    int today = Today();
    ASSERT_FALSE(f.cam.set("plan_" + Day(today) + "=" + kFiveRuns).empty());
    auto* page = PageAt<CDlgTimeRec>(f.dlg, kPlayback, 2);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_SCHEDULE_EVERYDAY), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 6, CB_GETCURSEL), 12);  // the fourth run
    Tick(page, IDC_SCHEDULE_ENABLE, true);
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().caption, "Schedule Continuous Record");
    ASSERT_TRUE(Idle(page));
    std::string log = f.Log();
    EXPECT_NE(log.find("cmd=setplanrecattr&-planrec_enable=1&cmd=setscheduleex&-ename=plan&-" + Day(today) + "=" +
                       kFiveRuns + " "),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("-" + Day((today + 1) % 7) + "="), std::string::npos);

    // Another day shows the camera's text; an edit of it rebuilds it.
    int other = (today + 1) % 7;
    Choose(page, IDC_SCHEDULE_RECORD_DAY, other);
    EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 1, CB_GETCURSEL), 48);
    Choose(page, IDC_SCHEDULE_START_1, 2);
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));
    EXPECT_NE(f.Log().find("-" + Day(other) + "=NN" + std::string(46, 'P')), std::string::npos);
    f.Close();

    f.Open();
    page = PageAt<CDlgTimeRec>(f.dlg, kPlayback, 2);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_SCHEDULE_ENABLE), static_cast<UINT>(BST_CHECKED));
    Choose(page, IDC_SCHEDULE_RECORD_DAY, other);
    EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1, CB_GETCURSEL), 2);
}

TEST(RecordOptionsPage, LengthStreamAndCardSizes)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    ASSERT_FALSE(f.cam.set("sdstatus=Ready&sdtotalspace=31166976&sdfreespace=1048575").empty());
    auto* page = PageAt<CDlgRecParam>(f.dlg, kPlayback, 3);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_RECORD_LENGTH), "600");
    EXPECT_EQ(ItemText(page, IDC_CARD_STATUS), "Ready");
    EXPECT_EQ(ItemText(page, IDC_CARD_TOTAL), "29.72 GB");
    EXPECT_EQ(ItemText(page, IDC_CARD_FREE), "1.00 GB");

    for (const char* refused : {"14", "901"}) {
        page->SetDlgItemText(IDC_RECORD_LENGTH, refused);
        Click(page, IDC_APPLY);
        auto box = f.boxes.Next();
        EXPECT_EQ(box.text, "Record file length range must be between 15-900 seconds.") << refused;
    }
    EXPECT_EQ(f.Log().find("cmd=setplanrecattr"), std::string::npos);
    page->SetDlgItemText(IDC_RECORD_LENGTH, "");
    Choose(page, IDC_RECORD_STREAM, 2);
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().caption, "Continuous Record Options");
    ASSERT_TRUE(Idle(page));
    EXPECT_NE(f.Log().find("cmd=setplanrecattr&-planrec_time=600&-planrec_chn=13"), std::string::npos);
    page->SetDlgItemText(IDC_RECORD_LENGTH, "900");
    Choose(page, IDC_RECORD_STREAM, 1);
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));
    f.Close();

    f.Open();
    page = PageAt<CDlgRecParam>(f.dlg, kPlayback, 3);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_RECORD_LENGTH), "900");
    EXPECT_EQ(page->SendDlgItemMessage(IDC_RECORD_STREAM, CB_GETCURSEL), 1);
    EXPECT_EQ(ItemText(page, IDC_CARD_STATUS), "Ready");
}

TEST(RecordOptionsPage, TwoStreamModelShowsChannel13AsSecondary)
{
    Fixture f({"--model", "CAMXC5-HX-Z20", "--streams", "2"});
    ASSERT_TRUE(f.connected);
    ASSERT_FALSE(f.cam.set("planrec_chn=13").empty());
    auto* page = PageAt<CDlgRecParam>(f.dlg, kPlayback, 3);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(page->SendDlgItemMessage(IDC_RECORD_STREAM, CB_GETCOUNT), 2);
    EXPECT_EQ(page->SendDlgItemMessage(IDC_RECORD_STREAM, CB_GETCURSEL), 1);
    EXPECT_EQ(ItemText(page, IDC_CARD_STATUS), "None");
}

TEST(RecordPages, FailedLoadSendsNoSetters)
{
    struct Case {
        int category, index;
        const char* fault;
    } cases[] = {
        {kCapture, 0, "cmderror=getscheduleex"},
        {kPlayback, 2, "cmderror=getplanrecattr"},
        {kPlayback, 3, "cmderror=getserverinfo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Fixture f({});
        ASSERT_TRUE(f.connected);
        ASSERT_FALSE(f.cam.fault(c.fault).empty());
        auto* page = PageAt<CSettingsPage>(f.dlg, c.category, c.index);
        page->ShowWindow(SW_SHOW);
        EXPECT_EQ(f.boxes.Next().text, "Failed to get settings.");
        ASSERT_TRUE(Idle(page));
        EXPECT_FALSE(page->GetDlgItem(IDC_APPLY)->IsWindowEnabled());
        page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), 0);
        EXPECT_FALSE(page->IsRequestPending());
        EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
    }
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    vx_log_set_level(4);
    vxw::InitGuiThread();
    CWebWatchBase::InitLib();
    int rc = RUN_ALL_TESTS();
    CWebWatchBase::DeinitLib();
    vxw::ShutdownGuiThread();
    return rc;
}
