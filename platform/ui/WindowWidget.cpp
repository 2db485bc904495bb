// The Qt side of windows: the widget of a plain window or dialog, and the
// bridge that turns Qt's input, focus, size and paint events into the
// window messages of the window that owns the widget.
#include "platform/gdi/DcHandle_p.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/VideoSurface_p.h"
#include "platform/ui/WindowApi_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <QWidget>

namespace vxw {

thread_local PaintState* g_paint = nullptr;

namespace {

class VxWindowWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {}
};

// Delivers a message whose default handling is Qt's own; true when the
// window's procedure reached the default.
thread_local QEvent* t_passThrough = nullptr;

bool Deliver(HWND h, UINT msg, WPARAM w, LPARAM l, LRESULT* result = nullptr, QObject* target = nullptr,
             QEvent* event = nullptr, bool* ran = nullptr)
{
    NativeDefault nd{h, msg, false, target, event, false};
    NativeDefault* prev = g_nativeDefault;
    g_nativeDefault = &nd;
    LRESULT r = CallWindow(h, msg, w, l);
    g_nativeDefault = prev;
    if (result)
        *result = r;
    if (ran)
        *ran = nd.ran;
    return nd.reached;
}

UINT MouseFlags(Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    UINT f = 0;
    if (b & Qt::LeftButton)
        f |= MK_LBUTTON;
    if (b & Qt::RightButton)
        f |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        f |= MK_MBUTTON;
    if (m & Qt::ShiftModifier)
        f |= MK_SHIFT;
    if (m & Qt::ControlModifier)
        f |= MK_CONTROL;
    return f;
}

UINT VkFromQt(int key, const QString& text)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<UINT>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    default:
        break;
    }
    if (text.size() == 1 && text[0].unicode() < 128)
        return static_cast<UINT>(text[0].toUpper().unicode());
    return 0;
}

// A Qt event that the widget ignored travels on to its parent widget; the
// message was delivered once already, so the copy is recognised and left
// alone.
struct EventSignature {
    QEvent::Type type = QEvent::None;
    quint64 timestamp = 0;
    QPointF global;
    int key = 0;
    bool operator==(const EventSignature&) const = default;
};

EventSignature Sign(QEvent* e)
{
    EventSignature s;
    s.type = e->type();
    if (auto* ie = dynamic_cast<QInputEvent*>(e))
        s.timestamp = ie->timestamp();
    if (auto* pe = dynamic_cast<QSinglePointEvent*>(e))
        s.global = pe->globalPosition();
    if (auto* ke = dynamic_cast<QKeyEvent*>(e))
        s.key = ke->key();
    return s;
}

HWND g_lastFocus = nullptr;

class EventBridge : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    bool mouse(HWND h, WindowRecord* r, QWidget* qw, QMouseEvent* me);
    bool key(HWND h, QObject* target, QKeyEvent* ke);
    bool paint(HWND h, WindowRecord* r, QWidget* qw, QPaintEvent* pe);
    EventSignature m_last;
};

EventBridge* Bridge()
{
    static EventBridge* bridge = new EventBridge();
    return bridge;
}

bool EventBridge::eventFilter(QObject* o, QEvent* e)
{
    if (e == t_passThrough)
        return false;
    HWND h = WindowRegistry::fromWidget(o);
    WindowRecord* r = Rec(h);
    if (!r || r->dead || !r->widget)
        return false;
    auto* qw = static_cast<QWidget*>(o);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return mouse(h, r, qw, static_cast<QMouseEvent*>(e));
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(e);
        EventSignature sig = Sign(e);
        if (sig == m_last)
            return false;
        m_last = sig;
        QPoint g = we->globalPosition().toPoint();
        bool native = r->native != nullptr;
        UINT flags = MouseFlags(we->buttons(), we->modifiers());
        bool def = Deliver(h, WM_MOUSEWHEEL, MAKEWPARAM(flags, static_cast<short>(we->angleDelta().y())),
                           MAKELPARAM(g.x(), g.y()));
        return !def || !native;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return key(h, o, static_cast<QKeyEvent*>(e));
    case QEvent::FocusIn:
        if (o == r->widget.data()) {
            HWND old = g_lastFocus;
            g_lastFocus = h;
            CallWindow(h, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
            if (WindowRecord* rr = Rec(h); rr && rr->native)
                rr->native->focusChanged(true);
        }
        return false;
    case QEvent::FocusOut:
        if (o == r->widget.data()) {
            if (g_lastFocus == h)
                g_lastFocus = nullptr;
            CallWindow(h, WM_KILLFOCUS, 0, 0);
            if (WindowRecord* rr = Rec(h); rr && rr->native)
                rr->native->focusChanged(false);
        }
        return false;
    case QEvent::Paint:
        return paint(h, r, qw, static_cast<QPaintEvent*>(e));
    case QEvent::Resize:
    case QEvent::Move:
        if (o == r->widget.data())
            ReportMoveSize(h);
        return false;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::EnabledChange:
    case QEvent::WindowStateChange:
        if (o == r->widget.data())
            MirrorWidgetState(h);
        return false;
    case QEvent::Close:
        if (o == r->widget.data() && !r->parent) {
            // The window decides: WM_CLOSE destroys it or not.
            e->ignore();
            CallWindow(h, WM_CLOSE, 0, 0);
            return true;
        }
        return false;
    case QEvent::Leave:
        if (r->trackLeave) {
            r->trackLeave = false;
            ::PostMessage(h, WM_MOUSELEAVE, 0, 0);
        }
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (o == r->widget.data() && !r->parent)
            CallWindow(h, WM_ACTIVATE, e->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0);
        return false;
    default:
        return false;
    }
}

bool EventBridge::mouse(HWND h, WindowRecord* r, QWidget* qw, QMouseEvent* me)
{
    EventSignature sig = Sign(me);
    if (sig == m_last)
        return false;
    m_last = sig;
    QPoint global = me->globalPosition().toPoint();
    QPoint p = me->position().toPoint();
    {
        // A confined cursor: the message carries the point moved inside.
        int x = global.x(), y = global.y();
        if (ClampToCursorClip(x, y)) {
            p += QPoint(x, y) - global;
            global = QPoint(x, y);
        }
    }
    NoteCursorPos(global.x(), global.y());
    // The handlers may destroy the window, and the record with it.
    bool native = r->native != nullptr;
    if (qw != r->widget.data() && native)
        p += r->native->inputOffset(qw);
    UINT flags = MouseFlags(me->buttons(), me->modifiers());
    LPARAM lp = MAKELPARAM(p.x(), p.y());
    UINT msg = WM_MOUSEMOVE;
    Qt::MouseButton b = me->button();
    switch (me->type()) {
    case QEvent::MouseButtonPress:
        msg = b == Qt::RightButton ? WM_RBUTTONDOWN : b == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        break;
    case QEvent::MouseButtonDblClick:
        msg = b == Qt::RightButton ? WM_RBUTTONDBLCLK : b == Qt::MiddleButton ? WM_MBUTTONDOWN : WM_LBUTTONDBLCLK;
        break;
    case QEvent::MouseButtonRelease:
        msg = b == Qt::RightButton ? WM_RBUTTONUP : b == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
        break;
    default:
        break;
    }
    if (GuiThread* gui = GuiThread::instance())
        gui->setLastMessage(MSG{h, msg, flags, lp, Tick(), POINT{global.x(), global.y()}});
    // As on the desktop, the window is asked where the point lies before a
    // move or press; the answer is the hit code of WM_SETCURSOR.
    LRESULT hit = HTCLIENT;
    const bool press = me->type() == QEvent::MouseButtonPress || me->type() == QEvent::MouseButtonDblClick;
    if (msg == WM_MOUSEMOVE || press) {
        hit = CallWindow(h, WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()));
        if (!::IsWindow(h))
            return true;
    }
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) {
        SetCursorTarget(qw);
        bool def = Deliver(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(static_cast<WORD>(hit), msg));
        if (def && !native)
            qw->unsetCursor();
        if (!::IsWindow(h))
            return true;
    }
    bool ran = false;
    bool def = Deliver(h, msg, flags, lp, nullptr, native ? qw : nullptr, native ? me : nullptr, &ran);
    if (def && msg == WM_RBUTTONUP && ::IsWindow(h)) {
        QPoint g = me->globalPosition().toPoint();
        CallWindow(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(g.x(), g.y()));
    }
    if (!def || !native || ran) {
        me->accept();
        return true;
    }
    return false;
}

// A key event on its way through the filters. The dialog manager
// (IsDialogMessage) may send it on to its control at once, so the windows
// above the dialog never see it.
struct KeyInFlight {
    MSG msg;
    QObject* target;
    QKeyEvent* event;
    bool dispatched = false;
};
thread_local KeyInFlight* t_key = nullptr;

// The key's way past the filters: the window's procedure, the character of
// a printable key, then (for a control) Qt's own handling unless the
// procedure took the key. True when the Qt event is done with.
bool RunKey(const MSG& m, QKeyEvent* ke)
{
    HWND h = m.hwnd;
    WindowRecord* r = Rec(h);
    if (!r)
        return true;
    bool native = r->native != nullptr;
    bool def = Deliver(h, m.message, m.wParam, m.lParam);
    if (!def)
        return true;
    QString text = ke->text();
    if (m.message == WM_KEYDOWN && text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7F
        && ::IsWindow(h)) {
        if (!Deliver(h, WM_CHAR, text[0].unicode(), m.lParam))
            return true;
    }
    return !native || !::IsWindow(h);
}

bool EventBridge::key(HWND h, QObject* target, QKeyEvent* ke)
{
    EventSignature sig = Sign(ke);
    if (sig == m_last)
        return false;
    m_last = sig;
    UINT vk = VkFromQt(ke->key(), ke->text());
    if (!vk)
        return false;
    bool down = ke->type() == QEvent::KeyPress;
    LPARAM lp = static_cast<LPARAM>(1 | (ke->isAutoRepeat() ? 0x40000000 : 0) | (down ? 0 : 0xC0000000));
    const POINT cursor = LastCursorPos();
    MSG m{h, static_cast<UINT>(down ? WM_KEYDOWN : WM_KEYUP), vk, lp, Tick(), cursor};
    if (GuiThread* gui = GuiThread::instance())
        gui->setLastMessage(m);
    KeyInFlight k{m, target, ke};
    KeyInFlight* prev = t_key;
    t_key = &k;
    BOOL eaten = PreTranslateInLoop(&m);
    t_key = prev;
    if (eaten || k.dispatched || !::IsWindow(h) || RunKey(m, ke)) {
        ke->accept();
        return true;
    }
    return false;
}

// Lets the widget paint itself now, past the bridge.
void RunNativePaint(QWidget* qw, QPaintEvent* pe)
{
    QEvent* prev = t_passThrough;
    t_passThrough = pe;
    QCoreApplication::sendEvent(qw, pe);
    t_passThrough = prev;
}

bool EventBridge::paint(HWND h, WindowRecord* r, QWidget* qw, QPaintEvent* pe)
{
    if (r->native) {
        auto inputs = r->native->inputWidgets();
        QWidget* target = inputs.empty() ? r->widget.data() : inputs.front();
        if (qw != target) {
            // The frame of a control whose content paints elsewhere (a
            // scrolled view): the frame first, then the border band.
            if (qw != r->widget.data())
                return false;
            RunNativePaint(qw, pe);
            PaintNonClient(h, qw);
            return true;
        }
    } else if (qw != r->widget.data()) {
        return false;
    }
    QRect u = pe->rect();
    PaintState ps{h, qw, RECT{u.left(), u.top(), u.left() + u.width(), u.top() + u.height()}};
    PaintState* prev = g_paint;
    g_paint = &ps;
    QWidget* prevPainting = vxgdi::t_painting;
    vxgdi::t_painting = qw;
    bool ran = false;
    bool native = r->native != nullptr;
    bool def = Deliver(h, WM_PAINT, 0, 0, nullptr, native ? qw : nullptr, native ? pe : nullptr, &ran);
    g_paint = prev;
    vxgdi::t_painting = prevPainting;
    PaintVideoSurface(h, qw);
    if (native && qw == r->widget.data() && ::IsWindow(h)) {
        // The control's own painting (its frame) must be done before its
        // border band is painted over it.
        if (!ran && def) {
            RunNativePaint(qw, pe);
            ran = true;
        }
        PaintNonClient(h, qw);
    }
    return !def || ran;
}

}  // namespace

void DispatchKeyMessage(const MSG& m)
{
    KeyInFlight* k = t_key;
    if (!k || k->dispatched || k->msg.hwnd != m.hwnd || k->msg.message != m.message || k->msg.wParam != m.wParam) {
        CallWindow(m.hwnd, m.message, m.wParam, m.lParam);
        return;
    }
    k->dispatched = true;
    if (RunKey(m, k->event))
        return;
    QEvent* prev = t_passThrough;
    t_passThrough = k->event;
    QCoreApplication::sendEvent(k->target, k->event);
    t_passThrough = prev;
}

void RunNativeDefault(NativeDefault& nd)
{
    nd.ran = true;
    QEvent* prev = t_passThrough;
    t_passThrough = nd.event;
    QCoreApplication::sendEvent(nd.target, nd.event);
    t_passThrough = prev;
}

QWidget* CreateWindowWidget(WindowRecord& r, QWidget* parent)
{
    Qt::WindowFlags f;
    if (!r.parent) {
        f = Qt::Window;
        if ((r.style & WS_CAPTION) != WS_CAPTION)
            f |= Qt::FramelessWindowHint;
        if (r.exStyle & WS_EX_TOPMOST)
            f |= Qt::WindowStaysOnTopHint;
        if (r.exStyle & WS_EX_TOOLWINDOW)
            f |= Qt::Tool;
    }
    auto* w = new VxWindowWidget(parent, f);
    w->setAutoFillBackground(true);
    w->setFocusPolicy(r.parent ? Qt::ClickFocus : Qt::NoFocus);
    return w;
}

void AttachWidget(WindowRecord& r)
{
    QWidget* w = r.widget;
    auto id = static_cast<qulonglong>(reinterpret_cast<uintptr_t>(r.hwnd));
    w->setProperty("vx_hwnd", id);
    w->setMouseTracking(true);
    w->installEventFilter(Bridge());
    if (r.native) {
        for (QWidget* i : r.native->inputWidgets()) {
            i->setProperty("vx_hwnd", id);
            i->setMouseTracking(true);
            i->installEventFilter(Bridge());
        }
    }
}

void DetachWidget(WindowRecord& r)
{
    QWidget* w = r.widget;
    if (!w)
        return;
    if (r.native) {
        for (QWidget* i : r.native->inputWidgets()) {
            i->removeEventFilter(Bridge());
            i->setProperty("vx_hwnd", QVariant());
            QObject::disconnect(i, nullptr, nullptr, nullptr);
        }
    }
    w->removeEventFilter(Bridge());
    w->setProperty("vx_hwnd", QVariant());
    QObject::disconnect(w, nullptr, nullptr, nullptr);
    if (g_lastFocus == r.hwnd)
        g_lastFocus = nullptr;
    if (w->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == w)
        QApplication::focusWidget()->clearFocus();
    if (!r.borrowedWidget) {
        w->hide();
        w->deleteLater();
    }
    r.widget = nullptr;
}

}  // namespace vxw
