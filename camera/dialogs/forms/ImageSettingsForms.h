#pragma once
// What the Display and Infrared Light pages read from and write to the
// camera, without the window. Plain values; any thread.

#include "platform/platform.h"

namespace display_form {

// The six slider quantities in the order of the apply request's table.
enum Quantity { Brightness, Saturation, Contrast, Sharpness, Hue, Exposure, kQuantityCount };
struct QuantityInfo {
    const char* key;
    int lo, hi;  // what the edit accepts; the slider takes the same range
};
const QuantityInfo& Info(Quantity q);

struct Values {
    int value[kQuantityCount] = {50, 128, 50, 50, 50, 128};
    bool flip = false, mirror = false, night = false, smooth = false, wdr = false;
    bool numericNoise = false;  // the camera spelled "noise" as a number at the last load
    int gain = 0, shutter = 0;
    int aeMode = 0;       // 0 automatic, 1 indoor, 2 outdoor
    int displayMode = 1;  // 0 black and white, 1 colour
    int irCut = 512;      // 1 to 1024
};

extern const char* const kLoadPath;
// A reply value that matches no list item keeps the value `v` had.
void ParseLoad(const CString& reply, Values& v);
CString ComposeApply(const Values& v);
CString ComposeDefault(int displayMode);

}  // namespace display_form

namespace infrared_form {

// The radio buttons of the two groups, by their place.
enum Light { LightFirst, LightSecond, LightThird };  // 29011, 29013, 29012
enum IrCut { IrCutFirst, IrCutSecond, IrCutThird };  // 29014, 29015, 29017

struct Variant {
    bool lamp = false;
    bool newStyle = false;
    bool onOffOnly = false;
};
// The lamp flag, from the model alone (it chooses the load request).
bool IsLampModel(const CString& model);
// All three flags; the version texts come from the load reply ("softVersion",
// "webVersion") and are empty before a load.
Variant DecideVariant(const CString& model, const CString& softVersion, const CString& webVersion);

struct Layout {
    CString groupLabel, first, second, third;  // texts of the label, 29011, 29013, 29012
    bool showSecond = true, showThird = false, showIrCutAuto = false, showIrCut = false;
};
// Labels and what is shown, for the variant and the selected light option.
Layout LayoutFor(const Variant& v, Light selected);

CString LoadPath(const Variant& v);
struct Selection {
    Light light = LightFirst;
    IrCut irCut = IrCutFirst;
};
void ParseLoad(const CString& reply, const Variant& v, Selection& s);
// The apply request; `irCutFollows` says whether ComposeIrCutControl is to
// be sent after it succeeds.
CString ComposeApply(const Variant& v, const Selection& s, bool& irCutFollows);
CString ComposeIrCutControl(const Selection& s);

}  // namespace infrared_form
