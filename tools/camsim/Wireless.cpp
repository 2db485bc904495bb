// The parameter CGI's wireless commands (see Wireless.h).
#include "tools/camsim/Wireless.h"

#include "tools/camsim/Numbers.h"
#include "tools/camsim/ParamCgi.h"

#include <cctype>
#include <cstdio>

namespace camsim {

namespace {

std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

bool allHex(const std::string& s)
{
    for (unsigned char c : s) {
        if (!std::isxdigit(c))
            return false;
    }
    return true;
}

int authIndex(const std::string& v)
{
    return intRange(0, 3)(v) ? v[0] - '0' : -1;
}

// The candidate of chkwirelessattr, kept beside the settings.
const char* const kCandidate[] = {"wfc_ssid", "wfc_auth", "wfc_key", "wfc_enc", "wfc_mode", "wfc_set"};

}  // namespace

const std::vector<AccessPoint>& accessPoints()
{
    static const std::vector<AccessPoint> table = {
        {"HomeNet", "Infra", 86, "WPA2-PSK", "AES", "sunflower-42"},
        {"Office-2G", "Infra", 64, "WPA-PSK", "TKIP", "office2026"},
        {"GuestOpen", "Infra", 47, "NONE", "NONE", ""},
        {"OldBridge", "Infra", 31, "OPEN", "WEP", "abcde"},
        {"PeerCam", "Adhoc", 18, "WPA2-PSK", "AES", "peer-cam-77"},
    };
    return table;
}

AccessPoint accessPointAt(int i)
{
    const auto& table = accessPoints();
    if (i >= 0 && static_cast<size_t>(i) < table.size())
        return table[static_cast<size_t>(i)];
    char n[16];
    std::snprintf(n, sizeof n, "%03d", i);
    return {std::string("camsim-ap-") + n, "Infra", (i * 37) % 101, "WPA2-PSK", "AES", std::string("camsim-key-") + n};
}

std::string searchReply(int count)
{
    std::string out = var("waccess_points", std::to_string(count));
    for (int i = 0; i < count; ++i) {
        AccessPoint ap = accessPointAt(i);
        std::string at = "[" + std::to_string(i) + "]";
        out += var("wessid" + at, ap.ssid) + var("wnet" + at, ap.net) + var("wrssi" + at, std::to_string(ap.rssi))
               + var("wauth" + at, ap.auth) + var("wenc" + at, ap.enc);
    }
    return out;
}

bool joinable(int auth, const std::string& ssid, const std::string& key)
{
    if (ssid.empty() || ssid.size() > 32)
        return false;
    switch (auth) {
    case 0:
        return true;
    case 1:
        return key.size() == 5 || key.size() == 13 || ((key.size() == 10 || key.size() == 26) && allHex(key));
    case 2:
    case 3:
        return (key.size() >= 8 && key.size() <= 63) || (key.size() == 64 && allHex(key));
    default:
        return false;
    }
}

bool matchesAccessPoint(int auth, const std::string& ssid, const std::string& key)
{
    for (const AccessPoint& ap : accessPoints()) {
        if (ap.ssid != ssid)
            continue;
        // An open network takes anyone who asks without security.
        if (ap.auth == "NONE")
            return auth == 0;
        return auth != 0 && ap.key == key;
    }
    return false;
}

ParamGroup wirelessGroup()
{
    const ValueRule zeroOne = oneOf({"0", "1"});
    return {"wirelessattr",
            "",
            {},
            {{"wf_enable", "0", zeroOne},
             {"wf_ssid", "", anyText()},
             {"wf_auth", "0", intRange(0, 3)},
             {"wf_key", "", anyText()},
             {"wf_enc", "0", zeroOne},
             {"wf_mode", "0", zeroOne}}};
}

void ParamCgi::defineWirelessCommands()
{
    for (const char* key : kCandidate)
        state_.settings.define(key, "");

    specials_["setwirelessattr"] = [this](const Command& c, SettingsChange& change, std::string& out) {
        if (!runGroup(*findGroup("wirelessattr"), true, c, change, out))
            return false;
        // Switched on, the camera must be able to join what it was given.
        if (change.value("wf_enable") == "1"
            && !joinable(authIndex(change.value("wf_auth")), change.value("wf_ssid"), change.value("wf_key"))) {
            out += "[Error]setwirelessattr: bad ssid or key.\r\n";
            return false;
        }
        return true;
    };
    specials_["chkwirelessattr"] = [](const Command& c, SettingsChange& change, std::string& out) {
        const ValueRule zeroOne = oneOf({"0", "1"});
        for (const auto& [k, v] : c.params) {
            bool known = k == "wf_ssid" || k == "wf_auth" || k == "wf_key" || k == "wf_enc" || k == "wf_mode";
            if (!known) {
                out += "[Error]-" + k + ": unknown parameter.\r\n";
                return false;
            }
            bool ok = isSafeValue(v) && (k != "wf_auth" || authIndex(v) >= 0)
                      && ((k != "wf_enc" && k != "wf_mode") || zeroOne(v));
            if (!ok) {
                out += "[Error]-" + k + ": bad value.\r\n";
                return false;
            }
        }
        int auth = authIndex(c.param("wf_auth"));
        if (!joinable(auth, c.param("wf_ssid"), c.param("wf_key"))) {
            out += "[Error]chkwirelessattr: bad ssid or key.\r\n";
            return false;
        }
        change.set("wfc_ssid", c.param("wf_ssid"));
        change.set("wfc_auth", c.param("wf_auth"));
        change.set("wfc_key", c.param("wf_key"));
        change.set("wfc_enc", c.param("wf_enc"));
        change.set("wfc_mode", c.param("wf_mode"));
        change.set("wfc_set", "1");
        return true;
    };
    specials_["getchkwireless"] = [this](const Command&, SettingsChange& change, std::string& out) {
        std::optional<std::string> cued = state_.longOps.run("getchkwireless");
        bool passed = change.value("wfc_set") == "1"
                      && matchesAccessPoint(authIndex(change.value("wfc_auth")), change.value("wfc_ssid"),
                                            change.value("wfc_key"));
        std::string result = cued.value_or(passed ? "1" : "0");
        state_.syslog.add(std::string("wireless test ") + (result == "1" ? "passed" : "failed"));
        out += var("chkres", result);
        return true;
    };
    specials_["searchwireless"] = [this](const Command&, SettingsChange&, std::string& out) {
        // A cue sets how many access points the scan finds, or "fail".
        std::optional<std::string> cued = state_.longOps.run("searchwireless");
        int count = static_cast<int>(accessPoints().size());
        if (cued && !parseIntIn(*cued, 0, 1000, count)) {
            out += "[Error]searchwireless: scan failed.\r\n";
            return false;
        }
        out += searchReply(count);
        return true;
    };
}

}  // namespace camsim
