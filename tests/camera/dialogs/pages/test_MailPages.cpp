// The e-mail and FTP pages against camsim: applied through their controls
// and shown again by a reopened window, tests that take camsim's time and
// answer what it was cued to, and an account that survives a test.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CDlgEmailSetting.h"
#include "camera/dialogs/pages/CDlgFTPSetup.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "utility/vx_log.h"

using namespace setup_harness;

namespace {

constexpr int kCamera = 0, kEmailPage = 3, kFtpPage = 4;

}  // namespace

class MailRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(MailRoundTrip, EmptyMiddleReceiverAndAMultiLineMessageSurviveAReopen)
{
    Fixture f({"--family", GetParam()});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgEmailSetting>(f.dlg, kCamera, kEmailPage);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    page->SetDlgItemText(IDC_MAIL_SERVER, "smtp.example.org");
    page->SetDlgItemText(IDC_MAIL_PORT, "465");
    Choose(page, IDC_MAIL_ENCRYPT, 1);
    page->SetDlgItemText(IDC_MAIL_SENDER, "cam@example.org");
    page->SetDlgItemText(IDC_MAIL_TO_1, "one@example.org");
    page->SetDlgItemText(IDC_MAIL_TO_2, "");
    page->SetDlgItemText(IDC_MAIL_TO_3, "three@example.org");
    page->SetDlgItemText(IDC_MAIL_TEXT, "Motion at the gate\r\nsee the picture");
    page->CheckRadioButton(IDC_MAIL_SIZE_XL, IDC_MAIL_SIZE_S, IDC_MAIL_SIZE_XL);
    Click(page, IDC_APPLY);
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, "Email Settings");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));
    EXPECT_NE(f.Log().find("-ma_to=one%40example.org%3B%3Bthree%40example.org&"), std::string::npos) << f.Log();
    f.Close();

    f.Open();
    ASSERT_TRUE(f.connected);
    page = PageAt<CDlgEmailSetting>(f.dlg, kCamera, kEmailPage);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_MAIL_SERVER), "smtp.example.org");
    EXPECT_EQ(ItemText(page, IDC_MAIL_PORT), "465");
    EXPECT_EQ(page->SendDlgItemMessage(IDC_MAIL_ENCRYPT, CB_GETCURSEL), 1);
    EXPECT_EQ(ItemText(page, IDC_MAIL_TO_1), "one@example.org");
    EXPECT_EQ(ItemText(page, IDC_MAIL_TO_2), "");
    EXPECT_EQ(ItemText(page, IDC_MAIL_TO_3), "three@example.org");
    EXPECT_EQ(ItemText(page, IDC_MAIL_TEXT), "Motion at the gate\r\nsee the picture");
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_MAIL_SIZE_XL), static_cast<UINT>(BST_CHECKED));
}

INSTANTIATE_TEST_SUITE_P(Families, MailRoundTrip, ::testing::Values("HX", "DY", "AJ", "HTL"));

TEST(EmailPage, ReceiverWithSeparatorIsRefused)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgEmailSetting>(f.dlg, kCamera, kEmailPage);
    ASSERT_TRUE(Loaded(page));
    page->SetDlgItemText(IDC_MAIL_TO_2, "a@example.org;b@example.org");
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Email address has invalid character.");
    EXPECT_EQ(::GetFocus(), page->GetDlgItem(IDC_MAIL_TO_2)->GetSafeHwnd());
    EXPECT_EQ(f.Log().find("setsmtpattr"), std::string::npos);
}

TEST(EmailPage, TestResultsByCueAndTheAccountStays)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgEmailSetting>(f.dlg, kCamera, kEmailPage);
    ASSERT_TRUE(Loaded(page));
    page->SetDlgItemText(IDC_MAIL_USER, "bob");
    page->SetDlgItemText(IDC_MAIL_PASSWORD, "Secr3t");
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));

    Tick(page, IDC_MAIL_AUTH, false);
    EXPECT_FALSE(page->GetDlgItem(IDC_MAIL_USER)->IsWindowEnabled());
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Test passed."},
        {"-2", "SSL error"},
        {"-3", "Unable to connect to server"},
        {"-4", "User name or password error"},
        {"-9", "Test failed."},
    };
    // The watchdog rests while the camera tries: its check would wait
    // behind the test on the camera's session.
    int watchdogDuringTest = -1;
    vxw::test::SetModalDialogHook([&](CDialog&) { watchdogDuringTest = f.dlg->m_bTimerSet; });
    for (auto [result, text] : cases) {
        SCOPED_TRACE(result);
        ASSERT_EQ(f.cam.get(std::string("/camsim/cue?op=testsmtp&seconds=1&result=") + result), "ok\n");
        watchdogDuringTest = -1;
        Click(page, IDC_TEST);
        auto box = f.boxes.Next();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, std::string(result) == "0" ? "Email Settings" : "Error");
        EXPECT_TRUE(Idle(page));
        EXPECT_EQ(watchdogDuringTest, 0);
        EXPECT_EQ(f.dlg->m_bTimerSet, 1);
    }
    vxw::test::SetModalDialogHook(nullptr);
    std::string log = f.Log();
    EXPECT_NE(log.find("-ma_logintype=3&-ma_username=bob&-ma_password=Secr3t&"), std::string::npos) << log;
    // The camera still holds the account.
    Click(page, IDC_REFRESH);
    ASSERT_TRUE(Idle(page));
    EXPECT_EQ(ItemText(page, IDC_MAIL_USER), "bob");
    EXPECT_EQ(ItemText(page, IDC_MAIL_PASSWORD), "Secr3t");
}

TEST(FtpPage, AppliesAndTestsByCue)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    auto* page = PageAt<CDlgFTPSetup>(f.dlg, kCamera, kFtpPage);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    page->SetDlgItemText(IDC_FTP_SERVER, "ftp.example.org");
    page->SetDlgItemText(IDC_FTP_PORT, "2121");
    page->SetDlgItemText(IDC_FTP_PATH, "/cam/gate");
    Tick(page, IDC_FTP_PASSIVE, false);
    Click(page, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().caption, "FTP Settings");
    ASSERT_TRUE(Idle(page));
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Test passed."},
        {"-2", "Unable to connect to server"},
        {"-4", "Wrong path"},
    };
    for (auto [result, text] : cases) {
        SCOPED_TRACE(result);
        ASSERT_EQ(f.cam.get(std::string("/camsim/cue?op=testftp&seconds=1&result=") + result), "ok\n");
        Click(page, IDC_TEST);
        EXPECT_EQ(f.boxes.Next().text, text);
        EXPECT_TRUE(Idle(page));
    }
    f.Close();
    f.Open();
    page = PageAt<CDlgFTPSetup>(f.dlg, kCamera, kFtpPage);
    ASSERT_TRUE(Loaded(page));
    EXPECT_EQ(ItemText(page, IDC_FTP_SERVER), "ftp.example.org");
    EXPECT_EQ(ItemText(page, IDC_FTP_PORT), "2121");
    EXPECT_EQ(ItemText(page, IDC_FTP_PATH), "/cam/gate");
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_FTP_PASSIVE), static_cast<UINT>(BST_UNCHECKED));
}

TEST(MailPages, FailedLoadKeepsApplyAndTestShut)
{
    for (auto [index, fault] : {std::pair{kEmailPage, "cmderror=getsmtpattr"}, {kFtpPage, "cmderror=getftpattr"}}) {
        SCOPED_TRACE(fault);
        Fixture f({});
        ASSERT_TRUE(f.connected);
        ASSERT_FALSE(f.cam.fault(fault).empty());
        auto* page = PageAt<CSettingsPage>(f.dlg, kCamera, index);
        page->ShowWindow(SW_SHOW);
        EXPECT_EQ(f.boxes.Next().text, "Failed to get settings.");
        ASSERT_TRUE(Idle(page));
        EXPECT_FALSE(page->GetDlgItem(IDC_APPLY)->IsWindowEnabled());
        EXPECT_FALSE(page->GetDlgItem(IDC_TEST)->IsWindowEnabled());
        page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST, BN_CLICKED), 0);
        EXPECT_FALSE(page->IsRequestPending());
        EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
        EXPECT_EQ(f.Log().find("cmd=test"), std::string::npos);
    }
}

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
