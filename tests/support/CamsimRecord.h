#pragma once
// The camera record that points the system at a running camsim: its address
// and ports, entered by address, with an account. Plain data, any thread.

#include "camera/session/STWatchCameraInfo.h"

#include "support/CamsimProcess.h"

namespace vxtest {

inline STWatchCameraInfo CamsimRecord(const CamsimProcess& cam, const char* user = "admin",
                                      const char* password = "admin")
{
    STWatchCameraInfo info;
    info.strIP = cam.address().c_str();
    info.nHttpPort = cam.httpPort();
    info.nMediaPort = cam.rtspPort();
    info.nEntryType = WATCH_ENTRY_HOST;
    info.strName = "camsim";
    info.strUser = user;
    info.strPwd = password;
    return info;
}

}  // namespace vxtest
