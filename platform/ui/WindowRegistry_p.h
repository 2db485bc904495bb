#pragma once
// The window registry: every window handle maps to one record while its
// window lives. Ids grow and are never reused, so a handle kept after its
// window died stays dead: lookups fail, messages to it are dropped.
// Records are created, changed and removed on the GUI thread only. The GUI
// thread changes the fields other threads read (family, id, styles, long
// values and the copy of the widget's state below) under the registry's
// lock; other threads read them under the same lock and never touch the
// widget. The lock is the innermost one: nothing is called while it is held.

#include "platform/ui/CWnd.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vxw {

class NativeControl;

// A window class's own default handling, before the common one; true when
// it handled the message.
using ClassDefProc = bool (*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

struct WindowRecord {
    HWND hwnd = nullptr;
    CWnd* wnd = nullptr;         // the object that owns the handle
    std::unique_ptr<CWnd> temp;  // made by FromHandle when no object owns it
    QPointer<QWidget> widget;
    HWND parent = nullptr;  // child windows: the parent
    HWND owner = nullptr;   // pop-ups: the owner
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string className;
    std::string text;
    std::unique_ptr<NativeControl> native;  // the control behind a control class
    ClassDefProc classProc = nullptr;       // the class's own default handling
    HFONT font = nullptr;
    CFont* userFont = nullptr;  // the object SetFont was given
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    HMENU menu = nullptr;
    // The widget's state as the GUI thread last saw it, for other threads.
    bool hidden = true;     // hidden on its own (not through a parent)
    bool disabled = false;  // disabled on its own
    QRect geometry;         // in the parent's client co-ordinates
    QRect frame;            // window rectangle on the screen
    QPoint screenOrigin;    // client area's top left on the screen
    // Invalidation asked for by other threads, not yet handed to the widget.
    RECT pendingInvalid{};
    bool pendingAll = false;
    bool pendingPosted = false;
    bool iconic = false;
    bool zoomed = false;
    bool trackLeave = false;
    bool destroying = false;  // DestroyWindow has begun (no second run)
    bool dead = false;        // calls fail, messages are dropped
    bool redraw = true;
    bool borrowedWidget = false;  // the widget belongs to another control's widget
    QSize reportedSize{-1, -1};
    QPoint reportedPos{INT32_MIN, INT32_MIN};
    LONG_PTR userData = 0;
    struct Scroll {
        int nMin = 0;
        int nMax = 100;
        UINT nPage = 0;
        int nPos = 0;
    };
    Scroll hscroll;  // the window's own scroll bars
    Scroll vscroll;
    std::vector<HWND> children;  // creation order: the tab and z order
};

class WindowRegistry {
public:
    static WindowRegistry& instance();

    HWND add(std::unique_ptr<WindowRecord> record);
    // Unlinks the record and hands it back so the caller ends its life.
    std::unique_ptr<WindowRecord> remove(HWND hwnd);
    WindowRecord* find(HWND hwnd);
    bool alive(HWND hwnd);
    // For reading records from any thread: the lock, and look-ups that
    // expect it held (the record lives while the lock is held).
    std::unique_lock<std::mutex> lock() { return std::unique_lock(m_mutex); }
    WindowRecord* findLocked(HWND hwnd);
    static HWND fromWidget(const QObject* object);
    std::vector<HWND> topLevels();

private:
    std::mutex m_mutex;  // guards m_records and m_nextId
    std::unordered_map<uintptr_t, std::unique_ptr<WindowRecord>> m_records;
    uintptr_t m_nextId = 0x10000;
};

// The record of a live window, or null.
inline WindowRecord* Rec(HWND hwnd)
{
    return hwnd ? WindowRegistry::instance().find(hwnd) : nullptr;
}

// The record's Qt widget, or null.
QWidget* WidgetOf(HWND hwnd);

// GUI thread: copies the widget's state into the record (and the screen
// places of its descendants), for the questions of other threads.
void MirrorWidgetState(HWND hwnd);
// GUI thread: makes child the last child of parent.
void LinkChild(HWND parent, HWND child);
// GUI thread: a new style, as other threads read it.
inline void SetRecordStyle(WindowRecord& r, DWORD style)
{
    auto lock = WindowRegistry::instance().lock();
    r.style = style;
}

}  // namespace vxw
