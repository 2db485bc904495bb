// What the settings window must get right around its pages: closed while
// the zone editor still downloads its snapshot, or while the camera tries
// the mail settings, it hides at once, ends the editor at once, and leaves
// no thread, no picture file and no page behind; a TRACE log of the mail and FTP pages' requests and
// replies holds no password.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/motion/CDlgMDDetect.h"
#include "camera/dialogs/motion/CMotionPic.h"
#include "camera/dialogs/pages/CDlgEmailSetting.h"
#include "camera/dialogs/pages/CDlgFTPSetup.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "support/LogCapture.h"
#include "utility/vx_log.h"

#include <filesystem>

using namespace setup_harness;

namespace {

constexpr int kCamera = 0, kMotion = 2, kEmailPage = 3, kFtpPage = 4;

}  // namespace

TEST(ClosingTheWindow, DuringASnapshotDownloadEndsTheZoneDialogAtOnceAndLeavesNoThreadNorFile)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    f.Close();
    const int threads = ThreadCount();
    f.Open();
    ASSERT_TRUE(f.connected);
    auto* motion = PageAt<CDlgMDDetect>(f.dlg, kMotion, 0);
    ASSERT_TRUE(Loaded(motion));
    ASSERT_FALSE(f.cam.fault("match=snap.jpg&delay=4000").empty());
    HWND settings = f.dlg->GetSafeHwnd();
    HWND zones = nullptr;
    std::string picture;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        auto& pic = static_cast<CMotionPic&>(d);
        ASSERT_TRUE(pic.IsDownloading());
        zones = pic.GetSafeHwnd();
        picture = pic.PicturePath();
        ::PostMessage(settings, WM_CLOSE, 0, 0);
    });
    Click(motion, IDC_MD_ZONES);
    vxw::test::SetModalDialogHook(nullptr);
    // The zone dialog is gone while the camera still sends the snapshot:
    // the window itself waits for that download before it goes.
    ASSERT_NE(zones, nullptr);
    EXPECT_FALSE(::IsWindow(zones)) << "the zone dialog stays";
    EXPECT_TRUE(::IsWindow(settings));
    EXPECT_FALSE(::IsWindowVisible(settings)) << "the window stays shown";
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000));
    f.dlg = nullptr;
    EXPECT_FALSE(picture.empty());
    EXPECT_FALSE(std::filesystem::exists(picture)) << picture;
    EXPECT_TRUE(ThreadsBackTo(threads)) << threads << " threads before, now:\n" << ThreadNames();
    EXPECT_TRUE(f.boxes.calls.empty());
}

TEST(ClosingTheWindow, DuringAMailTestHidesAtOnceAndLeavesNoThread)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    f.Close();
    const int threads = ThreadCount();
    f.Open();
    ASSERT_TRUE(f.connected);
    ASSERT_EQ(f.cam.get("/camsim/cue?op=testsmtp&seconds=4&result=0"), "ok\n");
    HWND settings = f.dlg->GetSafeHwnd();
    auto* mail = PageAt<CDlgEmailSetting>(f.dlg, kCamera, kEmailPage);
    ASSERT_TRUE(Loaded(mail));
    bool tested = false;
    vxw::test::SetModalDialogHook([&](CDialog&) {
        tested = true;
        ::PostMessage(settings, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(settings); }, 2000)) << "the window stays shown";
    });
    Click(mail, IDC_TEST);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000));
    vxw::test::SetModalDialogHook(nullptr);
    f.dlg = nullptr;
    EXPECT_TRUE(tested);
    EXPECT_TRUE(ThreadsBackTo(threads)) << threads << " threads before, now:\n" << ThreadNames();
    EXPECT_TRUE(f.boxes.calls.empty()) << f.boxes.calls[0].text;  // the page is gone: no result
}

TEST(TraceLog, MailAndFtpPasswordsNeverReachIt)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    LogCapture capture;
    auto* mail = PageAt<CDlgEmailSetting>(f.dlg, kCamera, kEmailPage);
    ASSERT_TRUE(Loaded(mail));
    mail->SetDlgItemText(IDC_MAIL_USER, "bob");
    mail->SetDlgItemText(IDC_MAIL_PASSWORD, "Secr3tMail");
    Click(mail, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(mail));
    ASSERT_EQ(f.cam.get("/camsim/cue?op=testsmtp&seconds=0&result=0"), "ok\n");
    Click(mail, IDC_TEST);
    EXPECT_EQ(f.boxes.Next().text, "Test passed.");
    ASSERT_TRUE(Idle(mail));
    Click(mail, IDC_REFRESH);  // the reply's var lines carry it back
    ASSERT_TRUE(Idle(mail));
    EXPECT_EQ(ItemText(mail, IDC_MAIL_PASSWORD), "Secr3tMail");

    auto* ftp = PageAt<CDlgFTPSetup>(f.dlg, kCamera, kFtpPage);
    ASSERT_TRUE(Loaded(ftp));
    ftp->SetDlgItemText(IDC_FTP_USER, "uploader");
    ftp->SetDlgItemText(IDC_FTP_PASSWORD, "Secr3tFtp");
    Click(ftp, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(ftp));
    Click(ftp, IDC_REFRESH);
    ASSERT_TRUE(Idle(ftp));
    EXPECT_EQ(ItemText(ftp, IDC_FTP_PASSWORD), "Secr3tFtp");

    bool mailPath = false, ftpPath = false;
    for (const std::string& line : capture.Lines()) {
        mailPath |= line.find("-ma_password=") != std::string::npos;
        ftpPath |= line.find("-ft_password=") != std::string::npos;
        EXPECT_EQ(line.find("Secr3t"), std::string::npos) << line;
    }
    // The requests were logged, their passwords masked.
    EXPECT_TRUE(mailPath);
    EXPECT_TRUE(ftpPath);
}

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
