#include "camera/dialogs/forms/MotionForms.h"

#include "camera/session/CCgiCmd.h"

namespace motion_form {

namespace {

bool IsModel(const CString& model, const char* prefix)
{
    CString p(prefix);
    return model.Left(p.GetLength()) == p;
}

bool IsThreeTargetModel(const CString& model)
{
    return IsModel(model, "CAMXB4-HX");
}

bool IsTargetModel(const CString& model)
{
    return IsThreeTargetModel(model) || IsModel(model, "CAMXC4-HX");
}

bool SwitchOn(const CString& reply, const char* action)
{
    CString key;
    key.Format("md_%s_switch", action);
    return CCgiCmd::GetCgiValue2(reply, key).CompareNoCase("on") == 0;
}

const char* OnOff(bool on)
{
    return on ? "on" : "off";
}

CString Action(const char* name, bool on)
{
    CString part;
    part.Format("&cmd=setmdalarm&-aname=%s&-switch=%s", name, OnOff(on));
    return part;
}

// The text smd_type takes for a combo index; an index the model does not
// offer goes out as humans only.
int SmartTypeValue(const CString& model, int index)
{
    if (index == 1)
        return 1;
    if (index == 2 && IsThreeTargetModel(model))
        return 2;
    return 0;
}

}  // namespace

bool HasSmartDetection(int streams)
{
    return streams <= 2;
}

int TargetTypeCount(const CString& model)
{
    return IsThreeTargetModel(model) ? 3 : IsTargetModel(model) ? 2 : 0;
}

bool HasTracking(const CString& model)
{
    return !IsModel(model, "CAMXA1-NP");
}

SmartControls ShownSmartControls(const CString& model, int streams, bool detectionChecked)
{
    SmartControls shown;
    if (!HasSmartDetection(streams))
        return shown;
    shown.detection = true;
    shown.targets = detectionChecked && IsTargetModel(model);
    shown.tracking = detectionChecked && HasTracking(model);
    return shown;
}

bool CouplesRecordActions(int streams)
{
    return streams < 3;
}

CString LoadPath(int streams)
{
    CString path = "/cgi-bin/hi3510/param.cgi?cmd=getvideoattr&cmd=getmdattr&cmd=getscheduleex&-ename=md"
                   "&cmd=getalarmsnapattr&cmd=getmdalarm&-aname=email&cmd=getmdalarm&-aname=emailsnap"
                   "&cmd=getmdalarm&-aname=ftpsnap&cmd=getmdalarm&-aname=ftprec&cmd=getmdalarm&-aname=snap"
                   "&cmd=getmdalarm&-aname=record";
    if (HasSmartDetection(streams))
        path += "&cmd=getsmdattr&cmd=getsmdex";
    return path;
}

void ParseLoad(const CString& reply, Values& v)
{
    v.videomode = CCgiCmd::GetCgiValueInt3(reply, "videomode");
    v.areaCount = 0;
    for (Area& a : v.areas)
        a = Area();
    for (int n = 1; n <= kAreas; ++n) {
        CString key;
        key.Format("m%d_enable", n);
        if (CCgiCmd::GetCgiValueInt3(reply, key) != 1)
            continue;
        auto value = [&](const char* name) {
            CString k;
            k.Format("m%d_%s", n, name);
            return CCgiCmd::GetCgiValueInt3(reply, k);
        };
        Area& a = v.areas[v.areaCount++];
        a.left = value("x");
        a.top = value("y");
        a.right = a.left + value("w");
        a.bottom = a.top + value("h");
    }
    int sensitivity = CCgiCmd::GetCgiValueInt3(reply, "m1_sensitivity");
    v.sensitivity = sensitivity >= 1 && sensitivity <= 100 ? sensitivity : 50;
    int count = CCgiCmd::GetCgiValueInt3(reply, "snap_count");
    v.snapCount = count >= 1 && count <= 3 ? count : 1;
    v.email = SwitchOn(reply, "email");
    v.ftpSnap = SwitchOn(reply, "ftpsnap");
    v.ftpRec = SwitchOn(reply, "ftprec");
    v.sdSnap = SwitchOn(reply, "snap");
    v.sdRec = SwitchOn(reply, "record");
    if (HasSmartDetection(v.streams)) {
        v.smartEnable = CCgiCmd::GetCgiValue2(reply, "smd_enable") == "1";
        v.smartType = 0;
        if (IsTargetModel(v.model)) {
            CString type = CCgiCmd::GetCgiValue2(reply, "smd_type");
            if (type == "1")
                v.smartType = 1;
            else if (type == "2" && IsThreeTargetModel(v.model))
                v.smartType = 2;
        }
        v.smartTracking = CCgiCmd::GetCgiValue2(reply, "smd_rect") == "1";
    }
}

CString ComposeApply(const Values& v, const CString& weekPart)
{
    CString path = "/cgi-bin/hi3510/param.cgi?&cmd=setscheduleex&-ename=md" + weekPart;
    int sensitivity = v.sensitivity >= 1 && v.sensitivity <= 100 ? v.sensitivity : 50;
    for (int n = 1; n <= kAreas; ++n) {
        CString part;
        if (n <= v.areaCount) {
            const Area& a = v.areas[n - 1];
            part.Format("&cmd=setmdattr&-enable=1&-s=%d&-name=%d&-x=%d&-y=%d&-w=%d&-h=%d", sensitivity, n, a.left,
                        a.top, a.right - a.left, a.bottom - a.top);
        } else {
            part.Format("&cmd=setmdattr&-enable=0&-s=%d&-name=%d", sensitivity, n);
        }
        path += part;
    }
    CString count;
    count.Format("&cmd=setalarmsnapattr&-snap_count=%d", v.snapCount >= 1 && v.snapCount <= 3 ? v.snapCount : 1);
    path += count;
    path += Action("email", v.email) + Action("emailsnap", v.email);
    path += Action("ftpsnap", v.ftpSnap) + Action("snap", v.sdSnap);
    if (!HasSmartDetection(v.streams)) {
        path += Action("ftprec", v.ftpRec) + Action("record", v.sdRec);
    } else if (v.sdRec) {
        path += Action("record", true) + Action("ftprec", v.ftpRec);
    } else {
        path += Action("ftprec", false) + Action("record", false);
    }
    if (HasSmartDetection(v.streams)) {
        path += v.smartEnable ? "&cmd=setsmdattr&-smd_enable=1" : "&cmd=setsmdattr&-smd_enable=0";
        path += v.smartTracking ? "&cmd=setsmdex&-smd_rect=1" : "&cmd=setsmdex&-smd_rect=0";
        if (IsTargetModel(v.model)) {
            CString type;
            type.Format("&-smd_type=%d", SmartTypeValue(v.model, v.smartType));
            path += type;
        }
    }
    return path;
}

}  // namespace motion_form
