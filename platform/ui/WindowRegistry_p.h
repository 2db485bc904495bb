#pragma once
// The window registry: every window handle maps to one record while its
// window lives. Ids grow and are never reused, so a handle kept after its
// window died stays dead: lookups fail, messages to it are dropped.
// Records are created, changed and removed on the GUI thread only; other
// threads may ask whether a handle is alive.

#include "platform/ui/CWnd.h"

#include <QPointer>
#include <QSize>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vxw {

class NativeControl;

struct WindowRecord {
    HWND hwnd = nullptr;
    CWnd* wnd = nullptr;           // the object that owns the handle
    std::unique_ptr<CWnd> temp;    // made by FromHandle when no object owns it
    QPointer<QWidget> widget;
    HWND parent = nullptr;         // child windows: the parent
    HWND owner = nullptr;          // pop-ups: the owner
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string className;
    std::string text;
    std::unique_ptr<NativeControl> native;  // the control behind a control class
    HFONT font = nullptr;
    CFont* userFont = nullptr;     // the object SetFont was given
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    HMENU menu = nullptr;
    bool iconic = false;
    bool zoomed = false;
    bool trackLeave = false;
    bool destroying = false;       // DestroyWindow has begun (no second run)
    bool dead = false;             // calls fail, messages are dropped
    bool redraw = true;
    bool borrowedWidget = false;   // the widget belongs to another control's widget
    QSize reportedSize{-1, -1};
    QPoint reportedPos{INT32_MIN, INT32_MIN};
    LONG_PTR userData = 0;
    struct Scroll {
        int nMin = 0;
        int nMax = 100;
        UINT nPage = 0;
        int nPos = 0;
    };
    Scroll hscroll;                // the window's own scroll bars
    Scroll vscroll;
    std::vector<HWND> children;    // creation order: the tab and z order
};

class WindowRegistry {
public:
    static WindowRegistry& instance();

    HWND add(std::unique_ptr<WindowRecord> record);
    // Unlinks the record and hands it back so the caller ends its life.
    std::unique_ptr<WindowRecord> remove(HWND hwnd);
    WindowRecord* find(HWND hwnd);
    bool alive(HWND hwnd);
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

}  // namespace vxw
