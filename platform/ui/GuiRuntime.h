#pragma once
// Start-up of the windowing layer and its message loop, for programs that
// have no application object and for tests.

#include "platform/ui/winuser.h"

#include <functional>

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
