#include "camera/dialogs/forms/TimeSettingsForm.h"

#include "camera/session/CCgiCmd.h"

#include <algorithm>

namespace time_form {

namespace {

const Zone kZones[kZoneCount] = {
    {"(GMT-11:00) MidwayIsland, Samoa", "Pacific/Apia", false},
    {"(GMT-10:00) Hawaii", "Pacific/Honolulu", false},
    {"(GMT-09:00) Alaska", "America/Anchorage", true},
    {"(GMT-08:00) PacificTime (U.S. and Canada) ", "America/Los_Angeles", true},
    {"(GMT-07:00) MountainTime (U.S. and Canada) ", "America/Denver", true},
    {"(GMT-06:00) CentralTime (U.S. and Canada), MexicoCity", "America/Chicago", true},
    {"(GMT-05:00) EasternTime (U.S. and Canada), Bogota, Lima", "America/New_York", true},
    {"(GMT-04:00) AtlanticTime(Canada), SanDiego, LaPaz", "America/Montreal", true},
    {"(GMT-03:30) Newfoundland", "America/St_Johns", true},
    {"(GMT-03:00) Greenland", "America/Thule", true},
    {"(GMT-02:00) Atlantic", "Atlantic/South_Georgia", true},
    {"(GMT-01:00) CapeVerdeIslands", "Atlantic/Cape_Verde", false},
    {"(GMT) GreenwichMeanTime: London, Lisbon, Casablanca", "Europe/Dublin", true},
    {"(GMT+01:00) Brussels, Paris, Berlin, Rome, Madrid, Siduogeer", "Europe/Brussels", true},
    {"(GMT+02:00) Athens, Jerusalem, Cairo, Helsinki", "Europe/Athens", true},
    {"(GMT+03:00) Nairobi, Riyadh", "Asia/Kuwait", false},
    {"(GMT+03:30) Tehran", "Asia/Tehran", true},
    {"(GMT+04:00) Baku, Tbilisi, AbuDhabi, Muscat, Moscow", "Asia/Baku", true},
    {"(GMT+04:30) Kabul", "Asia/Kabul", false},
    {"(GMT+05:00) Islamabad, Karachi, Tashkent", "Asia/Karachi", false},
    {"(GMT+05:30) Calcutta, Bombay, Madras, NewDelhi", "Asia/Calcutta", false},
    {"(GMT+06:00) Almaty, Astana, Dhaka", "Asia/Almaty", false},
    {"(GMT+06:30) Rangoon", "Asia/Rangoon", false},
    {"(GMT+07:00) Bangkok, Hanoi, Jakarta, NewSiberia", "Asia/Bangkok", false},
    {"(GMT+08:00) Beijing, Singapore, Taipei", "Asia/Hong_Kong", false},
    {"(GMT+09:00) Seoul, Yakutsk, Tokyo", "Asia/Tokyo", false},
    {"(GMT+09:30) Darwin", "Australia/Adelaide", true},
    {"(GMT+10:00) Guam, Melbourne, Sydney, PortMoresby", "Pacific/Guam", false},
    {"(GMT+11:00) SolomonIslands, NewCaledonia, Vladivostok", "Asia/Magadan", false},
    {"(GMT+12:00) Auckland, Wellington, Fiji, Magadan", "Pacific/Auckland", true},
    {"(GMT+13:00) Nuku, alofa", "Pacific/Tongatapu", false},
};

// Public pool and institute servers; the first is what cameras ship with.
const char* const kNtpServers[kNtpServerCount] = {
    "pool.ntp.org",
    "europe.pool.ntp.org",
    "asia.pool.ntp.org",
    "time.nist.gov",
};

const char* const kOwnCodeModels[] = {"CAMXA1-N-Z20", "CAMXC5-HX", "CAMXA1-N-W22",
                                      "CAMXA1-NP",    "CAMXC4-HX", "CAMXB4-HX"};

// Standard-time bias in minutes for each row of the zone table.
const long kZoneBias[kZoneCount] = {660,  600,  540,  480,  420,  360,  300,  240,  210,  180,  120,
                                    60,   0,    -60,  -120, -180, -210, -240, -270, -300, -330, -360,
                                    -390, -420, -480, -540, -570, -600, -660, -720, -780};

bool IsDigitText(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

}  // namespace

const char* const kLoadPath =
    "/cgi-bin/hi3510/param.cgi?cmd=getservertime&cmd=getntpattr&cmd=getoverlayattr&-region=0&cmd=getoverlayattr&-region=1";

const Zone& ZoneAt(int index)
{
    return kZones[std::clamp(index, 0, kZoneCount - 1)];
}

int FindZone(const CString& id)
{
    int found = -1;
    for (int i = 0; i < kZoneCount; ++i) {
        if (id.CompareNoCase(kZones[i].id) == 0)
            found = i;
    }
    return found;
}

const char* NtpServerAt(int index)
{
    return kNtpServers[std::clamp(index, 0, kNtpServerCount - 1)];
}

bool UsesOwnOverlayCodes(int chipType, const CString& model)
{
    if (chipType != 71)
        return false;
    for (const char* code : kOwnCodeModels) {
        if (model.Left(static_cast<int>(strlen(code))) == code)
            return true;
    }
    return false;
}

bool ParseCompactTime(const CString& text, COleDateTime& out)
{
    if (text.GetLength() != 14 || !IsDigitText(text))
        return false;
    auto field = [&](int at, int len) { return atoi(text.Mid(at, len).GetString()); };
    COleDateTime t;
    if (t.SetDateTime(field(0, 4), field(4, 2), field(6, 2), field(8, 2), field(10, 2), field(12, 2)) != 0)
        return false;
    out = t;
    return true;
}

void ParseLoad(const CString& reply, bool ownCodes, Values& v)
{
    COleDateTime clock;
    v.timeKnown = ParseCompactTime(CCgiCmd::GetCgiValue2(reply, "time"), clock);
    if (v.timeKnown)
        v.clock = clock;

    v.reportedZone = CCgiCmd::GetCgiValue2(reply, "timeZone");
    v.zone = FindZone(v.reportedZone);
    v.daylight = CCgiCmd::GetCgiValue2(reply, "dstmode").CompareNoCase("on") == 0;

    v.ntpServer = CCgiCmd::GetCgiValue2(reply, "ntpserver");
    int interval = CCgiCmd::GetCgiValueInt3(reply, "ntpinterval");
    v.ntpInterval = interval >= 1 && interval <= 24 ? interval : 1;
    v.ntpEnabled = true;

    int timePlace = CCgiCmd::GetCgiValueInt3(reply, "place_0");
    v.timePlace = ownCodes ? (timePlace == 1 ? 0 : 1) : std::clamp(timePlace, 0, 1);
    v.showTime = CCgiCmd::GetCgiValueInt3(reply, "show_0") == 1;
    int type = CCgiCmd::GetCgiValueInt3(reply, "type_0");
    v.dateFormat = type == 0 || type == 1 ? type : 2;
    v.name = CCgiCmd::GetCgiValue2(reply, "name_1");
    int namePlace = CCgiCmd::GetCgiValueInt3(reply, "place_1");
    v.namePlace = ownCodes ? (namePlace == 0 ? 0 : 1) : std::clamp(namePlace, 0, 1);
    v.showName = CCgiCmd::GetCgiValueInt3(reply, "show_1") == 1;
}

int ComposeApply(const Values& v, bool ownCodes, CString& path)
{
    for (const char* bad : {"&", "=", "`", "\"", "\\"}) {
        if (v.name.Find(bad) >= 0)
            return 20089;
    }
    if (!v.timeKnown)
        return 20046;
    // A zone the table lacks goes back as the camera reported it.
    CString zone = v.zone >= 0 ? CString(ZoneAt(v.zone).id) : v.reportedZone;
    if (zone.IsEmpty())
        return 20046;
    int timeCode = ownCodes ? (v.timePlace == 0 ? 1 : 3) : v.timePlace;
    int nameCode = ownCodes ? (v.namePlace == 0 ? 0 : 2) : v.namePlace;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setoverlayattr&-region=0&-show=%d&-place=%d&-type=%d"
                "&cmd=setoverlayattr&-region=1&-show=%d&-name=%s&-place=%d"
                "&cmd=setservertime&-timezone=%s&-dstmode=%s"
                "&cmd=setntpattr&-ntpenable=%d&-ntpserver=%s&-ntpinterval=%d",
                v.showTime ? 1 : 0, timeCode, v.dateFormat, v.showName ? 1 : 0, CCgiCmd::UrlEncode(v.name).GetString(),
                nameCode, CCgiCmd::UrlEncode(zone).GetString(), v.daylight ? "on" : "off", v.ntpEnabled ? 1 : 0,
                CCgiCmd::UrlEncode(v.ntpServer).GetString(), std::clamp(v.ntpInterval, 1, 24));
    return 0;
}

int ZoneForBias(long bias)
{
    for (int i = 0; i < kZoneCount; ++i) {
        if (kZoneBias[i] == bias)
            return i;
    }
    return -1;
}

int ComposeSync(const SYSTEMTIME& local, long bias, bool daylightInEffect, CString& path)
{
    int zone = ZoneForBias(bias);
    if (zone < 0)
        return 20046;
    CString time;
    time.Format("%04d.%02d.%02d.%02d.%02d.%02d", local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                local.wSecond);
    path.Format("/cgi-bin/hi3510/param.cgi?&cmd=setservertime&-time=%s&-timezone=%s&-dstmode=%s", time.GetString(),
                CCgiCmd::UrlEncode(ZoneAt(zone).id).GetString(), daylightInEffect ? "on" : "off");
    return 0;
}

}  // namespace time_form
