#pragma once
// The camera object's window messages (WM_USER + N). Connection progress,
// player events, alarms, recording and file playback are reported to the
// window the host gave as the object's parent.
//
// "forwarded" below means wParam = (camera index << 16) | code; "index" means
// wParam = camera index. Player and reconnect-worker events go through the
// camera window first (which only a windowed object has); everything else is
// posted straight to the parent.

#include "platform/platform.h"

#define UM_VX_CAMERA_CLICK           (WM_USER + 2)  // index; left click on the picture
#define UM_VX_CAMERA_FULLSCREEN      (WM_USER + 3)  // index
#define UM_VX_CAMERA_EXIT_FULLSCREEN (WM_USER + 4)  // index
#define UM_VX_CAMERA_ALARM_BLINK     (WM_USER + 6)  // index, blink state 0/1; at the camera window: redraw
#define UM_VX_PLAYFILE_NOTIFY        (WM_USER + 7)  // 0 started, 1 length, 2 position, 3 stopped
#define UM_VX_CAMERA_MOTION_ALARM    (WM_USER + 8)  // index, camera window handle
#define UM_VX_CAMERA_IO_ALARM        (WM_USER + 9)  // index, camera window handle
#define UM_VX_CAMERA_PROPERTIES      (WM_USER + 10)
#define UM_VX_CAMERA_SHOW_BITRATE    (WM_USER + 11)
#define UM_VX_CAMERA_HIDE_BITRATE    (WM_USER + 12)
#define UM_VX_CAMERA_FLIP_VERTICAL   (WM_USER + 13)
#define UM_VX_CAMERA_FLIP_HORIZONTAL (WM_USER + 14)
#define UM_VX_CAMERA_EXACT_FIT       (WM_USER + 15)
#define UM_VX_CAMERA_FULL_FIT        (WM_USER + 16)
#define UM_VX_CAMERA_CONNECTING      (WM_USER + 21)  // forwarded
#define UM_VX_CAMERA_CONNECT_FAILED  (WM_USER + 22)  // forwarded
#define UM_VX_CAMERA_VIDEO_STARTING  (WM_USER + 24)  // forwarded
#define UM_VX_CAMERA_VIDEO_FAILED    (WM_USER + 25)  // forwarded; stream failed or lost
#define UM_VX_CAMERA_VIDEO_STOPPED   (WM_USER + 27)  // forwarded
#define UM_VX_CAMERA_PLAYER_EVENT_28 (WM_USER + 28)  // forwarded; the player's own meaning
#define UM_VX_CAMERA_DISCONNECTING   (WM_USER + 29)  // forwarded
#define UM_VX_CAMERA_DISCONNECTED    (WM_USER + 30)  // forwarded
#define UM_VX_CAMERA_RECORD_STOPPED  (WM_USER + 31)  // forwarded; stopped or failed
#define UM_VX_CAMERA_FILE_END        (WM_USER + 32)  // forwarded
#define UM_VX_CAMERA_VIDEO_VOUT      (WM_USER + 33)  // forwarded; first picture shown
#define UM_VX_CAMERA_FILE_LENGTH     (WM_USER + 34)  // forwarded, length (us), all 64 bits
#define UM_VX_CAMERA_FILE_POSITION   (WM_USER + 36)  // forwarded, position (us)
#define UM_VX_CAMERA_RECORD_STARTED  (WM_USER + 37)  // forwarded
#define UM_VX_GET_DOWNLOAD_PATH      (WM_USER + 38)  // sent; lParam: 260-byte buffer
#define UM_VX_SET_DOWNLOAD_PATH      (WM_USER + 39)  // sent; lParam: folder text
#define UM_VX_CAMERA_PLAYER_EVENT_40 (WM_USER + 40)  // forwarded; the player's own meaning
#define UM_VX_PLAYFILE_NOTIFY2       (WM_USER + 41)  // 2, the player value
#define UM_VX_CAMERA_CONNECT_REPORT  (WM_USER + 42)  // index; 2 direct, 1 address replaced, 0 none
#define UM_VX_CAMERA_TALK_ERROR      (WM_USER + 43)  // forwarded, camera window handle

// The forwarded form of a code for camera `index`.
inline WPARAM VxForwardedWParam(int index, UINT code)
{
    return (static_cast<WPARAM>(static_cast<unsigned>(index) & 0xFFFFu) << 16) | (code & 0xFFFFu);
}
