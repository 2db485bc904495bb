#include "recorder/StatusLook.h"

#include "recorder/RecordLogic.h"
#include "recorder/Records.h"
#include "resources/VXKSTRes/resource.h"

#include <algorithm>

bool StatusLook(int code, UINT& text, int& image)
{
    switch (code) {
    case 0:
        text = IDS_STATE_STOPPED;
        image = 3;
        return true;
    case 1:
        text = IDS_STATE_IDLE;
        image = 1;
        return true;
    case 2:
        text = IDS_STATE_RECORDING;
        image = 2;
        return true;
    case 3:
        text = IDS_STATE_OFF_SCHEDULE;
        image = 5;
        return true;
    case 4:
        text = IDS_STATE_DISABLED;
        image = 7;
        return true;
    case 5:
        text = IDS_STATE_DISK_LOW;
        image = 6;
        return true;
    case 7:
        text = IDS_STATE_WAIT_MOTION;
        image = 5;
        return true;
    case 16:
        text = IDS_STATE_NO_CAMERA;
        image = 4;
        return true;
    case 17:
        text = IDS_STATE_CONNECT_FAILED;
        image = 4;
        return true;
    case 18:
        text = IDS_STATE_PLAY_FAILED;
        image = 4;
        return true;
    case record_logic::kStatusFolderFailed:
        text = IDS_STATE_FOLDER_FAILED;
        image = 4;
        return true;
    case record_logic::kStatusWriteFailed:
        text = IDS_STATE_WRITE_FAILED;
        image = 4;
        return true;
    case record_logic::kStatusDiskFull:
        text = IDS_STATE_DISK_FULL;
        image = 6;
        return true;
    case record_logic::kStatusNotRecordable:
        text = IDS_STATE_NOT_RECORDABLE;
        image = 4;
        return true;
    case REC_STATE_LOGIN_REFUSED:
        text = IDS_STATE_LOGIN_REFUSED;
        image = 4;
        return true;
    default:
        return false;
    }
}

std::vector<UINT> StatusTexts()
{
    // The codes are small numbers: every one of them, looked up.
    std::vector<UINT> texts = {IDS_STATE_NO_SCHEDULE};
    for (int code = 0; code < 64; ++code) {
        UINT text = 0;
        int image = 0;
        if (StatusLook(code, text, image) && std::find(texts.begin(), texts.end(), text) == texts.end())
            texts.push_back(text);
    }
    return texts;
}
