#pragma once
// The settings window's request worker: runs the pages' camera requests
// (and the window's connection test) one at a time, first in first out, on
// a thread of its own, so no camera call waits on the GUI thread.
//
// A job's result sits in a RequestJob that the page and the worker share;
// when it is done the worker posts the job's message to the job's window.
// The message carries nothing to free, so a message for a window that is
// gone is simply dropped, and so is the job with it.
//
// Threads: Post, DropQueued and Stop on the GUI thread; the calls run on the
// worker. Lock: m_mutex guards the queue and the stop flag only; it is never
// held while a call runs or a message is posted.

#include "platform/platform.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct RequestJob {
    // Runs on the worker; returns the call's result and fills the reply.
    std::function<BOOL(CString& reply)> call;
    HWND notify = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;

    // Written by the worker before `done` is set; read after.
    std::atomic<bool> done{false};
    BOOL called = FALSE;  // what the call returned
    CString reply;
    // The call worked and the camera refused nothing: cameras answer a
    // refused command "[Error]" under status 200.
    bool Succeeded() const { return called && reply.Find("[Error]") < 0; }
};

class CRequestWorker {
public:
    CRequestWorker();
    ~CRequestWorker();  // stops and joins
    CRequestWorker(const CRequestWorker&) = delete;
    CRequestWorker& operator=(const CRequestWorker&) = delete;

    // Queues the job; false once the worker stopped.
    bool Post(std::shared_ptr<RequestJob> job);
    // Forgets the jobs not started yet (their messages never come).
    void DropQueued();
    // Drops the queue, lets the running call end and joins the thread.
    void Stop();
    // A job is queued or running.
    bool Busy() const;

private:
    void Run();

    mutable std::mutex m_mutex;  // guards m_queue, m_stop, m_running
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<RequestJob>> m_queue;
    bool m_stop = false;
    bool m_running = false;
    std::thread m_thread;
};
