#include "camera/dialogs/forms/WirelessForm.h"

#include "camera/dialogs/forms/CValidateCheck.h"
#include "camera/session/CCgiCmd.h"
#include "resources/vxcam/resource.h"

#include <algorithm>
#include <cctype>

namespace wireless_form {

const char* const kLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getwirelessattr&cmd=getnetattr";
const char* const kTestResultPath = "/cgi-bin/hi3510/param.cgi?cmd=getchkwireless";
const char* const kSearchPath = "/cgi-bin/hi3510/param.cgi?cmd=searchwireless";

namespace {

CString Value(const CString& reply, const char* name)
{
    return CCgiCmd::GetCgiValue2(reply, name);
}

int Number(const CString& reply, const char* name)
{
    return CCgiCmd::GetCgiValueInt3(reply, name);
}

// The selections as the camera numbers them; an unselected combo sends the
// first entry, never -1.
int Index(int value, int last)
{
    return value < 0 || value > last ? 0 : value;
}

CString Candidate(const Values& v)
{
    CString s;
    s.Format("-wf_ssid=%s&-wf_auth=%d&-wf_key=%s&-wf_enc=%d&-wf_mode=%d",
             static_cast<const char*>(CCgiCmd::UrlEncode(v.ssid)), Index(v.security, 3),
             static_cast<const char*>(CCgiCmd::UrlEncode(v.key)), Index(v.encryption, 1), Index(v.mode, 1));
    return s;
}

}  // namespace

Loaded ParseLoad(const CString& reply)
{
    Loaded l;
    Values& v = l.values;
    v.enabled = Number(reply, "wf_enable") == 1;
    v.ssid = Value(reply, "wf_ssid");
    v.security = Number(reply, "wf_auth");
    if (v.security < 0 || v.security > 3)
        v.security = 0;
    v.key = Value(reply, "wf_key");
    v.encryption = Number(reply, "wf_enc") == 0 ? 0 : 1;
    v.mode = Number(reply, "wf_mode") == 0 ? 0 : 1;
    l.wired = Value(reply, "networktype") == "LAN";
    return l;
}

bool EncryptionApplies(int security)
{
    return security >= 2;
}

bool KeyApplies(int security)
{
    return security >= 1;
}

namespace {

bool AllHex(const CString& s)
{
    for (int i = 0; i < s.GetLength(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(s[i])))
            return false;
    }
    return true;
}

// What a camera can join: WPA takes a passphrase of 8 to 63 characters or a
// key of 64 hexadecimal digits; other keys only what the key set allows.
bool KeyFits(int security, const CString& key)
{
    if (!CValidateCheck::IsValidKey(key))
        return false;
    const int n = key.GetLength();
    if (security >= 2)
        return (n >= 8 && n <= 63) || (n == 64 && AllHex(key));
    return n >= 1 && n <= 64;
}

}  // namespace

Refusal Check(const Values& v)
{
    if (!v.enabled)
        return {};
    // A network name is at most 32 bytes on the air, whatever its characters.
    if (v.ssid.GetLength() < 1 || v.ssid.GetLength() > 32)
        return {IDS_SSID_INVALID, kSsid};
    if (v.security != 0 && !KeyFits(v.security, v.key))
        return {IDS_WIFI_KEY_INVALID, kKey};
    return {};
}

CString ComposeApply(const Values& v)
{
    if (!v.enabled)
        return "/cgi-bin/hi3510/param.cgi?cmd=setwirelessattr&-wf_enable=0";
    return "/cgi-bin/hi3510/param.cgi?cmd=setwirelessattr&-wf_enable=1&" + Candidate(v);
}

CString ComposeTest(const Values& v)
{
    return "/cgi-bin/hi3510/param.cgi?cmd=chkwirelessattr&" + Candidate(v);
}

ScanResult ParseScan(bool succeeded, const CString& reply)
{
    ScanResult r;
    if (!succeeded)
        return r;
    r.count = std::min(Number(reply, "waccess_points"), kMaxScanRows);
    for (int i = 0; i < r.count; ++i) {
        auto key = [i](const char* name) {
            CString k;
            k.Format("%s[%d]", name, i);
            return k;
        };
        ScanRow row;
        row.ssid = Value(reply, key("wessid"));
        row.mode = Value(reply, key("wnet"));
        row.strength = Number(reply, key("wrssi"));
        row.signal.Format("%d", row.strength);
        row.security = Value(reply, key("wauth"));
        row.encryption = Value(reply, key("wenc"));
        r.rows.push_back(row);
    }
    return r;
}

Choice ChooseRow(const ScanRow& row)
{
    Choice c;
    c.ssid = row.ssid;
    c.mode = row.mode.CompareNoCase("Infra") == 0 ? 0 : 1;
    const CString& enc = row.encryption;
    if (enc.CompareNoCase("NONE") == 0)
        c.security = 0;
    else if (enc.CompareNoCase("WEP") == 0)
        c.security = 1;
    c.encryption = enc.CompareNoCase("AES") == 0 ? 1 : 0;
    const CString& auth = row.security;
    if (auth.CompareNoCase("OPEN") == 0)
        return c;
    if (auth.CompareNoCase("WPA-PSK") == 0)
        c.security = 2;
    else if (auth.CompareNoCase("WPA2-PSK") == 0)
        c.security = 3;
    else
        c.security = 0;
    return c;
}

}  // namespace wireless_form
