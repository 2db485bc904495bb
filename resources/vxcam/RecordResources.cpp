// The timed pages: Auto Capture, Schedule Continuous Record, Continuous
// Record Options and Storage, with their strings.
#include "resources/vxcam/ScheduleItems.h"
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"
#include "resources/vxcam/resource.h"

#include "platform/ui/commctrl.h"

namespace vxcam_res {

namespace {

using namespace items;

void AddStrings(vxw::ResourceModule& m)
{
    m.AddString(IDS_RECORD_LENGTH_RANGE, "Record file length range must be between 15-900 seconds.");
    m.AddString(IDS_FORMAT_DONE, "Format the SD card successfully.");
    m.AddString(IDS_FORMAT_FAILED, "Failed to format the SD card.");
    m.AddString(IDS_FORMAT_CONFIRM, "Are you sure to format the SD card?");
}

void AddAutoCapturePage(vxw::ResourceModule& m)
{
    Items i = {
        Label("File mode:", 10, 12, 80),
        Combo(IDC_CAPTURE_NAME_MODE, 95, 10, 100, {"Overwrite", "Date/Time Suffix"}),
        Label("File name:", 10, 30, 80),
        Edit(IDC_CAPTURE_FILE_NAME, 95, 28, 100),
        Check(IDC_CAPTURE_FTP, "Enable auto capture to FTP", 10, 48, 150),
        Edit(IDC_CAPTURE_FTP_INTERVAL, 165, 46, 40, ES_NUMBER),
        Label("Sec.", 210, 48, 30),
        Check(IDC_CAPTURE_EMAIL, "Enable auto capture to Email", 10, 64, 150),
        Edit(IDC_CAPTURE_EMAIL_INTERVAL, 165, 62, 40, ES_NUMBER),
        Label("Sec.", 210, 64, 30),
        Check(IDC_CAPTURE_SD, "Enable auto capture to SD Card", 10, 80, 150),
        Edit(IDC_CAPTURE_SD_INTERVAL, 165, 78, 40, ES_NUMBER),
        Label("Sec.", 210, 80, 30),
    };
    AddWeekRows(i, "Auto capture day:", IDC_CAPTURE_DAY, 100);
    i.push_back(Button(IDC_REFRESH, "Refresh", 240, 200));
    i.push_back(Button(IDC_APPLY, "Apply", 310, 200));
    m.AddDialog(IDD_AUTO_CAPTURE, Page(std::move(i)));
}

void AddScheduleRecordPage(vxw::ResourceModule& m)
{
    Items i = {Check(IDC_SCHEDULE_ENABLE, "Record Enable", 10, 10, 120)};
    AddWeekRows(i, "Apply to:", IDC_SCHEDULE_RECORD_DAY, 28);
    i.push_back(Button(IDC_REFRESH, "Refresh", 240, 200));
    i.push_back(Button(IDC_APPLY, "Apply", 310, 200));
    m.AddDialog(IDD_SCHEDULE_RECORD, Page(std::move(i)));
}

void AddRecordOptionsPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("Recording file length (15-900):", 10, 12, 120),
        Edit(IDC_RECORD_LENGTH, 135, 10, 40, ES_NUMBER),
        Label("Sec.", 180, 12, 30),
        Label("Record stream:", 10, 30, 120),
        Combo(IDC_RECORD_STREAM, 135, 28, 100, {"Primary Stream", "Secondary Stream", "Tertiary Stream"}),
        Item("STATIC", IDC_RECORD_NOTE,
             "* When changing 'Record stream' from dropdown list, camera will be restarted after you change it.",
             SS_LEFT, 10, 46, 380, 16),
        Group("SD Card Info", 6, 68, 388, 56),
        Label("Micro SD card status:", 14, 82, 90),
        Label("None", 110, 82, 150, IDC_CARD_STATUS),
        Label("Total size:", 14, 96, 90),
        Label("", 110, 96, 150, IDC_CARD_TOTAL),
        Label("Free size:", 14, 110, 90),
        Label("", 110, 110, 150, IDC_CARD_FREE),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_RECORD_OPTIONS, Page(std::move(i)));
}

void AddStoragePage(vxw::ResourceModule& m)
{
    Items i = {
        Label("Micro SD card status:", 10, 12, 90),
        Label("None", 105, 12, 150, IDC_CARD_STATUS),
        Label("Total size:", 10, 28, 90),
        Label("", 105, 28, 150, IDC_CARD_TOTAL),
        Label("Free size:", 10, 44, 90),
        Label("", 105, 44, 150, IDC_CARD_FREE),
        Item(PROGRESS_CLASS, IDC_FORMAT_PROGRESS, "", 0, 10, 64, 380, 10),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_FORMAT, "Format", 310, 200),
    };
    for (auto& item : i) {
        if (item.id == IDC_FORMAT)
            item.style |= WS_DISABLED;
        if (item.id == IDC_FORMAT_PROGRESS)
            item.style &= ~static_cast<DWORD>(WS_VISIBLE);
    }
    m.AddDialog(IDD_STORAGE, Page(std::move(i)));
}

}  // namespace

void FillRecord(vxw::ResourceModule& m)
{
    AddStrings(m);
    AddAutoCapturePage(m);
    AddScheduleRecordPage(m);
    AddRecordOptionsPage(m);
    AddStoragePage(m);
}

}  // namespace vxcam_res
