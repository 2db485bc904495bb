#pragma once
// VXVideoPlay: one vxplay player instance of a camera object. It creates and
// destroys the instance, feeds it from the camera's vxnet stream or lets it
// open a file or URL, turns the player's callbacks into window messages,
// shows the bitrate as on-screen text, records and takes snapshots.
//
// Threads: owned by its camera object, which starts and stops it under its
// state lock and makes the display, recording and bitrate calls (and
// TakeInstance) under its player lock. The vxnet and vxplay callbacks run on
// those libraries' threads: they take no lock, read and set only atomics and
// post messages, because vxplay_destroy_instance and vxnet_close_stream wait
// for running callbacks. The bitrate thread only tries the lent session lock
// for one vxnet_get_bitrate a second, so joining it never waits on a camera.
// Locks: the lent session lock (the camera object's) around every vxnet call;
// the instance handle is an atomic that calls on other threads read (vxplay
// answers a handle destroyed meanwhile with an error).

#include "outside/vxnet/vxnet.h"
#include "outside/vxplay/vxplay.h"
#include "platform/platform.h"

#include <atomic>
#include <cstdint>

class VXVideoPlay {
public:
    VXVideoPlay();
    virtual ~VXVideoPlay();
    VXVideoPlay(const VXVideoPlay&) = delete;
    VXVideoPlay& operator=(const VXVideoPlay&) = delete;

    // Modes of SetMedia.
    enum { MODE_STREAM = 1 };

    int CreatePlayInstance(int bRecordOnly, int nPreRecLen);
    void DestroyPlayInstance();
    // DestroyPlayInstance in two steps: TakeInstance ends the bitrate display
    // and takes the instance out (calls that return at once), and
    // ReleaseInstance closes the stream and the instance it gave (which
    // waits for the reader and the session lock).
    vxplay_inst TakeInstance();
    void ReleaseInstance(vxplay_inst inst);
    void SetCameraName(const CString& strName);
    // The camera object's session and the lock that guards it.
    void SetSession(VXNET_HANDLE hSession, CRITICAL_SECTION* pSessionLock);
    void SetMedia(const CString& strPath, int nMode);
    void SetNotifyWindow(HWND hWnd);
    void SetRenderWindow(HWND hWnd);
    void SetMute(int bMute);
    // Sound on or off now, on a running instance too.
    void ApplySound(int bSound);

    int StartPlay();
    void StopPlay() { DestroyPlayInstance(); }
    int IsPlaying() const { return m_bPlaying.load(); }
    int HasInstance() const { return m_inst.load() != nullptr; }
    int IsRecording() const;
    int StartRecord(const CString& strPath, int bFlag);
    void StopRecord();
    // The VXPLAY_ERR_ value of the latest start that failed or recording that
    // ended in an error; 0 after a start that succeeded. From any thread.
    int RecordError() const { return m_nRecordError.load(); }
    // Packets that went into recordings since the instance was made (0 without one).
    int64_t RecordedPackets() const;
    // 1 when the player took the snapshot request.
    int Snapshot(const CString& strPath);
    void ShowBitrate(int bShow);
    int SetTransform(int nTransform);
    int SetAspect(float fAspect);
    int DisplayLast();

    // File playback; positions and lengths in microseconds.
    int64_t GetFileLength() const { return m_nFileLength.load(); }
    int64_t GetFilePosition() const;
    int Pause();
    int Resume();
    int SetPosition(int64_t nPosition);
    int PlayFast(int bFast);
    int SetPositionPercent(double fPercent);
    int SetVideoScale(float fScale);
    // From any thread: while on, a file open in flight fails and a new one
    // fails at once (a remote file that hangs), on this instance and on one
    // created later, until called with 0.
    void InterruptFile(int bOn);

    // Whether a snapshot path is still being written by some player.
    static bool IsSnapshotPending(const CString& strPath);

private:
    static void OnStreamTrack(void* user, const vxstream_track* track);
    static void OnStreamData(void* user, int streamIndex, int mediaType, const uint8_t* data, int size, int64_t pts,
                             int64_t dts, int flags);
    static void OnStreamError(void* user, int code);
    static void OnDecode(void* user, int a, int b);
    static void OnEvent(void* user, int code, int64_t value);
    static void OnRecordResult(void* user, int result, const char* path);
    static void OnSnapshotResult(void* user, int result, const char* path);
    static DWORD WINAPI BitrateThread(LPVOID param);
    void BitrateLoop();
    void StopBitrateThread();
    void Post(UINT code, LPARAM lParam = 0) const;
    void PostFirstPicture();

    CString m_strCameraName;
    VXNET_HANDLE m_hSession = nullptr;
    CRITICAL_SECTION* m_pSessionLock = nullptr;
    std::atomic<vxplay_inst> m_inst{nullptr};
    int m_bInstance = 0;
    int m_nMode = MODE_STREAM;
    CString m_strMedia;
    int m_bSound = 1;
    std::atomic<int> m_bPlaying{0};
    std::atomic<int> m_nRecordError{0};
    std::atomic<HWND> m_hNotifyWnd{nullptr};
    HWND m_hRenderWnd = nullptr;
    std::atomic<int> m_bBitrateRun{0};
    HANDLE m_hBitrateThread = nullptr;
    HANDLE m_hBitrateWake = nullptr;  // set to end the bitrate thread's wait
    std::atomic<int64_t> m_nFileLength{0};
    std::atomic<int> m_bPictureTold{0};  // the first picture was reported since the start
    std::atomic<int> m_bFileInterrupt{0};
};
