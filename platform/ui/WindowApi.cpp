// The free window functions that act: messages, showing, enabling, moving,
// destroying, text and invalidation. Calls that send to the window (see
// CWnd.h) run on the GUI thread while a worker waits; invalidation from a
// worker only records the region and posts the paint. The questions about a
// window are in WindowState.cpp, input and dialog items in WindowInput.cpp.
#include "platform/ui/commctrl.h"

#include "platform/gdi/wingdi.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowApi_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

using namespace vxw;

namespace vxw {

DWORD Tick()
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::atomic<HWND> g_capture{nullptr};

}  // namespace vxw

namespace {

// Minimised and maximised are read by other threads.
void SetSizeState(WindowRecord& r, bool iconic, bool zoomed)
{
    auto lock = WindowRegistry::instance().lock();
    r.iconic = iconic;
    r.zoomed = zoomed;
}

}  // namespace

// ---- messages ----

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    GuiThread* gui = GuiThread::instance();
    if (!gui)
        return FALSE;
    if (hWnd && !WindowRegistry::instance().alive(hWnd))
        return FALSE;
    // Workers must not ask Qt where the mouse is: they stamp the place the
    // GUI thread saw last.
    POINT p = LastCursorPos();
    if (OnGui()) {
        QPoint q = QCursor::pos();
        NoteCursorPos(q.x(), q.y());
        p = POINT{q.x(), q.y()};
    }
    gui->post(MSG{hWnd, msg, wParam, lParam, Tick(), p});
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

LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->CWnd::DefWindowProc(msg, wParam, lParam) : 0;
}

// ---- showing, enabling, destroying ----

BOOL EnableWindow(HWND hWnd, BOOL enable)
{
    VX_SEND_TO_GUI(::EnableWindow(hWnd, enable));
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !r->widget)
        return FALSE;
    BOOL wasDisabled = r->widget->testAttribute(Qt::WA_ForceDisabled) ? TRUE : FALSE;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (!enable && r->widget->isAncestorOf(QApplication::focusWidget()))
        QApplication::focusWidget()->clearFocus();
    r->widget->setEnabled(enable != FALSE);
    MirrorWidgetState(hWnd);
    CallWindow(hWnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL ShowWindow(HWND hWnd, int cmd)
{
    VX_SEND_TO_GUI(::ShowWindow(hWnd, cmd));
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !r->widget)
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
        SetSizeState(*r, true, false);
        if (!r->parent)
            w->setWindowState((w->windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        w->show();
        CallWindow(hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SW_SHOWMAXIMIZED: {
        MINMAXINFO mmi = AskMinMaxInfo(hWnd);
        r = Rec(hWnd);
        if (!r || r->dead || !r->widget)
            return wasVisible;
        SetSizeState(*r, false, true);
        if (!r->parent) {
            w->setWindowState(Qt::WindowMaximized);
            // The window's own maximised place and size.
            w->setGeometry(mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, std::max(0, static_cast<int>(mmi.ptMaxSize.x)),
                           std::max(0, static_cast<int>(mmi.ptMaxSize.y)));
        }
        w->show();
        CallWindow(hWnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(w->width(), w->height()));
        break;
    }
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: {
        bool changed = r->iconic || r->zoomed;
        SetSizeState(*r, false, false);
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
    MirrorWidgetState(hWnd);
    return wasVisible;
}

// A window without an object of the caller's: the registry keeps the object;
// a later SubclassWindow replaces it.
HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth,
                    int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE, LPVOID lpParam)
{
    auto owner = std::make_unique<CWnd>();
    if (!owner->CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu,
                         lpParam))
        return nullptr;
    HWND h = owner->m_hWnd;
    vxw::WindowRecord* r = vxw::Rec(h);
    r->temp = std::move(owner);
    return h;
}

BOOL DestroyWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd))
        return FALSE;
    VX_ASSERT_GUI_THREAD(FALSE);
    WindowRecord* r = Rec(hWnd);
    if (!r || r->destroying)
        return FALSE;
    r->destroying = true;
    const bool topLevel = !r->parent;
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
    {
        WindowRegistry& reg = WindowRegistry::instance();
        auto lock = reg.lock();
        r->dead = true;
        if (WindowRecord* p = r->parent ? reg.findLocked(r->parent) : nullptr)
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
    // A modal dialog destroyed with its owner never ends its loop itself:
    // the loop looks again whether its window is still there.
    GuiThread* gui = topLevel ? GuiThread::instance() : nullptr;
    if (gui)
        gui->wakeNested();
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
    MirrorWidgetState(h);
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

MINMAXINFO vxw::AskMinMaxInfo(HWND hWnd)
{
    MINMAXINFO mmi{};
    QSize screen(1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen())
        screen = s->availableGeometry().size();
    mmi.ptMaxSize = POINT{screen.width(), screen.height()};
    mmi.ptMaxTrackSize = POINT{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !r->widget || r->parent)
        return mmi;
    CallWindow(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    r = Rec(hWnd);
    if (r && r->widget)
        r->widget->setMinimumSize(std::max(0, static_cast<int>(mmi.ptMinTrackSize.x)),
                                  std::max(0, static_cast<int>(mmi.ptMinTrackSize.y)));
    return mmi;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int cx, int cy, BOOL repaint)
{
    return SetWindowPos(hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND hWnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    VX_SEND_TO_GUI(::SetWindowPos(hWnd, after, x, y, cx, cy, flags));
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !r->widget)
        return FALSE;
    if (!(flags & SWP_NOSIZE) && !r->parent) {
        AskMinMaxInfo(hWnd);
        r = Rec(hWnd);
        if (!r || r->dead || !r->widget)
            return FALSE;
    }
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
    MirrorWidgetState(hWnd);
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

// ---- painting ----

namespace {

// Another thread's invalidation: the region joins the window's pending one
// and one paint request goes to the GUI thread, however many arrive first.
void FlushInvalid(HWND hWnd)
{
    RECT rect{};
    bool all = false;
    {
        WindowRegistry& reg = WindowRegistry::instance();
        auto lock = reg.lock();
        WindowRecord* r = reg.findLocked(hWnd);
        if (!r || r->dead)
            return;
        rect = r->pendingInvalid;
        all = r->pendingAll;
        r->pendingInvalid = RECT{};
        r->pendingAll = false;
        r->pendingPosted = false;
    }
    ::InvalidateRect(hWnd, all ? nullptr : &rect, FALSE);
}

BOOL QueueInvalid(HWND hWnd, LPCRECT rect)
{
    GuiThread* gui = GuiThread::instance();
    if (!gui)
        return FALSE;
    bool post = false;
    {
        WindowRegistry& reg = WindowRegistry::instance();
        auto lock = reg.lock();
        WindowRecord* r = reg.findLocked(hWnd);
        if (!r || r->dead)
            return FALSE;
        RECT& p = r->pendingInvalid;
        if (!rect) {
            r->pendingAll = true;
        } else if (rect->right > rect->left && rect->bottom > rect->top) {
            if (p.right <= p.left || p.bottom <= p.top) {
                p = *rect;
            } else {
                p.left = std::min(p.left, rect->left);
                p.top = std::min(p.top, rect->top);
                p.right = std::max(p.right, rect->right);
                p.bottom = std::max(p.bottom, rect->bottom);
            }
        }
        post = !r->pendingPosted;
        r->pendingPosted = true;
    }
    if (post)
        gui->runLater([hWnd] { FlushInvalid(hWnd); });
    return TRUE;
}

}  // namespace

BOOL InvalidateRect(HWND hWnd, LPCRECT rect, BOOL)
{
    if (!OnGui())
        return QueueInvalid(hWnd, rect);
    QWidget* w = WidgetOf(hWnd);
    if (!w)
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

BOOL InvalidateRgn(HWND hWnd, HRGN rgn, BOOL erase)
{
    // The region's bounding box: painting a little more is harmless.
    RECT box{};
    if (rgn && GetRgnBox(rgn, &box) == ERROR)
        return FALSE;
    return ::InvalidateRect(hWnd, rgn ? &box : nullptr, erase);
}

BOOL UpdateWindow(HWND hWnd)
{
    // Paints at once: the window's own thread does it.
    VX_SEND_TO_GUI(::UpdateWindow(hWnd));
    QWidget* w = WidgetOf(hWnd);
    if (!w)
        return FALSE;
    if (w->isVisible())
        w->repaint();
    return TRUE;
}

BOOL RedrawWindow(HWND hWnd, LPCRECT rect, HRGN rgn, UINT flags)
{
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        VX_SEND_TO_GUI(::RedrawWindow(hWnd, rect, rgn, flags));
    if (!::IsWindow(hWnd))
        return FALSE;
    RECT box{};
    if (!rect && rgn && GetRgnBox(rgn, &box) != ERROR)
        rect = &box;
    if (flags & (RDW_INVALIDATE | RDW_ERASE | RDW_FRAME))
        ::InvalidateRect(hWnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_ALLCHILDREN) {
        std::vector<HWND> kids;
        {
            WindowRegistry& reg = WindowRegistry::instance();
            auto lock = reg.lock();
            if (WindowRecord* r = reg.findLocked(hWnd))
                kids = r->children;
        }
        for (HWND c : kids)
            ::RedrawWindow(c, nullptr, nullptr, flags & ~(RDW_UPDATENOW | RDW_ERASENOW));
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        ::UpdateWindow(hWnd);
    return TRUE;
}
