#pragma once
// The camera library's entry for host programs: opens the settings window of
// one camera. GUI thread of the host.

#include "platform/platform.h"

class AFX_EXT_CLASS vxcam_interface {
public:
    vxcam_interface() = delete;

    // cameraInfo points at the host's STWatchCameraInfo; the window copies
    // what it needs at once. The owner is disabled while the window is open.
    static void ShowDialog(int index, HWND owner, void* cameraInfo, int isP2P, const char* server, const char* server2,
                           int port);
};
