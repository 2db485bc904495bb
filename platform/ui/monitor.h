#pragma once
// Monitors: the screens the desktop spans, found by a point and described by
// their whole and their work area in screen coordinates. Any thread (a
// worker's call is answered on the GUI thread).

#include "platform/ui/winuser.h"

#define MONITOR_DEFAULTTONULL    0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002

#define MONITORINFOF_PRIMARY 0x00000001

typedef struct tagMONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;  // the whole screen
    RECT rcWork;     // less the desktop's panels
    DWORD dwFlags;   // MONITORINFOF_PRIMARY
} MONITORINFO, *LPMONITORINFO;

// The monitor that holds the point; for a point on none, null or the monitor
// the flags ask for. A handle stays valid while its screen is connected.
HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);
HMONITOR MonitorFromWindow(HWND hWnd, DWORD dwFlags);
// False for an unknown handle or a cbSize below sizeof(MONITORINFO).
BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi);
#define GetMonitorInfoA GetMonitorInfo
