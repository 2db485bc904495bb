#pragma once
// What the files of the free window functions share: which thread runs, the
// message clock, and the wait of the calls that send to the GUI thread.

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/winuser.h"

#include <atomic>

namespace vxw {

inline bool OnGui()
{
    return GuiThread::isGuiThread();
}

// Milliseconds of the steady clock, the time stamp of messages.
DWORD Tick();

// Asks a top-level window for its size limits (WM_GETMINMAXINFO) and makes
// the minimum tracking size the widget's minimum; child windows get the
// defaults unasked. GUI thread.
MINMAXINFO AskMinMaxInfo(HWND hWnd);

// The window that has the mouse captured (set and released on the GUI
// thread, read anywhere).
extern std::atomic<HWND> g_capture;

// A call that sends to the window's thread runs there while the calling
// worker waits; the GUI thread's kernel waits keep handling it. T() when
// the GUI thread is gone.
template <typename F>
auto RunOnGuiThread(F&& f) -> decltype(f())
{
    using R = decltype(f());
    R out{};
    if (GuiThread* gui = GuiThread::instance())
        gui->callFromWorker([&] { out = f(); });
    return out;
}

}  // namespace vxw

#define VX_SEND_TO_GUI(expr)                                                                                           \
    do {                                                                                                               \
        if (!::vxw::OnGui())                                                                                           \
            return ::vxw::RunOnGuiThread([&] { return (expr); });                                                      \
    } while (0)
