#pragma once
// One entry of a playback list (CArray<STRecordFile>), built by the SD-card
// windows and copied by the camera object's file playback.

#include "platform/platform.h"

struct STRecordFile {
    CString strName;       // carried, not read by the camera object
    int nValue1 = 0;       // carried
    int nValue2 = 0;       // carried
    int nValue3 = 0;       // carried
    CString strPath;       // file path or URL that is played
    CString strExtra;      // carried
    int nNotifyValue = 0;  // lParam of the "started" notice
    int nMode = 2;         // 1: the camera session's stream; other: open strPath
};
