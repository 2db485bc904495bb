// The Wireless page, its access-point scan dialog and their strings; the
// pictures are drawn at build time (pictures/*.pic).
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"
#include "resources/vxcam/resource.h"

#include "platform/ui/commctrl.h"

void vxcam_wireless_pictures(vxw::ResourceModule& module);

namespace vxcam_res {

namespace {

using namespace items;

vxw::DialogTemplate WirelessPage()
{
    const short lx = 10, fx = 120;
    return Page({
        Check(IDC_WIFI_ENABLE, "Enable wireless", lx, 8, 150),
        Label("SSID:", lx, 28, 100, IDC_WIFI_SSID_LABEL),
        Edit(IDC_WIFI_SSID, fx, 26, 140),
        Button(IDC_WIFI_SEARCH, "Search", 266, 25, 50),
        Label("Wireless mode:", lx, 48, 100, IDC_WIFI_MODE_LABEL),
        Combo(IDC_WIFI_MODE, fx, 46, 140, {"Station", "Access Point"}),
        Label("(select Station if you are using a wireless router)", fx, 62, 270, IDC_WIFI_MODE_HINT),
        Label("Security type:", lx, 80, 100, IDC_WIFI_SECURITY_LABEL),
        Combo(IDC_WIFI_SECURITY, fx, 78, 140, {"None", "WEP", "WPA-PSK", "WPA2-PSK"}),
        Label("Encrypt type:", lx, 100, 100, IDC_WIFI_ENCRYPT_LABEL),
        Combo(IDC_WIFI_ENCRYPT, fx, 98, 140, {"TKIP", "AES"}),
        Label("Password:", lx, 120, 100, IDC_WIFI_KEY_LABEL),
        Edit(IDC_WIFI_KEY, fx, 118, 140, ES_PASSWORD),
        Label("Test wireless settings:", lx, 144, 100, IDC_WIFI_TEST_LABEL),
        Button(IDC_TEST, "Test", fx, 142, 50),
        Button(IDC_REFRESH, "Refresh", 250, 216),
        Button(IDC_WIFI_APPLY, "Apply", 318, 216),
    });
}

vxw::DialogTemplate ScanDialog()
{
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 330;
    t.cy = 190;
    t.caption = "Wireless Device";
    t.items = {
        Item(WC_LISTVIEW, IDC_SCAN_LIST, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | kTab, 6, 6,
             318, 140),
        Item(PROGRESS_CLASS, IDC_SCAN_PROGRESS, "", PBS_SMOOTH | WS_BORDER, 6, 152, 318, 10),
        Button(IDC_SCAN_SEARCH, "Search", 194, 170),
        Button(IDC_SCAN_ADD, "Add", 264, 170),
    };
    return t;
}

}  // namespace

void FillWireless(vxw::ResourceModule& m)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDS_SCAN_COL_SSID, "SSID"},
        {IDS_SCAN_COL_SIGNAL, "Signal Strength"},
        {IDS_SCAN_COL_SECURITY, "Security Type"},
        {IDS_SCAN_NOTHING, "Can't find wireless device."},
        {IDS_SCAN_CAPTION, "Wireless Device"},
        {IDS_SCAN_FAILED, "Failed to search wireless device."},
        {IDS_SCAN_SELECT, "Please select wireless device."},
        {IDS_SCAN_COL_ENCRYPT, "Encrypt Type"},
        {IDS_SCAN_COL_MODE, "Wireless Mode"},
        {IDS_SSID_INVALID, "Invalid SSID."},
        {IDS_WIFI_KEY_INVALID, "Invalid password."},
    };
    for (const auto& [id, text] : strings)
        m.AddString(id, text);
    m.AddDialog(IDD_WIRELESS, WirelessPage());
    m.AddDialog(IDD_WIRELESS_SCAN, ScanDialog());
    vxcam_wireless_pictures(m);
}

}  // namespace vxcam_res
