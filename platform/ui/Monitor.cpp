// Monitors over Qt's screens. A handle is the screen's place in Qt's list,
// plus one, so that it can be checked again later instead of trusting a
// pointer to a screen that may have been unplugged since.
#include "platform/ui/monitor.h"

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdint>
#include <limits>

namespace {

template <typename F>
auto OnGui(F&& f) -> decltype(f())
{
    using R = decltype(f());
    if (vxw::GuiThread::isGuiThread())
        return f();
    R out{};
    if (vxw::GuiThread* gui = vxw::GuiThread::instance())
        gui->callFromWorker([&] { out = f(); });
    return out;
}

HMONITOR HandleOf(QScreen* screen)
{
    const QList<QScreen*> all = QGuiApplication::screens();
    qsizetype i = all.indexOf(screen);
    return i < 0 ? nullptr : reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(i + 1));
}

QScreen* ScreenOf(HMONITOR h)
{
    const QList<QScreen*> all = QGuiApplication::screens();
    auto i = static_cast<qsizetype>(reinterpret_cast<uintptr_t>(h));
    return i >= 1 && i <= all.size() ? all[i - 1] : nullptr;
}

QScreen* Nearest(const QPoint& p)
{
    QScreen* best = nullptr;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (QScreen* s : QGuiApplication::screens()) {
        QRect g = s->geometry();
        long long dx = p.x() < g.left() ? g.left() - p.x() : (p.x() > g.right() ? p.x() - g.right() : 0);
        long long dy = p.y() < g.top() ? g.top() - p.y() : (p.y() > g.bottom() ? p.y() - g.bottom() : 0);
        long long d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = s;
        }
    }
    return best;
}

HMONITOR Fallback(const QPoint& p, DWORD flags)
{
    if (flags == MONITOR_DEFAULTTOPRIMARY)
        return HandleOf(QGuiApplication::primaryScreen());
    if (flags == MONITOR_DEFAULTTONEAREST)
        return HandleOf(Nearest(p));
    return nullptr;
}

RECT ToRect(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags)
{
    return OnGui([&]() -> HMONITOR {
        QPoint p(pt.x, pt.y);
        if (QScreen* s = QGuiApplication::screenAt(p))
            return HandleOf(s);
        return Fallback(p, dwFlags);
    });
}

HMONITOR MonitorFromWindow(HWND hWnd, DWORD dwFlags)
{
    return OnGui([&]() -> HMONITOR {
        QWidget* w = vxw::WidgetOf(hWnd);
        if (!w)
            return Fallback(QPoint(), dwFlags == MONITOR_DEFAULTTONEAREST ? MONITOR_DEFAULTTOPRIMARY : dwFlags);
        QPoint centre = w->mapToGlobal(w->rect().center());
        if (QScreen* s = QGuiApplication::screenAt(centre))
            return HandleOf(s);
        return Fallback(centre, dwFlags);
    });
}

BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    if (!lpmi || lpmi->cbSize < sizeof(MONITORINFO))
        return FALSE;
    return OnGui([&]() -> BOOL {
        QScreen* s = ScreenOf(hMonitor);
        if (!s)
            return FALSE;
        lpmi->rcMonitor = ToRect(s->geometry());
        lpmi->rcWork = ToRect(s->availableGeometry());
        lpmi->dwFlags = s == QGuiApplication::primaryScreen() ? MONITORINFOF_PRIMARY : 0;
        return TRUE;
    });
}
