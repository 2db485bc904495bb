#pragma once
// VXCameraThread: the reconnect worker of a live camera object. Every five
// seconds it asks the object whether the connection stands and, when it does
// not, runs the whole connect sequence again, reporting each step to the
// camera window.
//
// Threads: created, started, stopped and deleted by its camera object on the
// host's thread; the worker thread calls the object's operations, which take
// the object's state lock. Stop never holds that lock: it clears the run
// flag, wakes the worker's wait and joins it (the object interrupts its
// session's calls in flight first, so the join is short).

#include "platform/platform.h"

#include <atomic>

class CWebWatchBase;

class VXCameraThread {
public:
    VXCameraThread();
    virtual ~VXCameraThread();
    VXCameraThread(const VXCameraThread&) = delete;
    VXCameraThread& operator=(const VXCameraThread&) = delete;

    // Results of StartCamera.
    enum { START_OK = 0, START_CONNECT_FAILED = 255, START_STREAM_FAILED = 254 };

    int Start(CWebWatchBase* pOwner);
    void Stop();
    void SetRunFlag(int bRun);
    int GetRunFlag() const { return m_bRun.load(); }
    // One connect sequence; see the .cpp.
    int StartCamera(int bCleanup, int bStopOnly);

private:
    static DWORD WINAPI ThreadProc(LPVOID param);
    void DetectConnection();
    const char* Name() const;
    void PostStep(UINT nCode) const;

    CWebWatchBase* m_pOwner = nullptr;
    HANDLE m_hThread = nullptr;
    std::atomic<int> m_bRun{0};
    HANDLE m_hWake = nullptr;  // set when the run flag clears
};
