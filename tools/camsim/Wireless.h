#pragma once
// The camera's Wi-Fi side: the access points camsim's radio "sees", the
// settings a camera takes for joining one of them, and the parameter CGI's
// wireless commands (defined in Wireless.cpp as ParamCgi handlers):
//   get/setwirelessattr  wf_enable, wf_ssid, wf_auth 0-3, wf_key, wf_enc, wf_mode
//   chkwirelessattr      keeps the candidate settings for the next test
//   getchkwireless       tries the candidate (a long operation): chkres 1
//                        when its SSID and key match an access point
//   searchwireless       lists the access points (a long operation)
// Plain functions over constant data; any thread.

#include "tools/camsim/ParamTable.h"

#include <string>
#include <vector>

namespace camsim {

struct AccessPoint {
    std::string ssid;
    std::string net;   // "Infra" or "Adhoc"
    int rssi;          // 0-100
    std::string auth;  // NONE, OPEN, WPA-PSK, WPA2-PSK
    std::string enc;   // NONE, WEP, TKIP, AES
    std::string key;   // what joining it takes
};

// The access points of camsim's neighbourhood, strongest first.
const std::vector<AccessPoint>& accessPoints();
// The access point with index i of a scan that finds `count`: the table's
// first, then made-up ones ("camsim-ap-007", key "camsim-key-007").
AccessPoint accessPointAt(int i);
// The variable lines of a scan that found `count` access points.
std::string searchReply(int count);
// Whether settings with this security index (0 none, 1 WEP, 2 WPA-PSK,
// 3 WPA2-PSK) would let a camera join: an SSID of 1 to 32 bytes; a WEP key
// of 5 or 13 characters (10 or 26 hex digits); a WPA key of 8 to 63
// characters (64 hex digits). Without security the key is not looked at.
bool joinable(int auth, const std::string& ssid, const std::string& key);
// Whether candidate settings reach an access point of a scan of the table.
bool matchesAccessPoint(int auth, const std::string& ssid, const std::string& key);

// The stored settings of get/setwirelessattr.
ParamGroup wirelessGroup();

}  // namespace camsim
