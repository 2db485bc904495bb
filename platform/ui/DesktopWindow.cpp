#include "platform/ui/winuser.h"

// The desktop is no window of ours: its handle lies below every id the
// window registry hands out, so it compares as the desktop and every call on
// it fails like a call on a dead window.
HWND GetDesktopWindow()
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x100));
}
