// The end of the session as a program of the desktop sees it: SIGTERM,
// SIGINT and SIGHUP (a service stop, kill, Ctrl-C, a logout) and a display
// that goes away reach the top-level windows as WM_ENDSESSION, so the
// program leaves by its own shut-down instead of dying with open files.
//
// The signal handler only notes the signal and writes a byte into a pipe;
// the GUI thread reads it in whatever loop runs and posts the message. A
// second signal while the first is handled takes the signal's default
// action at once: a program whose shut-down hangs can still be ended.
//
// Qt leaves a lost display by calling exit() from inside its event loop,
// with our windows still on the stack. Its last word, the warning it gives
// just before, is where the program gets its turn: WM_ENDSESSION is sent to
// the top-level windows there, the application's ExitInstance runs, and the
// process ends without running the static destructors that the half-open
// windows still need.
#include "platform/ui/session_end.h"

#include "platform/ui/CWinApp.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace vxw {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_pipe[2] = {-1, -1};
std::unique_ptr<QSocketNotifier> g_notifier;
std::atomic<int> g_signalled{0};  // the first end signal, 0 before it
std::atomic<bool> g_displayLost{false};
QtMessageHandler g_previousHandler = nullptr;

void OnEndSignal(int sig)
{
    const int saved = errno;
    int none = 0;
    if (!g_signalled.compare_exchange_strong(none, sig)) {
        // The program is ending already and was asked again.
        signal(sig, SIG_DFL);
        raise(sig);
        errno = saved;
        return;
    }
    char b = static_cast<char>(sig);
    ssize_t n = write(g_pipe[1], &b, 1);
    (void)n;
    errno = saved;
}

// Sends or posts the end of the session to every top-level window; false
// when there is none.
bool TellTopLevels(bool send)
{
    std::vector<HWND> tops = WindowRegistry::instance().topLevels();
    for (HWND h : tops) {
        if (send)
            ::SendMessage(h, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        else
            ::PostMessage(h, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    }
    return !tops.empty();
}

void ReadEndSignal()
{
    char buf[16];
    while (read(g_pipe[0], buf, sizeof buf) > 0) {}
    const int sig = g_signalled.load();
    if (!sig)
        return;
    std::fprintf(stderr, "VXKST: signal %d, ending\n", sig);
    if (!TellTopLevels(false)) {
        // No window to end: the signal does what it would have done.
        signal(sig, SIG_DFL);
        raise(sig);
    }
}

bool IsDisplayLoss(const QString& text)
{
    return text.startsWith(QLatin1String("The X11 connection broke"))
           || text.startsWith(QLatin1String("The Wayland connection broke"));
}

void OnDisplayLost()
{
    if (g_displayLost.exchange(true))
        return;
    std::fprintf(stderr, "VXKST: the display is gone, ending\n");
    // Modal loops cannot be left any more: the windows end what they run
    // here, then the application ends as it would after its last window.
    TellTopLevels(true);
    int code = 0;
    if (CWinApp* app = AfxGetApp())
        code = app->ExitInstance();
    StopBroadcastListener();
    std::fflush(nullptr);
    _exit(code);
}

void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && IsDisplayLoss(text) && GuiThread::isGuiThread()) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        OnDisplayLost();
    }
    if (g_previousHandler)
        g_previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

void WatchSessionEnd()
{
    if (g_notifier || !GuiThread::isGuiThread())
        return;
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(g_notifier.get(), &QSocketNotifier::activated, [] { ReadEndSignal(); });
    for (int sig : kEndSignals) {
        struct sigaction old {};
        sigaction(sig, nullptr, &old);
        // A signal ignored at start (nohup, a background job) stays ignored.
        if (old.sa_handler == SIG_IGN)
            continue;
        struct sigaction sa {};
        sa.sa_handler = OnEndSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(sig, &sa, nullptr);
    }
    g_previousHandler = qInstallMessageHandler(OnQtMessage);
}

void EndModalLoopsAbove(HWND hWnd)
{
    VX_ASSERT_GUI_THREAD();
    // Qt's own loops first: popup menus, message boxes and file dialogs.
    for (int i = 0; i < 16; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup || !popup->close())
            break;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->done(QDialog::Rejected);
    }
    // Then the dialogs of ours, each as its Cancel would end it, except the
    // window itself and those that own it.
    std::vector<HWND> keep;
    for (HWND h = hWnd; h && keep.size() < 64;) {
        keep.push_back(h);
        WindowRecord* r = Rec(h);
        h = r ? (r->owner ? r->owner : r->parent) : nullptr;
    }
    for (HWND top : WindowRegistry::instance().topLevels()) {
        if (std::find(keep.begin(), keep.end(), top) != keep.end())
            continue;
        WindowRecord* r = Rec(top);
        CWnd* wnd = r ? r->wnd : nullptr;
        if (wnd && wnd->ContinueModal())
            wnd->EndModalLoop(IDCANCEL);
    }
    // Each dialog's loop looks again once control comes back to it: the
    // innermost is woken now, each one below when the dialog above it is
    // destroyed.
    if (GuiThread* gui = GuiThread::instance())
        gui->wakeNested();
}

}  // namespace vxw
