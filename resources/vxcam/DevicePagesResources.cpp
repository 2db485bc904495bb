// The Network, Display, Infrared Light and System Log pages of the settings
// window, with their strings.
#include "resources/vxcam/VxcamResources_p.h"

#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/resource.h"

#include "platform/ui/commctrl.h"

namespace vxcam_res {

namespace {

using namespace items;

void AddStrings(vxw::ResourceModule& m)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDS_IP_INVALID, "IP Address is empty or invalid."},
        {IDS_MASK_INVALID, "Netmask is empty or invalid."},
        {IDS_GATEWAY_INVALID, "Gateway is empty or invalid."},
        {IDS_HTTP_PORT_RESERVED,
         "HTTP port number you entered is reserved by the system. Please enter a proper port number."},
        {IDS_RTSP_PORT_RESERVED,
         "RTSP port number you entered is reserved by the system. Please enter a proper port number."},
        {IDS_RTMP_PORT_RESERVED,
         "RTMP port number you entered is reserved by the system. Please enter a proper port number."},
        {IDS_TEST_PASSED, "Test passed."},
        {IDS_TEST_FAILED, "Test failed."},
        {IDS_LOG_NO, "No."},
        {IDS_LOG_TIME, "Log Time"},
        {IDS_LOG_DESCRIPTION, "Log Description"},
        {IDS_LOG_QUERY_FAILED, "Failed query system log."},
        {IDS_LOG_RESET_FAILED, "Failed to reset system log."},
        {IDS_LOG_RESET_ASK, "System log will be clear. Would you like to clear it?"},
        {IDS_DEFAULT_FAILED, "Failed to set default."},
        {IDS_DEFAULT_DONE, "Set default successfully."},
    };
    for (const auto& [id, text] : strings)
        m.AddString(id, text);
}

void AddNetworkPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("IP type:", 10, 10, 80),
        Combo(IDC_NET_IP_TYPE, 95, 8, 100, {"Static IP address", "DHCP"}),
        Label("IP address:", 10, 28, 80),
        Address(IDC_NET_IP, 95, 26),
        Label("Subnet mask:", 10, 44, 80),
        Address(IDC_NET_MASK, 95, 42),
        Label("Gateway:", 10, 60, 80),
        Address(IDC_NET_GATEWAY, 95, 58),
        Label("DNS type:", 10, 78, 80),
        Combo(IDC_NET_DNS_TYPE, 95, 76, 100, {"DNS", "Dynamic DNS"}),
        Label("Primary DNS:", 10, 96, 80),
        Address(IDC_NET_DNS1, 95, 94),
        Label("Secondary DNS:", 10, 112, 80),
        Address(IDC_NET_DNS2, 95, 110),
        Label("HTTP port:", 10, 130, 80),
        Number(IDC_NET_HTTP_PORT, 95, 128, 50),
        Label("(80 or 1024~49151)", 150, 130, 90),
        Label("RTSP port:", 10, 146, 80),
        Number(IDC_NET_RTSP_PORT, 95, 144, 50),
        Label("(554 or 1024~49151)", 150, 146, 90),
        Label("RTMP port:", 10, 162, 80),
        Number(IDC_NET_RTMP_PORT, 95, 160, 50),
        Label("(1935 or 1024~49151)", 150, 162, 90),
        Check(IDC_NET_RTSP_AUTH, "RTSP Authentication", 250, 128, 120),
        Check(IDC_NET_UPNP, "Enable UPnP", 250, 146, 70),
        Label("", 320, 146, 75, IDC_NET_UPNP_STATUS),
        Button(IDC_NET_TEST_UPNP, "Test UPnP", 250, 162),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_NET_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_NETWORK, Page(std::move(i)));
}

void AddDisplayPage(vxw::ResourceModule& m)
{
    const struct {
        const char* label;
        int slider, edit;
    } rows[] = {
        {"Brightness:", IDC_DISP_BRIGHTNESS_SLIDER, IDC_DISP_BRIGHTNESS},
        {"Saturation:", IDC_DISP_SATURATION_SLIDER, IDC_DISP_SATURATION},
        {"Contrast:", IDC_DISP_CONTRAST_SLIDER, IDC_DISP_CONTRAST},
        {"Sharpness:", IDC_DISP_SHARPNESS_SLIDER, IDC_DISP_SHARPNESS},
        {"Hue:", IDC_DISP_HUE_SLIDER, IDC_DISP_HUE},
        {"Exposure value (EV):", IDC_DISP_EXPOSURE_SLIDER, IDC_DISP_EXPOSURE},
    };
    Items i;
    short y = 8;
    for (const auto& r : rows) {
        i.push_back(Label(r.label, 10, static_cast<short>(y + 3), 80));
        i.push_back(Slider(r.slider, 90, y));
        i.push_back(Number(r.edit, 245, static_cast<short>(y + 1), 35));
        y = static_cast<short>(y + 18);
    }
    Items rest = {
        Check(IDC_DISP_FLIP, "Flip", 290, 10, 90),
        Check(IDC_DISP_MIRROR, "Mirror", 290, 24, 90),
        Check(IDC_DISP_NIGHT, "Night mode", 290, 38, 90),
        Check(IDC_DISP_SMOOTH, "Smooth mode", 290, 52, 90),
        Check(IDC_DISP_WDR, "Wide dynamic mode", 290, 66, 100),
        Label("Aemode:", 10, 122, 80),
        Combo(IDC_DISP_AEMODE, 90, 120, 90, {"Automatic", "Indoor", "Outdoor"}),
        Label("Display mode:", 190, 122, 60),
        Combo(IDC_DISP_MODE, 255, 120, 100, {"Black and white mode", "Color mode"}),
        Label("Shutter:", 10, 140, 80),
        Number(IDC_DISP_SHUTTER, 90, 138, 50),
        Label("Gain:", 150, 140, 30),
        Number(IDC_DISP_GAIN, 185, 138, 50),
        Label("IRCut:", 10, 158, 80),
        Number(IDC_DISP_IRCUT, 90, 156, 50),
        Label("(the greater value, the switching time will be later)", 145, 158, 200),
        Button(IDC_DISP_DEFAULT, "Set Default", 170, 200),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    for (auto& item : rest) {
        if (item.id == IDC_DISP_MODE)
            item.style |= WS_DISABLED;
        i.push_back(std::move(item));
    }
    m.AddDialog(IDD_DISPLAY, Page(std::move(i)));
}

void AddInfraredPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("IR lights in night vision:", 10, 10, 120, IDC_IR_GROUP_LABEL),
        Radio(IDC_IR_FIRST, "Turn on", 20, 24, 160, true),
        Radio(IDC_IR_SECOND, "Turn off", 20, 38, 160),
        Radio(IDC_IR_THIRD, "Smart mode", 20, 52, 160),
        Label("IR-Cut options:", 10, 72, 120, IDC_IR_CUT_LABEL),
        Radio(IDC_IR_CUT_BW, "Black and white mode", 20, 86, 160, true),
        Radio(IDC_IR_CUT_COLOR, "Color mode", 20, 100, 160),
        Radio(IDC_IR_CUT_AUTO, "Auto mode", 20, 114, 160),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_INFRARED, Page(std::move(i)));
}

void AddSystemLogPage(vxw::ResourceModule& m)
{
    Items i = {
        Item(WC_LISTVIEW, IDC_LOG_LIST, "", LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_BORDER | kTab, 6, 6,
             388, 186),
        Button(IDC_LOG_REFRESH, "Refresh", 240, 200),
        Button(IDC_LOG_RESET, "Reset", 310, 200),
    };
    m.AddDialog(IDD_SYSTEM_LOG, Page(std::move(i)));
}

void AddVideoPages(vxw::ResourceModule& m)
{
    const struct {
        const char* name;
        int res, slider, bps, fps, brmode, gop, quality;
    } streams[] = {
        {"Primary stream", IDC_VIDEO_RES_1, IDC_VIDEO_BPS_SLIDER_1, IDC_VIDEO_BPS_1, IDC_VIDEO_FPS_1,
         IDC_VIDEO_BRMODE_1, IDC_VIDEO_GOP_1, IDC_VIDEO_QUALITY_1},
        {"Secondary stream", IDC_VIDEO_RES_2, IDC_VIDEO_BPS_SLIDER_2, IDC_VIDEO_BPS_2, IDC_VIDEO_FPS_2,
         IDC_VIDEO_BRMODE_2, IDC_VIDEO_GOP_2, IDC_VIDEO_QUALITY_2},
        {"Tertiary stream", IDC_VIDEO_RES_3, IDC_VIDEO_BPS_SLIDER_3, IDC_VIDEO_BPS_3, IDC_VIDEO_FPS_3,
         IDC_VIDEO_BRMODE_3, IDC_VIDEO_GOP_3, IDC_VIDEO_QUALITY_3},
    };
    Items i = {
        Label("Format:", 10, 8, 40),
        Combo(IDC_VIDEO_FORMAT, 55, 6, 60, {"PAL", "NTSC"}),
        Label("Video coding:", 125, 8, 50),
        Combo(IDC_VIDEO_CODING, 180, 6, 90, {"baseline", "mainprofile"}),
        Button(IDC_VIDEO_MOBILE, "Smartphone and Pad", 290, 5, 100),
    };
    short x = 6;
    for (const auto& st : streams) {
        i.push_back(Item("BUTTON", -1, st.name, BS_GROUPBOX, x, 22, 128, 170));
        i.push_back(Label("Resolution:", static_cast<short>(x + 4), 34, 120));
        i.push_back(Combo(st.res, static_cast<short>(x + 4), 44, 118, {}));
        i.push_back(Label("Bit rate (kbps):", static_cast<short>(x + 4), 62, 80));
        i.push_back(Number(st.bps, static_cast<short>(x + 86), 60, 36));
        i.push_back(Item(TRACKBAR_CLASS, st.slider, "", TBS_NOTICKS | kTab, static_cast<short>(x + 4), 74, 118, 14));
        i.push_back(Label("Maximum frame rate:", static_cast<short>(x + 4), 92, 80));
        i.push_back(Combo(st.fps, static_cast<short>(x + 86), 90, 36, {}));
        i.push_back(Label("Bit rate type:", static_cast<short>(x + 4), 110, 80));
        i.push_back(Combo(st.brmode, static_cast<short>(x + 76), 108, 46, {"CBR", "VBR"}));
        i.push_back(Label("I-frame interval:", static_cast<short>(x + 4), 128, 80));
        i.push_back(Combo(st.gop, static_cast<short>(x + 86), 126, 36, {}));
        i.push_back(Label("Image quality:", static_cast<short>(x + 4), 146, 60));
        i.push_back(Combo(st.quality, static_cast<short>(x + 64), 144, 58,
                          {"Maximum", "Very High", "High", "Medium", "Low", "Very Low"}));
        x = static_cast<short>(x + 132);
    }
    i.push_back(Button(IDC_REFRESH, "Refresh", 240, 200));
    i.push_back(Button(IDC_NET_APPLY, "Apply", 310, 200));
    m.AddDialog(IDD_VIDEO, Page(std::move(i)));

    vxw::DialogTemplate d;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    d.cx = 220;
    d.cy = 70;
    d.caption = "Video Setup (Smartphone and Pad)";
    d.items = {
        Label("Resolution:", 10, 12, 50),           Combo(IDC_VIDEO_MOBILE_SIZE, 65, 10, 80, {"Large", "Small"}),
        Button(IDC_REFRESH, "Refresh", 10, 45, 60), Button(IDC_NET_APPLY, "Apply", 80, 45, 60),
        Button(IDCANCEL, "Close", 150, 45, 60),
    };
    m.AddDialog(IDD_VIDEO_MOBILE, d);
}

}  // namespace

void FillDevicePages(vxw::ResourceModule& m)
{
    AddStrings(m);
    AddNetworkPage(m);
    AddDisplayPage(m);
    AddInfraredPage(m);
    AddSystemLogPage(m);
    AddVideoPages(m);
}

}  // namespace vxcam_res
