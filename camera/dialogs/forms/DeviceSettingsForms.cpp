#include "camera/dialogs/forms/DeviceSettingsForms.h"

#include "camera/session/CCgiCmd.h"

#include <algorithm>

bool IsOwnVendor(const CString& vendor)
{
    return vendor.CompareNoCase("VX") == 0;
}

namespace ptz_form {

const char* const kLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getmotorattr&cmd=getvendorinfo";

void ParseLoad(const CString& reply, Values& v)
{
    v.ownVendor = IsOwnVendor(CCgiCmd::GetCgiValue2(reply, "vendor"));
    if (!v.ownVendor)
        return;
    // A speed the list lacks shows (and is sent back) as the nearest one.
    v.speed = std::clamp(CCgiCmd::GetCgiValueInt3(reply, "panspeed"), 0, 2);
    v.moveHome = CCgiCmd::GetCgiValue2(reply, "movehome").CompareNoCase("on") == 0;
}

CString ComposeApply(const Values& v)
{
    int speed = std::clamp(v.speed, 0, 2);
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setmotorattr&-tiltspeed=%d&-panspeed=%d&-movehome=%s", speed, speed,
                v.moveHome ? "on" : "off");
    return path;
}

}  // namespace ptz_form

namespace audio_form {

CString LoadPath(int streams)
{
    if (streams > 2)
        return "/cgi-bin/hi3510/param.cgi?cmd=getaencattr&-chn=11&cmd=getaencattr&-chn=12&cmd=getaencattr&-chn=13"
               "&cmd=getaudioinvolume&cmd=getaudiooutvolume";
    return "/cgi-bin/hi3510/param.cgi?cmd=getaencattr&-chn=11&cmd=getaencattr&-chn=12"
           "&cmd=getaudioinvolume&cmd=getaudiooutvolume";
}

void ParseLoad(const CString& reply, Values& v)
{
    v.reportedFormat = CCgiCmd::GetCgiValue2(reply, "aeformat_1");
    v.format = v.reportedFormat.CompareNoCase("g711a") == 0 ? 0 : 1;
    const char* switches[3] = {"aeswitch_1", "aeswitch_2", "aeswitch_3"};
    for (int i = 0; i < 3; ++i)
        v.enabled[i] = (i < 2 || v.HasTertiary()) && CCgiCmd::GetCgiValueInt3(reply, switches[i]) == 1;
    v.inputType = CCgiCmd::GetCgiValueInt3(reply, "volin_type") == 0 ? 0 : 1;
    v.inputVolume = CCgiCmd::GetCgiValueInt3(reply, "volume");
    v.outputVolume = CCgiCmd::GetCgiValueInt3(reply, "ao_volume");
}

CString FormatWord(const Values& v)
{
    if (v.format == 0)
        return "g711a";
    if (v.reportedFormat.IsEmpty() || v.reportedFormat.CompareNoCase("g711a") == 0)
        return "g726";
    return v.reportedFormat;
}

CString ComposeApply(const Values& v)
{
    CString word = CCgiCmd::UrlEncode(FormatWord(v));
    CString path = "/cgi-bin/hi3510/param.cgi?";
    CString part;
    int channels = v.HasTertiary() ? 3 : 2;
    for (int i = 0; i < channels; ++i) {
        part.Format("%scmd=setaencattr&-chn=%d&-aeswitch=%d&-aeformat=%s", i ? "&" : "", 11 + i, v.enabled[i] ? 1 : 0,
                    word.GetString());
        path += part;
    }
    part.Format("&cmd=setaudioinvolume&-volin_type=%d&-volume=%d&cmd=setaudiooutvolume&-volume=%d", v.inputType,
                v.inputVolume, v.outputVolume);
    return path + part;
}

}  // namespace audio_form
