// The free window functions of input and the screen (focus, capture, the
// mouse, the keyboard, metrics) and of dialog items. Focus, capture and the
// keyboard belong to the GUI thread; other threads get the answer a thread
// without windows gets.
#include "platform/ui/commctrl.h"

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowApi_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <string>
#include <mutex>
#include <unordered_map>

using namespace vxw;

namespace {

// The primary screen's size, packed as two 32-bit halves: the GUI thread
// asks Qt and keeps it for the others.
std::atomic<uint64_t> g_screen{(uint64_t{1024} << 32) | 768};

QSize ScreenSize()
{
    if (OnGui())
        RememberScreen();
    uint64_t v = g_screen.load(std::memory_order_relaxed);
    return QSize(static_cast<int>(v >> 32), static_cast<int>(v & 0xFFFFFFFFu));
}

// The latest hover request of each window (GUI thread only).
std::unordered_map<HWND, unsigned> g_hoverRequest;

}  // namespace

void vxw::RememberScreen()
{
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QSize z = s->size();
        g_screen.store((static_cast<uint64_t>(static_cast<uint32_t>(z.width())) << 32) |
                           static_cast<uint32_t>(z.height()),
                       std::memory_order_relaxed);
    }
}

// ---- focus, capture, activation ----

HWND SetFocus(HWND hWnd)
{
    // Only the GUI thread has the input that focus belongs to.
    if (!OnGui())
        return nullptr;
    HWND old = ::GetFocus();
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

HWND SetCapture(HWND hWnd)
{
    HWND old = g_capture.load();
    if (!OnGui())
        return nullptr;
    QWidget* w = WidgetOf(hWnd);
    if (!w)
        return old;
    g_capture = hWnd;
    w->grabMouse();
    // The window that loses the mouse is told, as one that holds a drag
    // must end it (and free a confined cursor) when another takes over.
    if (old && old != hWnd && ::IsWindow(old))
        CallWindow(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

BOOL ReleaseCapture()
{
    if (!OnGui())
        return FALSE;
    HWND old = g_capture.exchange(nullptr);
    if (QWidget* w = WidgetOf(old))
        w->releaseMouse();
    if (old && ::IsWindow(old))
        CallWindow(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (!OnGui()) {
        // Nothing is sent: the GUI thread raises the window when it can.
        GuiThread* gui = GuiThread::instance();
        if (!gui || !::IsWindow(hWnd))
            return FALSE;
        gui->runLater([hWnd] { ::SetForegroundWindow(hWnd); });
        return TRUE;
    }
    QWidget* w = WidgetOf(hWnd);
    if (!w)
        return FALSE;
    w->window()->raise();
    w->window()->activateWindow();
    return TRUE;
}

// ---- mouse, keyboard, screen ----

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT tme)
{
    // The mouse is the GUI thread's input.
    if (!tme || !OnGui())
        return FALSE;
    WindowRecord* r = Rec(tme->hwndTrack);
    if (!r || !r->widget)
        return FALSE;
    if (tme->dwFlags & TME_CANCEL) {
        if (tme->dwFlags & TME_LEAVE)
            r->trackLeave = false;
        if (tme->dwFlags & TME_HOVER)
            ++g_hoverRequest[tme->hwndTrack];
        return TRUE;
    }
    if (tme->dwFlags & TME_HOVER) {
        // One notice after the hover time, and only when the cursor is still
        // inside; a newer request replaces the pending one.
        const HWND hwnd = tme->hwndTrack;
        const unsigned request = ++g_hoverRequest[hwnd];
        const int ms = tme->dwHoverTime == HOVER_DEFAULT ? 400 : static_cast<int>(tme->dwHoverTime);
        QTimer::singleShot(ms, r->widget.data(), [hwnd, request] {
            auto it = g_hoverRequest.find(hwnd);
            if (it == g_hoverRequest.end() || it->second != request)
                return;
            g_hoverRequest.erase(it);
            WindowRecord* rec = Rec(hwnd);
            if (!rec || !rec->widget)
                return;
            QPoint p = rec->widget->mapFromGlobal(QCursor::pos());
            if (!rec->widget->rect().contains(p))
                return;
            Qt::MouseButtons b = QGuiApplication::mouseButtons();
            WPARAM keys = (b & Qt::LeftButton ? MK_LBUTTON : 0) | (b & Qt::RightButton ? MK_RBUTTON : 0) |
                          (b & Qt::MiddleButton ? MK_MBUTTON : 0);
            ::PostMessage(hwnd, WM_MOUSEHOVER, keys, MAKELPARAM(p.x(), p.y()));
        });
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

namespace {

std::mutex g_clipLock;
bool g_clipOn = false;
RECT g_clip = {};

}  // namespace

bool vxw::ClampToCursorClip(int& x, int& y)
{
    std::lock_guard<std::mutex> lock(g_clipLock);
    if (!g_clipOn)
        return false;
    const int cx = std::clamp<int>(x, g_clip.left, std::max<int>(g_clip.left, g_clip.right - 1));
    const int cy = std::clamp<int>(y, g_clip.top, std::max<int>(g_clip.top, g_clip.bottom - 1));
    const bool moved = cx != x || cy != y;
    x = cx;
    y = cy;
    return moved;
}

BOOL ClipCursor(const RECT* rect)
{
    std::lock_guard<std::mutex> lock(g_clipLock);
    if (!rect) {
        g_clipOn = false;
        return TRUE;
    }
    // As on the desktop, an empty or reversed rectangle is made whole.
    g_clip = {std::min(rect->left, rect->right), std::min(rect->top, rect->bottom), std::max(rect->left, rect->right),
              std::max(rect->top, rect->bottom)};
    if (g_clip.right == g_clip.left)
        ++g_clip.right;
    if (g_clip.bottom == g_clip.top)
        ++g_clip.bottom;
    g_clipOn = true;
    return TRUE;
}

BOOL GetClipCursor(LPRECT rect)
{
    if (!rect)
        return FALSE;
    {
        std::lock_guard<std::mutex> lock(g_clipLock);
        if (g_clipOn) {
            *rect = g_clip;
            return TRUE;
        }
    }
    QSize screen = ScreenSize();
    *rect = {0, 0, screen.width(), screen.height()};
    return TRUE;
}

BOOL GetCursorPos(LPPOINT pt)
{
    if (!pt)
        return FALSE;
    if (!OnGui()) {
        *pt = LastCursorPos();
        int x = pt->x, y = pt->y;
        ClampToCursorClip(x, y);
        *pt = POINT{x, y};
        return TRUE;
    }
    QPoint p = QCursor::pos();
    {
        int x = p.x(), y = p.y();
        ClampToCursorClip(x, y);
        p = QPoint(x, y);
    }
    NoteCursorPos(p.x(), p.y());
    pt->x = p.x();
    pt->y = p.y();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    if (!OnGui()) {
        GuiThread* gui = GuiThread::instance();
        if (!gui)
            return FALSE;
        gui->runLater([x, y] { ::SetCursorPos(x, y); });
        return TRUE;
    }
    QCursor::setPos(x, y);
    NoteCursorPos(x, y);
    return TRUE;
}

DWORD GetMessagePos()
{
    // The message being handled is the GUI thread's.
    GuiThread* gui = GuiThread::instance();
    if (!gui || !OnGui())
        return 0;
    const MSG& m = gui->lastMessage();
    return static_cast<DWORD>(MAKELONG(m.pt.x, m.pt.y));
}

LONG GetMessageTime()
{
    GuiThread* gui = GuiThread::instance();
    return gui && OnGui() ? static_cast<LONG>(gui->lastMessage().time) : 0;
}

int GetSystemMetrics(int index)
{
    QSize screen = ScreenSize();
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
    // The keyboard state is the GUI thread's input; other threads have none.
    if (!OnGui())
        return 0;
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
