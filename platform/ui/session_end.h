#pragma once
// The end of the session and of what runs modally, for a program that must
// leave in order when nobody is at the screen.

#include "platform/ui/winuser.h"

// Sent or posted to every top-level window when the session ends (wParam
// TRUE); lParam says why.
#define WM_QUERYENDSESSION  0x0011
#define WM_ENDSESSION       0x0016
#define ENDSESSION_CLOSEAPP 0x00000001
#define ENDSESSION_LOGOFF   0x80000000

namespace vxw {

// SIGTERM, SIGINT and SIGHUP post WM_ENDSESSION (ENDSESSION_CLOSEAPP) to
// every top-level window; a second one while the program ends takes the
// signal's default action at once, and so does one that finds no window. A
// lost display sends WM_ENDSESSION (ENDSESSION_LOGOFF), runs the
// application's ExitInstance and ends the process with its result.
// AfxWinMain calls it; GUI thread.
void WatchSessionEnd();

// Ends every modal loop that runs above hWnd's own: our modal dialogs that
// are not hWnd or one of its owners (each as Cancel would), message boxes
// (as their Cancel, else their last button: No of Yes/No), popup menus (no
// choice) and file dialogs. Each returns as control comes back to it.
// GUI thread.
void EndModalLoopsAbove(HWND hWnd);

}  // namespace vxw
