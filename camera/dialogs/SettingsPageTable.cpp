#include "camera/dialogs/SettingsPageTable.h"

#include "camera/dialogs/motion/CDlgMDDetect.h"
#include "camera/dialogs/pages/CCameraTimeSetting.h"
#include "camera/dialogs/pages/CDlgAudio.h"
#include "camera/dialogs/pages/CDlgAutoCapture.h"
#include "camera/dialogs/pages/CDlgCameraUser.h"
#include "camera/dialogs/pages/CDlgCfgWireless.h"
#include "camera/dialogs/pages/CDlgDisplaySetup.h"
#include "camera/dialogs/pages/CDlgEmailSetting.h"
#include "camera/dialogs/pages/CDlgFTPSetup.h"
#include "camera/dialogs/pages/CDlgHDDInfo.h"
#include "camera/dialogs/pages/CDlgIRLights.h"
#include "camera/dialogs/pages/CDlgPTZ.h"
#include "camera/dialogs/pages/CDlgRecParam.h"
#include "camera/dialogs/pages/CDlgSysLog.h"
#include "camera/dialogs/pages/CDlgTimeRec.h"
#include "camera/dialogs/pages/CDlgUpgrade.h"
#include "camera/dialogs/pages/CIPSettingDlg.h"
#include "camera/dialogs/pages/CVideoEncodeSettingDlg.h"
#include "camera/dialogs/sdcard/CDlgServerFiles.h"
#include "resources/vxcam/resource.h"

namespace {

template <class Page>
CDlgTabItem* Make(CCameraSetupDlg* owner)
{
    return new Page(owner);
}

// Template ids of pages that other parts of the library build.
const PageSlot kCamera[] = {
    {IDS_PAGE_NAME_TIME, IDD_TIME_SETTING, &Make<CCameraTimeSetting>},
    {IDS_PAGE_NETWORK, IDD_NETWORK, &Make<CIPSettingDlg>},
    {IDS_PAGE_WIRELESS, IDD_WIRELESS, &Make<CDlgCfgWireless>},
    {IDS_PAGE_EMAIL, IDD_EMAIL, &Make<CDlgEmailSetting>},
    {IDS_PAGE_FTP, IDD_FTP, &Make<CDlgFTPSetup>},
    {IDS_PAGE_AUDIO, IDD_AUDIO, &Make<CDlgAudio>},
    {IDS_PAGE_PTZ, IDD_PTZ, &Make<CDlgPTZ>},
};
const PageSlot kVideo[] = {
    {IDS_PAGE_VIDEO, IDD_VIDEO, &Make<CVideoEncodeSettingDlg>},
    {IDS_PAGE_DISPLAY, IDD_DISPLAY, &Make<CDlgDisplaySetup>},
    {IDS_PAGE_INFRARED, IDD_INFRARED, &Make<CDlgIRLights>},
};
const PageSlot kMotion[] = {{IDS_PAGE_MOTION, IDD_MOTION_DETECTION, &Make<CDlgMDDetect>}};
const PageSlot kCapture[] = {{IDS_PAGE_AUTO_CAPTURE, IDD_AUTO_CAPTURE, &Make<CDlgAutoCapture>}};
const PageSlot kPlayback[] = {
    {IDS_PAGE_RECORD_QUERY, IDD_SD_RECORD, &Make<CDlgServerRecord>},
    {IDS_PAGE_SNAPSHOT_QUERY, IDD_SD_SNAPSHOT, &Make<CDlgServerSnapshot>},
    {IDS_PAGE_SCHEDULE_RECORD, IDD_SCHEDULE_RECORD, &Make<CDlgTimeRec>},
    {IDS_PAGE_RECORD_OPTIONS, IDD_RECORD_OPTIONS, &Make<CDlgRecParam>},
};
const PageSlot kData[] = {{IDS_PAGE_DATA_SETTINGS, 0, nullptr}, {IDS_PAGE_DATA, 0, nullptr}};
const PageSlot kUser[] = {{IDS_PAGE_USERS, IDD_CAMERA_USER, &Make<CDlgCameraUser>}};
const PageSlot kSystem[] = {
    {IDS_PAGE_STORAGE, IDD_STORAGE, &Make<CDlgHDDInfo>},
    {IDS_PAGE_UPGRADE, IDD_UPGRADE, &Make<CDlgUpgrade>},
    {IDS_PAGE_SYSTEM_LOG, IDD_SYSTEM_LOG, &Make<CDlgSysLog>},
};

template <size_t N>
constexpr CategoryPages Category(int code, const PageSlot (&slots)[N])
{
    return {code, slots, static_cast<int>(N), true};
}

const CategoryPages kCategories[] = {
    Category(CATEGORY_CAMERA, kCamera),   Category(CATEGORY_VIDEO, kVideo),       Category(CATEGORY_MOTION, kMotion),
    Category(CATEGORY_CAPTURE, kCapture), Category(CATEGORY_PLAYBACK, kPlayback), Category(CATEGORY_USER, kUser),
    Category(CATEGORY_SYSTEM, kSystem),
};

// Data has labels but no pages at all.
const CategoryPages kDataLabels = {CATEGORY_DATA, kData, 2, false};

}  // namespace

const WindowCategory kWindowCategories[kWindowCategoryCount] = {
    {CATEGORY_CAMERA, IDS_CATEGORY_CAMERA},     {CATEGORY_VIDEO, IDS_CATEGORY_VIDEO},
    {CATEGORY_MOTION, IDS_CATEGORY_MOTION},     {CATEGORY_CAPTURE, IDS_CATEGORY_CAPTURE},
    {CATEGORY_PLAYBACK, IDS_CATEGORY_PLAYBACK}, {CATEGORY_USER, IDS_CATEGORY_USER},
    {CATEGORY_SYSTEM, IDS_CATEGORY_SYSTEM},
};

const CategoryPages* FindCategoryPages(int code)
{
    if (code == CATEGORY_DATA)
        return &kDataLabels;
    for (const CategoryPages& c : kCategories) {
        if (c.code == code)
            return &c;
    }
    return nullptr;
}
