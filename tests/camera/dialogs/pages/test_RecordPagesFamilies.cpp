// The auto capture, record schedule, record options, storage and FTP pages
// on the families that carry the parameter CGI beside their own login: each
// family's camsim is changed through the pages' controls, and a reopened
// window shows what the camera kept.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CDlgAutoCapture.h"
#include "camera/dialogs/pages/CDlgFTPSetup.h"
#include "camera/dialogs/pages/CDlgHDDInfo.h"
#include "camera/dialogs/pages/CDlgRecParam.h"
#include "camera/dialogs/pages/CDlgTimeRec.h"
#include "camera/session/CWebWatchNB.h"
#include "utility/vx_log.h"

#include <ctime>

using namespace setup_harness;

namespace {

constexpr int kCamera = 0, kCapture = 3, kPlayback = 4, kSystem = 6;
constexpr int kFtpPage = 4;

int Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_wday;
}

// Half-hours [from, to) active, the rest not.
std::string Active(int from, int to)
{
    return std::string(from, 'N') + std::string(to - from, 'P') + std::string(48 - to, 'N');
}

void ExpectPairs(CWnd* page, const std::vector<int>& want)
{
    for (int i = 0; i < 8; ++i) {
        int w = i < static_cast<int>(want.size()) ? want[i] : 0;
        EXPECT_EQ(page->SendDlgItemMessage(IDC_SCHEDULE_START_1 + i, CB_GETCURSEL), w) << "combo " << i;
    }
}

void ExpectSuccess(Fixture& f, CSettingsPage* page, const char* caption)
{
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, "Apply settings successfully.");
    EXPECT_TRUE(Idle(page));
}

}  // namespace

class RecordPagesOnFamily : public ::testing::TestWithParam<const char*> {};

TEST_P(RecordPagesOnFamily, PagesApplyAndAReopenShowsWhatTheCameraKept)
{
    Fixture f({"--family", GetParam()});
    ASSERT_TRUE(f.connected);
    const int today = Today();
    f.boxes.answer = IDYES;  // the format's question
    ASSERT_FALSE(f.cam.set("sdstatus=Ready&sdtotalspace=31166976&sdfreespace=1024").empty());
    ASSERT_EQ(f.cam.get("/camsim/cue?op=sdfrmt&seconds=1"), "ok\n");

    auto* capture = PageAt<CDlgAutoCapture>(f.dlg, kCapture, 0);
    ASSERT_NE(capture, nullptr);
    ASSERT_TRUE(Loaded(capture));
    Tick(capture, IDC_CAPTURE_SD, true);
    capture->SetDlgItemText(IDC_CAPTURE_SD_INTERVAL, "120");
    Choose(capture, IDC_CAPTURE_NAME_MODE, 1);  // "Date/Time Suffix"
    Tick(capture, IDC_SCHEDULE_EVERYDAY, false);  // today only
    Choose(capture, IDC_SCHEDULE_START_1, 4);
    Choose(capture, IDC_SCHEDULE_START_1 + 1, 12);
    Click(capture, IDC_APPLY);
    ExpectSuccess(f, capture, "Auto Capture");

    auto* schedule = PageAt<CDlgTimeRec>(f.dlg, kPlayback, 2);
    ASSERT_NE(schedule, nullptr);
    ASSERT_TRUE(Loaded(schedule));
    Tick(schedule, IDC_SCHEDULE_ENABLE, true);
    Tick(schedule, IDC_SCHEDULE_EVERYDAY, true);
    Choose(schedule, IDC_SCHEDULE_START_1, 40);
    Choose(schedule, IDC_SCHEDULE_START_1 + 1, 48);
    Click(schedule, IDC_APPLY);
    ExpectSuccess(f, schedule, "Schedule Continuous Record");

    auto* options = PageAt<CDlgRecParam>(f.dlg, kPlayback, 3);
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(Loaded(options));
    EXPECT_EQ(ItemText(options, IDC_CARD_TOTAL), "29.72 GB");
    options->SetDlgItemText(IDC_RECORD_LENGTH, "300");
    Choose(options, IDC_RECORD_STREAM, 1);
    Click(options, IDC_APPLY);
    ExpectSuccess(f, options, "Continuous Record Options");

    auto* storage = PageAt<CDlgHDDInfo>(f.dlg, kSystem, 0);
    ASSERT_NE(storage, nullptr);
    ASSERT_TRUE(Loaded(storage));
    EXPECT_EQ(ItemText(storage, IDC_CARD_FREE), "0.00 GB");
    Click(storage, IDC_FORMAT);
    EXPECT_EQ(f.boxes.Next().text, "Are you sure to format the SD card?");
    EXPECT_EQ(f.boxes.Next().text, "Format the SD card successfully.");
    EXPECT_TRUE(Idle(storage));

    auto* ftp = PageAt<CDlgFTPSetup>(f.dlg, kCamera, kFtpPage);
    ASSERT_NE(ftp, nullptr);
    ASSERT_TRUE(Loaded(ftp));
    ftp->SetDlgItemText(IDC_FTP_SERVER, "ftp.example.org");
    ftp->SetDlgItemText(IDC_FTP_USER, "uploader");
    ftp->SetDlgItemText(IDC_FTP_PASSWORD, "Up1oad");
    ftp->SetDlgItemText(IDC_FTP_PATH, "/cam/yard");
    Click(ftp, IDC_APPLY);
    ExpectSuccess(f, ftp, "FTP Settings");

    const std::string log = f.Log();
    const std::string week = "-week" + std::to_string(today) + "=";
    EXPECT_NE(log.find("-as_enable=1&-as_interval=120&-as_type=snap&cmd=setalarmsnapattr&-snap_name_mode=0&"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("-ename=snap&" + week + Active(4, 12) + " "), std::string::npos);
    EXPECT_NE(log.find("-planrec_enable=1&cmd=setscheduleex&-ename=plan&-week0=" + Active(40, 48)), std::string::npos);
    EXPECT_NE(log.find("cmd=setplanrecattr&-planrec_time=300&-planrec_chn=12"), std::string::npos);
    EXPECT_NE(log.find("cmd=sdfrmt"), std::string::npos);
    EXPECT_NE(log.find("-ft_server=ftp.example.org&-ft_port=21&-ft_username=uploader&-ft_password=Up1oad&"
                       "-ft_dirname=%2Fcam%2Fyard"),
              std::string::npos);
    f.Close();

    f.Open();
    ASSERT_TRUE(f.connected);
    capture = PageAt<CDlgAutoCapture>(f.dlg, kCapture, 0);
    ASSERT_TRUE(Loaded(capture));
    EXPECT_EQ(capture->IsDlgButtonChecked(IDC_CAPTURE_SD), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(ItemText(capture, IDC_CAPTURE_SD_INTERVAL), "120");
    EXPECT_EQ(capture->SendDlgItemMessage(IDC_CAPTURE_NAME_MODE, CB_GETCURSEL), 1);
    EXPECT_FALSE(capture->GetDlgItem(IDC_CAPTURE_FILE_NAME)->IsWindowEnabled());
    EXPECT_EQ(capture->IsDlgButtonChecked(IDC_SCHEDULE_EVERYDAY), static_cast<UINT>(BST_UNCHECKED));
    ExpectPairs(capture, {4, 12});

    schedule = PageAt<CDlgTimeRec>(f.dlg, kPlayback, 2);
    ASSERT_TRUE(Loaded(schedule));
    EXPECT_EQ(schedule->IsDlgButtonChecked(IDC_SCHEDULE_ENABLE), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(schedule->IsDlgButtonChecked(IDC_SCHEDULE_EVERYDAY), static_cast<UINT>(BST_CHECKED));
    Choose(schedule, IDC_SCHEDULE_RECORD_DAY, (today + 3) % 7);
    ExpectPairs(schedule, {40, 48});

    options = PageAt<CDlgRecParam>(f.dlg, kPlayback, 3);
    ASSERT_TRUE(Loaded(options));
    EXPECT_EQ(ItemText(options, IDC_RECORD_LENGTH), "300");
    EXPECT_EQ(options->SendDlgItemMessage(IDC_RECORD_STREAM, CB_GETCURSEL), 1);
    EXPECT_EQ(ItemText(options, IDC_CARD_FREE), "29.72 GB");  // formatted

    storage = PageAt<CDlgHDDInfo>(f.dlg, kSystem, 0);
    ASSERT_TRUE(Loaded(storage));
    EXPECT_EQ(ItemText(storage, IDC_CARD_STATUS), "Ready");
    EXPECT_EQ(ItemText(storage, IDC_CARD_FREE), "29.72 GB");

    ftp = PageAt<CDlgFTPSetup>(f.dlg, kCamera, kFtpPage);
    ASSERT_TRUE(Loaded(ftp));
    EXPECT_EQ(ItemText(ftp, IDC_FTP_SERVER), "ftp.example.org");
    EXPECT_EQ(ItemText(ftp, IDC_FTP_USER), "uploader");
    EXPECT_EQ(ItemText(ftp, IDC_FTP_PASSWORD), "Up1oad");
    EXPECT_EQ(ItemText(ftp, IDC_FTP_PATH), "/cam/yard");
}

// HX runs the same pages in test_RecordPages and test_MailPages.
INSTANTIATE_TEST_SUITE_P(Families, RecordPagesOnFamily, ::testing::Values("DY", "AJ", "HTL"));

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
