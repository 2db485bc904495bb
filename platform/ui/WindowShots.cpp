// Pictures of the program's windows on request: with VX_SHOT_DIR set, each
// SIGUSR1 saves every visible top-level window there as a PNG file. The
// signal handler only writes a byte into a pipe; the GUI thread reads it and
// paints the pictures, so no window is touched from the signal.
#include "platform/ui/WindowCall_p.h"

#include <QApplication>
#include <QPixmap>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace vxw {

namespace {

int g_pipe[2] = {-1, -1};
std::unique_ptr<QSocketNotifier> g_notifier;
std::string g_dir;
int g_count = 0;

void OnSignal(int)
{
    const int saved = errno;
    if (g_pipe[1] >= 0) {
        char b = 1;
        ssize_t n = write(g_pipe[1], &b, 1);
        (void)n;
    }
    errno = saved;
}

std::string FileName(const QWidget* w, int index)
{
    std::string title = w->windowTitle().toStdString();
    std::string name;
    for (char c : title)
        name += (isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    if (name.empty())
        name = "window";
    return g_dir + "/" + name + "-" + std::to_string(g_count) + "-" + std::to_string(index) + ".png";
}

void SaveShots()
{
    char buf[64];
    while (read(g_pipe[0], buf, sizeof buf) > 0) {
    }
    ++g_count;
    int index = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        // Written under a passing name and renamed, so whoever watches the
        // folder never reads half a picture.
        const std::string name = FileName(w, index++);
        const std::string part = name + ".part";
        if (w->grab().save(QString::fromStdString(part), "PNG"))
            std::rename(part.c_str(), name.c_str());
        else
            std::remove(part.c_str());
    }
}

}  // namespace

void StartWindowShots()
{
    const char* dir = std::getenv("VX_SHOT_DIR");
    if (!dir || !*dir || g_notifier)
        return;
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_dir = dir;
    g_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(g_notifier.get(), &QSocketNotifier::activated, [] { SaveShots(); });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &sa, nullptr);
}

void StopWindowShots()
{
    if (!g_notifier)
        return;
    signal(SIGUSR1, SIG_IGN);
    g_notifier.reset();
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

}  // namespace vxw
