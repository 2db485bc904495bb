// The progress dialog of long camera operations and the texts its callers
// show in it.
#include "resources/vxcam/VxcamResources_p.h"

#include "resources/vxcam/resource.h"

#include "platform/ui/commctrl.h"

namespace vxcam_res {

void FillProgress(vxw::ResourceModule& m)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDS_PROGRESS_UPGRADE, "IP Camera firmware is upgrading, please do not turn off power and wait ......"},
        {IDS_UPGRADE_DONE, "Firmware upgraded successfully."},
        {IDS_PROGRESS_EMAIL, "Testing email, please wait ......"},
        {IDS_PROGRESS_FTP, "Testing FTP, please wait ......"},
        {IDS_PROGRESS_UPNP, "Testing UPnP, please wait ......"},
        {IDS_PROGRESS_WIRELESS, "Testing wireless, please wait ......"},
    };
    for (const auto& [id, text] : strings)
        m.AddString(id, text);

    // No system menu and no buttons: nothing ends it but its countdown.
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    t.cx = 260;
    t.cy = 70;
    t.caption = "Please wait";
    auto item = [](const char* cls, int id, const char* text, DWORD style, short x, short y, short cx, short cy) {
        return vxw::DialogItemTemplate{cls, id, text, style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, {}};
    };
    t.items = {
        item("STATIC", IDC_PROGRESS_TEXT,
             "IP address has updated successfully. Camera is reconnecting, please wait ......", SS_LEFT, 8, 6, 244, 24),
        item(PROGRESS_CLASS, IDC_PROGRESS_BAR, "", PBS_SMOOTH | WS_BORDER, 8, 34, 244, 12),
        item("STATIC", IDC_PROGRESS_SHARE, "", SS_LEFT, 8, 52, 244, 10),
    };
    m.AddDialog(IDD_PROGRESS, t);
}

}  // namespace vxcam_res
