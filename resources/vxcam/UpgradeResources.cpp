// The firmware upgrade page: what the camera is, its reboot and factory
// reset, and the package upload with its messages.
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"
#include "resources/vxcam/resource.h"

namespace vxcam_res {

using namespace items;

void FillUpgrade(vxw::ResourceModule& m)
{
    const std::pair<UINT, const char*> strings[] = {
        {IDS_RESET_ASK, "Are you sure to reset to factory settings?"},
        {IDS_RESET_DONE,
         "Resetting to factory settings...\nPlease use cam locator to relocate the camera after reset."},
        {IDS_RESET_FAILED, "Reset factory settings failed."},
        {IDS_REBOOT_ASK, "Are you sure to reboot the camera?"},
        {IDS_REBOOT_DONE, "Rebooting...\nPlease wait its process completed after camera is rebooted."},
        {IDS_REBOOT_FAILED, "Reboot the camera failed."},
        {IDS_UPGRADE_INVALID_FILE, "Invalid upgrade file."},
        {IDS_UPGRADE_ASK, "This device will be upgrade. Would you like to upgrade it?"},
        {IDS_UPGRADE_NOT_LOGGED_IN, "Device is not login."},
        {IDS_UPGRADE_STATUS, "Firmware upgrade"},
        {IDS_UPGRADE_FAILED, "Failed to upgrade."},
        {IDS_UPGRADE_MODEL_MISMATCH,
         "Can not upgrade firmware to the camera, the firmware does not match the camera model."},
    };
    for (const auto& [id, text] : strings)
        m.AddString(id, text);

    Items i = {
        Group("Device Information", 6, 6, 388, 84),
        Label("Device type:", 16, 22, 80),
        Label("", 100, 22, 200, IDC_UPGRADE_MODEL),
        Label("CamID:", 16, 38, 80),
        Label("", 100, 38, 200, IDC_UPGRADE_CAMID),
        Label("PIN:", 16, 54, 80),
        Label("", 100, 54, 200, IDC_UPGRADE_PIN),
        Label("Firmware version:", 16, 70, 80),
        Label("", 100, 70, 200, IDC_UPGRADE_VERSION),
        Button(IDC_UPGRADE_REFRESH, "Refresh", 318, 18, 68),
        Button(IDC_UPGRADE_REBOOT, "Reboot", 318, 38, 68),
        Button(IDC_UPGRADE_RESET, "Reset (factory)", 318, 58, 68),
        Group("Firmware Upgrade", 6, 98, 388, 46),
        Label("Firmware:", 16, 118, 50),
        Edit(IDC_UPGRADE_FILE, 70, 116, 176),
        Button(IDC_UPGRADE_BROWSE, "Browse...", 250, 115, 64),
        Button(IDC_UPGRADE_START, "Upgrade", 318, 115, 68),
    };
    m.AddDialog(IDD_UPGRADE, Page(std::move(i)));
}

}  // namespace vxcam_res
