#pragma once
// What the Wireless page and its access-point scan read from and write to
// the camera, without the windows: the loaded values, the field check with
// its message and field, the apply and test requests, the rows of a scan
// reply and the settings an "Add" of a scanned row gives. Plain values; any
// thread.

#include "platform/platform.h"

#include <vector>

namespace wireless_form {

extern const char* const kLoadPath;
extern const char* const kTestResultPath;
extern const char* const kSearchPath;

// Combo indexes: security 0 None, 1 WEP, 2 WPA-PSK, 3 WPA2-PSK; encryption
// 0 TKIP, 1 AES; mode 0 Station, 1 Access Point.
struct Values {
    bool enabled = false;
    CString ssid;
    int security = 0;
    CString key;
    int encryption = 0;
    int mode = 0;
};

struct Loaded {
    Values values;
    // The camera is wired ("networktype" exactly "LAN"); otherwise it runs
    // on Wi-Fi and its Wi-Fi cannot be switched from here.
    bool wired = false;
};
Loaded ParseLoad(const CString& reply);

// The security type decides which of the other two fields apply.
bool EncryptionApplies(int security);
bool KeyApplies(int security);

enum Field { kNone = 0, kSsid, kKey };
struct Refusal {
    UINT textId = 0;  // 0: the values pass
    Field field = kNone;
};
// Passes at once with Wi-Fi off. The SSID has 1 to 64 characters; with
// security the key has 1 to 64 and none of the characters the camera's
// parameter syntax reserves.
Refusal Check(const Values& v);

// "setwirelessattr" with every value (Wi-Fi on) or only "-wf_enable=0".
CString ComposeApply(const Values& v);
// "chkwirelessattr": the camera keeps the candidate for its test.
CString ComposeTest(const Values& v);

struct ScanRow {
    CString ssid, mode, signal, security, encryption;  // the five columns
    int strength = 0;                                  // "wrssi[i]" as a number
};
struct ScanResult {
    int count = -1;  // "waccess_points"; -1 when the scan failed
    std::vector<ScanRow> rows;
};
// The rows the camera listed: one per index below the count. A count past
// kMaxScanRows is taken as that many (no camera sees more; a broken reply
// must not keep the list busy for minutes).
constexpr int kMaxScanRows = 1000;
ScanResult ParseScan(bool succeeded, const CString& reply);

struct Choice {
    CString ssid;
    int mode = 0;
    int security = 0;
    int encryption = 0;
};
// The settings an "Add" of a row gives (texts compared without case): the
// mode from column 1 ("Infra" is Station); column 4 gives the security of
// "NONE" and "WEP" and the encryption of "TKIP" and "AES"; then column 3
// overrides the security unless it says "OPEN".
Choice ChooseRow(const ScanRow& row);

}  // namespace wireless_form
