// The Wireless page against camsim: a scanned access point added, its key
// typed, applied and shown again after reopening; scans that find nothing,
// fail or find more than the bar column holds; closing a scan under way;
// the camera's test with the right and a wrong key; closing under a refusal;
// no key in the log; and a slow load that leaves the GUI thread free.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CDlgCfgWireless.h"
#include "camera/dialogs/pages/CDlgWireLess.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/session/CWebWatchBase.h"
#include "platform/ui/TestHooks.h"
#include "support/LogCapture.h"
#include "utility/vx_log.h"

#include <chrono>
#include <string>
#include <vector>

using namespace setup_harness;

namespace {

constexpr int kCamera = 0;
constexpr int kWirelessIndex = 2;

CDlgCfgWireless* WirelessPage(Fixture& f)
{
    return PageAt<CDlgCfgWireless>(f.dlg, kCamera, kWirelessIndex);
}

// Wi-Fi on, with a network, its security (combo index) and key typed in.
void EnterNetwork(CWnd* page, const char* ssid, int security, const char* key)
{
    Tick(page, IDC_WIFI_ENABLE, true);
    page->SetDlgItemText(IDC_WIFI_SSID, ssid);
    Choose(page, IDC_WIFI_SECURITY, security);
    page->SetDlgItemText(IDC_WIFI_KEY, key);
}

int Selection(CWnd* page, int id)
{
    return static_cast<int>(page->GetDlgItem(id)->SendMessage(CB_GETCURSEL));
}

bool Shown(CWnd* page, int id)
{
    return (page->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0;
}

// Works the scan dialog when it opens (other modal dialogs are left alone)
// and clears the hook when the test ends.
class ScanHook {
public:
    explicit ScanHook(std::function<void(CDlgWireLess&)> work)
    {
        vxw::test::SetModalDialogHook([this, work = std::move(work)](CDialog& d) {
            if (auto* scan = dynamic_cast<CDlgWireLess*>(&d)) {
                ++opened;
                work(*scan);
                // A dialog the work left open (a failed check) still ends;
                // one it ended never sees this.
                scan->PostMessage(WM_CLOSE);
            }
        });
    }
    ~ScanHook() { vxw::test::SetModalDialogHook(nullptr); }
    int opened = 0;
};

// Clicks "Search" and waits for the scan's answer.
bool Scan(CDlgWireLess& d)
{
    CWnd* search = d.GetDlgItem(IDC_SCAN_SEARCH);
    if (!search || !search->IsWindowEnabled())
        return false;
    d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCAN_SEARCH, BN_CLICKED), reinterpret_cast<LPARAM>(search->GetSafeHwnd()));
    return WaitFor([&] { return !d.IsScanning(); }, 30000);
}

TEST(WirelessPage, AScannedNetworkWithItsKeySurvivesAReopen)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    CDlgCfgWireless* page = WirelessPage(f);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));
    EXPECT_FALSE(page->IsDlgButtonChecked(IDC_WIFI_ENABLE));
    EXPECT_TRUE(page->GetDlgItem(IDC_WIFI_ENABLE)->IsWindowEnabled());
    EXPECT_FALSE(Shown(page, IDC_WIFI_SSID));
    Tick(page, IDC_WIFI_ENABLE, true);
    EXPECT_TRUE(Shown(page, IDC_WIFI_SSID));
    EXPECT_TRUE(Shown(page, IDC_TEST));

    bool watchdogRested = false;
    ScanHook hook([&](CDlgWireLess& d) {
        watchdogRested = f.dlg->m_bTimerSet == 0;
        ASSERT_TRUE(Scan(d));
        ASSERT_EQ(d.m_list.GetItemCount(), 5);
        EXPECT_EQ(std::string(d.m_list.GetItemText(0, 0)), "HomeNet");
        EXPECT_EQ(std::string(d.m_list.GetItemText(0, 2)), "86");
        EXPECT_EQ(d.m_list.m_nProgressValue[0], 86);
        EXPECT_EQ(d.m_list.m_nProgressValue[4], 18);
        EXPECT_EQ(d.m_progress.GetPos(), 100);
        EXPECT_EQ(d.m_images.GetImageCount(), 2);
        // The signal column's bars draw the library's own pictures.
        d.m_list.Invalidate();
        EXPECT_TRUE(WaitFor([&] { return d.m_list.m_arrProgress.GetSize() == 5; }, 5000));
        if (d.m_list.m_arrProgress.GetSize() > 0) {
            CMyProgressCtrl* bar = d.m_list.m_arrProgress[0];
            EXPECT_TRUE(bar->m_picBack.HasImage());
            EXPECT_TRUE(bar->m_picFore.HasImage());
            EXPECT_EQ(bar->GetPos(), 86);
        }
        d.m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Click(&d, IDC_SCAN_ADD);
    });
    Click(page, IDC_WIFI_SEARCH);
    EXPECT_EQ(hook.opened, 1);
    EXPECT_TRUE(watchdogRested);
    EXPECT_EQ(f.dlg->m_bTimerSet, 1) << "the watchdog runs again";
    EXPECT_EQ(ItemText(page, IDC_WIFI_SSID), "HomeNet");
    EXPECT_EQ(Selection(page, IDC_WIFI_MODE), 0);
    EXPECT_EQ(Selection(page, IDC_WIFI_SECURITY), 3);
    EXPECT_EQ(Selection(page, IDC_WIFI_ENCRYPT), 1);
    page->SetDlgItemText(IDC_WIFI_KEY, "sunflower-42");
    Click(page, IDC_WIFI_APPLY);
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, "Wireless Settings");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(page));
    f.Close();
    EXPECT_NE(f.Log().find("cmd=searchwireless "), std::string::npos) << f.Log();
    EXPECT_NE(f.Log().find("cmd=setwirelessattr&-wf_enable=1&-wf_ssid=HomeNet&-wf_auth=3&-wf_key=sunflower-42"
                           "&-wf_enc=1&-wf_mode=0 "),
              std::string::npos)
        << f.Log();

    f.Open();
    ASSERT_TRUE(f.connected);
    page = WirelessPage(f);
    ASSERT_TRUE(Loaded(page));
    EXPECT_TRUE(page->IsDlgButtonChecked(IDC_WIFI_ENABLE));
    EXPECT_EQ(ItemText(page, IDC_WIFI_SSID), "HomeNet");
    EXPECT_EQ(ItemText(page, IDC_WIFI_KEY), "sunflower-42");
    EXPECT_EQ(Selection(page, IDC_WIFI_SECURITY), 3);
    EXPECT_EQ(Selection(page, IDC_WIFI_ENCRYPT), 1);
}

TEST(WirelessPage, ScansThatFindNothingFailOrFindMoreThanTheBarsHold)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    CDlgCfgWireless* page = WirelessPage(f);
    ASSERT_TRUE(Loaded(page));
    Tick(page, IDC_WIFI_ENABLE, true);
    struct Case {
        const char* cue;
        int rows;
        const char* caption;  // the box, if any
        const char* text;
    };
    const Case cases[] = {
        {"0", 0, "Wireless Device", "Can't find wireless device."},
        {"fail", 0, "Error", "Failed to search wireless device."},
        {"120", 120, nullptr, nullptr},
    };
    ScanHook hook([&](CDlgWireLess& d) {
        for (const Case& c : cases) {
            ASSERT_FALSE(f.cam.get(std::string("/camsim/cue?op=searchwireless&seconds=0&result=") + c.cue).empty());
            size_t boxes = f.boxes.calls.size();
            ASSERT_TRUE(Scan(d)) << c.cue;
            EXPECT_EQ(d.m_list.GetItemCount(), c.rows) << c.cue;
            EXPECT_TRUE(d.GetDlgItem(IDC_SCAN_SEARCH)->IsWindowEnabled()) << c.cue;
            if (c.caption) {
                ASSERT_EQ(f.boxes.calls.size(), boxes + 1) << c.cue;
                EXPECT_EQ(f.boxes.calls.back().caption, c.caption);
                EXPECT_EQ(f.boxes.calls.back().text, c.text);
                EXPECT_EQ(d.m_progress.GetPos(), 0);
            } else {
                EXPECT_EQ(f.boxes.calls.size(), boxes) << c.cue;
                EXPECT_EQ(std::string(d.m_list.GetItemText(119, 0)), "camsim-ap-119");
                EXPECT_EQ(d.m_list.m_nProgressValue[99], 99 * 37 % 101);
            }
        }
        // Nothing chosen: "Add" asks for a row and the dialog stays.
        Click(&d, IDC_SCAN_ADD);
        EXPECT_EQ(f.boxes.calls.back().text, "Please select wireless device.");
        d.m_list.SetItemState(119, LVIS_SELECTED, LVIS_SELECTED);
        Click(&d, IDC_SCAN_ADD);
    });
    f.boxes.seen = 0;
    Click(page, IDC_WIFI_SEARCH);
    EXPECT_EQ(hook.opened, 1);
    EXPECT_EQ(ItemText(page, IDC_WIFI_SSID), "camsim-ap-119");
    f.boxes.seen = f.boxes.calls.size();

    // A camera entry the scan does not serve says so and can search again.
    f.dlg->m_stCameraInfo.nEntryType = WATCH_ENTRY_RTSP_URL;
    ScanHook refused([&](CDlgWireLess& d) {
        size_t boxes = f.boxes.calls.size();
        Click(&d, IDC_SCAN_SEARCH);
        ASSERT_EQ(f.boxes.calls.size(), boxes + 1);
        EXPECT_EQ(f.boxes.calls.back().text, "Failed to search wireless device.");
        EXPECT_TRUE(d.GetDlgItem(IDC_SCAN_SEARCH)->IsWindowEnabled());
        EXPECT_FALSE(d.IsScanning());
        d.SendMessage(WM_CLOSE);
    });
    Click(page, IDC_WIFI_SEARCH);
    EXPECT_EQ(refused.opened, 1);
    f.dlg->m_stCameraInfo.nEntryType = WATCH_ENTRY_HOST;
}

TEST(WirelessPage, ClosingTheScanMidwayReturnsAtOnceAndTheWindowStillCloses)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    f.Close();
    const int threads = ThreadCount();
    f.Open();
    ASSERT_TRUE(f.connected);
    CDlgCfgWireless* page = WirelessPage(f);
    ASSERT_TRUE(Loaded(page));
    Tick(page, IDC_WIFI_ENABLE, true);
    ASSERT_FALSE(f.cam.get("/camsim/cue?op=searchwireless&seconds=8").empty());
    auto started = std::chrono::steady_clock::now();
    ScanHook hook([&](CDlgWireLess& d) {
        Click(&d, IDC_SCAN_SEARCH);
        EXPECT_TRUE(d.IsScanning());
        EXPECT_FALSE(d.GetDlgItem(IDC_SCAN_SEARCH)->IsWindowEnabled());
        d.SendMessage(WM_CLOSE);
    });
    Click(page, IDC_WIFI_SEARCH);
    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(5)) << "closing waited for the scan";
    EXPECT_EQ(ItemText(page, IDC_WIFI_SSID), "");
    EXPECT_TRUE(f.boxes.calls.empty());
    // The scan's late answer finds no dialog; the window closes once the
    // worker is through with it, and leaves no thread behind.
    f.Close();
    EXPECT_TRUE(ThreadsBackTo(threads)) << ThreadCount() << " threads, " << threads << " before";
}

// The window closes while the scan dialog or the test's progress dialog
// runs: the dialog goes with it, the page is not touched afterwards, and the
// camera object outlives the request under way.
TEST(WirelessPage, TheSettingsWindowClosedUnderTheScanOrTheTestTakesItsDialogAlong)
{
    struct Case {
        const char* what;
        const char* cue;
        int button;
    };
    const Case cases[] = {
        {"scan", "/camsim/cue?op=searchwireless&seconds=2", IDC_WIFI_SEARCH},
        {"test", "/camsim/cue?op=getchkwireless&seconds=3", IDC_TEST},
    };
    for (const Case& c : cases) {
        Fixture f({});
        ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
        CDlgCfgWireless* page = WirelessPage(f);
        ASSERT_TRUE(Loaded(page));
        EnterNetwork(page, "HomeNet", 3, "sunflower-42");
        ASSERT_FALSE(f.cam.get(c.cue).empty());
        HWND settings = f.dlg->GetSafeHwnd();
        int opened = 0;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            if (auto* scan = dynamic_cast<CDlgWireLess*>(&d))
                Click(scan, IDC_SCAN_SEARCH);
            else if (!dynamic_cast<CProgressDlg*>(&d))
                return;
            ++opened;
            ::PostMessage(settings, WM_CLOSE, 0, 0);
        });
        Click(page, c.button);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000)) << c.what;
        vxw::test::SetModalDialogHook(nullptr);
        EXPECT_EQ(opened, 1) << c.what;
        f.dlg = nullptr;
    }
}

// The refusal box runs a message loop where the window may close, pages and
// all: the page then puts the focus on no field of its own (the sanitizer
// build reports any use of the freed page) and applies nothing.
TEST(WirelessPage, TheSettingsWindowClosedUnderARefusalLeavesThePageAlone)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    CDlgCfgWireless* page = WirelessPage(f);
    ASSERT_TRUE(Loaded(page));
    EnterNetwork(page, "HomeNet", 1, "");
    HWND settings = f.dlg->GetSafeHwnd();
    std::vector<std::string> shown;
    vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& c) {
        shown.push_back(c.text);
        ::SendMessage(settings, WM_CLOSE, 0, 0);
        return IDOK;
    });
    Click(page, IDC_WIFI_APPLY);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000)) << "the window stays";
    vxw::test::SetMessageBoxHook(nullptr);
    f.dlg = nullptr;
    EXPECT_EQ(shown, std::vector<std::string>{"Invalid password."});
    EXPECT_EQ(f.Log().find("cmd=setwirelessattr"), std::string::npos) << "a refused page applies nothing";
}

TEST(WirelessPage, TheTestPassesWithTheRightKeyOnlyAndNoKeyIsLogged)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    LogCapture log;
    CDlgCfgWireless* page = WirelessPage(f);
    ASSERT_TRUE(Loaded(page));
    Tick(page, IDC_WIFI_ENABLE, true);
    page->SetDlgItemText(IDC_WIFI_SSID, "HomeNet");
    Choose(page, IDC_WIFI_SECURITY, 3);
    Choose(page, IDC_WIFI_ENCRYPT, 1);

    bool watchdogRested = true;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        if (dynamic_cast<CProgressDlg*>(&d))
            watchdogRested = watchdogRested && f.dlg->m_bTimerSet == 0;
    });
    struct Case {
        const char* key;
        const char* caption;
        const char* text;
        int result;
    };
    const Case cases[] = {
        {"sunflower-42", "Wireless Settings", "Test passed.", 1},
        {"sunflower-43", "Error", "Test failed.", 0},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(f.cam.get("/camsim/cue?op=getchkwireless&seconds=1").empty());
        page->SetDlgItemText(IDC_WIFI_KEY, c.key);
        Click(page, IDC_TEST);
        auto box = f.boxes.Next();
        EXPECT_EQ(box.caption, c.caption) << c.key;
        EXPECT_EQ(box.text, c.text) << c.key;
        EXPECT_EQ(page->LastTestResult(), c.result) << c.key;
        ASSERT_TRUE(Idle(page));
    }
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_TRUE(watchdogRested);
    EXPECT_EQ(f.dlg->m_bTimerSet, 1);

    // A key the camera cannot take is refused before anything is sent.
    Choose(page, IDC_WIFI_SECURITY, 1);
    page->SetDlgItemText(IDC_WIFI_KEY, "");
    Click(page, IDC_TEST);
    EXPECT_EQ(f.boxes.Next().text, "Invalid password.");

    f.Close();
    std::string requests = f.Log();
    EXPECT_NE(requests.find("cmd=chkwirelessattr&-wf_ssid=HomeNet&-wf_auth=3&-wf_key=sunflower-42&-wf_enc=1"),
              std::string::npos)
        << requests;
    EXPECT_EQ(requests.find("cmd=setwirelessattr"), std::string::npos) << "a test applies nothing";
    std::string lines = log.Text();
    EXPECT_NE(lines.find("chkwirelessattr"), std::string::npos) << "the requests are logged";
    EXPECT_EQ(lines.find("sunflower"), std::string::npos) << lines;
}

TEST(WirelessPage, ACameraOnWifiCannotSwitchItOffNorTest)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    ASSERT_FALSE(f.cam.set("networktype=WIFI&wf_enable=1&wf_ssid=HomeNet&wf_auth=3&wf_key=sunflower-42").empty());
    CDlgCfgWireless* page = WirelessPage(f);
    ASSERT_TRUE(Loaded(page));
    EXPECT_TRUE(page->IsDlgButtonChecked(IDC_WIFI_ENABLE));
    EXPECT_FALSE(page->GetDlgItem(IDC_WIFI_ENABLE)->IsWindowEnabled());
    EXPECT_TRUE(Shown(page, IDC_WIFI_SEARCH));
    EXPECT_FALSE(Shown(page, IDC_TEST));
    EXPECT_FALSE(Shown(page, IDC_WIFI_TEST_LABEL));
    // The security rule: WEP takes a key but no encryption.
    Choose(page, IDC_WIFI_SECURITY, 1);
    EXPECT_FALSE(page->GetDlgItem(IDC_WIFI_ENCRYPT)->IsWindowEnabled());
    EXPECT_TRUE(page->GetDlgItem(IDC_WIFI_KEY)->IsWindowEnabled());
}

// A window that counts the messages posted to it.
class Counter : public CWnd {
public:
    Counter() { CreateEx(0, "VxCounter", "counter", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr); }
    ~Counter() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 1)
            ++handled;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int handled = 0;
};

TEST(SettingsPages, ALoadDelayedFiveSecondsLeavesTheGuiThreadHandlingMessages)
{
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    ASSERT_FALSE(f.cam.fault("delay=5000&match=getwirelessattr").empty());
    CDlgCfgWireless* page = WirelessPage(f);
    Counter counter;
    page->ShowWindow(SW_SHOW);
    ASSERT_TRUE(page->IsRequestPending());
    auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
        counter.PostMessage(WM_APP + 1);
        EXPECT_TRUE(WaitFor([&] { return counter.handled == i + 1; }, 2000)) << "message " << i;
        EXPECT_TRUE(page->IsRequestPending()) << "the load was not slow";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    // The load gives up after its 3 s and says so; nothing was shown meanwhile.
    EXPECT_EQ(f.boxes.Next().text, "Failed to get settings.");
    EXPECT_FALSE(page->IsLoaded());
}

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
