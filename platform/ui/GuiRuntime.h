#pragma once
// Start-up of the windowing layer and its message loop, for programs that
// have no application object and for tests.

#include "platform/ui/winuser.h"

#include <functional>

// Window calls only the GUI thread may make (creating and destroying
// windows, painting) stop the program when another thread makes them in
// debug and sanitizer builds, as a fault to find at once; release builds
// write an error line to standard error and fail the call.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_GUI_SANITIZED 1
#endif
#endif
#if !defined(NDEBUG) || defined(__SANITIZE_ADDRESS__) || defined(VX_GUI_SANITIZED)
#define VX_GUI_THREAD_ASSERTS 1
#else
#define VX_GUI_THREAD_ASSERTS 0
#endif

namespace vxw {

// Makes the calling thread the GUI thread: creates the Qt application when
// there is none yet and installs the hooks that keep kernel waits handling
// sent messages. Calling it again on the same thread does nothing.
bool InitGuiThread(int argc = 0, char** argv = nullptr);
// Ends the layer: every window is destroyed and every pending SendMessage
// from another thread returns 0.
void ShutdownGuiThread();
bool IsGuiThread();
// Runs until PostQuitMessage; returns its exit code.
int RunMessageLoop();
// Handles whatever is pending and returns.
void PumpMessages();
// Runs the loop until cond() holds or timeoutMs passed; returns cond().
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs);

}  // namespace vxw
