#include "platform/ui/GuiThread_p.h"

#include "platform/kernel/gui_wait.h"
#include "platform/ui/GuiRuntime.h"
#include "platform/ui/WindowRegistry_p.h"
#include "platform/ui/WindowCall_p.h"

#include <cstdlib>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <QCursor>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace vxw {

namespace {

// Read by every thread that posts or asks which thread it is on.
std::atomic<GuiThread*> g_gui{nullptr};
std::atomic<std::thread::id> g_guiThreadId{};
// The cursor's screen position, packed as two 32-bit halves.
std::atomic<uint64_t> g_cursor{0};
bool g_ownsApp = false;
QApplication* g_app = nullptr;

constexpr QEvent::Type kPostedEvent = static_cast<QEvent::Type>(QEvent::User + 0x560);
constexpr QEvent::Type kSentWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x561);

class PostedEvent : public QEvent {
public:
    explicit PostedEvent(const MSG& m) : QEvent(kPostedEvent), msg(m) {}
    MSG msg;
};

bool HookIsGuiThread()
{
    return GuiThread::isGuiThread();
}

void HookDispatchSent()
{
    if (GuiThread* gui = g_gui.load())
        gui->dispatchSent();
}

const vxk::GuiWaitHooks kHooks = {&HookIsGuiThread, &HookDispatchSent};

DWORD NowMs()
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

GuiThread::GuiThread(QObject* parent) : QObject(parent), m_thread(std::this_thread::get_id()) {}

GuiThread::~GuiThread() = default;

GuiThread* GuiThread::instance()
{
    return g_gui;
}

bool GuiThread::isGuiThread()
{
    return g_gui.load() && std::this_thread::get_id() == g_guiThreadId.load();
}

bool CheckGuiThread(const char* call)
{
    if (GuiThread::isGuiThread())
        return true;
    char line[256];
    time_t now = time(nullptr);
    struct tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    int n = snprintf(line, sizeof line, "ERROR:%s %s called off the GUI thread\n", stamp, call ? call : "?");
    if (n > 0)
        (void)!write(STDERR_FILENO, line, std::min(static_cast<size_t>(n), sizeof line - 1));
#if VX_GUI_THREAD_ASSERTS
    abort();
#else
    return false;
#endif
}

namespace {

std::atomic<PreTranslateHook> g_preTranslate{nullptr};

}  // namespace

void SetPreTranslateHook(PreTranslateHook hook)
{
    g_preTranslate.store(hook);
}

BOOL PreTranslateInLoop(MSG* msg)
{
    PreTranslateHook hook = g_preTranslate.load();
    return hook ? hook(msg) : CWnd::WalkPreTranslateTree(nullptr, msg);
}

POINT LastCursorPos()
{
    uint64_t v = g_cursor.load(std::memory_order_relaxed);
    return POINT{static_cast<int32_t>(static_cast<uint32_t>(v >> 32)), static_cast<int32_t>(static_cast<uint32_t>(v))};
}

void NoteCursorPos(int x, int y)
{
    g_cursor.store((static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) | static_cast<uint32_t>(y),
                   std::memory_order_relaxed);
}

void GuiThread::post(const MSG& msg)
{
    QCoreApplication::postEvent(this, new PostedEvent(msg));
}

LRESULT GuiThread::sendFromWorker(const MSG& msg)
{
    Sent sent;
    sent.msg = msg;
    {
        std::lock_guard lock(m_sentMutex);
        if (m_down)
            return 0;
        m_sent.push_back(&sent);
    }
    QCoreApplication::postEvent(this, new QEvent(kSentWakeEvent));
    vxk::WakeGuiWait();
    std::unique_lock lock(m_sentMutex);
    m_sentDone.wait(lock, [&] { return sent.done; });
    return sent.result;
}

bool GuiThread::callFromWorker(const std::function<void()>& fn)
{
    Sent sent;
    sent.fn = &fn;
    {
        std::lock_guard lock(m_sentMutex);
        if (m_down)
            return false;
        m_sent.push_back(&sent);
    }
    QCoreApplication::postEvent(this, new QEvent(kSentWakeEvent));
    vxk::WakeGuiWait();
    std::unique_lock lock(m_sentMutex);
    m_sentDone.wait(lock, [&] { return sent.done; });
    return sent.result == 1;
}

void GuiThread::dispatchSent()
{
    for (;;) {
        Sent* s = nullptr;
        {
            std::lock_guard lock(m_sentMutex);
            if (m_sent.empty())
                return;
            s = m_sent.front();
            m_sent.pop_front();
        }
        MSG m = s->msg;
        LRESULT r = 0;
        if (s->fn) {
            (*s->fn)();
            r = 1;
        } else if (WindowRegistry::instance().alive(m.hwnd)) {
            r = CallWindow(m.hwnd, m.message, m.wParam, m.lParam);
        }
        std::lock_guard lock(m_sentMutex);
        s->result = r;
        s->done = true;
        m_sentDone.notify_all();
    }
}

void GuiThread::runLater(std::function<void()> fn)
{
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

bool GuiThread::event(QEvent* e)
{
    if (e->type() == kPostedEvent) {
        dispatchPosted(static_cast<PostedEvent*>(e)->msg);
        return true;
    }
    if (e->type() == kSentWakeEvent) {
        dispatchSent();
        return true;
    }
    return QObject::event(e);
}

void GuiThread::dispatchPosted(const MSG& msg)
{
    if (!msg.hwnd) {
        if (msg.message == WM_QUIT) {
            m_quit = true;
            m_exitCode = static_cast<int>(msg.wParam);
            for (QEventLoop* loop : m_loops)
                loop->exit(m_exitCode);
        }
        return;
    }
    if (!WindowRegistry::instance().alive(msg.hwnd))
        return;
    MSG m = msg;
    m_lastMsg = m;
    QPoint cursor = QCursor::pos();
    NoteCursorPos(cursor.x(), cursor.y());
    BOOL eaten = PreTranslateInLoop(&m);
    if (eaten || !WindowRegistry::instance().alive(m.hwnd))
        return;
    CallWindow(m.hwnd, m.message, m.wParam, m.lParam);
}

int GuiThread::runLoop()
{
    if (m_quit)
        return m_exitCode;
    QEventLoop loop;
    m_loops.push_back(&loop);
    loop.exec();
    m_loops.pop_back();
    return m_exitCode;
}

bool GuiThread::runNested(const std::function<bool()>& done)
{
    QEventLoop loop;
    m_loops.push_back(&loop);
    while (!done() && !m_quit)
        loop.exec();
    m_loops.pop_back();
    return !m_quit;
}

void GuiThread::wakeNested()
{
    if (!m_loops.empty())
        m_loops.back()->exit(0);
}

void GuiThread::pump()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

UINT_PTR GuiThread::setTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc)
{
    if (hwnd && !WindowRegistry::instance().alive(hwnd))
        return 0;
    {
        std::lock_guard lock(m_timerMutex);
        if (!hwnd) {
            // Timers without a window get ids of their own.
            static UINT_PTR nextId = 0x7FFF0000;
            id = ++nextId;
        }
        TimerEntry& t = m_timers[TimerKey{hwnd, id}];
        t.proc = proc;
        t.ms = ms ? ms : 1;
        t.generation = ++m_generation;
    }
    if (isGuiThread())
        applyTimer(hwnd, id);
    else
        runLater([this, hwnd, id] { applyTimer(hwnd, id); });
    return id;
}

void GuiThread::applyTimer(HWND hwnd, UINT_PTR id)
{
    std::lock_guard lock(m_timerMutex);
    auto it = m_timers.find(TimerKey{hwnd, id});
    if (it == m_timers.end())
        return;
    TimerEntry& t = it->second;
    if (!t.timer) {
        t.timer = new QTimer(this);
        QObject::connect(t.timer, &QTimer::timeout, this, [this, hwnd, id] { fireTimer(hwnd, id, 0); });
    }
    t.timer->start(static_cast<int>(t.ms));
}

bool GuiThread::killTimer(HWND hwnd, UINT_PTR id)
{
    QTimer* timer = nullptr;
    {
        std::lock_guard lock(m_timerMutex);
        auto it = m_timers.find(TimerKey{hwnd, id});
        if (it == m_timers.end())
            return false;
        timer = it->second.timer;
        m_timers.erase(it);
    }
    if (timer) {
        if (isGuiThread()) {
            timer->stop();
            timer->deleteLater();
        } else {
            runLater([timer] {
                timer->stop();
                timer->deleteLater();
            });
        }
    }
    return true;
}

void GuiThread::killTimersOf(HWND hwnd)
{
    std::vector<UINT_PTR> ids;
    {
        std::lock_guard lock(m_timerMutex);
        for (auto& [key, entry] : m_timers) {
            if (key.hwnd == hwnd)
                ids.push_back(key.id);
        }
    }
    for (UINT_PTR id : ids)
        killTimer(hwnd, id);
}

void GuiThread::fireTimer(HWND hwnd, UINT_PTR id, unsigned)
{
    TIMERPROC proc = nullptr;
    {
        // A timer killed from another thread after this tick was queued
        // must not fire any more.
        std::lock_guard lock(m_timerMutex);
        auto it = m_timers.find(TimerKey{hwnd, id});
        if (it == m_timers.end())
            return;
        proc = it->second.proc;
    }
    if (hwnd && !WindowRegistry::instance().alive(hwnd)) {
        killTimer(hwnd, id);
        return;
    }
    if (proc) {
        proc(hwnd, WM_TIMER, id, NowMs());
        return;
    }
    // A timer message carries the cursor's place at its dispatch.
    QPoint cursor = QCursor::pos();
    NoteCursorPos(cursor.x(), cursor.y());
    MSG m{hwnd, WM_TIMER, id, 0, NowMs(), POINT{cursor.x(), cursor.y()}};
    m_lastMsg = m;
    CallWindow(hwnd, WM_TIMER, id, 0);
}

void GuiThread::shutdown()
{
    {
        std::lock_guard lock(m_sentMutex);
        m_down = true;
        for (Sent* s : m_sent)
            s->done = true;
        m_sent.clear();
        m_sentDone.notify_all();
    }
    std::lock_guard lock(m_timerMutex);
    for (auto& [key, entry] : m_timers)
        delete entry.timer;
    m_timers.clear();
}

// ---- the public start-up functions ----

bool InitGuiThread(int argc, char** argv)
{
    if (g_gui.load())
        return std::this_thread::get_id() == g_guiThreadId.load();
    if (!QCoreApplication::instance()) {
        // Qt keeps references to argc and argv for the application's life.
        static int s_argc = 1;
        static std::vector<std::string> s_args;
        static std::vector<char*> s_argv;
        s_args.clear();
        if (argc > 0 && argv) {
            for (int i = 0; i < argc; ++i)
                s_args.emplace_back(argv[i] ? argv[i] : "");
        } else {
            s_args.emplace_back("vxkst");
        }
        s_argv.clear();
        for (auto& a : s_args)
            s_argv.push_back(a.data());
        s_argv.push_back(nullptr);
        s_argc = static_cast<int>(s_args.size());
        // A program started without a display (a service, a test) still runs:
        // its windows live offscreen, as no platform plugin could open one.
        if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        g_app = new QApplication(s_argc, s_argv.data());
        g_ownsApp = true;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QPoint cursor = QCursor::pos();
    NoteCursorPos(cursor.x(), cursor.y());
    g_guiThreadId = std::this_thread::get_id();
    g_gui = new GuiThread();
    InstallStringTableHook();
    RememberScreen();
    StartBroadcastListener();
    StartWindowShots();
    vxk::SetGuiWaitHooks(&kHooks);
    return true;
}

void ShutdownGuiThread()
{
    if (!GuiThread::isGuiThread())
        return;
    vxk::SetGuiWaitHooks(nullptr);
    DestroyAllWindows();
    StopBroadcastListener();
    StopWindowShots();
    g_gui.load()->shutdown();
    GuiThread* gui = g_gui.exchange(nullptr);
    delete gui;
    if (g_ownsApp) {
        delete g_app;
        g_app = nullptr;
        g_ownsApp = false;
    }
}

bool IsGuiThread()
{
    return GuiThread::isGuiThread();
}

int RunMessageLoop()
{
    GuiThread* gui = g_gui.load();
    return gui ? gui->runLoop() : -1;
}

void PumpMessages()
{
    if (GuiThread* gui = g_gui.load())
        gui->pump();
}

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    // The tick keeps the waiting loop from sleeping past the time-out.
    QTimer tick;
    tick.start(10);
    while (!cond()) {
        if (clock.elapsed() >= static_cast<qint64>(timeoutMs))
            return cond();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace vxw
