// The memory-card browser pages "Record Query" and "Snapshot Query" and
// their texts.
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"

#include "resources/vxcam/resource.h"

#include "platform/ui/commctrl.h"

namespace vxcam_res {

namespace {

using namespace items;

vxw::DialogTemplate BrowserPage()
{
    Items i = {
        Label("Start:", 10, 10, 30),
        Item(DATETIMEPICK_CLASS, IDC_SD_START_DATE, "", DTS_SHORTDATEFORMAT | kTab, 42, 8, 70, 12),
        Item(DATETIMEPICK_CLASS, IDC_SD_START_TIME, "", DTS_UPDOWN | kTab, 116, 8, 50, 12),
        Label("End:", 176, 10, 24),
        Item(DATETIMEPICK_CLASS, IDC_SD_END_DATE, "", DTS_SHORTDATEFORMAT | kTab, 202, 8, 70, 12),
        Item(DATETIMEPICK_CLASS, IDC_SD_END_TIME, "", DTS_UPDOWN | kTab, 276, 8, 50, 12),
        Button(IDC_SD_SEARCH, "Search", 334, 7, 56),
        Item(WC_LISTVIEW, IDC_SD_LIST, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | kTab, 10, 26, 380, 150),
        Label("Save to:", 10, 184, 34),
        Edit(IDC_SD_FOLDER, 46, 182, 270, ES_READONLY),
        Button(IDC_SD_BROWSE, "...", 320, 181, 20),
        Label("", 10, 202, 380, IDC_SD_STATUS),
        Button(IDC_SD_DELETE, "Delete", 190, 218, 60),
        Button(IDC_SD_DOWNLOAD, "Download", 260, 218, 60),
        Button(IDC_SD_STOP, "Stop", 330, 218, 60),
    };
    return Page(std::move(i));
}

}  // namespace

void FillSdCard(vxw::ResourceModule& m)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDS_SD_COL_NUMBER, "No."},
        {IDS_SD_COL_NAME, "File Name"},
        {IDS_SD_COL_SIZE, "File Size"},
        {IDS_SD_COL_MODIFIED, "Date Modified"},
        {IDS_SD_INVALID_DATE, "Invalid date."},
        {IDS_SD_INVALID_TIME, "Invalid time."},
        {IDS_SD_QUERY_RECORD_FAILED, "Failed query record file."},
        {IDS_SD_QUERY_SNAPSHOT_FAILED, "Failed query snapshot file."},
        {IDS_SD_NO_FILE_SELECTED, "No file selected."},
        {IDS_SD_DOWNLOAD_FAILED, "Failed to download the selected files."},
        {IDS_SD_DOWNLOAD_DONE, "Download the selected files finished."},
        {IDS_SD_SAVE_PATH, "Save Path"},
        {IDS_SD_DOWNLOADING, "Downloading files... ( %d / %d )"},
        {IDS_SD_RESULTS_CAPPED, "Too many files on the card: only the first %d are listed."},
        {IDS_SD_DOWNLOAD_SOME_FAILED, "%d of %d files could not be downloaded:"},
        {IDS_SD_PAGES_CAPPED, "Too many folders on the card: only the first %d were read."},
        {IDS_SD_PAGE_TOO_LARGE, "The card's listing of %s is too large to read."},
        {IDS_SD_FAILED_LEFT_SELECTED, "They are left selected: Download tries them again."},
    };
    for (const auto& [id, text] : strings)
        m.AddString(id, text);
    m.AddDialog(IDD_SD_RECORD, BrowserPage());
    m.AddDialog(IDD_SD_SNAPSHOT, BrowserPage());
}

}  // namespace vxcam_res
