#pragma once
// What the Video Setup page reads from and writes to the camera, without the
// window: the model families, the resolution lists each offers, the table
// from resolution triples to the camera's videomode number, frame-rate
// lists by video format, reading the load reply and composing the apply
// request. Plain values; any thread.

#include "platform/platform.h"

#include <string>
#include <vector>

namespace video_form {

struct Family {
    bool fiveM = false;
    bool fourK = false;
    bool fourM = false;
    bool fixed1080 = false;
    bool wideDynamic = false;
    bool threeProfiles = false;  // "H.265" is offered beside the two H.264 profiles
};
Family FamilyOf(const CString& model);
// The sixth character of the "model" reply value, 'e' when it is shorter.
char ModelLetter(const CString& modelReply);

// The videomode of three resolution texts (the tertiary empty for two
// streams); -1 when the table has no such triple.
int VideoMode(const std::string& primary, const std::string& secondary, const std::string& tertiary);

struct Slider {
    int lo = 32, hi = 2048;
};
// One stream's resolution list with its selection.
struct Resolutions {
    std::vector<std::string> items;
    int index = -1;
};
struct Lists {
    Resolutions stream[3];
    Slider bitrate[3];
};
// The lists as a load fills them from videomode, the primary width and
// height and the secondary width.
Lists FillLists(const Family& f, char letter, int videomode, int w1, int h1, int w2);
// A new primary resolution: the secondary list (selection 0) and the
// sliders follow, then the tertiary as on a secondary change. False for a
// text no rule knows (nothing changes).
bool PrimaryChanged(const Family& f, Lists& l);
// A new secondary resolution: its slider and the tertiary list (selection 0).
void SecondaryChanged(Lists& l);

// "01".."25" for PAL, "01".."30" for NTSC.
int FrameRateCount(bool pal);
// The frame-rate index kept on a format change.
int KeptFrameRateIndex(int index, bool pal);

struct Stream {
    int bps = 512;
    int fpsIndex = 24;     // fps - 1
    int brmode = 0;        // 0 CBR, 1 VBR
    int gopIndex = 48;     // gop - 2
    int qualityIndex = 0;  // imagegrade - 1
};

struct Values {
    int streams = 3;
    Family family;
    char letter = 'e';
    int videomode = 31;  // as loaded
    int w1 = 0, h1 = 0, w2 = 0;
    bool pal = true;
    int profileIndex = 0;
    Stream stream[3];
    // The resolution texts as the load selected them.
    std::string loadedResolution[3];
};

CString LoadPath(int streams);
// A reply value that fits no list item keeps the default index.
void ParseLoad(const CString& reply, const CString& model, Values& v);
// The profile sent for a "Video coding" index.
int ProfileToSend(int index);
// The videomode to send for the chosen texts: the table's, or the loaded
// one when the texts are those the load showed; -1 when neither.
int VideoModeToSend(const Values& v, const std::string chosen[3]);
CString ComposeApply(const Values& v, int videomode);

CString kMobileLoadPath();
int MobileSizeIndex(const CString& reply);
CString ComposeMobileApply(int index);

}  // namespace video_form
