// The settings window: its frame, the category dialog, the Name & Time,
// PTZ, Audio and User Accounts pages, and the strings of all pages.
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
        {IDS_SETUP_NOT_CONNECTED, "Not connected"},
        {IDS_SETUP_CONNECTED, "Connected"},
        {IDS_PAGE_NAME_TIME, "Name && Time"},
        {IDS_PAGE_NETWORK, "Network Settings"},
        {IDS_PAGE_WIRELESS, "Wireless Settings"},
        {IDS_PAGE_EMAIL, "Email Settings"},
        {IDS_PAGE_FTP, "FTP Settings"},
        {IDS_PAGE_AUDIO, "Audio Settings"},
        {IDS_PAGE_VIDEO, "Video Setup"},
        {IDS_PAGE_DISPLAY, "Display Setup"},
        {IDS_PAGE_PTZ, "PTZ Settings"},
        {IDS_PAGE_MOTION, "Motion Detection Record"},
        {IDS_PAGE_AUTO_CAPTURE, "Auto Capture"},
        {IDS_PAGE_RECORD_QUERY, "Record Query"},
        {IDS_PAGE_SNAPSHOT_QUERY, "Snapshot Query"},
        {IDS_PAGE_SCHEDULE_RECORD, "Schedule Continuous Record"},
        {IDS_PAGE_RECORD_OPTIONS, "Continuous Record Options"},
        {IDS_PAGE_DATA_SETTINGS, "Data T Transmission Settings"},
        {IDS_PAGE_DATA, "Data T Transmission"},
        {IDS_PAGE_USERS, "User Accounts"},
        {IDS_PAGE_STORAGE, "Storage"},
        {IDS_PAGE_UPGRADE, "Firmware Upgrade"},
        {IDS_PAGE_SYSTEM_LOG, "System Log"},
        {IDS_PAGE_INFRARED, "Infrared Light Setup"},
        {IDS_CATEGORY_CAMERA, "Camera"},
        {IDS_CATEGORY_VIDEO, "Video"},
        {IDS_CATEGORY_MOTION, "Motion Record"},
        {IDS_CATEGORY_CAPTURE, "Capture && Snapshot"},
        {IDS_CATEGORY_PLAYBACK, "Playback && Continuous Record"},
        {IDS_CATEGORY_USER, "User"},
        {IDS_CATEGORY_SYSTEM, "System"},
        {IDS_ERROR, "Error"},
        {IDS_GET_FAILED, "Failed to get settings."},
        {IDS_APPLY_FAILED, "Failed to apply settings."},
        {IDS_APPLY_DONE, "Apply settings successfully."},
        {IDS_IP_ADDRESS, "IP Address:"},
        {IDS_CAM_ID, "CamID:"},
        {IDS_USERNAME_EMPTY, "username is empty."},
        {IDS_WRONG_PASSWORD, "wrong password."},
        {IDS_PASSWORD_RESERVED,
         "Password: you have entered a character of (&, =, \", \\, #, %, +, ?, spacebar) which are reserved in the "
         "system, please use others instead."},
        {IDS_USERNAME_EXISTS, "Username '%s' has existed."},
        {IDS_ROW_ADMINISTRATOR, "Administrator"},
        {IDS_ROW_USER, "User"},
        {IDS_ROW_GUEST, "Guest"},
        {IDS_SMTP_INVALID, "SMTP Server has invalid character."},
        {IDS_EMAIL_INVALID, "Email address is invalid."},
        {IDS_EMAIL_BAD_CHAR, "Email address has invalid character."},
        {IDS_ACCOUNT_BAD_CHAR, "Account name has invalid character."},
        {IDS_PASSWORD_BAD_CHAR, "Password has invalid character."},
        {IDS_SUBJECT_BAD_CHAR, "Subject has invalid character."},
        {IDS_MESSAGE_BAD_CHAR, "Message has invalid character."},
        {IDS_SENDER_BAD_CHAR, "Sender name has invalid character."},
        {IDS_USERNAME_LETTERS, "username can only contain letters and numbers."},
        {IDS_CAMERA_NAME_BAD_CHAR, "Camera name contains invalid character (&, =, `, \\, \")."},
    };
    for (const auto& [id, text] : strings)
        m.AddString(id, text);
}

void AddFrames(vxw::ResourceModule& m)
{
    vxw::DialogTemplate w;
    w.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    w.cx = 430;
    w.cy = 330;
    w.caption = "Camera Properties";
    w.items = {
        Item("BUTTON", -1, "Current Camera", BS_GROUPBOX, 7, 3, 416, 34),
        Label("IP Address / ID:", 14, 14, 60, IDC_SETUP_ADDRESS_LABEL),
        Label("", 76, 14, 110, IDC_SETUP_ADDRESS),
        Label("", 190, 14, 110, IDC_SETUP_NAME),
        Label("", 14, 25, 170, IDC_SETUP_STATUS),
        Label("", 300, 25, 118, IDC_SETUP_CLOCK),
        Item(WC_TABCONTROL, IDC_SETUP_TAB, "", kTab, 7, 41, 416, 282),
        // Hidden: Escape closes nothing, but the id must exist for IDCANCEL.
        Item("BUTTON", IDCANCEL, "Close", BS_PUSHBUTTON, 370, 312, 50, 14),
    };
    w.items.back().style &= ~static_cast<DWORD>(WS_VISIBLE);
    m.AddDialog(IDD_CAMERA_SETUP, w);

    vxw::DialogTemplate c;
    c.style = WS_CHILD | DS_CONTROL;
    c.cx = 412;
    c.cy = 264;
    c.items = {Item(WC_TABCONTROL, IDC_SETUP_TAB, "", kTab, 0, 0, 412, 264)};
    m.AddDialog(IDD_CONFIG_SETTINGS, c);
}

void AddTimePage(vxw::ResourceModule& m)
{
    Items i = {
        Label("Camera time:", 10, 10, 80),
        Label("", 95, 10, 120, IDC_TIME_CLOCK),
        Label("NTP server:", 10, 28, 80),
        Combo(IDC_TIME_NTP_SERVER, 95, 26, 150, {}, CBS_DROPDOWN | CBS_AUTOHSCROLL),
        Label("Interval (hours):", 255, 28, 60),
        Combo(IDC_TIME_NTP_INTERVAL, 320, 26, 40),
        Check(IDC_TIME_NTP_ENABLE, "Synchronize with an Internet time server", 10, 44, 200),
        Label("Time zone:", 10, 62, 80),
        Combo(IDC_TIME_ZONE, 95, 60, 265),
        Check(IDC_TIME_DST, "Automatically adjust clock for Daylight Saving Time", 95, 78, 265),
        Item("BUTTON", -1, "On-screen display", BS_GROUPBOX, 6, 96, 388, 86),
        Check(IDC_TIME_SHOW_TIME, "Time", 14, 110, 60),
        Combo(IDC_TIME_PLACE, 95, 108, 70),
        Label("Date format:", 175, 110, 50),
        Combo(IDC_TIME_DATE_FORMAT, 230, 108, 90, {"YYYY-MM-DD", "DD/MM/YYYY", "MM/DD/YYYY"}),
        Check(IDC_TIME_SHOW_NAME, "Name", 14, 130, 60),
        Combo(IDC_TIME_NAME_PLACE, 95, 128, 70),
        Label("Camera name:", 14, 150, 70),
        Edit(IDC_TIME_NAME, 95, 148, 150),
        Button(IDC_REFRESH, "Refresh", 170, 200),
        Button(IDC_TIME_APPLY, "Apply", 240, 200),
        Button(IDC_TIME_SYNC, "Sync with PC time", 310, 200, 80),
    };
    // The NTP switch is kept on and out of the way.
    for (auto& item : i) {
        if (item.id == IDC_TIME_NTP_ENABLE)
            item.style = (item.style & ~static_cast<DWORD>(WS_VISIBLE)) | WS_DISABLED;
    }
    m.AddDialog(IDD_TIME_SETTING, Page(std::move(i)));
}

void AddPtzPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("PAN and TILT speed:", 10, 12, 80),
        Combo(IDC_PTZ_SPEED, 95, 10, 80, {"Fast", "Normal", "Slow"}),
        Label("Move to home position at start:", 10, 32, 120),
        Item("BUTTON", IDC_PTZ_HOME_ON, "On", BS_AUTORADIOBUTTON | WS_GROUP | kTab, 135, 32, 40, 10),
        Item("BUTTON", IDC_PTZ_HOME_OFF, "Off", BS_AUTORADIOBUTTON, 180, 32, 40, 10),
        Item("STATIC", IDC_PTZ_NOTE,
             "Note:\nOn - The camera will move to home position, when it starts.\nOff - The camera will move to "
             "preset position 1, when it starts. If no preset is set, it will move to home position.",
             SS_LEFT, 10, 52, 380, 40),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_PTZ, Page(std::move(i)));
}

void AddAudioPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("Encoded mode:", 10, 12, 80),
        Combo(IDC_AUDIO_FORMAT, 95, 10, 80, {"G711", "Unknown"}),
        Check(IDC_AUDIO_ENABLE_1, "Enable audio (primary stream)", 10, 32, 200),
        Check(IDC_AUDIO_ENABLE_2, "Enable audio (secondary stream)", 10, 46, 200),
        Check(IDC_AUDIO_ENABLE_3, "Enable audio (tertiary stream)", 10, 60, 200),
        Label("Audio input type:", 10, 80, 80),
        Combo(IDC_AUDIO_INPUT_TYPE, 95, 78, 80, {"Line in", "Mic"}),
        Label("Audio input volume:", 10, 100, 80),
        Edit(IDC_AUDIO_IN_VOLUME, 95, 98, 40, ES_NUMBER),
        Label("(1-100)", 140, 100, 40),
        Label("Audio output volume:", 10, 118, 80),
        Edit(IDC_AUDIO_OUT_VOLUME, 95, 116, 40, ES_NUMBER),
        Label("(1-100)", 140, 118, 40),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_AUDIO, Page(std::move(i)));
}

void AddUserPage(vxw::ResourceModule& m)
{
    Items i = {
        Label("User name", 95, 10, 90),
        Label("Password", 190, 10, 90),
        Label("Confirm password", 285, 10, 90),
        Label("Administrator:", 10, 26, 80),
        Edit(IDC_USER_NAME_0, 95, 24, 90),
        Edit(IDC_USER_PASSWORD_0, 190, 24, 90, ES_PASSWORD),
        Edit(IDC_USER_RETYPE_0, 285, 24, 90, ES_PASSWORD),
        Label("User:", 10, 44, 80, IDC_USER_LABEL_1),
        Edit(IDC_USER_NAME_1, 95, 42, 90),
        Edit(IDC_USER_PASSWORD_1, 190, 42, 90, ES_PASSWORD),
        Edit(IDC_USER_RETYPE_1, 285, 42, 90, ES_PASSWORD),
        Label("Guest:", 10, 62, 80, IDC_USER_LABEL_2),
        Edit(IDC_USER_NAME_2, 95, 60, 90),
        Edit(IDC_USER_PASSWORD_2, 190, 60, 90, ES_PASSWORD),
        Edit(IDC_USER_RETYPE_2, 285, 60, 90, ES_PASSWORD),
        Button(IDC_REFRESH, "Refresh", 240, 200),
        Button(IDC_APPLY, "Apply", 310, 200),
    };
    m.AddDialog(IDD_CAMERA_USER, Page(std::move(i)));
}

}  // namespace

void FillSettings(vxw::ResourceModule& m)
{
    AddStrings(m);
    AddFrames(m);
    AddTimePage(m);
    AddPtzPage(m);
    AddAudioPage(m);
    AddUserPage(m);
}

}  // namespace vxcam_res
