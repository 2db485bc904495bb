#include "camera/dialogs/forms/ImageSettingsForms.h"

#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"

namespace display_form {

namespace {

const QuantityInfo kInfo[kQuantityCount] = {
    {"brightness", 0, 100}, {"saturation", 0, 255}, {"contrast", 0, 100},
    {"sharpness", 0, 100},  {"hue", 0, 100},        {"targety", 0, 255},
};

bool IsOn(const CString& reply, const char* key)
{
    return CCgiCmd::GetCgiValue2(reply, key).CompareNoCase("on") == 0;
}

const char* OnOff(bool on)
{
    return on ? "on" : "off";
}

}  // namespace

const QuantityInfo& Info(Quantity q)
{
    return kInfo[q];
}

const char* const kLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getimageattr&cmd=getircutattr";

void ParseLoad(const CString& reply, Values& v)
{
    for (int q = 0; q < kQuantityCount; ++q)
        v.value[q] = CCgiCmd::GetCgiValueInt3(reply, kInfo[q].key);
    v.flip = IsOn(reply, "flip");
    v.mirror = IsOn(reply, "mirror");
    v.night = IsOn(reply, "night");
    v.wdr = IsOn(reply, "wdr");
    CString noise = CCgiCmd::GetCgiValue2(reply, "noise");
    v.numericNoise = noise.CompareNoCase("on") != 0 && noise.CompareNoCase("off") != 0;
    v.smooth = noise.CompareNoCase("off") != 0 && noise != "0";
    v.gain = CCgiCmd::GetCgiValueInt3(reply, "gc");
    v.shutter = CCgiCmd::GetCgiValueInt3(reply, "shutter");
    CString ae = CCgiCmd::GetCgiValue2(reply, "aemode");
    if (ae == "0" || ae == "1" || ae == "2")
        v.aeMode = ae[0] - '0';
    CString mode = CCgiCmd::GetCgiValue2(reply, "display_mode");
    if (mode == "0" || mode == "1")
        v.displayMode = mode == "1" ? 1 : 0;
    v.irCut = CCgiCmd::GetCgiValueInt3(reply, "saradc_switch_value");
}

CString ComposeApply(const Values& v)
{
    CString noise = v.numericNoise ? (v.smooth ? "25" : "0") : OnOff(v.smooth);
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setimageattr&-brightness=%d&-saturation=%d&-contrast=%d&-hue=%d"
                "&-targety=%d&-sharpness=%d&-flip=%s&-mirror=%s&-noise=%s&-wdr=%s&-night=%s&-gc=%d&-aemode=%d"
                "&-image_type=%d&-shutter=%d&cmd=setircutattr&-saradc_switch_value=%d",
                v.value[Brightness], v.value[Saturation], v.value[Contrast], v.value[Hue], v.value[Exposure],
                v.value[Sharpness], OnOff(v.flip), OnOff(v.mirror), noise.GetString(), OnOff(v.wdr), OnOff(v.night),
                v.gain, v.aeMode, v.displayMode, v.shutter, v.irCut);
    return path;
}

CString ComposeDefault(int displayMode)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setimageattr&-image_type=%d&-default=on", displayMode);
    return path;
}

}  // namespace display_form

namespace infrared_form {

namespace {

bool BeginsWithAny(const CString& model, std::initializer_list<const char*> codes)
{
    for (const char* c : codes) {
        if (model.Find(c) == 0)
            return true;
    }
    return false;
}

}  // namespace

bool IsLampModel(const CString& model)
{
    return BeginsWithAny(model, {"CAMXB4-HX-D", "CAMXC4-HX-D", "CAMXC5-HX-Z20-D", "CAMXB4-HX-Z20-D"});
}

Variant DecideVariant(const CString& model, const CString& softVersion, const CString& webVersion)
{
    Variant v;
    v.lamp = IsLampModel(model);
    if (v.lamp)
        return v;
    int type = CWebWatchNB::GetCamType(softVersion);
    bool newFirmware =
        type >= 32 && type <= 34 && !webVersion.IsEmpty() && CWebWatchNB::VersionLaterThan(webVersion, "2.0.9") >= 0;
    bool newModel = BeginsWithAny(model, {"CAMXC5-HX-V", "CAMXA1-N-W", "CAMXB4-HX"});
    v.newStyle = newFirmware || newModel;
    bool micModel = model.Find("CAMXA1-N") == 0 && model.GetLength() >= 4 && model.Right(4) == "-MIC";
    v.onOffOnly =
        !newModel && ((v.newStyle && micModel) || BeginsWithAny(model, {"CAMXA1-N-Z20", "CAMXC5-HX", "CAMXA1-NP"}));
    return v;
}

Layout LayoutFor(const Variant& v, Light selected)
{
    Layout l;
    l.groupLabel = "IR lights in night vision:";
    l.first = "Turn on";
    l.second = "Turn off";
    l.third = "Smart mode";
    if (v.lamp) {
        l.groupLabel = "Night vision mode";
        l.first = "Normal";
        l.second = "Full color";
        l.third = "Intelligent";
        l.showThird = true;
        l.showIrCut = l.showIrCutAuto = selected == LightFirst;
        return l;
    }
    if (v.newStyle) {
        l.first = "Auto mode";
        l.second = "Color mode";
        l.third = "IR turn off && night vision mode";
    }
    l.showThird = v.newStyle && !v.onOffOnly;
    l.showSecond = !v.onOffOnly;
    l.showIrCutAuto = v.onOffOnly;
    l.showIrCut = v.onOffOnly || (!v.newStyle && selected == LightSecond);
    return l;
}

CString LoadPath(const Variant& v)
{
    return v.lamp ? "/cgi-bin/hi3510/param.cgi?cmd=getlampattrex&cmd=getinfrared"
                  : "/cgi-bin/hi3510/param.cgi?cmd=getinfrared&cmd=getimageattr&cmd=getserverinfo";
}

namespace {

IrCut IrCutFromState(const CString& state)
{
    if (state.CompareNoCase("open") == 0)
        return IrCutFirst;
    if (state.CompareNoCase("close") == 0)
        return IrCutSecond;
    return IrCutThird;
}

const char* IrCutWord(IrCut c)
{
    return c == IrCutFirst ? "open" : c == IrCutSecond ? "close" : "auto";
}

}  // namespace

void ParseLoad(const CString& reply, const Variant& v, Selection& s)
{
    CString state = CCgiCmd::GetCgiValue2(reply, "infraredstat");
    if (v.lamp) {
        int mode = CCgiCmd::GetCgiValueInt3(reply, "lamp_mode");
        s.light = mode == 0 ? LightFirst : mode == 1 ? LightSecond : LightThird;
        s.irCut = IrCutFromState(state);
    } else if (v.onOffOnly) {
        s.light = LightFirst;
        s.irCut = IrCutFromState(state);
    } else {
        s.light = state.CompareNoCase("close") == 0  ? LightSecond
                  : state.CompareNoCase("user") == 0 ? LightThird
                                                     : LightFirst;
        s.irCut = CCgiCmd::GetCgiValueInt3(reply, "display_mode") == 0 ? IrCutFirst : IrCutSecond;
    }
}

CString ComposeApply(const Variant& v, const Selection& s, bool& irCutFollows)
{
    irCutFollows = false;
    CString path;
    if (v.lamp) {
        int mode = s.light == LightFirst ? 0 : s.light == LightSecond ? 1 : 2;
        path.Format("/cgi-bin/hi3510/param.cgi?cmd=setlampattrex&-lamp_mode=%d&cmd=setinfrared&-infraredstat=%s", mode,
                    IrCutWord(s.irCut));
    } else if (v.onOffOnly) {
        path.Format("/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=%s", IrCutWord(s.irCut));
    } else if (s.light == LightFirst) {
        path = "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close&cmd=setinfrared&-infraredstat=auto";
    } else {
        path.Format("/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=%s",
                    s.light == LightThird ? "user" : "close");
        irCutFollows = !v.newStyle;
    }
    return path;
}

CString ComposeIrCutControl(const Selection& s)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=ircutctrl&-mode=%d", s.irCut == IrCutFirst ? 0 : 1);
    return path;
}

}  // namespace infrared_form
