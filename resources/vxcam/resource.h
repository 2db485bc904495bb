#pragma once
// Resource ids of the camera library's own table (module "vxcam").
// The camera library keeps its ids from 500 up (menus, icons), 600-999
// (dialogs and their controls) and 20000-29999 (strings, dialogs, controls);
// the recorder's VXKSTRes uses ids below 500 and 5000-5999, so an id the
// two share is looked up by the module handle, never along the chain.

// The video surface: its status texts, its context menu and the menu's
// commands. The recorder's own table has strings 21, 339, 340 and menu 5175
// too, which is why the surface loads these by the module's handle.
#define IDS_VX_DISCONNECTING 21
#define IDS_VX_STARTING_VIDEO 339
#define IDS_VX_STREAM_FAILED 340
#define IDS_VX_CONNECT_FAILED 20033
#define IDS_VX_CONNECTING 20035
#define IDR_MENU_VIDEO 5175
#define ID_VIDEO_FULLSCREEN 32771
#define ID_VIDEO_EXIT_FULLSCREEN 32772
#define ID_VIDEO_PROPERTIES 32773
#define ID_VIDEO_SHOW_BITRATE 32774
#define ID_VIDEO_HIDE_BITRATE 32775
#define ID_VIDEO_FLIP_VERTICAL 32776
#define ID_VIDEO_FLIP_HORIZONTAL 32777
#define ID_VIDEO_EXACT_FIT 32779
#define ID_VIDEO_FULL_FIT 32780
