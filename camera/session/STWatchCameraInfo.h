#pragma once
// The camera information record: one camera as a host describes it to
// CWebWatchBase::SetCameraInfo and to the settings window. A plain record;
// the fields keep this order, since hosts fill it by position.

#include "platform/platform.h"

// Entry types (nEntryType).
enum {
    WATCH_ENTRY_HOST = 2,      // plain host or address
    WATCH_ENTRY_P2P_ID = 3,    // camera reached by its P2P identifier
    WATCH_ENTRY_RTSP_URL = 99  // strIP holds the whole RTSP URL
};

struct STWatchCameraInfo {
    int nID = 0;        // record id, copied, not interpreted
    CString strIP;      // host or address; the RTSP URL for entry type 99
    CString strP2PID;   // camera identifier of P2P entries
    int nReserved = 0;  // copied, not interpreted
    int nHttpPort = 80;
    int nReserved1 = 0;  // four integers the camera object does not read
    int nReserved2 = 0;
    int nReserved3 = 0;
    int nReserved4 = 0;
    int nMediaPort = 554;  // RTSP port
    int nChannel = 0;      // 1-3 add "/ch=N" to the stream URL
    int nStream = 0;       // 0 main, 1 sub stream
    int nEntryType = WATCH_ENTRY_HOST;
    CString strName;  // camera name, for log lines
    CString strUser;
    CString strPwd;
    CString strUserEncoded;  // percent-encoded user, written by SetCameraInfo
    CString strPwdEncoded;   // percent-encoded password, written by SetCameraInfo
};
