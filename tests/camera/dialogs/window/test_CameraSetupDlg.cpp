// The settings window against camsim: it connects, its pages read and apply
// every value through camsim's store, and a reopened window shows them.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CCameraTimeSetting.h"
#include "camera/dialogs/pages/CDlgAudio.h"
#include "camera/dialogs/pages/CDlgCameraUser.h"
#include "camera/dialogs/pages/CDlgPTZ.h"
#include "camera/dialogs/vxcam_interface.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/ShellTestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimHttp.h"
#include "utility/vx_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace setup_harness;

// A GET with the account, by Basic; the status and the body.
std::pair<long, std::string> Get(const CamsimProcess& cam, const std::string& target, const char* user,
                                 const char* password)
{
    CamsimReply r = CamsimGet(cam, target, 10000, user, password, CURLAUTH_BASIC);
    return {r.status, r.body};
}

const char kName[] = "Hall #2 50%+ K\xc3\xbc"
                     "che/?";
const char kPassword[] = "p:w;d/@1";

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, EveryPageAppliesAndAReopenedWindowShowsIt)
{
    CamsimProcess cam({"--family", GetParam(), "--vendor", "VX", "--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_FALSE(cam.set("time=20261210120000").empty());
    Owner owner;
    Boxes boxes;
    STWatchCameraInfo info = CamsimRecord(cam, "admin", "admin");
    CCameraSetupDlg* dlg = ShowSetupDlg(owner.GetSafeHwnd(), info);
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(owner.GetSafeHwnd()));
    ASSERT_TRUE(WaitFor([&] { return Connected(dlg); })) << ItemText(dlg, IDC_SETUP_STATUS);
    EXPECT_TRUE(WaitFor([&] { return ItemText(dlg, IDC_SETUP_CLOCK).rfind("2026-12-10 12:0", 0) == 0; }))
        << ItemText(dlg, IDC_SETUP_CLOCK);

    auto* time = PageAt<CCameraTimeSetting>(dlg, 0, 0);
    ASSERT_TRUE(Loaded(time));
    time->SetDlgItemText(IDC_TIME_NAME, kName);
    time->SendDlgItemMessage(IDC_TIME_ZONE, CB_SETCURSEL, 14);  // Europe/Athens
    time->SendDlgItemMessage(IDC_TIME_NTP_INTERVAL, CB_SETCURSEL, 5);
    time->SendDlgItemMessage(IDC_TIME_PLACE, CB_SETCURSEL, 1);
    Click(time, IDC_TIME_APPLY);
    auto box = boxes.Next();
    EXPECT_EQ(box.caption, "Name & Time");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(time));

    auto* ptz = PageAt<CDlgPTZ>(dlg, 0, 6);
    ASSERT_TRUE(Loaded(ptz));
    ptz->SendDlgItemMessage(IDC_PTZ_SPEED, CB_SETCURSEL, 2);
    ptz->CheckRadioButton(IDC_PTZ_HOME_ON, IDC_PTZ_HOME_OFF, IDC_PTZ_HOME_OFF);
    Click(ptz, IDC_APPLY);
    EXPECT_EQ(boxes.Next().caption, "PTZ Settings");

    auto* audio = PageAt<CDlgAudio>(dlg, 0, 5);
    ASSERT_TRUE(Loaded(audio));
    audio->CheckDlgButton(IDC_AUDIO_ENABLE_2, BST_UNCHECKED);
    audio->SendDlgItemMessage(IDC_AUDIO_INPUT_TYPE, CB_SETCURSEL, 1);
    audio->SetDlgItemText(IDC_AUDIO_IN_VOLUME, "33");
    audio->SetDlgItemText(IDC_AUDIO_OUT_VOLUME, "66");
    Click(audio, IDC_APPLY);
    EXPECT_EQ(boxes.Next().caption, "Audio Settings");

    auto* users = PageAt<CDlgCameraUser>(dlg, 5, 0);
    ASSERT_TRUE(Loaded(users));
    users->SetDlgItemText(IDC_USER_PASSWORD_0, kPassword);
    users->SetDlgItemText(IDC_USER_RETYPE_0, kPassword);
    Click(users, IDC_APPLY);
    EXPECT_EQ(boxes.Next().caption, "User Accounts");
    // The window logs in again with the new password.
    ASSERT_TRUE(WaitFor([&] { return !Connected(dlg); }, 5000) || true);
    EXPECT_TRUE(WaitFor([&] { return Connected(dlg); })) << ItemText(dlg, IDC_SETUP_STATUS);
    CloseSetupDlg(dlg, owner.GetSafeHwnd());

    // camsim agrees, and only the new password works.
    auto [status, body] = Get(cam,
                              "/cgi-bin/hi3510/param.cgi?cmd=getoverlayattr&-region=1&cmd=getntpattr"
                              "&cmd=getservertime&cmd=getmotorattr&cmd=getaencattr&-chn=12"
                              "&cmd=getaudioinvolume&cmd=getaudiooutvolume&cmd=getoverlayattr&-region=0",
                              "admin", kPassword);
    EXPECT_EQ(status, 200);
    for (std::string line :
         {std::string("var name_1=\"") + kName + "\";", std::string("var timeZone=\"Europe/Athens\";"),
          std::string("var ntpinterval=\"6\";"), std::string("var panspeed=\"2\";"),
          std::string("var movehome=\"off\";"), std::string("var aeswitch_2=\"0\";"),
          std::string("var volin_type=\"1\";"), std::string("var volume=\"33\";"), std::string("var ao_volume=\"66\";"),
          std::string("var place_0=\"1\";")})
        EXPECT_NE(body.find(line), std::string::npos) << line << "\n" << body;
    EXPECT_NE(Get(cam, "/cgi-bin/hi3510/param.cgi?cmd=getvendorinfo", "admin", "admin").first, 200);

    STWatchCameraInfo again = CamsimRecord(cam, "admin", kPassword);
    dlg = ShowSetupDlg(owner.GetSafeHwnd(), again);
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Connected(dlg); })) << ItemText(dlg, IDC_SETUP_STATUS);
    time = PageAt<CCameraTimeSetting>(dlg, 0, 0);
    ASSERT_TRUE(Loaded(time));
    EXPECT_EQ(ItemText(time, IDC_TIME_NAME), kName);
    EXPECT_EQ(time->SendDlgItemMessage(IDC_TIME_ZONE, CB_GETCURSEL), 14);
    EXPECT_EQ(time->SendDlgItemMessage(IDC_TIME_NTP_INTERVAL, CB_GETCURSEL), 5);
    EXPECT_EQ(time->SendDlgItemMessage(IDC_TIME_PLACE, CB_GETCURSEL), 1);
    ptz = PageAt<CDlgPTZ>(dlg, 0, 6);
    ASSERT_TRUE(Loaded(ptz));
    EXPECT_EQ(ptz->SendDlgItemMessage(IDC_PTZ_SPEED, CB_GETCURSEL), 2);
    EXPECT_EQ(ptz->IsDlgButtonChecked(IDC_PTZ_HOME_OFF), static_cast<UINT>(BST_CHECKED));
    audio = PageAt<CDlgAudio>(dlg, 0, 5);
    ASSERT_TRUE(Loaded(audio));
    EXPECT_EQ(audio->IsDlgButtonChecked(IDC_AUDIO_ENABLE_2), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(audio->SendDlgItemMessage(IDC_AUDIO_INPUT_TYPE, CB_GETCURSEL), 1);
    EXPECT_EQ(ItemText(audio, IDC_AUDIO_IN_VOLUME), "33");
    EXPECT_EQ(ItemText(audio, IDC_AUDIO_OUT_VOLUME), "66");
    users = PageAt<CDlgCameraUser>(dlg, 5, 0);
    ASSERT_TRUE(Loaded(users));
    EXPECT_EQ(ItemText(users, IDC_USER_PASSWORD_0), kPassword);
    CloseSetupDlg(dlg, owner.GetSafeHwnd());
}

INSTANTIATE_TEST_SUITE_P(Families, RoundTrip, ::testing::Values("HX", "DY", "AJ", "HTL"));

TEST(SetupWindow, HvCameraOpensItsOwnPageAndCloses)
{
    CamsimProcess cam({"--family", "HV", "--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Owner owner;
    std::vector<std::string> opened;
    vxw::test::SetShellOpenHook([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    STWatchCameraInfo info = CamsimRecord(cam, "admin", "admin");
    CCameraSetupDlg* dlg = ShowSetupDlg(owner.GetSafeHwnd(), info);
    ASSERT_NE(dlg, nullptr);
    HWND h = dlg->GetSafeHwnd();
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(h); }, 30000));
    vxw::test::SetShellOpenHook(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://127.0.0.1:" + std::to_string(cam.httpPort()) + "/");
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
}

// ---- What the pages must not do ----

// Shown by its own style (its category may be hidden behind another).
bool Shown(CWnd* w)
{
    return w && (w->GetStyle() & WS_VISIBLE);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(SetupPages, UntouchedValuesStayAndSpeedsStayInRange)
{
    Fixture f({"--vendor", "VX"});
    ASSERT_TRUE(f.connected);
    // Values the lists do not hold, as a camera set up elsewhere has them.
    ASSERT_FALSE(f.cam.set("timeZone=Europe/Berlin&ntpserver=ntp.example.lan&aeformat_1=g711u&panspeed=7").empty());

    auto* time = PageAt<CCameraTimeSetting>(f.dlg, 0, 0);
    ASSERT_TRUE(Loaded(time));
    time->Load();  // the values set above
    ASSERT_TRUE(Idle(time));
    EXPECT_EQ(time->SendDlgItemMessage(IDC_TIME_ZONE, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(ItemText(time, IDC_TIME_NTP_SERVER), "ntp.example.lan");
    time->SetDlgItemText(IDC_TIME_NAME, "Renamed");
    Click(time, IDC_TIME_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(time));

    auto* audio = PageAt<CDlgAudio>(f.dlg, 0, 5);
    ASSERT_TRUE(Loaded(audio));
    EXPECT_EQ(audio->SendDlgItemMessage(IDC_AUDIO_FORMAT, CB_GETCURSEL), 1);  // "Unknown"
    Click(audio, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");

    auto* ptz = PageAt<CDlgPTZ>(f.dlg, 0, 6);
    ASSERT_TRUE(Loaded(ptz));
    Click(ptz, IDC_APPLY);
    EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");

    auto [status, body] = Get(f.cam,
                              "/cgi-bin/hi3510/param.cgi?cmd=getservertime&cmd=getntpattr&cmd=getaencattr"
                              "&-chn=11&cmd=getmotorattr&cmd=getoverlayattr&-region=1",
                              "admin", "admin");
    for (const char* line : {"var timeZone=\"Europe/Berlin\";", "var ntpserver=\"ntp.example.lan\";",
                             "var aeformat_1=\"g711u\";", "var name_1=\"Renamed\";", "var panspeed=\"2\";"})
        EXPECT_NE(body.find(line), std::string::npos) << line << "\n" << body;
    EXPECT_NE(f.Log().find("-tiltspeed=2&-panspeed=2&"), std::string::npos);
}

TEST(SetupPages, PtzOfAnotherVendorStaysInert)
{
    Fixture f({});  // camsim's own vendor word
    ASSERT_TRUE(f.connected);
    auto* ptz = PageAt<CDlgPTZ>(f.dlg, 0, 6);
    ptz->ShowWindow(SW_SHOW);
    ASSERT_TRUE(WaitFor([&] { return ptz->IsLoaded() && !ptz->IsRequestPending(); }));
    EXPECT_FALSE(ptz->GetDlgItem(IDC_REFRESH)->IsWindowEnabled());
    EXPECT_FALSE(ptz->GetDlgItem(IDC_APPLY)->IsWindowEnabled());
    EXPECT_TRUE(f.boxes.calls.empty());
}

struct FailedLoad {
    int category, index;
    const char* fault;   // camsim control query
    const char* setCmd;  // a write command the page would send
};

TEST(SetupPages, FailedLoadSendsNoDefaultsUntilARefreshWorks)
{
    const FailedLoad cases[] = {
        {0, 0, "match=getntpattr&error=500", "cmd=set"},
        {0, 5, "cmderror=getaudioinvolume", "cmd=set"},
        {0, 6, "match=getmotorattr&error=500", "cmd=set"},
        {5, 0, "cmderror=getuserattr", "cmd=set"},
    };
    for (const FailedLoad& c : cases) {
        SCOPED_TRACE(c.fault);
        Fixture f({"--vendor", "VX"}, {.fault = c.fault});
        ASSERT_TRUE(f.connected);
        auto* page = PageAt<CSettingsPage>(f.dlg, c.category, c.index);
        page->ShowWindow(SW_SHOW);  // the first page of the window loaded at connect already
        auto box = f.boxes.Next();
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, "Failed to get settings.");
        ASSERT_TRUE(Idle(page));
        EXPECT_FALSE(page->IsLoaded());
        int applyId = c.category == 0 && c.index == 0 ? IDC_TIME_APPLY : IDC_APPLY;
        EXPECT_FALSE(page->GetDlgItem(applyId)->IsWindowEnabled());
        EXPECT_EQ(f.Log().find(c.setCmd), std::string::npos);

        ASSERT_FALSE(f.cam.fault("clear=1").empty());
        Click(page, IDC_REFRESH);
        ASSERT_TRUE(WaitFor([&] { return page->IsLoaded() && !page->IsRequestPending(); }));
        EXPECT_TRUE(page->GetDlgItem(applyId)->IsWindowEnabled());

        // A refused write is a failed apply, whatever the status line says.
        ASSERT_FALSE(f.cam.fault("cmderror=setoverlayattr,setaudiooutvolume,setmotorattr,setuserattr").empty());
        Click(page, applyId);
        EXPECT_EQ(f.boxes.Next().text, "Failed to apply settings.");
    }
}

TEST(SetupPages, UserRowsEncodeLoadedNamesAndSkipHiddenRows)
{
    {
        Fixture f({});
        ASSERT_TRUE(f.connected);
        ASSERT_FALSE(f.cam.set("at_username1=a%20b%26c").empty());
        auto* users = PageAt<CDlgCameraUser>(f.dlg, 5, 0);
        ASSERT_TRUE(Loaded(users));
        EXPECT_TRUE(Shown(users->GetDlgItem(IDC_USER_NAME_1)));
        users->SetDlgItemText(IDC_USER_NAME_1, "viewer");
        Click(users, IDC_APPLY);
        EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
        EXPECT_NE(f.Log().find("-at_username=a%20b%26c&-at_newname=viewer&"), std::string::npos) << f.Log();

        // Names that differ by case only: refused with the first row's name.
        users->SetDlgItemText(IDC_USER_NAME_2, "VIEWER");
        std::string before = f.Log();
        Click(users, IDC_APPLY);
        auto box = f.boxes.Next();
        EXPECT_EQ(box.text, "Username 'viewer' has existed.");
        EXPECT_EQ(f.Log(), before);
    }
    {
        Fixture f({"--firmware", "V10.1.4"});
        ASSERT_TRUE(f.connected);
        ASSERT_FALSE(f.cam.set("at_username1=&at_username2=").empty());
        auto* users = PageAt<CDlgCameraUser>(f.dlg, 5, 0);
        ASSERT_TRUE(Loaded(users));
        EXPECT_FALSE(Shown(users->GetDlgItem(IDC_USER_NAME_1)));
        EXPECT_FALSE(Shown(users->GetDlgItem(IDC_USER_LABEL_2)));
        Click(users, IDC_APPLY);
        EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    }
}

TEST(SetupWindow, FirstShowLoadsOnceRefreshAgainAndKeysAreSwallowed)
{
    Fixture f({"--vendor", "VX"});
    ASSERT_TRUE(f.connected);
    auto* time = PageAt<CCameraTimeSetting>(f.dlg, 0, 0);
    ASSERT_TRUE(Loaded(time));
    auto loads = [&] { return Count(f.Log(), "cmd=getntpattr"); };
    EXPECT_EQ(loads(), 1u);
    time->ShowWindow(SW_HIDE);
    time->ShowWindow(SW_SHOW);
    Sleep(200);
    EXPECT_EQ(loads(), 1u);
    Click(time, IDC_REFRESH);
    ASSERT_TRUE(Idle(time));
    EXPECT_EQ(loads(), 2u);

    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE), WPARAM(VK_SPACE)}) {
        MSG m{};
        m.hwnd = time->GetDlgItem(IDC_TIME_NAME)->GetSafeHwnd();
        m.message = WM_KEYDOWN;
        m.wParam = key;
        EXPECT_TRUE(f.dlg->PreTranslateMessage(&m)) << key;
    }
    EXPECT_TRUE(::IsWindowVisible(f.dlg->GetSafeHwnd()));
}

TEST(SetupWindow, HangingRequestBlocksNothingAndClosingHidesAtOnce)
{
    Fixture f({"--vendor", "VX"});
    ASSERT_TRUE(f.connected);
    ASSERT_FALSE(f.cam.fault("match=getmotorattr&hang=1").empty());
    auto* ptz = PageAt<CDlgPTZ>(f.dlg, 0, 6);
    ULONGLONG start = GetTickCount64();
    ptz->ShowWindow(SW_SHOW);
    EXPECT_LT(GetTickCount64() - start, 2000u);  // returns at once; the request would take 3 s
    ASSERT_TRUE(ptz->IsRequestPending());
    EXPECT_FALSE(ptz->GetDlgItem(IDC_REFRESH)->IsWindowEnabled());
    EXPECT_FALSE(ptz->GetDlgItem(IDC_APPLY)->IsWindowEnabled());
    // The window goes on handling messages meanwhile.
    f.dlg->PostMessage(UM_SETUP_STATUS, IDS_SETUP_CONNECTED);
    bool handled = false;
    f.dlg->SetDlgItemText(IDC_SETUP_STATUS, "");
    handled = WaitFor([&] { return Connected(f.dlg); }, 2000);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(ptz->IsRequestPending());
    ASSERT_FALSE(f.cam.fault("hang=0").empty());
    // The held request ends when released or at its time-out; a later one loads.
    ASSERT_TRUE(Idle(ptz));
    if (!ptz->IsLoaded()) {
        f.boxes.Next();
        ASSERT_FALSE(f.cam.fault("clear=1").empty());
        Click(ptz, IDC_REFRESH);
        ASSERT_TRUE(WaitFor([&] { return ptz->IsLoaded() && !ptz->IsRequestPending(); }));
    }

    // Close while a request hangs: hidden at once, gone once the request ends.
    ASSERT_FALSE(f.cam.fault("match=getmotorattr&hang=1").empty());
    Click(ptz, IDC_REFRESH);
    HWND h = f.dlg->GetSafeHwnd();
    start = GetTickCount64();
    f.dlg->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_LT(GetTickCount64() - start, 2000u);  // generous: only the hiding is timed
    EXPECT_TRUE(::IsWindowEnabled(f.owner.GetSafeHwnd()));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(h); }, 30000));
    f.dlg = nullptr;
}

TEST(SetupWindow, LostLinkIsNoticedAndRecoveredWithoutReloads)
{
    Fixture f({"--vendor", "VX"});
    ASSERT_TRUE(f.connected);
    auto* time = PageAt<CCameraTimeSetting>(f.dlg, 0, 0);
    ASSERT_TRUE(Loaded(time));
    f.cam.fault("vanish=4");
    EXPECT_TRUE(WaitFor([&] { return !Connected(f.dlg); }, 15000)) << "the lost link went unnoticed";
    EXPECT_TRUE(WaitFor([&] { return Connected(f.dlg); }, 30000)) << ItemText(f.dlg, IDC_SETUP_STATUS);
    EXPECT_EQ(Count(f.Log(), "cmd=getntpattr"), 1u);
    EXPECT_TRUE(time->IsLoaded());
}

TEST(SetupWindow, P2PIdentifierShowsTwelveCharactersAndOtherFlagsCountAsZero)
{
    Owner owner;
    Boxes boxes;
    STWatchCameraInfo info;
    info.nEntryType = WATCH_ENTRY_P2P_ID;
    info.strP2PID = "ABCD1234EFGH5678";
    info.strUser = "admin";
    vxcam_interface::ShowDialog(1, owner.GetSafeHwnd(), &info, 2, "s1", "s2", 1);
    HWND h = FindWindow(nullptr, "Camera Properties");
    ASSERT_NE(h, nullptr);
    auto* dlg = static_cast<CCameraSetupDlg*>(CWnd::FromHandlePermanent(h));
    EXPECT_EQ(ItemText(dlg, IDC_SETUP_ADDRESS), "ABCD1234EFGH");
    EXPECT_EQ(ItemText(dlg, IDC_SETUP_ADDRESS_LABEL), "CamID:");
    EXPECT_EQ(dlg->m_bP2P, 0);
    CloseSetupDlg(dlg, owner.GetSafeHwnd());

    // The desktop as owner is never disabled or enabled.
    info.strP2PID = "SHORTID";
    vxcam_interface::ShowDialog(1, GetDesktopWindow(), &info, 1, "s1", "s2", 1);
    h = FindWindow(nullptr, "Camera Properties");
    dlg = static_cast<CCameraSetupDlg*>(CWnd::FromHandlePermanent(h));
    EXPECT_EQ(ItemText(dlg, IDC_SETUP_ADDRESS), "SHORTID");
    EXPECT_EQ(dlg->m_bP2P, 1);
    dlg->PostMessage(WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(h); }, 30000));
}

TEST(SetupWindow, ClosingWhileConnectingHidesAtOnce)
{
    CamsimProcess cam({"--no-rtsp", "--hang"});  // the login is never answered
    ASSERT_TRUE(cam.ok()) << cam.error();
    Owner owner;
    Boxes boxes;
    STWatchCameraInfo info = CamsimRecord(cam, "admin", "admin");
    CCameraSetupDlg* dlg = ShowSetupDlg(owner.GetSafeHwnd(), info);
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ItemText(dlg, IDC_SETUP_STATUS) == "Connecting to camera ..."; }, 5000));
    HWND h = dlg->GetSafeHwnd();
    ULONGLONG start = GetTickCount64();
    dlg->SendMessage(WM_CLOSE);
    EXPECT_LT(GetTickCount64() - start, 2000u);  // generous: only the hiding is timed
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    // Gone once the connect thread has given up on the camera.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(h); }, 60000));
}

TEST(SetupWindow, KeyboardTabChangeSwitchesLikeAClick)
{
    Fixture f({"--vendor", "VX"});
    ASSERT_TRUE(f.connected);
    CDlgCameraSetupTabCtrl& tabs = f.dlg->m_tabCategories;
    EXPECT_TRUE(tabs.IsWindowEnabled());
    tabs.SetCurFocus(5);  // "User"
    NMHDR n{tabs.GetSafeHwnd(), IDC_SETUP_TAB, TCN_SELCHANGE};
    f.dlg->SendMessage(WM_NOTIFY, IDC_SETUP_TAB, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(tabs.GetCurrentCategory(), 5);
    auto* users = PageAt<CDlgCameraUser>(f.dlg, 5, 0);
    // A category of one page shows it at once, and its first showing loads it.
    EXPECT_TRUE(WaitFor([&] { return users->IsLoaded(); }));
    EXPECT_TRUE(Shown(tabs.GetCategory(5)));
    EXPECT_FALSE(Shown(tabs.GetCategory(0)));
    // The same tab again changes nothing.
    f.dlg->SendMessage(WM_NOTIFY, IDC_SETUP_TAB, reinterpret_cast<LPARAM>(&n));
    EXPECT_EQ(tabs.GetCurrentCategory(), 5);
}

// Log lines are caught here while a test wants them.
std::mutex g_logMutex;
std::vector<std::string>* g_lines = nullptr;
void CaptureLine(int, const char* line, int length)
{
    std::lock_guard lock(g_logMutex);
    if (g_lines)
        g_lines->emplace_back(line, static_cast<size_t>(length));
}

class PasswordsInLogs : public ::testing::TestWithParam<const char*> {};

TEST_P(PasswordsInLogs, AccountsPageLogsNoPassword)
{
    std::vector<std::string> lines;
    {
        std::lock_guard lock(g_logMutex);
        g_lines = &lines;
    }
    vx_log_set_level(6);
    vx_log_func previous = vx_log_set_log_func(&CaptureLine);
    {
        Fixture f({"--family", GetParam(), "--password", "Adm1nSecret"}, {.password = "Adm1nSecret"});
        ASSERT_TRUE(f.cam.ok()) << f.cam.error();
        ASSERT_NE(f.dlg, nullptr);
        ASSERT_TRUE(f.connected) << ItemText(f.dlg, IDC_SETUP_STATUS);
        ASSERT_FALSE(f.cam.set("at_password1=Us3rSecret&at_password2=Gu3stSecret").empty());
        auto* users = PageAt<CDlgCameraUser>(f.dlg, 5, 0);
        ASSERT_TRUE(Loaded(users));
        users->SetDlgItemText(IDC_USER_PASSWORD_1, "N3w:Secret/1");
        users->SetDlgItemText(IDC_USER_RETYPE_1, "N3w:Secret/1");
        Click(users, IDC_APPLY);
        EXPECT_EQ(f.boxes.Next().text, "Apply settings successfully.");
    }
    vx_log_set_log_func(previous);
    vx_log_set_level(4);
    {
        std::lock_guard lock(g_logMutex);
        g_lines = nullptr;
    }
    ASSERT_FALSE(lines.empty());
    size_t sawAccounts = 0;
    for (const std::string& line : lines) {
        sawAccounts += line.find("at_password") != std::string::npos;
        for (const char* secret : {"Adm1nSecret", "Us3rSecret", "Gu3stSecret", "N3w:Secret/1", "N3w%3ASecret%2F1"})
            EXPECT_EQ(line.find(secret), std::string::npos) << line;
    }
    EXPECT_GT(sawAccounts, 0u);  // the requests were logged, masked
}

INSTANTIATE_TEST_SUITE_P(Families, PasswordsInLogs, ::testing::Values("HX", "AJ"));

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
