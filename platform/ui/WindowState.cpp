// The questions about a window: family, ids, visibility, enabling, places,
// styles and long values. Any thread may ask. The GUI thread reads the
// widget itself; other threads read the record under the registry's lock,
// where the GUI thread keeps a copy of the widget's state, and never wait
// for the GUI thread (a worker holding a lock the GUI thread wants would
// otherwise deadlock).
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowApi_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <string>

using namespace vxw;

namespace {

// Calls f(registry, record) with the lock held; fallback when the window is
// gone.
template <typename R, typename F>
R Read(HWND hWnd, R fallback, F&& f)
{
    if (!hWnd)
        return fallback;
    WindowRegistry& reg = WindowRegistry::instance();
    auto lock = reg.lock();
    WindowRecord* r = reg.findLocked(hWnd);
    if (!r || r->dead)
        return fallback;
    return f(reg, *r);
}

DWORD StyleOf(const WindowRecord& r, bool hidden, bool disabled)
{
    DWORD s = r.style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    if (!hidden)
        s |= WS_VISIBLE;
    if (disabled)
        s |= WS_DISABLED;
    if (r.iconic)
        s |= WS_MINIMIZE;
    if (r.zoomed)
        s |= WS_MAXIMIZE;
    return s;
}

}  // namespace

BOOL IsWindow(HWND hWnd)
{
    return hWnd && WindowRegistry::instance().alive(hWnd) ? TRUE : FALSE;
}

int GetClassName(HWND hWnd, LPSTR buf, int max)
{
    std::string name = Read(hWnd, std::string(), [](WindowRegistry&, WindowRecord& r) {
        return r.className.empty() ? std::string("VxWindow") : r.className;
    });
    if (name.empty()) {
        if (buf && max > 0)
            buf[0] = '\0';
        return 0;
    }
    return CopyOut(name, buf, max);
}

// ---- family ----

HWND GetParent(HWND hWnd)
{
    return Read(hWnd, HWND(nullptr), [](WindowRegistry&, WindowRecord& r) { return r.parent ? r.parent : r.owner; });
}

HWND GetDlgItem(HWND hDlg, int id)
{
    return Read(hDlg, HWND(nullptr), [id](WindowRegistry& reg, WindowRecord& r) -> HWND {
        for (HWND c : r.children) {
            WindowRecord* k = reg.findLocked(c);
            if (k && !k->dead && k->id == id)
                return c;
        }
        return nullptr;
    });
}

int GetDlgCtrlID(HWND hWnd)
{
    return Read(hWnd, 0, [](WindowRegistry&, WindowRecord& r) { return r.id; });
}

HWND GetWindow(HWND hWnd, UINT cmd)
{
    return Read(hWnd, HWND(nullptr), [hWnd, cmd](WindowRegistry& reg, WindowRecord& r) -> HWND {
        if (cmd == GW_CHILD)
            return r.children.empty() ? nullptr : r.children.front();
        if (cmd == GW_OWNER)
            return r.owner;
        WindowRecord* p = reg.findLocked(r.parent);
        if (!p)
            return nullptr;
        auto& sib = p->children;
        auto it = std::find(sib.begin(), sib.end(), hWnd);
        if (it == sib.end())
            return nullptr;
        switch (cmd) {
        case GW_HWNDFIRST:
            return sib.front();
        case GW_HWNDLAST:
            return sib.back();
        case GW_HWNDNEXT:
            return it + 1 == sib.end() ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return it == sib.begin() ? nullptr : *(it - 1);
        default:
            return nullptr;
        }
    });
}

BOOL IsChild(HWND parent, HWND hWnd)
{
    if (!parent)
        return FALSE;
    return Read(hWnd, FALSE, [parent](WindowRegistry& reg, WindowRecord& r) -> BOOL {
        for (WindowRecord* x = &r; x && x->parent; x = reg.findLocked(x->parent)) {
            if (x->parent == parent)
                return TRUE;
        }
        return FALSE;
    });
}

// ---- state ----

BOOL IsWindowVisible(HWND hWnd)
{
    if (OnGui()) {
        if (!WidgetOf(hWnd))
            return FALSE;
        for (HWND h = hWnd; h; h = ::GetParent(h)) {
            WindowRecord* r = Rec(h);
            // A pop-up's owner does not hide it.
            QWidget* x = r ? r->widget.data() : nullptr;
            if (!x || x->isHidden())
                return FALSE;
            if (!r->parent)
                break;
        }
        return TRUE;
    }
    return Read(hWnd, FALSE, [](WindowRegistry& reg, WindowRecord& r) -> BOOL {
        for (WindowRecord* x = &r; x; x = x->parent ? reg.findLocked(x->parent) : nullptr) {
            if (x->dead || x->hidden)
                return FALSE;
        }
        return TRUE;
    });
}

BOOL IsWindowEnabled(HWND hWnd)
{
    if (OnGui()) {
        QWidget* w = WidgetOf(hWnd);
        return w && !w->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
    }
    return Read(hWnd, FALSE, [](WindowRegistry&, WindowRecord& r) { return r.disabled ? FALSE : TRUE; });
}

BOOL IsIconic(HWND hWnd)
{
    return Read(hWnd, FALSE, [](WindowRegistry&, WindowRecord& r) { return r.iconic ? TRUE : FALSE; });
}

BOOL IsZoomed(HWND hWnd)
{
    return Read(hWnd, FALSE, [](WindowRegistry&, WindowRecord& r) { return r.zoomed ? TRUE : FALSE; });
}

// ---- places ----

BOOL GetClientRect(HWND hWnd, LPRECT rect)
{
    if (!rect)
        return FALSE;
    if (OnGui()) {
        QWidget* w = WidgetOf(hWnd);
        if (!w)
            return FALSE;
        *rect = RECT{0, 0, w->width(), w->height()};
        return TRUE;
    }
    return Read(hWnd, FALSE, [rect](WindowRegistry&, WindowRecord& r) {
        *rect = RECT{0, 0, r.geometry.width(), r.geometry.height()};
        return TRUE;
    });
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect)
{
    if (!rect)
        return FALSE;
    QRect g;
    if (OnGui()) {
        QWidget* w = WidgetOf(hWnd);
        if (!w)
            return FALSE;
        g = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    } else if (!Read(hWnd, false, [&g](WindowRegistry&, WindowRecord& r) {
                   g = r.frame;
                   return true;
               })) {
        return FALSE;
    }
    *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return TRUE;
}

namespace {

bool ClientOrigin(HWND hWnd, QPoint& origin)
{
    if (OnGui()) {
        QWidget* w = WidgetOf(hWnd);
        if (!w)
            return false;
        origin = w->mapToGlobal(QPoint(0, 0));
        return true;
    }
    return Read(hWnd, false, [&origin](WindowRegistry&, WindowRecord& r) {
        origin = r.screenOrigin;
        return true;
    });
}

}  // namespace

BOOL ClientToScreen(HWND hWnd, LPPOINT pt)
{
    QPoint o;
    if (!pt || !ClientOrigin(hWnd, o))
        return FALSE;
    pt->x += o.x();
    pt->y += o.y();
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT pt)
{
    QPoint o;
    if (!pt || !ClientOrigin(hWnd, o))
        return FALSE;
    pt->x -= o.x();
    pt->y -= o.y();
    return TRUE;
}

HWND WindowFromPoint(POINT pt)
{
    if (OnGui()) {
        QWidget* w = QApplication::widgetAt(pt.x, pt.y);
        for (QObject* o = w; o; o = o->parent()) {
            if (HWND h = WindowRegistry::fromWidget(o)) {
                if (::IsWindow(h))
                    return h;
            }
        }
        return nullptr;
    }
    // Elsewhere from the copies: the deepest shown window under the point,
    // the later of two siblings being the one on top.
    WindowRegistry& reg = WindowRegistry::instance();
    std::vector<HWND> tops = reg.topLevels();
    auto lock = reg.lock();
    auto under = [&](WindowRecord* r) { return r && !r->dead && !r->hidden && r->frame.contains(QPoint(pt.x, pt.y)); };
    for (HWND top : tops) {
        WindowRecord* r = reg.findLocked(top);
        if (!under(r))
            continue;
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (auto it = r->children.rbegin(); it != r->children.rend(); ++it) {
                WindowRecord* k = reg.findLocked(*it);
                if (under(k)) {
                    r = k;
                    deeper = true;
                    break;
                }
            }
        }
        return r->hwnd;
    }
    return nullptr;
}

// ---- styles and long values ----

LONG_PTR GetWindowLongPtr(HWND hWnd, int index)
{
    bool gui = OnGui();
    QWidget* w = gui ? WidgetOf(hWnd) : nullptr;
    bool hidden = w && w->isHidden();
    bool disabled = w && w->testAttribute(Qt::WA_ForceDisabled);
    return Read(hWnd, LONG_PTR(0), [&](WindowRegistry&, WindowRecord& r) -> LONG_PTR {
        switch (index) {
        case GWL_STYLE:
            return static_cast<LONG>(gui ? StyleOf(r, !w || hidden, disabled) : StyleOf(r, r.hidden, r.disabled));
        case GWL_EXSTYLE:
            return static_cast<LONG>(r.exStyle);
        case GWL_ID:
            return r.id;
        case GWLP_USERDATA:
            return r.userData;
        default:
            return 0;
        }
    });
}

LONG GetWindowLong(HWND hWnd, int index)
{
    return static_cast<LONG>(GetWindowLongPtr(hWnd, index));
}

LONG_PTR SetWindowLongPtr(HWND hWnd, int index, LONG_PTR value)
{
    // A new style changes the widget: the window's own thread does that.
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        VX_SEND_TO_GUI(::SetWindowLongPtr(hWnd, index, value));
        WindowRecord* r = Rec(hWnd);
        if (!r || r->dead)
            return 0;
        LONG_PTR old = GetWindowLongPtr(hWnd, index);
        if (index == GWL_EXSTYLE) {
            auto lock = WindowRegistry::instance().lock();
            r->exStyle = static_cast<DWORD>(value);
            return old;
        }
        DWORD prev = r->style;
        {
            auto lock = WindowRegistry::instance().lock();
            r->style = static_cast<DWORD>(value);
        }
        if (r->widget) {
            if ((value & WS_VISIBLE) != (old & WS_VISIBLE))
                r->widget->setVisible((value & WS_VISIBLE) != 0);
            if ((value & WS_DISABLED) != (old & WS_DISABLED))
                r->widget->setEnabled(!(value & WS_DISABLED));
        }
        if (r->native)
            r->native->styleChanged(prev);
        MirrorWidgetState(hWnd);
        return old;
    }
    return Read(hWnd, LONG_PTR(0), [index, value](WindowRegistry&, WindowRecord& r) -> LONG_PTR {
        LONG_PTR old = 0;
        switch (index) {
        case GWL_ID:
            old = r.id;
            r.id = static_cast<int>(value);
            break;
        case GWLP_USERDATA:
            old = r.userData;
            r.userData = value;
            break;
        default:
            break;
        }
        return old;
    });
}

LONG SetWindowLong(HWND hWnd, int index, LONG value)
{
    return static_cast<LONG>(SetWindowLongPtr(hWnd, index, value));
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD processId)
{
    bool alive = ::IsWindow(hWnd);
    if (processId)
        *processId = alive ? static_cast<DWORD>(getpid()) : 0;
    return alive ? 1 : 0;
}

// ---- focus, activation, capture ----

HWND GetFocus()
{
    // The focus belongs to the GUI thread's input; another thread has none.
    if (!OnGui())
        return nullptr;
    QWidget* f = QApplication::focusWidget();
    if (!f) {
        if (QWidget* a = QApplication::activeWindow())
            f = a->focusWidget();
    }
    if (!f) {
        // Without a window manager (offscreen) no window may be active yet:
        // the focus is then the one a visible window keeps for itself.
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->focusWidget()) {
                f = top->focusWidget();
                break;
            }
        }
    }
    for (QObject* o = f; o; o = o->parent()) {
        if (HWND h = WindowRegistry::fromWidget(o)) {
            if (::IsWindow(h))
                return h;
        }
    }
    return nullptr;
}

HWND GetActiveWindow()
{
    if (!OnGui())
        return nullptr;
    QWidget* a = QApplication::activeWindow();
    return a ? WindowRegistry::fromWidget(a) : nullptr;
}

HWND GetForegroundWindow()
{
    return GetActiveWindow();
}

HWND GetCapture()
{
    HWND h = g_capture.load();
    return ::IsWindow(h) ? h : nullptr;
}
