// The Firmware Upgrade page against camsim: it shows what the camera is,
// checks a package before anything is sent, uploads it under the progress
// dialog (owned by the settings window), and the camera comes back with the
// package's version; reboot and factory reset ask first and restart it.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CDlgUpgrade.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace setup_harness;

constexpr int kSystem = 6;
constexpr int kUpgradePage = 1;

std::string MakePackage(const vxtest::TempDir& dir, const std::string& fileName, const std::string& model,
                        const std::string& version)
{
    std::string out = dir.file(fileName);
    std::string cmd =
        std::string(VX_BIN_DIR) + "/camsim --make-package '" + model + "' '" + version + "' '" + out + "'";
    return std::system(cmd.c_str()) == 0 ? out : std::string();
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A connected window on a camera that restarts in two seconds, with its
// upgrade page loaded.
struct UpgradeSession : Fixture {
    UpgradeSession() : Fixture({"--reboot-seconds", "2"}) {}
    CDlgUpgrade* Page()
    {
        if (!cam.ok() || !connected)
            return nullptr;
        auto* page = PageAt<CDlgUpgrade>(dlg, kSystem, kUpgradePage);
        return page && Loaded(page) ? page : nullptr;
    }
    bool Reconnected()
    {
        return WaitFor([&] { return ItemText(dlg, IDC_SETUP_STATUS) == "Connected"; }, 30000);
    }
    // The camera closed its ports and opened them again.
    bool Restarted()
    {
        return WaitFor([&] { return cam.state().empty(); }, 5000) && WaitFor([&] { return !cam.state().empty(); });
    }
    // A value the camera reports, through a camera object of the test's own.
    std::string Ask(const char* path)
    {
        CWebWatchNB probe(0, 35, 0, nullptr);
        probe.SetCameraInfo(&info);
        CString reply;
        if (probe.Connect() == 1) {
            probe.GetCgi(path, reply, 3000);
            probe.Cleanup();
        }
        return reply.GetString();
    }
};

// Watches the progress dialog: who owns it, what the window said meanwhile,
// and ends its countdown once the transfer is over, as the camera's restart
// would only make the test wait.
struct ProgressWatch {
    ProgressWatch(CCameraSetupDlg* setup)
    {
        vxw::test::SetModalDialogHook([this, setup](CDialog& d) {
            auto* p = dynamic_cast<CProgressDlg*>(&d);
            if (!p)
                return;
            ++runs;
            ownerDisabled = !::IsWindowEnabled(setup->GetSafeHwnd());
            status = ItemText(setup, IDC_SETUP_STATUS);
            text = ItemText(p, IDC_PROGRESS_TEXT);
            duration = p->m_nDuration;
            auto pos = [p] { return static_cast<int>(p->SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_GETPOS)); };
            WaitFor([&] { return pos() > 0; }, 60000);
            if (pos() < p->m_nDuration)
                p->SendMessage(UM_PROGRESS_END_OK);
        });
    }
    ~ProgressWatch() { vxw::test::SetModalDialogHook(nullptr); }
    int runs = 0;
    bool ownerDisabled = false;
    std::string status;
    std::string text;
    int duration = 0;
};

TEST(UpgradePage, ShowsTheModelKeyAndIdentityByVendorAndRefreshReadsThemAgain)
{
    UpgradeSession s;
    CDlgUpgrade* page = s.Page();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ItemText(page, IDC_UPGRADE_MODEL), "CAMX");
    EXPECT_EQ(ItemText(page, IDC_UPGRADE_VERSION), "2.0.10");
    // The camera's name "camsim" is no 16-character identity.
    EXPECT_EQ(ItemText(page, IDC_UPGRADE_CAMID), "");
    EXPECT_EQ(ItemText(page, IDC_UPGRADE_PIN), "");
    struct Case {
        const char* set;
        const char* model;
        const char* camId;  // after this read; unchanged for other lengths
        const char* pin;
    };
    const Case cases[] = {
        {"vendor=vx&product=PRODX&devid=ABCDEFGHIJKL1234", "PRODX", "ABCDEFGHIJKL", "1234"},
        {"devid=ABCDEFGHIJKL123", "PRODX", "ABCDEFGHIJKL", "1234"},
        {"devid=ZYXWVUTSRQPO98765", "PRODX", "ABCDEFGHIJKL", "1234"},
        {"devid=ZYXWVUTSRQPO9876", "PRODX", "ZYXWVUTSRQPO", "9876"},
        {"vendor=CAMSIM&model=C9F2Bf00&softVersion=V6.1.9.2.21", "CAMX", "ZYXWVUTSRQPO", "9876"},
        {"softVersion=V6.1.9.2.22", "CAMXe", "ZYXWVUTSRQPO", "9876"},
        {"model=C9F2Bg00&softVersion=V10.1.10.3&name=NAMEDCAMERA-5678", "CAMXA1-P", "NAMEDCAMERA-", "5678"},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(s.cam.set(c.set).empty()) << c.set;
        Click(page, IDC_UPGRADE_REFRESH);
        ASSERT_TRUE(Idle(page));
        EXPECT_EQ(ItemText(page, IDC_UPGRADE_MODEL), c.model) << c.set;
        EXPECT_EQ(page->Model(), c.model) << c.set;
        EXPECT_EQ(ItemText(page, IDC_UPGRADE_CAMID), c.camId) << c.set;
        EXPECT_EQ(ItemText(page, IDC_UPGRADE_PIN), c.pin) << c.set;
    }
    EXPECT_EQ(Count(s.Log(), "cmd=getsysinfo&cmd=getvendorinfo&cmd=getserverinfo"), 1 + std::size(cases));
    EXPECT_TRUE(s.boxes.calls.empty());
}

TEST(UpgradePage, AFailedReadSaysSoAndKeepsTheWritingButtonsDisabled)
{
    UpgradeSession s;
    ASSERT_TRUE(s.cam.ok() && s.connected);
    ASSERT_FALSE(s.cam.fault("match=getsysinfo&error=500").empty());
    auto* page = PageAt<CDlgUpgrade>(s.dlg, kSystem, kUpgradePage);
    ASSERT_NE(page, nullptr);
    page->ShowWindow(SW_SHOW);
    auto box = s.boxes.Next();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Failed to get settings.");
    ASSERT_TRUE(Idle(page));
    for (int id : {IDC_UPGRADE_START, IDC_UPGRADE_REBOOT, IDC_UPGRADE_RESET})
        EXPECT_FALSE(page->GetDlgItem(id)->IsWindowEnabled()) << id;
    EXPECT_TRUE(page->GetDlgItem(IDC_UPGRADE_BROWSE)->IsWindowEnabled());

    ASSERT_FALSE(s.cam.fault("clear=1").empty());
    Click(page, IDC_UPGRADE_REFRESH);
    ASSERT_TRUE(WaitFor([&] { return page->IsLoaded() && !page->IsRequestPending(); }));
    for (int id : {IDC_UPGRADE_START, IDC_UPGRADE_REBOOT, IDC_UPGRADE_RESET})
        EXPECT_TRUE(page->GetDlgItem(id)->IsWindowEnabled()) << id;
}

TEST(UpgradePage, RebootAndResetAskFirstThenRestartTheCamera)
{
    UpgradeSession s;
    CDlgUpgrade* page = s.Page();
    ASSERT_NE(page, nullptr);

    s.boxes.answer = IDNO;
    Click(page, IDC_UPGRADE_REBOOT);
    Click(page, IDC_UPGRADE_RESET);
    EXPECT_EQ(s.boxes.Next().text, "Are you sure to reboot the camera?");
    EXPECT_EQ(s.boxes.Next().text, "Are you sure to reset to factory settings?");
    EXPECT_FALSE(page->IsRequestPending());

    // A refused reboot is a failure.
    s.boxes.answer = IDYES;
    ASSERT_FALSE(s.cam.fault("match=sysreboot&error=500&count=1").empty());
    Click(page, IDC_UPGRADE_REBOOT);
    s.boxes.Next();
    EXPECT_EQ(s.boxes.Next().text, "Reboot the camera failed.");
    ASSERT_TRUE(Idle(page));

    Click(page, IDC_UPGRADE_REBOOT);
    auto ask = s.boxes.Next();
    EXPECT_EQ(ask.caption, "Firmware Upgrade");
    EXPECT_EQ(ask.type & MB_YESNO, static_cast<UINT>(MB_YESNO));
    auto done = s.boxes.Next();
    EXPECT_EQ(done.caption, "Firmware Upgrade");
    EXPECT_EQ(done.text, "Rebooting...\nPlease wait its process completed after camera is rebooted.");
    ASSERT_TRUE(s.Restarted());
    ASSERT_TRUE(s.Reconnected());

    // The reset puts back what a user changed.
    ASSERT_FALSE(s.cam.set("ntpserver=time.example.org").empty());
    Click(page, IDC_UPGRADE_RESET);
    s.boxes.Next();
    EXPECT_EQ(s.boxes.Next().text,
              "Resetting to factory settings...\nPlease use cam locator to relocate the camera after reset.");
    ASSERT_TRUE(s.Restarted());
    EXPECT_NE(s.Ask("/cgi-bin/hi3510/param.cgi?cmd=getntpattr").find("var ntpserver=\"pool.ntp.org\""),
              std::string::npos);
    EXPECT_TRUE(s.Reconnected());

    std::string log = s.Log();
    EXPECT_EQ(Count(log, "/cgi-bin/hi3510/sysreboot.cgi"), 2u);
    EXPECT_EQ(Count(log, "/cgi-bin/hi3510/sysreset.cgi"), 1u);
}

TEST(UpgradePage, APackageIsCheckedBeforeAnythingIsSent)
{
    vxtest::TempDir dir("vx-upgrade-page");
    std::string mismatch = MakePackage(dir, "CAMXe-F19.2.bin", "CAMXA1-N", "V19.2");
    std::string otherModel = MakePackage(dir, "other.bin", "CAMXe", "V19.2");
    ASSERT_FALSE(mismatch.empty());
    ASSERT_FALSE(otherModel.empty());
    UpgradeSession s;
    CDlgUpgrade* page = s.Page();
    ASSERT_NE(page, nullptr);
    ProgressWatch watch(s.dlg);
    s.boxes.answer = IDYES;

    struct Case {
        const char* name;
        std::string path;
        int answer;  // to the confirmation
        std::vector<std::string> boxes;
        bool sent;
    };
    const char* ask = "This device will be upgrade. Would you like to upgrade it?";
    const Case cases[] = {
        {"no path", "", IDYES, {"Invalid upgrade file."}, false},
        {"missing file", dir.file("none.bin"), IDYES, {"Invalid upgrade file."}, false},
        {"a folder", dir.path(), IDYES, {"Invalid upgrade file."}, false},
        {"declined", otherModel, IDNO, {ask}, false},
        {"name of another model",
         mismatch,
         IDYES,
         {ask, "Can not upgrade firmware to the camera, the firmware does not match the camera model."},
         false},
        {"refused by the camera", otherModel, IDYES, {ask, "Failed to upgrade."}, true},
    };
    int uploads = 0;
    for (const Case& c : cases) {
        page->SetDlgItemText(IDC_UPGRADE_FILE, c.path.c_str());
        s.boxes.answer = c.answer;
        size_t before = s.boxes.calls.size();
        Click(page, IDC_UPGRADE_START);
        ASSERT_EQ(s.boxes.calls.size(), before + c.boxes.size()) << c.name;
        for (size_t i = 0; i < c.boxes.size(); ++i)
            EXPECT_EQ(s.boxes.calls[before + i].text, c.boxes[i]) << c.name;
        s.boxes.seen = s.boxes.calls.size();
        uploads += c.sent ? 1 : 0;
        EXPECT_EQ(watch.runs, uploads) << c.name;
        EXPECT_EQ(Count(s.Log(), "upgrade.cgi"), static_cast<size_t>(uploads)) << c.name;
    }
    EXPECT_EQ(s.boxes.calls.back().caption, "Error");
    // Nothing changed on the camera, and the link check runs again.
    Click(page, IDC_UPGRADE_REFRESH);
    ASSERT_TRUE(Idle(page));
    EXPECT_EQ(ItemText(page, IDC_UPGRADE_VERSION), "2.0.10");
    EXPECT_TRUE(s.Reconnected());

    // A camera the window lost is not asked to take a package.
    ASSERT_FALSE(s.cam.fault("vanish=30").empty());
    ASSERT_TRUE(WaitFor([&] { return !s.dlg->Camera()->IsLogin(); }, 30000));
    page->SetDlgItemText(IDC_UPGRADE_FILE, otherModel.c_str());
    s.boxes.answer = IDYES;
    size_t before = s.boxes.calls.size();
    Click(page, IDC_UPGRADE_START);
    ASSERT_EQ(s.boxes.calls.size(), before + 2);
    EXPECT_EQ(s.boxes.calls.back().text, "Device is not login.");
    EXPECT_EQ(watch.runs, uploads);
}

TEST(UpgradePage, ACameraReachedByItsP2PIdentifierRebootsButTakesNoPackage)
{
    vxtest::TempDir dir("vx-upgrade-page");
    std::string package = MakePackage(dir, "fw.bin", "CAMXA1-N", "V19.2");
    UpgradeSession s;
    ASSERT_TRUE(s.cam.ok() && s.connected);
    s.Close();
    s.info.nEntryType = WATCH_ENTRY_P2P_ID;
    s.info.strP2PID = "ABCDEFGHIJKL1234";
    vxcam_interface::ShowDialog(0, s.owner.GetSafeHwnd(), &s.info, 0, "", "", 0);
    HWND h = FindWindow(nullptr, "Camera Properties");
    s.dlg = h ? static_cast<CCameraSetupDlg*>(CWnd::FromHandlePermanent(h)) : nullptr;
    ASSERT_NE(s.dlg, nullptr);
    ASSERT_TRUE(s.Reconnected());
    auto* page = PageAt<CDlgUpgrade>(s.dlg, kSystem, kUpgradePage);
    ASSERT_TRUE(Loaded(page));
    EXPECT_TRUE(page->GetDlgItem(IDC_UPGRADE_REBOOT)->IsWindowEnabled());
    EXPECT_TRUE(page->GetDlgItem(IDC_UPGRADE_RESET)->IsWindowEnabled());
    EXPECT_FALSE(page->GetDlgItem(IDC_UPGRADE_START)->IsWindowEnabled());
    // Not even a command that reaches the page starts anything.
    page->SetDlgItemText(IDC_UPGRADE_FILE, package.c_str());
    s.boxes.answer = IDYES;
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_UPGRADE_START, BN_CLICKED), 0);
    EXPECT_TRUE(s.boxes.calls.empty());
    EXPECT_EQ(Count(s.Log(), "upgrade.cgi"), 0u);
}

TEST(UpgradePage, AnUpgradeRestartsTheCameraAndRefreshShowsTheNewVersion)
{
    vxtest::TempDir dir("vx-upgrade-page");
    std::string package = MakePackage(dir, "CAMX-F19.2.0.1.bin", "CAMXA1-N", "V19.2.0.1");
    ASSERT_FALSE(package.empty());
    UpgradeSession s;
    CDlgUpgrade* page = s.Page();
    ASSERT_NE(page, nullptr);
    ProgressWatch watch(s.dlg);

    // Browse puts the chosen package into the path.
    vxw::test::FileDialogCall browse{};
    vxw::test::SetFileDialogHook([&](const vxw::test::FileDialogCall& c) -> std::optional<std::string> {
        browse = c;
        return package;
    });
    Click(page, IDC_UPGRADE_BROWSE);
    vxw::test::SetFileDialogHook(nullptr);
    EXPECT_TRUE(browse.open);
    EXPECT_TRUE(browse.flags & OFN_FILEMUSTEXIST);
    EXPECT_EQ(ItemText(page, IDC_UPGRADE_FILE), package);

    s.boxes.answer = IDYES;
    Click(page, IDC_UPGRADE_START);
    EXPECT_EQ(watch.runs, 1);
    EXPECT_TRUE(watch.ownerDisabled);
    EXPECT_EQ(watch.status, "Firmware upgrade");
    EXPECT_EQ(watch.duration, 150);
    EXPECT_EQ(watch.text, "IP Camera firmware is upgrading, please do not turn off power and wait ......");
    auto done = s.boxes.Next();
    done = s.boxes.Next();
    EXPECT_EQ(done.caption, "Firmware Upgrade");
    EXPECT_EQ(done.text, "Firmware upgraded successfully.");

    // The camera restarts with the package's version; the window's link
    // check finds it again.
    ASSERT_TRUE(s.Restarted());
    ASSERT_TRUE(s.Reconnected());
    EXPECT_TRUE(WaitFor([&] {
        if (!page->IsRequestPending()) {
            if (ItemText(page, IDC_UPGRADE_VERSION) == "V19.2.0.1")
                return true;
            page->Load();
        }
        return false;
    }));
    EXPECT_EQ(Count(s.Log(), "upgrade.cgi"), 1u);
}

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
