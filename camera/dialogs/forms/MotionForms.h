#pragma once
// What the motion detection page reads from and writes to the camera,
// without the window: the areas (enabled ones packed to the front), the
// one sensitivity, the alarm actions, the smart detection that cameras of
// one or two streams have and which of its controls a model shows, and the
// apply request. Plain values; any thread.
//
// The apply request leaves the I/O alarm and the relay action alone: the
// page neither reads nor shows them, so writing them would switch off what
// was set elsewhere.

#include "platform/platform.h"

namespace motion_form {

constexpr int kAreas = 4;

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;  // video pixels
};

struct Values {
    CString model;    // copied from the camera object at each load
    int streams = 3;  // likewise
    int videomode = 0;
    int areaCount = 0;  // 0..4
    Area areas[kAreas];
    int sensitivity = 50;  // 1..100, area 1's
    int snapCount = 1;     // 1..3
    bool email = false;    // "Send email" (mail and mail snapshot)
    bool ftpSnap = false;  // "Upload snapshot to FTP"
    bool ftpRec = false;   // "Upload record to FTP"
    bool sdSnap = false;   // "Snapshot to SD Card"
    bool sdRec = false;    // "Record to SD Card"
    bool smartEnable = false;
    int smartType = 0;  // target combo index: 0 humans, 1 and vehicles, 2 and pets
    bool smartTracking = false;
};

// Smart detection: only cameras of one or two streams have it.
bool HasSmartDetection(int streams);
// How many target types the model's combo offers: 3, 2, or 0 (no combo).
int TargetTypeCount(const CString& model);
// Whether the model shows the tracking display check.
bool HasTracking(const CString& model);

// Which smart detection controls are shown for a camera and the state of
// "Detection".
struct SmartControls {
    bool detection = false;  // the "Human targets:" label and "Detection"
    bool targets = false;    // the target combo
    bool tracking = false;   // the tracking display check
};
SmartControls ShownSmartControls(const CString& model, int streams, bool detectionChecked);

// The record actions are coupled below three streams: no upload of a
// recording that is not made.
bool CouplesRecordActions(int streams);

CString LoadPath(int streams);
// Fills everything the reply tells; model and streams stay as given.
void ParseLoad(const CString& reply, Values& v);
// weekPart: the schedule's days (Week::ApplyPart). The request begins with
// the schedule command.
CString ComposeApply(const Values& v, const CString& weekPart);

}  // namespace motion_form
