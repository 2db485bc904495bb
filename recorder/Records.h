#pragma once
// The records that carry a camera through the recorder: its schedule row
// (STCameraInfoKst, one row of TBL_CHANNEL_LIST) and its camera row with the
// run-time fields of its slot in the main window (STIPCfgKst).
//
// Threads: records of the settings object's camera list belong to the GUI
// thread. A slot of the main window's table is shared with the slot's
// recording thread and the service threads; its flags, which those threads
// poll, are atomics, so a slot is copied and cleared field by field (Assign,
// Clear) under the main window's slot lock, never with memcpy.

#include "platform/platform.h"

#include <atomic>
#include <cstddef>

constexpr int MAX_CAMERA = 300;

// Copies `src` into the fixed field `dst` of `size` bytes, NUL-terminated,
// cut so that no UTF-8 character is split.
void CopyTextField(char* dst, size_t size, const char* src);
template <size_t N>
void CopyTextField(char (&dst)[N], const char* src)
{
    CopyTextField(dst, N, src);
}

struct STCameraInfoKst {
    int CAMERAID = 0;
    int arrMotion[7][24] = {};  // day 0 Monday .. 6 Sunday, hour 0 .. 23
    int arrContinuous[7][24] = {};
    int REC_ENABLE = 0;
    int REC_DURATION = 0;
    char REC_PATH[260] = {};  // ends with '/' once loaded
    int REC_DAYS = 0;
};

class CWebWatchNB;
class CMainDlg;

struct STIPCfgKst {
    // The persisted row of TBL_CAMERA.
    int CAMERAID = 0;
    char IP[256] = {};
    int TYPE = 0;
    int PORT = 0;
    int RTSP = 0;
    int CHANNEL = 0;
    int STREAM = 0;
    char PIN[10] = {};
    char NAME[256] = {};
    char UID[64] = {};
    char PWD[64] = {};

    // Run-time fields of the camera's slot.
    CWebWatchNB* m_pCamera = nullptr;
    std::atomic<BOOL> m_bStop{FALSE};
    std::atomic<BOOL> m_bRecording{FALSE};
    std::atomic<BOOL> m_bMotion{FALSE};
    std::atomic<BOOL> m_bScheduleChanged{FALSE};
    HANDLE m_hFinishEvent = nullptr;
    STCameraInfoKst m_stCameraInfo;
    CMainDlg* m_pOwner = nullptr;
    std::atomic<BOOL> m_bVideoFailed{FALSE};
    HANDLE m_hMutex = nullptr;
    std::atomic<DWORD> m_dwSegmentStart{0};

    STIPCfgKst() = default;
    STIPCfgKst(const STIPCfgKst& other) { Assign(other); }
    STIPCfgKst& operator=(const STIPCfgKst& other)
    {
        if (this != &other)
            Assign(other);
        return *this;
    }

    // Field by field, the atomics through load and store.
    void Assign(const STIPCfgKst& other);
    // Every field zero: a free slot.
    void Clear();
};

// One queued status message of a camera (see the main window's status
// queue): the camera, its state code and, for the free-space code, a text.
// A status code of ours beside the list's fixed ones: the camera answered
// but refused the user name or password.
constexpr int REC_STATE_LOGIN_REFUSED = 34;

struct STRecordMsg {
    int nCameraID = 0;
    int nState = 0;
    char szText[260] = {};
};

// One file system of the recording folders with its free space. szDrive is
// its mount point; ullDevice tells file systems apart.
struct STHDDFreeSpace {
    char szDrive[260] = {};
    unsigned long long ullDevice = 0;
    unsigned long long ullFreeBytes = 0;
    char szFreeSpace[32] = {};
    BOOL bLow = FALSE;
};
