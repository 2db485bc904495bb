#pragma once
// How waits of the kernel layer cooperate with the windowing layer. The thread
// that runs the message loop keeps handling messages that other threads send
// to it while it waits for a thread, event or mutex, so a worker inside
// SendMessage and the GUI thread joining that worker never deadlock.

namespace vxk {

struct GuiWaitHooks {
    // True on the thread that runs the message loop.
    bool (*isGuiThread)();
    // Handles every message other threads have sent to this thread so far;
    // returns at once when there is none.
    void (*dispatchSentMessages)();
};

// Installed once by the windowing layer at start-up; null removes them.
void SetGuiWaitHooks(const GuiWaitHooks* hooks);

// Called by the windowing layer after it queued a sent message for the GUI
// thread: a kernel wait in progress there wakes up and dispatches it.
void WakeGuiWait();

}  // namespace vxk
