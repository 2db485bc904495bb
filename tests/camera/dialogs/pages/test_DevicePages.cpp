// The Network, Display, Infrared Light and System Log pages against camsim:
// a value changed through the controls is applied, camsim's request log
// holds the request, and a reopened settings window shows the value.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/pages/CDlgDisplaySetup.h"
#include "camera/dialogs/pages/CDlgIRLights.h"
#include "camera/dialogs/pages/CDlgSysLog.h"
#include "camera/dialogs/pages/CIPSettingDlg.h"
#include "camera/dialogs/pages/CVideoEncodeSettingDlg.h"
#include "camera/dialogs/vxcam_interface.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/TestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimProcess.h"
#include "support/LogCapture.h"
#include "utility/vx_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace setup_harness;

void SetAddress(CWnd* page, int id, BYTE a, BYTE b, BYTE c, BYTE d)
{
    static_cast<CIPAddressCtrl*>(page->GetDlgItem(id))->SetAddress(a, b, c, d);
}

std::string Address(CWnd* page, int id)
{
    BYTE f[4] = {};
    int n = static_cast<CIPAddressCtrl*>(page->GetDlgItem(id))->GetAddress(f[0], f[1], f[2], f[3]);
    if (n != 4)
        return "(blank)";
    return std::to_string(f[0]) + "." + std::to_string(f[1]) + "." + std::to_string(f[2]) + "." + std::to_string(f[3]);
}

bool Checked(CWnd* page, int id)
{
    return page->IsDlgButtonChecked(id) == BST_CHECKED;
}

// Picks a radio button of its group the way a click does.
void ChooseRadio(CWnd* page, int id)
{
    const int groups[][3] = {{IDC_IR_FIRST, IDC_IR_SECOND, IDC_IR_THIRD},
                             {IDC_IR_CUT_BW, IDC_IR_CUT_COLOR, IDC_IR_CUT_AUTO}};
    for (const auto& g : groups) {
        if (g[0] == id || g[1] == id || g[2] == id) {
            for (int other : g)
                page->CheckDlgButton(other, other == id ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(page->GetDlgItem(id)->GetSafeHwnd()));
}

// ---- Network ----

class NetworkRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(NetworkRoundTrip, DnsRtspAuthenticationAndRtmpPortSurviveAReopen)
{
    Fixture s({"--family", GetParam()});
    ASSERT_TRUE(s.cam.ok()) << s.cam.error();
    ASSERT_TRUE(s.connected);
    auto* net = PageAt<CIPSettingDlg>(s.dlg, 0, 1);
    ASSERT_TRUE(Loaded(net));
    EXPECT_EQ(Address(net, IDC_NET_IP), "192.168.1.88");
    EXPECT_TRUE(Checked(net, IDC_NET_RTSP_AUTH));
    EXPECT_EQ(ItemText(net, IDC_NET_UPNP_STATUS), "(UPnP off)");
    SetAddress(net, IDC_NET_DNS1, 9, 9, 9, 9);
    net->CheckDlgButton(IDC_NET_RTSP_AUTH, BST_UNCHECKED);
    net->SetDlgItemText(IDC_NET_RTMP_PORT, "2935");
    Click(net, IDC_NET_APPLY);
    auto box = s.boxes.Next();
    EXPECT_EQ(box.caption, "Network Settings");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(net));
    s.Close();
    EXPECT_NE(s.Log().find("cmd=setnetattr&-dhcp=off&-ipaddr=192.168.1.88&-netmask=255.255.255.0"
                           "&-gateway=192.168.1.1&-dnsstat=0&-fdnsip=9.9.9.9&-sdnsip=8.8.8.8&cmd=sethttpport"
                           "&-httpport=80&cmd=setrtspport&-rtspport=554&cmd=setrtspauth&-rtsp_aenable=0"
                           "&cmd=setupnpattr&-upm_enable=0&cmd=setrtmpattr&-rtmpport=2935"),
              std::string::npos)
        << s.Log();

    ASSERT_TRUE(s.Open());
    net = PageAt<CIPSettingDlg>(s.dlg, 0, 1);
    ASSERT_TRUE(Loaded(net));
    EXPECT_EQ(Address(net, IDC_NET_DNS1), "9.9.9.9");
    EXPECT_FALSE(Checked(net, IDC_NET_RTSP_AUTH));
    EXPECT_EQ(ItemText(net, IDC_NET_RTMP_PORT), "2935");
}

INSTANTIATE_TEST_SUITE_P(Families, NetworkRoundTrip, ::testing::Values("HX", "DY", "AJ", "HTL"));

TEST(NetworkPage, RefusedInputSendsNothingAndTheGatewayGetsAProposal)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* net = PageAt<CIPSettingDlg>(s.dlg, 0, 1);
    ASSERT_TRUE(Loaded(net));
    SetAddress(net, IDC_NET_GATEWAY, 192, 168, 2, 1);
    Click(net, IDC_NET_APPLY);
    EXPECT_EQ(s.boxes.Next().text, "Gateway is empty or invalid.");
    EXPECT_EQ(Address(net, IDC_NET_GATEWAY), "192.168.1.254");
    net->SetDlgItemText(IDC_NET_HTTP_PORT, "81");
    Click(net, IDC_NET_APPLY);
    EXPECT_EQ(s.boxes.Next().text,
              "HTTP port number you entered is reserved by the system. Please enter a proper port number.");
    net->SetDlgItemText(IDC_NET_HTTP_PORT, "80");
    SetAddress(net, IDC_NET_MASK, 255, 0, 255, 0);
    Click(net, IDC_NET_APPLY);
    EXPECT_EQ(s.boxes.Next().text, "Netmask is empty or invalid.");
    EXPECT_EQ(s.Log().find("setnetattr"), std::string::npos);
}

// A camera that restarts its network on a change of address or HTTP port
// may drop the link before it answers, or answer and then vanish a while.
TEST(NetworkPage, AnApplyDroppedOrFollowedByARestartSucceedsOnlyWhenTheAddressOrPortChanged)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* net = PageAt<CIPSettingDlg>(s.dlg, 0, 1);
    ASSERT_TRUE(Loaded(net));
    struct Case {
        const char* what;
        int ip;            // last field of the address
        const char* http;  // HTTP port
        const char* cut;   // the apply's reply is cut off
        int restart;       // seconds the camera vanishes after answering, 0: none
        const char* box;
    };
    const Case cases[] = {
        {"unchanged, cut", 88, "80", "match=setnetattr&cut=0", 0, "Failed to apply settings."},
        {"new address, cut", 89, "80", "match=setnetattr&cut=0", 0, "Apply settings successfully."},
        {"new HTTP port, restart", 89, "8088", nullptr, 2, "Apply settings successfully."},
        {"new address, restart", 90, "8088", nullptr, 2, "Apply settings successfully."},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(s.cam.fault("clear=1").empty()) << c.what;
        if (c.cut) {
            ASSERT_FALSE(s.cam.fault(c.cut).empty()) << c.what;
        }
        if (c.restart) {
            ASSERT_FALSE(s.cam.get("/camsim/cue?op=netrestart&seconds=" + std::to_string(c.restart)).empty());
        }
        SetAddress(net, IDC_NET_IP, 192, 168, 1, static_cast<BYTE>(c.ip));
        net->SetDlgItemText(IDC_NET_HTTP_PORT, c.http);
        Click(net, IDC_NET_APPLY);
        EXPECT_EQ(s.boxes.Next().text, c.box) << c.what;
        ASSERT_TRUE(Idle(net));
        if (!c.restart)
            continue;
        // Back after its restart (the window may reconnect meanwhile), the
        // camera reports what it took.
        bool reloaded = false;
        for (int attempt = 0; attempt < 20 && !reloaded; ++attempt) {
            WaitFor([&] { return !s.cam.state().empty() && Connected(s.dlg) && !s.dlg->m_bConnectBusy; }, 30000);
            size_t boxes = s.boxes.calls.size();
            Click(net, IDC_REFRESH);
            ASSERT_TRUE(Idle(net)) << c.what;
            reloaded = s.boxes.calls.size() == boxes;
            s.boxes.seen = s.boxes.calls.size();
        }
        ASSERT_TRUE(reloaded) << c.what;
        EXPECT_EQ(Address(net, IDC_NET_IP), "192.168.1." + std::to_string(c.ip)) << c.what;
        EXPECT_EQ(ItemText(net, IDC_NET_HTTP_PORT), c.http) << c.what;
    }
    s.Close();
    EXPECT_NE(s.Log().find("-ipaddr=192.168.1.90&"), std::string::npos) << s.Log();
}

TEST(NetworkPage, TestUpnpSwitchesWaitsAndShowsTheStatus)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* net = PageAt<CIPSettingDlg>(s.dlg, 0, 1);
    ASSERT_TRUE(Loaded(net));
    EXPECT_EQ(ItemText(net, IDC_NET_UPNP_STATUS), "(UPnP off)");
    net->CheckDlgButton(IDC_NET_UPNP, BST_CHECKED);
    Click(net, IDC_NET_TEST_UPNP);
    ASSERT_TRUE(WaitFor([&] { return ItemText(net, IDC_NET_UPNP_STATUS) == "(UPnP success)"; }, 30000))
        << ItemText(net, IDC_NET_UPNP_STATUS);
    std::string log = s.Log();
    size_t set = log.find("cmd=setupnpattr&-upm_enable=1 ");
    ASSERT_NE(set, std::string::npos) << log;
    EXPECT_NE(log.find("cmd=getserverinfo ", set), std::string::npos) << log;
    EXPECT_TRUE(s.boxes.calls.empty());
}

TEST(NetworkPage, TheSettingsWindowClosedUnderTheUpnpWaitTakesItAlong)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* net = PageAt<CIPSettingDlg>(s.dlg, 0, 1);
    ASSERT_TRUE(Loaded(net));
    HWND settings = s.dlg->GetSafeHwnd();
    int opened = 0;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        if (dynamic_cast<CProgressDlg*>(&d)) {
            ++opened;
            ::PostMessage(settings, WM_CLOSE, 0, 0);
        }
    });
    Click(net, IDC_NET_TEST_UPNP);
    // The page must not be touched once the wait ended with its window.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000));
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_EQ(opened, 1);
    s.dlg = nullptr;
    EXPECT_EQ(s.Log().find("cmd=getserverinfo "), std::string::npos) << "no status asked after the close";
}

// ---- Video ----

void Select(CWnd* page, int id, const char* text)
{
    auto* combo = static_cast<CComboBox*>(page->GetDlgItem(id));
    int at = combo->FindStringExact(-1, text);
    ASSERT_GE(at, 0) << text;
    combo->SetCurSel(at);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
}

std::string Selected(CWnd* page, int id)
{
    auto* combo = static_cast<CComboBox*>(page->GetDlgItem(id));
    int sel = combo->GetCurSel();
    if (sel < 0)
        return "(none)";
    CString text;
    combo->GetLBText(sel, text);
    return text.GetString();
}

TEST(VideoPage, ThreeStreamModelBitRateAndFrameRateSurviveAReopen)
{
    Fixture s({"--model", "CAMX1g-N", "--width", "1920", "--height", "1080"});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* video = PageAt<CVideoEncodeSettingDlg>(s.dlg, 1, 0);
    ASSERT_TRUE(Loaded(video));
    EXPECT_EQ(Selected(video, IDC_VIDEO_RES_1), "1080P 1920x1080");
    video->SetDlgItemText(IDC_VIDEO_BPS_1, "3000");
    video->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_VIDEO_BPS_1, EN_KILLFOCUS),
                       reinterpret_cast<LPARAM>(video->GetDlgItem(IDC_VIDEO_BPS_1)->GetSafeHwnd()));
    video->SendDlgItemMessage(IDC_VIDEO_FPS_2, CB_SETCURSEL, 9);
    Click(video, IDC_NET_APPLY);
    auto box = s.boxes.Next();
    EXPECT_EQ(box.caption, "Video Setup");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(video));
    s.Close();
    EXPECT_NE(s.Log().find("&cmd=setvencattr&-chn=11&-bps=3000&"), std::string::npos) << s.Log();
    EXPECT_NE(s.Log().find("&cmd=setvencattr&-chn=12&-bps="), std::string::npos);
    EXPECT_NE(s.Log().find("&cmd=setvencattr&-chn=13&-bps="), std::string::npos);

    ASSERT_TRUE(s.Open());
    video = PageAt<CVideoEncodeSettingDlg>(s.dlg, 1, 0);
    ASSERT_TRUE(Loaded(video));
    EXPECT_EQ(ItemText(video, IDC_VIDEO_BPS_1), "3000");
    EXPECT_EQ(video->SendDlgItemMessage(IDC_VIDEO_FPS_2, CB_GETCURSEL), 9);
}

TEST(VideoPage, A4kCameraSwitchedTo4MKeepsItsResolution)
{
    Fixture s({"--model", "CAMXB4-HX-Z12", "--streams", "2", "--width", "3840", "--height", "2160"});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* video = PageAt<CVideoEncodeSettingDlg>(s.dlg, 1, 0);
    ASSERT_TRUE(Loaded(video));
    EXPECT_EQ(Selected(video, IDC_VIDEO_RES_1), "4K 3840x2160");
    EXPECT_EQ(video->SendDlgItemMessage(IDC_VIDEO_CODING, CB_GETCOUNT), 3);
    Select(video, IDC_VIDEO_RES_1, "4M 2560x1440");
    EXPECT_EQ(Selected(video, IDC_VIDEO_RES_2), "720P 1280x720");
    video->SendDlgItemMessage(IDC_VIDEO_CODING, CB_SETCURSEL, 2);
    Click(video, IDC_NET_APPLY);
    EXPECT_EQ(s.boxes.Next().text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(video));
    s.Close();
    EXPECT_NE(s.Log().find("cmd=setvideoattr&-vinorm=P&-profile=3&-videomode=85&"), std::string::npos) << s.Log();
    EXPECT_EQ(s.Log().find("-chn=13"), std::string::npos);

    ASSERT_TRUE(s.Open());
    video = PageAt<CVideoEncodeSettingDlg>(s.dlg, 1, 0);
    ASSERT_TRUE(Loaded(video));
    EXPECT_EQ(Selected(video, IDC_VIDEO_RES_1), "4M 2560x1440");
    EXPECT_EQ(Selected(video, IDC_VIDEO_RES_2), "720P 1280x720");
    EXPECT_EQ(video->SendDlgItemMessage(IDC_VIDEO_CODING, CB_GETCURSEL), 2);
}

// ---- Display ----

class DisplayRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(DisplayRoundTrip, BrightnessFlipAndNumericNoiseSurviveAReopen)
{
    Fixture s({"--family", GetParam(), "--numeric-noise"});
    ASSERT_TRUE(s.cam.ok()) << s.cam.error();
    ASSERT_TRUE(s.connected);
    auto* disp = PageAt<CDlgDisplaySetup>(s.dlg, 1, 1);
    ASSERT_TRUE(Loaded(disp));
    EXPECT_TRUE(Checked(disp, IDC_DISP_SMOOTH));
    disp->SetDlgItemText(IDC_DISP_BRIGHTNESS, "70");
    EXPECT_EQ(static_cast<CSliderCtrl*>(disp->GetDlgItem(IDC_DISP_BRIGHTNESS_SLIDER))->GetPos(), 70);
    // Out of the edit's range: the slider stays, and leaving the edit shows it again.
    disp->SetDlgItemText(IDC_DISP_CONTRAST, "150");
    disp->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DISP_CONTRAST, EN_KILLFOCUS),
                      reinterpret_cast<LPARAM>(disp->GetDlgItem(IDC_DISP_CONTRAST)->GetSafeHwnd()));
    EXPECT_EQ(ItemText(disp, IDC_DISP_CONTRAST), "50");
    disp->CheckDlgButton(IDC_DISP_FLIP, BST_CHECKED);
    disp->CheckDlgButton(IDC_DISP_SMOOTH, BST_UNCHECKED);
    Click(disp, IDC_APPLY);
    auto box = s.boxes.Next();
    EXPECT_EQ(box.caption, "Display Setup");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(disp));
    s.Close();
    EXPECT_NE(s.Log().find("cmd=setimageattr&-brightness=70&-saturation=128&-contrast=50&-hue=50&-targety=128"
                           "&-sharpness=50&-flip=on&-mirror=off&-noise=0&-wdr=off&-night=off&-gc=64&-aemode=0"
                           "&-image_type=1&-shutter=1000&cmd=setircutattr&-saradc_switch_value=512"),
              std::string::npos)
        << s.Log();

    ASSERT_TRUE(s.Open());
    disp = PageAt<CDlgDisplaySetup>(s.dlg, 1, 1);
    ASSERT_TRUE(Loaded(disp));
    EXPECT_EQ(ItemText(disp, IDC_DISP_BRIGHTNESS), "70");
    EXPECT_EQ(static_cast<CSliderCtrl*>(disp->GetDlgItem(IDC_DISP_BRIGHTNESS_SLIDER))->GetPos(), 70);
    EXPECT_TRUE(Checked(disp, IDC_DISP_FLIP));
    EXPECT_FALSE(Checked(disp, IDC_DISP_SMOOTH));

    // "Set Default" puts the camera's values back and loads them.
    Click(disp, IDC_DISP_DEFAULT);
    EXPECT_EQ(s.boxes.Next().text, "Set default successfully.");
    ASSERT_TRUE(WaitFor([&] { return ItemText(disp, IDC_DISP_BRIGHTNESS) == "50" && !disp->IsRequestPending(); }));
    EXPECT_TRUE(Checked(disp, IDC_DISP_SMOOTH));
}

INSTANTIATE_TEST_SUITE_P(Families, DisplayRoundTrip, ::testing::Values("HX", "DY", "AJ", "HTL"));

TEST(DisplayPage, FailedLoadLeavesWriteButtonsDisabledAndARefusedApplySaysSo)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    ASSERT_FALSE(s.cam.fault("cmderror=getimageattr").empty());
    auto* disp = PageAt<CDlgDisplaySetup>(s.dlg, 1, 1);
    disp->ShowWindow(SW_SHOW);
    EXPECT_EQ(s.boxes.Next().text, "Failed to get settings.");
    ASSERT_TRUE(Idle(disp));
    EXPECT_FALSE(disp->GetDlgItem(IDC_APPLY)->IsWindowEnabled());
    EXPECT_FALSE(disp->GetDlgItem(IDC_DISP_DEFAULT)->IsWindowEnabled());
    ASSERT_FALSE(s.cam.fault("clear=1").empty());
    Click(disp, IDC_REFRESH);
    ASSERT_TRUE(WaitFor([&] { return disp->IsLoaded() && !disp->IsRequestPending(); }));
    ASSERT_FALSE(s.cam.fault("cmderror=setimageattr").empty());
    Click(disp, IDC_APPLY);
    EXPECT_EQ(s.boxes.Next().text, "Failed to apply settings.");
}

// ---- Infrared ----

struct InfraredRow {
    const char* model;
    int light;           // radio to choose
    int irCut;           // radio to choose, 0 for none
    const char* sent;    // the request camsim must have logged
    const char* second;  // the request that must follow, or null
};

class InfraredRoundTrip : public ::testing::TestWithParam<InfraredRow> {};

TEST_P(InfraredRoundTrip, TheVariantsRequestIsSentAndTheChoiceSurvivesAReopen)
{
    const InfraredRow& row = GetParam();
    Fixture s({"--model", row.model});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* ir = PageAt<CDlgIRLights>(s.dlg, 1, 2);
    ASSERT_TRUE(Loaded(ir));
    ChooseRadio(ir, row.light);
    if (row.irCut)
        ChooseRadio(ir, row.irCut);
    Click(ir, IDC_APPLY);
    auto box = s.boxes.Next();
    EXPECT_EQ(box.caption, "Infrared Light Setup");
    EXPECT_EQ(box.text, "Apply settings successfully.");
    ASSERT_TRUE(Idle(ir));
    s.Close();
    std::string log = s.Log();
    EXPECT_NE(log.find(row.sent), std::string::npos) << log;
    if (row.second) {
        EXPECT_NE(log.find(row.second), std::string::npos) << log;
    } else {
        EXPECT_EQ(log.find("ircutctrl"), std::string::npos) << log;
    }

    ASSERT_TRUE(s.Open());
    ir = PageAt<CDlgIRLights>(s.dlg, 1, 2);
    ASSERT_TRUE(Loaded(ir));
    EXPECT_TRUE(Checked(ir, row.light)) << row.model;
    if (row.irCut) {
        EXPECT_TRUE(Checked(ir, row.irCut)) << row.model;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, InfraredRoundTrip,
    ::testing::Values(InfraredRow{"CAMXC5-HX-Z20-D", IDC_IR_SECOND, IDC_IR_CUT_COLOR,
                                  "cmd=setlampattrex&-lamp_mode=1&cmd=setinfrared&-infraredstat=close", nullptr},
                      InfraredRow{"CAMXA1-N-W22", IDC_IR_THIRD, 0, "cmd=setinfrared&-infraredstat=user", nullptr},
                      InfraredRow{"CAMXA1-NP", IDC_IR_FIRST, IDC_IR_CUT_BW, "cmd=setinfrared&-infraredstat=open",
                                  nullptr},
                      InfraredRow{"CAMXA1-N", IDC_IR_SECOND, IDC_IR_CUT_COLOR, "cmd=setinfrared&-infraredstat=close",
                                  "cmd=ircutctrl&-mode=1"}));

TEST(InfraredPage, LabelsFollowTheVariant)
{
    Fixture s({"--model", "CAMXC5-HX-Z20-D"});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* ir = PageAt<CDlgIRLights>(s.dlg, 1, 2);
    ASSERT_TRUE(Loaded(ir));
    EXPECT_TRUE(ir->Variant().lamp);
    EXPECT_EQ(ItemText(ir, IDC_IR_GROUP_LABEL), "Night vision mode");
    EXPECT_EQ(ItemText(ir, IDC_IR_SECOND), "Full color");
    EXPECT_TRUE(ir->GetDlgItem(IDC_IR_THIRD)->GetStyle() & WS_VISIBLE);
}

// ---- System log ----

TEST(SystemLogPage, ListsTheCameraLogAndResetEmptiesIt)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    LogCapture trace;
    auto* log = PageAt<CDlgSysLog>(s.dlg, 6, 2);
    ASSERT_TRUE(Loaded(log));
    ASSERT_FALSE(log->Lines().empty());
    // The fetch of the file is bracketed in the trace (tag, date and time,
    // then the text).
    std::vector<std::string> said;
    for (std::string line : trace.Lines()) {
        if (line.find(" vxnet_get_cgi_command get /log/syslog.txt ") == std::string::npos)
            continue;
        while (!line.empty() && line.back() == '\n')
            line.pop_back();
        said.push_back(line.substr(0, line.find(':') + 1) + line.substr(line.find(' ', line.find(' ') + 1)));
    }
    EXPECT_EQ(said, (std::vector<std::string>{"TRACE: vxnet_get_cgi_command get /log/syslog.txt start",
                                              "TRACE: vxnet_get_cgi_command get /log/syslog.txt finish"}));
    auto* list = static_cast<CListCtrl*>(log->GetDlgItem(IDC_LOG_LIST));
    EXPECT_EQ(list->GetItemCount(), static_cast<int>(log->Lines().size()));
    std::string time = list->GetItemText(0, 1).GetString();
    EXPECT_EQ(time.size(), 19u) << time;
    EXPECT_EQ(time[4], '-');
    EXPECT_EQ(time[7], '-');
    EXPECT_EQ(std::string(list->GetItemText(0, 2).GetString()), "system start");
    EXPECT_EQ(std::string(list->GetItemText(0, 0).GetString()), "1");

    s.boxes.answer = IDYES;
    Click(log, IDC_LOG_RESET);
    auto ask = s.boxes.Next();
    EXPECT_EQ(ask.text, "System log will be clear. Would you like to clear it?");
    ASSERT_TRUE(WaitFor([&] { return log->Lines().empty() && !log->IsRequestPending(); }));
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_NE(s.Log().find("cmd=cleanlog&-name=sys"), std::string::npos);
}

TEST(SystemLogPage, AFailedSyncFetchesNothing)
{
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    ASSERT_FALSE(s.cam.fault("match=logsync&error=500").empty());
    auto* log = PageAt<CDlgSysLog>(s.dlg, 6, 2);
    log->ShowWindow(SW_SHOW);
    EXPECT_EQ(s.boxes.Next().text, "Failed query system log.");
    ASSERT_TRUE(Idle(log));
    EXPECT_EQ(s.Log().find("/log/syslog.txt"), std::string::npos);
    EXPECT_FALSE(log->GetDlgItem(IDC_LOG_RESET)->IsWindowEnabled());
}

// ---- A window closed under a page's box ----

// A box runs a message loop, where the settings window may close, pages and
// all: the page that showed it must touch nothing after it (the sanitizer
// build reports any use of the freed page).
struct ClosedUnderBoxRow {
    const char* name;
    int category, index;  // the page
    int button;           // what the test clicks on the loaded page
    const char* box;      // the box the window closes under; a question is answered yes
    const char* after;    // a request that must not follow: the page's load, or what was asked
};

class ClosedUnderBox : public ::testing::TestWithParam<ClosedUnderBoxRow> {};

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_P(ClosedUnderBox, ThePageTouchesNothingAfterIt)
{
    const ClosedUnderBoxRow& row = GetParam();
    Fixture s({});
    ASSERT_TRUE(s.cam.ok() && s.connected);
    auto* page = PageAt<CSettingsPage>(s.dlg, row.category, row.index);
    ASSERT_TRUE(Loaded(page));
    HWND settings = s.dlg->GetSafeHwnd();
    std::vector<std::string> shown;
    size_t loadsBefore = 0;
    vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& c) {
        shown.push_back(c.text);
        if (c.text == row.box) {
            loadsBefore = Count(s.Log(), row.after);
            ::SendMessage(settings, WM_CLOSE, 0, 0);
        }
        return (c.type & MB_YESNO) ? IDYES : IDOK;
    });
    Click(page, row.button);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(settings); }, 30000)) << "the window stays";
    vxw::test::SetMessageBoxHook(nullptr);
    s.dlg = nullptr;
    ASSERT_EQ(shown, std::vector<std::string>{row.box});
    EXPECT_TRUE(::IsWindowEnabled(s.owner.GetSafeHwnd()));
    EXPECT_EQ(Count(s.Log(), row.after), loadsBefore) << "the page sent a request after its window closed";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ClosedUnderBox,
    ::testing::Values(
        ClosedUnderBoxRow{"DisplayDefault", 1, 1, IDC_DISP_DEFAULT, "Set default successfully.", "cmd=getimageattr"},
        ClosedUnderBoxRow{"InfraredApply", 1, 2, IDC_APPLY, "Apply settings successfully.", "cmd=getinfrared"},
        ClosedUnderBoxRow{"TimeSync", 0, 0, IDC_TIME_SYNC, "Apply settings successfully.", "cmd=getservertime"},
        ClosedUnderBoxRow{"RebootQuestion", 6, 1, IDC_UPGRADE_REBOOT, "Are you sure to reboot the camera?",
                          "sysreboot.cgi"},
        ClosedUnderBoxRow{"ResetQuestion", 6, 1, IDC_UPGRADE_RESET, "Are you sure to reset to factory settings?",
                          "sysreset.cgi"}),
    [](const ::testing::TestParamInfo<ClosedUnderBoxRow>& info) { return std::string(info.param.name); });

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
