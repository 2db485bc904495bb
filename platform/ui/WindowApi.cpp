// The free window functions: messages, state, geometry and text of windows.
#include "platform/ui/commctrl.h"

#include "platform/ui/CWinApp.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

using namespace vxw;

namespace {

bool OnGui()
{
    return GuiThread::isGuiThread();
}

DWORD Tick()
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

HWND g_capture = nullptr;

// Window calls from a worker run on the GUI thread while the worker waits,
// as the classic calls do through messages; a value of T() when the GUI
// thread is gone.
template <typename F>
auto OnGuiThread(F&& f) -> decltype(f())
{
    using R = decltype(f());
    R out{};
    if (GuiThread* gui = GuiThread::instance())
        gui->callFromWorker([&] { out = f(); });
    return out;
}

#define VX_GUI_CALL(expr)                                \
    do {                                                 \
        if (!OnGui())                                    \
            return OnGuiThread([&] { return (expr); });  \
    } while (0)

}  // namespace

// ---- messages ----

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    GuiThread* gui = GuiThread::instance();
    if (!gui)
        return FALSE;
    if (hWnd && !WindowRegistry::instance().alive(hWnd))
        return FALSE;
    QPoint p = QCursor::pos();
    gui->post(MSG{hWnd, msg, wParam, lParam, Tick(), {p.x(), p.y()}});
    return TRUE;
}

LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    GuiThread* gui = GuiThread::instance();
    if (!gui || !WindowRegistry::instance().alive(hWnd))
        return 0;
    if (OnGui())
        return CallWindow(hWnd, msg, wParam, lParam);
    return gui->sendFromWorker(MSG{hWnd, msg, wParam, lParam, Tick(), {}});
}

BOOL SendNotifyMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (OnGui()) {
        if (!WindowRegistry::instance().alive(hWnd))
            return FALSE;
        CallWindow(hWnd, msg, wParam, lParam);
        return TRUE;
    }
    return PostMessage(hWnd, msg, wParam, lParam);
}

namespace {

struct RegisteredMessages {
    std::mutex mutex;  // guards names, ids and next
    std::unordered_map<std::string, UINT> names;
    std::unordered_map<UINT, std::string> ids;
    UINT next = 0xC000;
};

RegisteredMessages& Registered()
{
    static RegisteredMessages r;
    return r;
}

}  // namespace

UINT RegisterWindowMessage(LPCSTR name)
{
    if (!name || !*name)
        return 0;
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    RegisteredMessages& r = Registered();
    std::lock_guard lock(r.mutex);
    auto it = r.names.find(key);
    if (it != r.names.end())
        return it->second;
    if (r.next > 0xFFFF)
        return 0;
    r.names.emplace(key, r.next);
    r.ids.emplace(r.next, key);
    return r.next++;
}

namespace vxw {

bool RegisteredMessageName(UINT id, std::string& name)
{
    RegisteredMessages& r = Registered();
    std::lock_guard lock(r.mutex);
    auto it = r.ids.find(id);
    if (it == r.ids.end())
        return false;
    name = it->second;
    return true;
}

}  // namespace vxw

int GetClassName(HWND hWnd, LPSTR buf, int max)
{
    VX_GUI_CALL(::GetClassName(hWnd, buf, max));
    WindowRecord* r = Rec(hWnd);
    if (!r || !OnGui()) {
        if (buf && max > 0)
            buf[0] = '\0';
        return 0;
    }
    return CopyOut(r->className.empty() ? std::string("VxWindow") : r->className, buf, max);
}

void PostQuitMessage(int exitCode)
{
    if (GuiThread* gui = GuiThread::instance())
        gui->post(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, Tick(), {}});
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    GuiThread* gui = GuiThread::instance();
    return gui ? gui->setTimer(hWnd, id, elapseMs, proc) : 0;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id)
{
    GuiThread* gui = GuiThread::instance();
    return gui && gui->killTimer(hWnd, id) ? TRUE : FALSE;
}

BOOL IsWindow(HWND hWnd)
{
    return hWnd && WindowRegistry::instance().alive(hWnd) ? TRUE : FALSE;
}

LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->CWnd::DefWindowProc(msg, wParam, lParam) : 0;
}

// ---- state ----

BOOL IsWindowVisible(HWND hWnd)
{
    VX_GUI_CALL(::IsWindowVisible(hWnd));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !OnGui())
        return FALSE;
    for (HWND h = hWnd; h; h = ::GetParent(h)) {
        QWidget* x = WidgetOf(h);
        if (!x || x->isHidden())
            return FALSE;
    }
    return TRUE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    VX_GUI_CALL(::IsWindowEnabled(hWnd));
    QWidget* w = WidgetOf(hWnd);
    return w && OnGui() && !w->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL enable)
{
    VX_GUI_CALL(::EnableWindow(hWnd, enable));
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !OnGui() || !r->widget)
        return FALSE;
    BOOL wasDisabled = r->widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (!enable && r->widget->isAncestorOf(QApplication::focusWidget()))
        QApplication::focusWidget()->clearFocus();
    r->widget->setEnabled(enable != FALSE);
    CallWindow(hWnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL ShowWindow(HWND hWnd, int cmd)
{
    VX_GUI_CALL(::ShowWindow(hWnd, cmd));
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !OnGui() || !r->widget)
        return FALSE;
    QWidget* w = r->widget;
    BOOL wasVisible = w->isHidden() ? FALSE : TRUE;
    bool show = cmd != SW_HIDE;
    // Each call tells the window, also when nothing changes: a page that is
    // hidden while already hidden still learns it was "shown or hidden".
    CallWindow(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!::IsWindow(hWnd))
        return wasVisible;
    switch (cmd) {
    case SW_HIDE:
        w->hide();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        r->iconic = true;
        r->zoomed = false;
        if (!r->parent)
            w->setWindowState((w->windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        w->show();
        CallWindow(hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SW_SHOWMAXIMIZED:
        r->iconic = false;
        r->zoomed = true;
        if (!r->parent)
            w->setWindowState(Qt::WindowMaximized);
        w->show();
        CallWindow(hWnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(w->width(), w->height()));
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: {
        bool changed = r->iconic || r->zoomed;
        r->iconic = false;
        r->zoomed = false;
        if (!r->parent)
            w->setWindowState(Qt::WindowNoState);
        w->show();
        if (changed)
            CallWindow(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->width(), w->height()));
        break;
    }
    default:
        w->show();
        break;
    }
    if (show && r->parent)
        w->raise();
    if (show && !r->parent && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && !r->iconic)
        w->activateWindow();
    return wasVisible;
}

BOOL DestroyWindow(HWND hWnd)
{
    WindowRecord* r = Rec(hWnd);
    if (!r || r->destroying || !OnGui())
        return FALSE;
    r->destroying = true;
    if (r->widget && !r->parent)
        r->widget->hide();
    // Owned pop-ups go first, as their owner's life bounds theirs.
    for (HWND top : WindowRegistry::instance().topLevels()) {
        WindowRecord* t = Rec(top);
        if (t && t->owner == hWnd)
            ::DestroyWindow(top);
    }
    if (g_capture == hWnd)
        ::ReleaseCapture();
    CallWindow(hWnd, WM_DESTROY, 0, 0);
    std::vector<HWND> kids = r->children;
    for (HWND c : kids)
        ::DestroyWindow(c);
    if (GuiThread* gui = GuiThread::instance())
        gui->killTimersOf(hWnd);
    CallWindow(hWnd, WM_NCDESTROY, 0, 0);
    r->dead = true;
    if (r->parent) {
        if (WindowRecord* p = Rec(r->parent))
            std::erase(p->children, hWnd);
    }
    DetachWidget(*r);
    CWnd* wnd = r->wnd;
    bool temp = r->temp && wnd == r->temp.get();
    if (wnd)
        wnd->m_hWnd = nullptr;
    r->wnd = nullptr;
    std::unique_ptr<WindowRecord> gone = WindowRegistry::instance().remove(hWnd);
    if (wnd && !temp)
        wnd->PostNcDestroy();
    return TRUE;
}

// ---- geometry ----

namespace vxw {

void ReportMoveSize(HWND hwnd)
{
    WindowRecord* r = Rec(hwnd);
    if (!r || !r->widget || r->dead)
        return;
    HWND h = r->hwnd;
    QWidget* w = r->widget;
    if (w->pos() != r->reportedPos) {
        r->reportedPos = w->pos();
        CallWindow(h, WM_MOVE, 0, MAKELPARAM(w->x(), w->y()));
    }
    r = Rec(h);
    if (r && r->widget && r->widget->size() != r->reportedSize) {
        r->reportedSize = r->widget->size();
        CallWindow(h, WM_SIZE, r->iconic ? SIZE_MINIMIZED : (r->zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED),
                   MAKELPARAM(r->widget->width(), r->widget->height()));
    }
}

}  // namespace vxw

BOOL MoveWindow(HWND hWnd, int x, int y, int cx, int cy, BOOL repaint)
{
    return SetWindowPos(hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND hWnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    VX_GUI_CALL(::SetWindowPos(hWnd, after, x, y, cx, cy, flags));
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !OnGui() || !r->widget)
        return FALSE;
    QWidget* w = r->widget;
    QRect g = w->geometry();
    if (!(flags & SWP_NOMOVE))
        g.moveTo(x, y);
    if (!(flags & SWP_NOSIZE)) {
        int h = std::max(0, cy);
        if (r->native && r->native->fixedHeight() >= 0)
            h = r->native->fixedHeight();
        g.setSize(QSize(std::max(0, cx), h));
    }
    if (!r->parent && !(flags & SWP_NOMOVE)) {
        w->move(g.topLeft());
        if (!(flags & SWP_NOSIZE))
            w->resize(g.size());
    } else if (g != w->geometry()) {
        w->setGeometry(g);
    }
    if (!(flags & SWP_NOZORDER)) {
        if (after == HWND_BOTTOM)
            w->lower();
        else if (after == HWND_TOP || after == HWND_TOPMOST)
            w->raise();
        else if (QWidget* a = WidgetOf(after))
            w->stackUnder(a);
    }
    ReportMoveSize(hWnd);
    r = Rec(hWnd);
    if (!r || !r->widget)
        return TRUE;
    if (flags & SWP_SHOWWINDOW) {
        CallWindow(hWnd, WM_SHOWWINDOW, TRUE, 0);
        if (::IsWindow(hWnd))
            r->widget->show();
    } else if (flags & SWP_HIDEWINDOW) {
        CallWindow(hWnd, WM_SHOWWINDOW, FALSE, 0);
        if (::IsWindow(hWnd))
            r->widget->hide();
    }
    if (::IsWindow(hWnd) && !(flags & SWP_NOREDRAW))
        r->widget->update();
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT rect)
{
    VX_GUI_CALL(::GetClientRect(hWnd, rect));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !rect)
        return FALSE;
    *rect = RECT{0, 0, w->width(), w->height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect)
{
    VX_GUI_CALL(::GetWindowRect(hWnd, rect));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !rect)
        return FALSE;
    QRect g;
    if (w->isWindow()) {
        g = w->frameGeometry();
    } else {
        QPoint tl = w->mapToGlobal(QPoint(0, 0));
        g = QRect(tl, w->size());
    }
    *rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT pt)
{
    VX_GUI_CALL(::ClientToScreen(hWnd, pt));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !pt)
        return FALSE;
    QPoint p = w->mapToGlobal(QPoint(pt->x, pt->y));
    pt->x = p.x();
    pt->y = p.y();
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT pt)
{
    VX_GUI_CALL(::ScreenToClient(hWnd, pt));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !pt)
        return FALSE;
    QPoint p = w->mapFromGlobal(QPoint(pt->x, pt->y));
    pt->x = p.x();
    pt->y = p.y();
    return TRUE;
}

// ---- text ----

BOOL SetWindowText(HWND hWnd, LPCSTR text)
{
    if (!::IsWindow(hWnd))
        return FALSE;
    return static_cast<BOOL>(::SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int GetWindowText(HWND hWnd, LPSTR buf, int max)
{
    if (!buf || max <= 0)
        return 0;
    buf[0] = '\0';
    return static_cast<int>(::SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buf)));
}

int GetWindowTextLength(HWND hWnd)
{
    return static_cast<int>(::SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

// ---- family ----

HWND GetParent(HWND hWnd)
{
    VX_GUI_CALL(::GetParent(hWnd));
    WindowRecord* r = Rec(hWnd);
    if (!r)
        return nullptr;
    return r->parent ? r->parent : r->owner;
}

HWND GetDlgItem(HWND hDlg, int id)
{
    VX_GUI_CALL(::GetDlgItem(hDlg, id));
    WindowRecord* r = Rec(hDlg);
    if (!r)
        return nullptr;
    for (HWND c : r->children) {
        WindowRecord* k = Rec(c);
        if (k && !k->dead && k->id == id)
            return c;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    VX_GUI_CALL(::GetDlgCtrlID(hWnd));
    WindowRecord* r = Rec(hWnd);
    return r ? r->id : 0;
}

HWND GetWindow(HWND hWnd, UINT cmd)
{
    VX_GUI_CALL(::GetWindow(hWnd, cmd));
    WindowRecord* r = Rec(hWnd);
    if (!r)
        return nullptr;
    if (cmd == GW_CHILD)
        return r->children.empty() ? nullptr : r->children.front();
    if (cmd == GW_OWNER)
        return r->owner;
    WindowRecord* p = Rec(r->parent);
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
}

BOOL IsChild(HWND parent, HWND hWnd)
{
    for (WindowRecord* r = Rec(hWnd); r && r->parent; r = Rec(r->parent)) {
        if (r->parent == parent)
            return TRUE;
    }
    return FALSE;
}

HWND SetFocus(HWND hWnd)
{
    HWND old = ::GetFocus();
    if (!OnGui())
        return nullptr;
    if (!hWnd) {
        if (QWidget* f = QApplication::focusWidget())
            f->clearFocus();
        return old;
    }
    QWidget* w = WidgetOf(hWnd);
    if (!w)
        return nullptr;
    if (QWidget* proxy = w->focusProxy())
        w = proxy;
    if (w->window() && !w->window()->isActiveWindow() && w->window()->isVisible())
        w->window()->activateWindow();
    if (w->focusPolicy() == Qt::NoFocus)
        w->setFocusPolicy(Qt::ClickFocus);
    w->setFocus(Qt::OtherFocusReason);
    return old;
}

HWND GetFocus()
{
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

HWND SetCapture(HWND hWnd)
{
    HWND old = g_capture;
    QWidget* w = WidgetOf(hWnd);
    if (!w || !OnGui())
        return old;
    g_capture = hWnd;
    w->grabMouse();
    return old;
}

BOOL ReleaseCapture()
{
    HWND old = g_capture;
    g_capture = nullptr;
    if (QWidget* w = WidgetOf(old))
        w->releaseMouse();
    if (old && ::IsWindow(old))
        CallWindow(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return ::IsWindow(g_capture) ? g_capture : nullptr;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    VX_GUI_CALL(::SetForegroundWindow(hWnd));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !OnGui())
        return FALSE;
    w->window()->raise();
    w->window()->activateWindow();
    return TRUE;
}

HWND GetActiveWindow()
{
    QWidget* a = QApplication::activeWindow();
    return a ? WindowRegistry::fromWidget(a) : nullptr;
}

HWND GetForegroundWindow()
{
    return GetActiveWindow();
}

BOOL IsIconic(HWND hWnd)
{
    VX_GUI_CALL(::IsIconic(hWnd));
    WindowRecord* r = Rec(hWnd);
    return r && r->iconic ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hWnd)
{
    WindowRecord* r = Rec(hWnd);
    return r && r->zoomed ? TRUE : FALSE;
}

LONG GetWindowLong(HWND hWnd, int index)
{
    VX_GUI_CALL(::GetWindowLong(hWnd, index));
    WindowRecord* r = Rec(hWnd);
    if (!r)
        return 0;
    switch (index) {
    case GWL_STYLE: {
        DWORD s = r->style & ~(WS_VISIBLE | WS_DISABLED);
        if (r->widget && !r->widget->isHidden())
            s |= WS_VISIBLE;
        if (r->widget && r->widget->testAttribute(Qt::WA_ForceDisabled))
            s |= WS_DISABLED;
        if (r->iconic)
            s |= WS_MINIMIZE;
        return static_cast<LONG>(s);
    }
    case GWL_EXSTYLE:
        return static_cast<LONG>(r->exStyle);
    case GWL_ID:
        return r->id;
    case GWLP_USERDATA:
        return static_cast<LONG>(r->userData);
    default:
        return 0;
    }
}

LONG SetWindowLong(HWND hWnd, int index, LONG value)
{
    VX_GUI_CALL(::SetWindowLong(hWnd, index, value));
    WindowRecord* r = Rec(hWnd);
    if (!r)
        return 0;
    LONG old = GetWindowLong(hWnd, index);
    switch (index) {
    case GWL_STYLE: {
        DWORD prev = r->style;
        r->style = static_cast<DWORD>(value);
        if (r->widget) {
            if ((value & WS_VISIBLE) != (static_cast<DWORD>(old) & WS_VISIBLE))
                r->widget->setVisible((value & WS_VISIBLE) != 0);
            if ((value & WS_DISABLED) != (static_cast<DWORD>(old) & WS_DISABLED))
                r->widget->setEnabled(!(value & WS_DISABLED));
        }
        if (r->native)
            r->native->styleChanged(prev);
        break;
    }
    case GWL_EXSTYLE:
        r->exStyle = static_cast<DWORD>(value);
        break;
    case GWL_ID:
        r->id = value;
        break;
    case GWLP_USERDATA:
        r->userData = value;
        break;
    default:
        break;
    }
    return old;
}

// ---- painting ----

BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL)
{
    VX_GUI_CALL(::InvalidateRect(hWnd, rect, FALSE));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !OnGui())
        return FALSE;
    WindowRecord* r = Rec(hWnd);
    QWidget* target = w;
    if (r && r->native) {
        auto inputs = r->native->inputWidgets();
        if (!inputs.empty()) {
            for (QWidget* i : inputs)
                i->update();
        }
    }
    if (rect)
        target->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
    else
        target->update();
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd)
{
    VX_GUI_CALL(::UpdateWindow(hWnd));
    QWidget* w = WidgetOf(hWnd);
    if (!w || !OnGui())
        return FALSE;
    if (w->isVisible())
        w->repaint();
    return TRUE;
}

BOOL RedrawWindow(HWND hWnd, LPCRECT rect, HRGN, UINT flags)
{
    VX_GUI_CALL(::RedrawWindow(hWnd, rect, nullptr, flags));
    if (!hWnd)
        return FALSE;
    if (flags & (RDW_INVALIDATE | RDW_ERASE | RDW_FRAME))
        ::InvalidateRect(hWnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_ALLCHILDREN) {
        if (WindowRecord* r = Rec(hWnd)) {
            std::vector<HWND> kids = r->children;
            for (HWND c : kids)
                ::RedrawWindow(c, nullptr, nullptr, flags & ~RDW_UPDATENOW);
        }
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        ::UpdateWindow(hWnd);
    return TRUE;
}

// ---- mouse, keyboard, screen ----

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT tme)
{
    if (!tme)
        return FALSE;
    WindowRecord* r = Rec(tme->hwndTrack);
    if (!r || !r->widget)
        return FALSE;
    if (tme->dwFlags & TME_CANCEL) {
        if (tme->dwFlags & TME_LEAVE)
            r->trackLeave = false;
        return TRUE;
    }
    if (tme->dwFlags & TME_LEAVE) {
        // A window the mouse is not over learns so at once.
        QPoint p = r->widget->mapFromGlobal(QCursor::pos());
        if (!r->widget->rect().contains(p)) {
            r->trackLeave = false;
            ::PostMessage(tme->hwndTrack, WM_MOUSELEAVE, 0, 0);
        } else {
            r->trackLeave = true;
        }
    }
    return TRUE;
}

BOOL GetCursorPos(LPPOINT pt)
{
    if (!pt)
        return FALSE;
    QPoint p = QCursor::pos();
    pt->x = p.x();
    pt->y = p.y();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    QCursor::setPos(x, y);
    return TRUE;
}

DWORD GetMessagePos()
{
    GuiThread* gui = GuiThread::instance();
    if (!gui)
        return 0;
    const MSG& m = gui->lastMessage();
    return static_cast<DWORD>(MAKELONG(m.pt.x, m.pt.y));
}

LONG GetMessageTime()
{
    GuiThread* gui = GuiThread::instance();
    return gui ? static_cast<LONG>(gui->lastMessage().time) : 0;
}

HWND WindowFromPoint(POINT pt)
{
    QWidget* w = QApplication::widgetAt(pt.x, pt.y);
    for (QObject* o = w; o; o = o->parent()) {
        if (HWND h = WindowRegistry::fromWidget(o)) {
            if (::IsWindow(h))
                return h;
        }
    }
    return nullptr;
}

int GetSystemMetrics(int index)
{
    QScreen* s = QGuiApplication::primaryScreen();
    QSize screen = s ? s->size() : QSize(1024, 768);
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
        return screen.width();
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
        return screen.height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 17;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 20;
    default:
        return 0;
    }
}

SHORT GetKeyState(int vk)
{
    Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    bool down = false;
    switch (vk) {
    case VK_SHIFT:
        down = mods & Qt::ShiftModifier;
        break;
    case VK_CONTROL:
        down = mods & Qt::ControlModifier;
        break;
    case VK_MENU:
        down = mods & Qt::AltModifier;
        break;
    case VK_LBUTTON:
        down = buttons & Qt::LeftButton;
        break;
    case VK_RBUTTON:
        down = buttons & Qt::RightButton;
        break;
    default:
        break;
    }
    return down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetAsyncKeyState(int vk)
{
    return GetKeyState(vk);
}

BOOL AttachThreadInput(DWORD, DWORD, BOOL)
{
    // One GUI thread: there is no other input queue to share.
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD processId)
{
    if (processId)
        *processId = ::IsWindow(hWnd) ? static_cast<DWORD>(QCoreApplication::applicationPid()) : 0;
    return ::IsWindow(hWnd) ? 1 : 0;
}

// ---- dialog items ----

LRESULT SendDlgItemMessage(HWND hDlg, int id, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND h = ::GetDlgItem(hDlg, id);
    return h ? ::SendMessage(h, msg, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND hDlg, int id, UINT check)
{
    HWND h = ::GetDlgItem(hDlg, id);
    if (!h)
        return FALSE;
    ::SendMessage(h, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int id)
{
    return static_cast<UINT>(SendDlgItemMessage(hDlg, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int first, int last, int check)
{
    for (int id = first; id <= last; ++id) {
        if (HWND h = ::GetDlgItem(hDlg, id))
            ::SendMessage(h, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL SetDlgItemText(HWND hDlg, int id, LPCSTR text)
{
    HWND h = ::GetDlgItem(hDlg, id);
    return h ? ::SetWindowText(h, text) : FALSE;
}

UINT GetDlgItemText(HWND hDlg, int id, LPSTR buf, int max)
{
    HWND h = ::GetDlgItem(hDlg, id);
    if (!h) {
        if (buf && max > 0)
            buf[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(::GetWindowText(h, buf, max));
}

BOOL SetDlgItemInt(HWND hDlg, int id, UINT value, BOOL isSigned)
{
    std::string text = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return ::SetDlgItemText(hDlg, id, text.c_str());
}

UINT GetDlgItemInt(HWND hDlg, int id, BOOL* translated, BOOL isSigned)
{
    if (translated)
        *translated = FALSE;
    HWND h = ::GetDlgItem(hDlg, id);
    if (!h)
        return 0;
    int len = ::GetWindowTextLength(h);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    ::GetWindowText(h, text.data(), len + 1);
    text.resize(std::strlen(text.c_str()));
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') {
            if (!isSigned)
                return 0;
            neg = true;
        }
        ++i;
    }
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return 0;
    unsigned long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        v = v * 10 + static_cast<unsigned>(text[i] - '0');
        // Out of range numbers are not translated.
        if ((isSigned && v > (neg ? 2147483648ull : 2147483647ull)) || v > 0xFFFFFFFFull)
            return 0;
    }
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i != text.size())
        return 0;
    if (translated)
        *translated = TRUE;
    if (neg)
        return static_cast<UINT>(-static_cast<long long>(v));
    return static_cast<UINT>(v);
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*)
{
    return TRUE;
}

void InitCommonControls() {}
