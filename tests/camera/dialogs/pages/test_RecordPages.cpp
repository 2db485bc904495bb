// The auto capture, record schedule and record options pages against
// camsim: changed through their controls, applied, and shown again by a
// reopened window; untouched schedule days go back as the camera sent them.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CDlgAutoCapture.h"
#include "camera/dialogs/pages/CDlgHDDInfo.h"
#include "camera/dialogs/pages/CDlgRecParam.h"
#include "camera/dialogs/pages/CDlgTimeRec.h"
#include "camera/session/CWebWatchNB.h"
#include "utility/vx_log.h"

#include <ctime>

using namespace setup_harness;

namespace {

constexpr int kCapture = 3, kPlayback = 4, kSystem = 6;

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
    Choose(page, IDC_SCHEDULE_START_1, 16);      // 08:00
    Choose(page, IDC_SCHEDULE_START_1 + 1, 24);  // 12:00
    Choose(page, IDC_SCHEDULE_START_1 + 2, 26);  // 13:00
    Choose(page, IDC_SCHEDULE_START_1 + 3, 48);  // 24:00
    Click(page, IDC_APPLY);
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, "Auto Capture");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));  // loaded again after the apply

    const std::string day = std::string(16, 'N') + std::string(8, 'P') + "NN" + std::string(22, 'P');
    std::string log = f.Log();
    EXPECT_NE(log.find("-as_enable=1&-as_interval=30&-as_type=ftp"), std::string::npos) << log;
    EXPECT_NE(log.find("-snap_name_mode=1&-snap_timer_name=gate%26x%3D1&cmd=setscheduleex&-ename=snap&-week0=" + day
                       + "&-week1=" + day),
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
    Tick(page, IDC_CAPTURE_SD, true);  // a switched-off action's interval is not checked
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
    EXPECT_NE(log.find("cmd=setplanrecattr&-planrec_enable=1&cmd=setscheduleex&-ename=plan&-" + Day(today) + "="
                       + kFiveRuns + " "),
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
    EXPECT_EQ(ItemText(page, IDC_RECORD_STREAM), "Secondary Stream");
    EXPECT_EQ(ItemText(page, IDC_CARD_STATUS), "None");
}

TEST(RecordPages, FailedLoadSendsNoSetters)
{
    struct Case {
        int category, index, write;
        const char* fault;
    } cases[] = {
        {kCapture, 0, IDC_APPLY, "cmderror=getscheduleex"},
        {kPlayback, 2, IDC_APPLY, "cmderror=getplanrecattr"},
        {kPlayback, 3, IDC_APPLY, "cmderror=getserverinfo"},
        {kSystem, 0, IDC_FORMAT, "cmderror=getserverinfo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Fixture f({});
        ASSERT_TRUE(f.connected);
        f.boxes.answer = IDYES;  // a format would be confirmed
        ASSERT_FALSE(f.cam.set("sdstatus=Ready&sdtotalspace=2048&sdfreespace=0").empty());
        ASSERT_FALSE(f.cam.fault(c.fault).empty());
        auto* page = PageAt<CSettingsPage>(f.dlg, c.category, c.index);
        page->ShowWindow(SW_SHOW);
        EXPECT_EQ(f.boxes.Next().text, "Failed to get settings.");
        ASSERT_TRUE(Idle(page));
        EXPECT_FALSE(page->GetDlgItem(c.write)->IsWindowEnabled());
        page->SendMessage(WM_COMMAND, MAKEWPARAM(c.write, BN_CLICKED), 0);
        EXPECT_FALSE(page->IsRequestPending());
        EXPECT_EQ(f.boxes.calls.size(), 1u);
        std::string log = f.Log();
        EXPECT_EQ(log.find("cmd=set"), std::string::npos);
        EXPECT_EQ(log.find("cmd=sdfrmt"), std::string::npos);
    }
}

TEST(StoragePage, ConfirmedFormatTakesItsTimeWithoutBlockingAndEmptiesTheCard)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    f.boxes.answer = IDYES;
    ASSERT_FALSE(f.cam.set("sdstatus=Ready&sdtotalspace=31166976&sdfreespace=1024").empty());
    ASSERT_EQ(f.cam.get("/camsim/cue?op=sdfrmt&seconds=2"), "ok\n");
    auto* page = PageAt<CDlgHDDInfo>(f.dlg, kSystem, 0);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_CARD_TOTAL), "29.72 GB");
    EXPECT_EQ(ItemText(page, IDC_CARD_FREE), "0.00 GB");
    Click(page, IDC_FORMAT);
    auto ask = f.boxes.Next();
    EXPECT_EQ(ask.caption, "Storage");
    EXPECT_EQ(ask.text, "Are you sure to format the SD card?");
    // The GUI thread runs on while the camera formats, the watchdog resting.
    EXPECT_TRUE(page->IsFormatting());
    EXPECT_EQ(f.dlg->m_bTimerSet, 0);
    EXPECT_TRUE(page->GetDlgItem(IDC_FORMAT_PROGRESS)->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(page->GetDlgItem(IDC_REFRESH)->IsWindowEnabled());
    EXPECT_TRUE(WaitFor([&] { return page->GetDlgItem(IDC_FORMAT_PROGRESS)->SendMessage(PBM_GETPOS) > 0; }))
        << "the bar never moved";
    auto done = f.boxes.Next();
    EXPECT_EQ(done.caption, "Storage");
    EXPECT_EQ(done.text, "Format the SD card successfully.");
    EXPECT_FALSE(page->GetDlgItem(IDC_FORMAT_PROGRESS)->GetStyle() & WS_VISIBLE);
    ASSERT_TRUE(Idle(page));
    EXPECT_EQ(ItemText(page, IDC_CARD_FREE), "29.72 GB");
    EXPECT_TRUE(page->GetDlgItem(IDC_FORMAT)->IsWindowEnabled());
    EXPECT_TRUE(page->GetDlgItem(IDC_REFRESH)->IsWindowEnabled());
    EXPECT_EQ(f.dlg->m_bTimerSet, 1);
}

TEST(StoragePage, NoCardNoFormatAndRefusalsOrCutsFail)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgHDDInfo>(f.dlg, kSystem, 0);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_CARD_STATUS), "None");
    EXPECT_FALSE(page->GetDlgItem(IDC_FORMAT)->IsWindowEnabled());

    ASSERT_FALSE(f.cam.set("sdstatus=Ready&sdtotalspace=2048&sdfreespace=0").empty());
    Click(page, IDC_REFRESH);
    ASSERT_TRUE(Idle(page));
    ASSERT_TRUE(page->GetDlgItem(IDC_FORMAT)->IsWindowEnabled());

    f.boxes.answer = IDNO;  // asked and declined: nothing is sent
    Click(page, IDC_FORMAT);
    EXPECT_EQ(f.boxes.Next().text, "Are you sure to format the SD card?");
    EXPECT_FALSE(page->IsFormatting());

    f.boxes.answer = IDYES;
    const char* failures[] = {"/camsim/cue?op=sdfrmt&seconds=0&result=fail", "/camsim/fault?match=sdfrmt&cut=5"};
    for (const char* cue : failures) {
        SCOPED_TRACE(cue);
        ASSERT_FALSE(f.cam.get(cue).empty());
        Click(page, IDC_FORMAT);
        EXPECT_EQ(f.boxes.Next().text, "Are you sure to format the SD card?");
        auto box = f.boxes.Next();
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, "Failed to format the SD card.");
        EXPECT_FALSE(page->IsFormatting());
        EXPECT_TRUE(page->GetDlgItem(IDC_FORMAT)->IsWindowEnabled());
    }
    EXPECT_NE(f.Log().find("cmd=sdfrmt"), std::string::npos);
}

TEST(StoragePage, ClosingDuringAFormatHidesAtOnceAndLeavesNoThread)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    f.Close();
    const int threads = ThreadCount();
    f.Open();
    ASSERT_TRUE(f.connected);
    f.boxes.answer = IDYES;
    ASSERT_FALSE(f.cam.set("sdstatus=Ready&sdtotalspace=2048&sdfreespace=0").empty());
    ASSERT_EQ(f.cam.get("/camsim/cue?op=sdfrmt&seconds=4"), "ok\n");
    auto* page = PageAt<CDlgHDDInfo>(f.dlg, kSystem, 0);
    ASSERT_TRUE(Loaded(page));
    Click(page, IDC_FORMAT);
    ASSERT_TRUE(page->IsFormatting());
    HWND h = f.dlg->GetSafeHwnd();
    f.dlg->PostMessage(WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(h); }, 2000));
    EXPECT_TRUE(::IsWindowEnabled(f.owner.GetSafeHwnd()));
    f.Close();  // the window goes once the camera answered; no box comes
    EXPECT_EQ(f.boxes.calls.size(), 1u);
    EXPECT_TRUE(ThreadsBackTo(threads)) << threads << " threads before, now:\n" << ThreadNames();
}

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
