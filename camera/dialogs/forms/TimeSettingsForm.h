#pragma once
// What the Name & Time page reads from and writes to the camera, without the
// window: the zone and NTP tables, the overlay codes by model, reading the
// load reply and composing the apply and sync requests. Plain values; any
// thread.

#include "platform/platform.h"

namespace time_form {

struct Zone {
    const char* shown;
    const char* id;
    bool daylight;  // the zone has daylight saving time
};
constexpr int kZoneCount = 31;
const Zone& ZoneAt(int index);
// The last row whose id equals `id` without case; -1 for none.
int FindZone(const CString& id);

constexpr int kNtpServerCount = 4;
const char* NtpServerAt(int index);

// Whether the camera places its overlays by its own codes (time top 1,
// bottom 3; name top 0, bottom 2). Only the HX family reports a model text.
bool UsesOwnOverlayCodes(int chipType, const CString& model);

// "YYYYMMDDhhmmss" as a date and time; false for anything else.
bool ParseCompactTime(const CString& text, COleDateTime& out);

struct Values {
    bool timeKnown = false;
    COleDateTime clock;
    int zone = -1;         // row of the zone table, -1: none
    CString reportedZone;  // the id the camera reported, as it came
    bool daylight = false;
    CString ntpServer;       // the server text, one of the list or not
    int ntpInterval = 1;     // 1 to 24
    bool ntpEnabled = true;  // the page always sends 1
    int timePlace = 0;       // 0 top, 1 bottom
    int dateFormat = 0;      // 0 YYYY-MM-DD, 1 DD/MM/YYYY, 2 MM/DD/YYYY
    bool showTime = false;
    CString name;
    int namePlace = 0;  // 0 top, 1 bottom
    bool showName = false;
};

// The read request of the page.
extern const char* const kLoadPath;
// Fills `v` from a load reply. The daylight check follows the zone table
// afterwards only where the window decides it (see Values::daylight).
void ParseLoad(const CString& reply, bool ownCodes, Values& v);

// The apply request; 0 with `path` set, else the id of the text to show
// (20089 a bad camera name, 20046 no zone to send or no camera time).
int ComposeApply(const Values& v, bool ownCodes, CString& path);

// The zone row for the PC's standard-time bias in minutes, -1 for a bias
// no row stands for.
int ZoneForBias(long bias);
// The sync request for the PC's local time, bias and daylight state; 0 with
// `path` set, else 20046 (a bias of no row: nothing is sent).
int ComposeSync(const SYSTEMTIME& local, long bias, bool daylightInEffect, CString& path);

}  // namespace time_form
