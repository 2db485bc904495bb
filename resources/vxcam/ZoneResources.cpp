// The zone editors: the motion detection zones dialog and the video
// shield page.
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"
#include "resources/vxcam/resource.h"

namespace vxcam_res {

namespace {

using namespace items;

void AddMotionZones(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 356;
    t.cy = 236;
    t.caption = "Motion Detection Zones Setting";
    t.items = {
        Item("STATIC", IDC_ZONE_PICTURE, "", SS_OWNERDRAW, 7, 7, 342, 192),
        Button(IDC_ZONE_DELETE_SELECTED, "Delete Select", 7, 212, 60),
        Button(IDC_ZONE_DELETE_ALL, "Delete All", 72, 212, 60),
        Button(IDC_REFRESH, "Refresh", 137, 212, 60),
        Button(IDOK, "OK", 224, 212, 60),
        Button(IDCANCEL, "Cancel", 289, 212, 60),
    };
    m.AddDialog(IDD_MOTION_ZONES, t);
}

void AddVideoShield(vxw::ResourceModule& m)
{
    Items i = {
        Group("Video Shield", 4, 2, 392, 236),
        Item("STATIC", IDC_SHIELD_PICTURE, "", SS_OWNERDRAW, 10, 14, 300, 169),
        Check(IDC_SHIELD_ENABLE, "Enable video shield", 318, 14, 76),
        Label("Shield color:", 318, 32, 70),
        Item("BUTTON", IDC_SHIELD_RED, "Red", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 318, 44, 60, 10),
        Item("BUTTON", IDC_SHIELD_GREEN, "Green", BS_AUTORADIOBUTTON, 318, 56, 60, 10),
        Item("BUTTON", IDC_SHIELD_BLACK, "Black", BS_AUTORADIOBUTTON, 318, 68, 60, 10),
        Button(IDC_SHIELD_CLEAR_ALL, "Clear All", 10, 190, 60),
        Button(IDC_SHIELD_CLEAR_SELECTED, "Clear Selected", 75, 190, 60),
        Button(IDC_SHIELD_REFRESH, "Refresh", 240, 212),
        Button(IDC_SHIELD_APPLY, "Apply", 310, 212),
    };
    m.AddDialog(IDD_VIDEO_SHIELD, Page(std::move(i)));
}

void AddStrings(vxw::ResourceModule& m)
{
    m.AddString(IDS_PAGE_VIDEO_SHIELD, "Video Shield");
    m.AddString(IDS_SHIELD_LIMIT, "Shield area number is up to %d.");
}

}  // namespace

void FillZones(vxw::ResourceModule& m)
{
    AddStrings(m);
    AddMotionZones(m);
    AddVideoShield(m);
}

}  // namespace vxcam_res
