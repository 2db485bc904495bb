#include "recorder/StatusLook.h"

#include "recorder/RecordLogic.h"
#include "recorder/Records.h"
#include "resources/VXKSTRes/resource.h"

#include <algorithm>

namespace {

struct Look {
    int code;
    UINT text;
    int image;
};

// Column 0's look of every status code that changes it.
constexpr Look kLooks[] = {
    {0, IDS_STATE_STOPPED, 3},
    {1, IDS_STATE_IDLE, 1},
    {2, IDS_STATE_RECORDING, 2},
    {3, IDS_STATE_OFF_SCHEDULE, 5},
    {4, IDS_STATE_DISABLED, 7},
    {5, IDS_STATE_DISK_LOW, 6},
    {7, IDS_STATE_WAIT_MOTION, 5},
    {16, IDS_STATE_NO_CAMERA, 4},
    {17, IDS_STATE_CONNECT_FAILED, 4},
    {18, IDS_STATE_PLAY_FAILED, 4},
    {record_logic::kStatusFolderFailed, IDS_STATE_FOLDER_FAILED, 4},
    {record_logic::kStatusWriteFailed, IDS_STATE_WRITE_FAILED, 4},
    {record_logic::kStatusDiskFull, IDS_STATE_DISK_FULL, 6},
    {record_logic::kStatusNotRecordable, IDS_STATE_NOT_RECORDABLE, 4},
    {REC_STATE_LOGIN_REFUSED, IDS_STATE_LOGIN_REFUSED, 4},
};

}  // namespace

bool StatusLook(int code, UINT& text, int& image)
{
    for (const Look& look : kLooks) {
        if (look.code == code) {
            text = look.text;
            image = look.image;
            return true;
        }
    }
    return false;
}

std::vector<UINT> StatusTexts()
{
    std::vector<UINT> texts = {IDS_STATE_NO_SCHEDULE};
    for (const Look& look : kLooks) {
        if (std::find(texts.begin(), texts.end(), look.text) == texts.end())
            texts.push_back(look.text);
    }
    return texts;
}
