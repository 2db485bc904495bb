#pragma once
// The PTZ request of one command in the dialect of the camera's family,
// as data: which path (with its numbers filled in) and whether it is posted.
// HX and the families that share its paths use "ptzctrl.cgi" and the
// parameter CGI's presets; AJ (76) "ptz_ctrl" with the account in the query;
// HTL (77) a JSON command posted to "web.cgi".
//
// Threads: plain functions without state.

#include "platform/platform.h"

#include <optional>

struct STPtzRequest {
    CString strPath;
    BOOL bPost = FALSE;
};

// The speed sent for the host's 0-100 speed. AJ's scale is not known, so it
// always gets 1; model texts beginning "CAMXC4-HX" use an 8 scale, all
// others a 63 scale.
int PtzSpeedFor(int nChipType, const CString& strModel, int nSpeed);

// The request for a command code, or none when the family has nothing for
// it (unknown codes, presets outside 1-255, scans on other models).
// strUser and strPwd are the URL-encoded account (AJ only).
std::optional<STPtzRequest> BuildPtzRequest(int nChipType, const CString& strModel, int nCode, int nSpeed, int nPreset,
                                            const CString& strUser, const CString& strPwd);
