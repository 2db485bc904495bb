// The motion detection page.
#include "resources/vxcam/ScheduleItems.h"
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"
#include "resources/vxcam/resource.h"

#include <string>

namespace vxcam_res {

namespace {

using namespace items;

std::vector<std::string> Numbers(int from, int to)
{
    std::vector<std::string> list;
    for (int n = from; n <= to; ++n)
        list.push_back(std::to_string(n));
    return list;
}

void AddMotionPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("Sensitivity level:", 10, 12, 80),
        Combo(IDC_MD_SENSITIVITY, 95, 10, 50, Numbers(1, 100)),
        Label("100 is more sensitive, 1 is less", 150, 12, 150),
        Label("Snapshot count:", 10, 30, 80),
        Combo(IDC_MD_SNAP_COUNT, 95, 28, 50, Numbers(1, 3)),
        Combo(IDC_MD_SNAP_STREAM, 150, 28, 80),
        Check(IDC_MD_SEND_SNAPSHOT, "Send snapshot", 240, 30, 100),
        Check(IDC_MD_EMAIL, "Send email", 10, 46, 115),
        Check(IDC_MD_FTP_SNAP, "Upload snapshot to FTP", 130, 46, 115),
        Check(IDC_MD_SD_SNAP, "Snapshot to SD Card", 10, 60, 115),
        Check(IDC_MD_SD_RECORD, "Record to SD Card", 130, 60, 115),
        Check(IDC_MD_FTP_RECORD, "Upload record to FTP", 250, 60, 115),
        Label("Human targets:", 10, 78, 80, IDC_MD_SMART_LABEL),
        Check(IDC_MD_SMART_ENABLE, "Detection ", 95, 78, 60),
        Combo(IDC_MD_SMART_TYPE, 160, 76, 110, {"Human targets", "Human & vehicle targets", "Human & pet targets"}),
        // Models without the target combo show the check in its place.
        Check(IDC_MD_SMART_TRACKING, "Tracking display (yellow frame or red spot)", 160, 93, 230),
    };
    AddWeekRows(i, "Motion detection day:", IDC_CAPTURE_DAY, 110);
    i.push_back(Button(IDC_MD_ZONES, "Set up motion detection zones", 10, 200, 130));
    i.push_back(Button(IDC_REFRESH, "Refresh", 240, 200));
    i.push_back(Button(IDC_APPLY, "Apply", 310, 200));
    // Hidden for good: the snapshot stream and "Send snapshot". Shown by the
    // camera's stream count: the smart detection controls.
    for (auto& item : i) {
        switch (item.id) {
        case IDC_MD_SNAP_STREAM:
        case IDC_MD_SEND_SNAPSHOT:
        case IDC_MD_SMART_LABEL:
        case IDC_MD_SMART_ENABLE:
        case IDC_MD_SMART_TYPE:
        case IDC_MD_SMART_TRACKING:
            item.style &= ~static_cast<DWORD>(WS_VISIBLE);
            break;
        default:
            break;
        }
    }
    m.AddDialog(IDD_MOTION_DETECTION, Page(std::move(i)));
}

}  // namespace

void FillMotion(vxw::ResourceModule& m)
{
    AddMotionPage(m);
}

}  // namespace vxcam_res
