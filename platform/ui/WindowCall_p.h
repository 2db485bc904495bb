#pragma once
// Calls between the parts of the windowing layer.

#include "platform/ui/winuser.h"

#include <QPoint>

#include <string>

class QWidget;
class QObject;
class QEvent;

namespace vxw {

struct WindowRecord;

// Runs the window procedure of a live window on the GUI thread.
LRESULT CallWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Destroys every window still alive (shutdown).
void DestroyAllWindows();
// Installs the string-table lookup of CString::LoadString.
void InstallStringTableHook();

// The Qt side of a plain window or dialog.
QWidget* CreateWindowWidget(WindowRecord& rec, QWidget* parent);
// Connects a window's widget (and its input widgets) to the event bridge.
void AttachWidget(WindowRecord& rec);
void DetachWidget(WindowRecord& rec);

// While the bridge delivers a Qt event as a message, the default procedure of
// that message lets Qt do its own handling afterwards instead.
// With an event, the default runs Qt's handling of it at once, so a handler
// that calls the default first sees its effect (a click that selected a tab).
struct NativeDefault {
    HWND hwnd;
    UINT msg;
    bool reached;
    QObject* target = nullptr;
    QEvent* event = nullptr;
    bool ran = false;
};
void RunNativeDefault(NativeDefault& nd);
extern thread_local NativeDefault* g_nativeDefault;

// The painting in progress on this thread (BeginPaint uses it).
struct PaintState {
    HWND hwnd;
    QWidget* device;
    RECT rect;
};
extern thread_local PaintState* g_paint;

// Sends WM_MOVE / WM_SIZE when the widget's place differs from the last one
// reported.
void ReportMoveSize(HWND hwnd);
// The widget under the mouse, whose cursor SetCursor changes.
void SetCursorTarget(QWidget* widget);

// The (lower-case) name a registered message id was made from.
bool RegisteredMessageName(UINT id, std::string& name);
// The per-user broadcast socket of this program: opened with the GUI
// thread, closed with it.
void StartBroadcastListener();
void StopBroadcastListener();
// With VX_SHOT_DIR set, SIGUSR1 saves every visible top-level window there
// as a PNG file (WindowShots.cpp).
void StartWindowShots();
void StopWindowShots();

// Hands a keyboard message to its window as the message loop would: the
// window's procedure, the character of a printable key and, for a Qt event
// in delivery, the control's own handling. The dialog manager calls it for
// the keys it leaves to the focused control.
void DispatchKeyMessage(const MSG& m);
// Dialog default procedure (true when it handled the message).
bool DefDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Releases a painting DC (BeginPaint's, an owner-draw DC), showing first what
// was drawn on the window outside painting.
void ReleasePaintDc(HDC hdc);
// After a control with a border (WS_BORDER, a client or static edge) has
// painted itself on widget: sends WM_NCPAINT, during which the control's
// window DC draws on widget clipped to the border band.
void PaintNonClient(HWND hwnd, QWidget* widget);
// GUI thread: keeps the primary screen's size for GetSystemMetrics on
// other threads.
void RememberScreen();

}  // namespace vxw
