#pragma once
// What the PTZ and Audio pages read from and write to the camera, without
// the window. Plain values; any thread.

#include "platform/platform.h"

// The system's own cameras report this vendor word (compared without case).
bool IsOwnVendor(const CString& vendor);

namespace ptz_form {

extern const char* const kLoadPath;

struct Values {
    bool ownVendor = false;
    int speed = 1;  // 0 fast, 1 normal, 2 slow
    bool moveHome = true;
};

void ParseLoad(const CString& reply, Values& v);
CString ComposeApply(const Values& v);

}  // namespace ptz_form

namespace audio_form {

struct Values {
    int streams = 3;         // the camera object's stream count
    int format = 0;          // 0 "G711", 1 "Unknown"
    CString reportedFormat;  // the word "Unknown" stands for, as it came
    bool enabled[3] = {};    // primary, secondary, tertiary stream
    int inputType = 0;       // 0 line in, 1 microphone
    int inputVolume = 50;    // 1 to 100
    int outputVolume = 50;   // 1 to 100
    bool HasTertiary() const { return streams > 2; }
};

CString LoadPath(int streams);
void ParseLoad(const CString& reply, Values& v);
// The word sent as every channel's format: "g711a" for "G711"; for
// "Unknown" the word the camera reported (so an unlisted codec survives an
// apply), "g726" when there was none or it was g711a.
CString FormatWord(const Values& v);
CString ComposeApply(const Values& v);

}  // namespace audio_form
