#include "camera/session/PtzDialect.h"

#include <cstring>

namespace {

constexpr int kChipAJ = 76;
constexpr int kChipHTL = 77;

bool IsC4(const CString& model)
{
    return std::strncmp(static_cast<const char*>(model), "CAMXC4-HX", 9) == 0;
}

bool IsStop(int code)
{
    switch (code) {
    case 2:
    case 21:
    case 23:
    case 25:
    case 29:
    case 40:
    case 44:
        return true;
    default:
        return false;
    }
}

// The HX act of a code; null when HX has none.
const char* HxAct(int code)
{
    if (IsStop(code))
        return "stop";
    switch (code) {
    case 1:
        return "up";
    case 3:
        return "down";
    case 5:
        return "left";
    case 7:
        return "right";
    case 20:
        return "zoomin";
    case 22:
        return "zoomout";
    case 24:
        return "focusin";
    case 26:
        return "focusout";
    case 39:
        return "hscan";
    case 43:
        return "vscan";
    case 45:
        return "home";
    default:
        return nullptr;
    }
}

// AJ's parameters of a code; null when AJ has none.
const char* AjParams(int code)
{
    if (IsStop(code))
        return "stop=1";
    switch (code) {
    case 1:
        return "move_x=0&move_y=1&speed=%d";
    case 3:
        return "move_x=0&move_y=-1&speed=%d";
    case 5:
        return "move_x=-1&move_y=0&speed=%d";
    case 7:
        return "move_x=1&move_y=0&speed=%d";
    case 17:
        return "add_preset=%d";
    case 18:
        return "call_preset=%d";
    case 19:
        return "delete_preset=%d";
    case 20:
        return "zoom=1";
    case 22:
        return "zoom=-1";
    case 24:
        return "focus=1";
    case 26:
        return "focus=-1";
    case 28:
        return "iris=1";
    case 30:
        return "iris=-1";
    default:
        return nullptr;
    }
}

// HTL's command number of a code; -1 when HTL has none.
int HtlCommand(int code)
{
    if (IsStop(code))
        return 0;
    switch (code) {
    case 1:
        return 1;
    case 3:
        return 2;
    case 5:
        return 3;
    case 7:
        return 4;
    case 17:
        return 11;
    case 18:
        return 13;
    case 19:
        return 12;
    case 20:
        return 7;
    case 22:
        return 8;
    case 24:
        return 5;
    case 26:
        return 6;
    case 45:
        return 9;
    default:
        return -1;
    }
}

}  // namespace

int PtzSpeedFor(int nChipType, const CString& strModel, int nSpeed)
{
    if (nChipType == kChipAJ) {
        int q = nSpeed / 100;
        return q <= 0 || nSpeed > 10 ? 1 : q;
    }
    if (nSpeed > 100 || nSpeed < 0)
        return 1;
    return IsC4(strModel) ? nSpeed * 8 / 100 : nSpeed * 63 / 100;
}

std::optional<STPtzRequest> BuildPtzRequest(int nChipType, const CString& strModel, int nCode, int nSpeed, int nPreset,
                                            const CString& strUser, const CString& strPwd)
{
    if ((nCode == 17 || nCode == 18) && (nPreset < 1 || nPreset > 255))
        return std::nullopt;
    const int speed = PtzSpeedFor(nChipType, strModel, nSpeed);
    STPtzRequest r;
    if (nChipType == kChipAJ) {
        const char* params = AjParams(nCode);
        if (!params)
            return std::nullopt;
        CString query;
        if (std::strstr(params, "speed=%d"))
            query.Format(params, speed);
        else if (std::strstr(params, "preset=%d"))
            query.Format(params, nPreset);
        else
            query = params;
        r.strPath.Format("/cgi-bin/ptz_ctrl?%s&username=%s&password=%s", static_cast<const char*>(query),
                         static_cast<const char*>(strUser), static_cast<const char*>(strPwd));
        return r;
    }
    if (nChipType == kChipHTL) {
        const int command = HtlCommand(nCode);
        if (command < 0)
            return std::nullopt;
        // The camera reads the JSON after "?" as it stands.
        if (nCode == 17 || nCode == 18 || nCode == 19)
            r.strPath.Format("/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":%d,\"speed\":1,"
                             "\"preset_id\":[%d]}}",
                             command, nPreset);
        else
            r.strPath.Format("/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":%d}}", command);
        r.bPost = TRUE;
        return r;
    }
    if (nCode == 17 || nCode == 18) {
        r.strPath.Format("/cgi-bin/hi3510/param.cgi?cmd=preset&-act=%s&-status=1&-number=%d",
                         nCode == 17 ? "set" : "goto", nPreset - 1);
        return r;
    }
    const char* act = HxAct(nCode);
    if (!act || ((nCode == 39 || nCode == 43) && !IsC4(strModel)))
        return std::nullopt;
    r.strPath.Format("/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=%s&-speed=%d", act, speed);
    return r;
}
