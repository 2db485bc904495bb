#pragma once
// One run of a started camera: what its recording thread works on, from
// DoStartCamera until the thread has ended. The main window's slot points at
// its run while the camera runs; a stop that times out lets go of the run,
// so the slot can take a camera again while the thread still ends inside a
// camera library call, and the window deletes the run's camera object,
// mutex and events on the GUI thread once the thread is gone.
//
// Threads: `rec` is the thread's slot record. Its schedule record,
// m_bRecording, m_bMotion and m_dwSegmentStart change only under rec.m_hMutex
// (thread and GUI thread alike); its flags are atomics; the connection data
// does not change during a run. hThread and the handles belong to the GUI
// thread.

#include "recorder/Records.h"

#include "platform/platform.h"

#include <atomic>

struct STCameraRun {
    STIPCfgKst rec;
    // Manual-reset: set with m_bStop, so a waiting thread wakes at once.
    HANDLE hStopEvent = nullptr;
    HANDLE hThread = nullptr;
    // Set when the slot let go of the run: the thread then shows nothing
    // and leaves the motion timer, which may belong to a new run.
    std::atomic<bool> bDetached{false};
};
