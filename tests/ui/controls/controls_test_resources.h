#pragma once
// Ids of the control tests' resource module.

#include "platform/platform.h"
#include "ui/controls/ZelMenu.h"

enum : UINT {
    IDB_BAR_BACK = 500,
    IDB_BAR_FORE = 501,
    IDP_KEYED = 510,
    IDB_KEYED = 511,
    IDP_ALPHA = 512,
    IDP_CLEAR = 513,
    IDP_GARBAGE = 514,
    IDI_CAMERA = 520,
    IDT_TOOLBAR = 600,
    IDT_CUT = 601,
    IDM_DROP = 650,
    IDS_TIP = 660,
    ID_RECORD = 3001,
    ID_OPEN = 3002,
    ID_RND = 3003,
    ID_SNAPSHOT = 3004,
    ID_HELP = 3005,
    IDD_PAGE_VIDEO = 700,
    IDD_PAGE_AUDIO = 701,
    IDD_CONTROLS = 710,
    IDC_TABS = 1101,
    IDC_SIGNALS = 1102,
    IDC_RECORDS = 1103,
    IDC_GREY = 1104,
    IDC_CHECK = 1105,
    IDC_DROP = 1106,
    IDC_DEFAULT = 1107,
    IDC_PICTURE = 1108,
    IDC_MENU_VIEW = 1109,
};

// Registers the module once; returns its handle.
HINSTANCE ControlResources();
