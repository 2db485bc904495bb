// Broadcasting registered messages between the programs of one user. Each
// program with a message loop listens on a datagram socket of its own in a
// per-user folder (mode 0700, sockets 0600); a broadcast posts to this
// program's top-level windows and sends one datagram to every socket of the
// folder, naming the message, since ids of registered messages are only
// agreed on by name. Sockets of programs that are gone are removed.
#include "platform/ui/winuser.h"

#include "platform/kernel/runtime_folder.h"

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QSocketNotifier>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace vxw {

namespace {

constexpr const char* kMagic = "VXBC1";
constexpr size_t kMaxDatagram = 512;

// The folder, made when missing; empty when it is not safely ours. It is
// the lock folder too, so a single-instance lock and its broadcasts meet the
// same programs.
std::string Folder()
{
    return vxk::RuntimeFolder();
}

bool Address(const std::string& path, sockaddr_un& addr)
{
    if (path.size() >= sizeof(addr.sun_path))
        return false;
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void PostToTopLevels(UINT msg, WPARAM wParam, LPARAM lParam)
{
    for (HWND h : WindowRegistry::instance().topLevels())
        ::PostMessage(h, msg, wParam, lParam);
}

class Listener {
public:
    ~Listener()
    {
        m_notifier.reset();
        if (m_fd >= 0)
            close(m_fd);
        if (!m_path.empty())
            unlink(m_path.c_str());
    }

    bool start()
    {
        std::string dir = Folder();
        if (dir.empty())
            return false;
        m_path = dir + "/w-" + std::to_string(getpid()) + ".sock";
        sockaddr_un addr{};
        if (!Address(m_path, addr))
            return false;
        m_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (m_fd < 0)
            return false;
        unlink(m_path.c_str());
        mode_t old = umask(0177);
        int rc = bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        umask(old);
        if (rc != 0) {
            close(m_fd);
            m_fd = -1;
            m_path.clear();
            return false;
        }
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { read(); });
        return true;
    }

    const std::string& path() const { return m_path; }

private:
    void read()
    {
        char buf[kMaxDatagram + 1];
        for (;;) {
            ssize_t n = recv(m_fd, buf, kMaxDatagram, 0);
            if (n <= 0)
                return;
            buf[n] = '\0';
            handle(std::string(buf, static_cast<size_t>(n)));
        }
    }

    // "VXBC1 <name> <wParam> <lParam>": anything else is dropped.
    static void handle(const std::string& text)
    {
        char magic[8] = {};
        char name[256] = {};
        unsigned long long w = 0;
        long long l = 0;
        if (std::sscanf(text.c_str(), "%7s %255s %llu %lld", magic, name, &w, &l) != 4)
            return;
        if (std::strcmp(magic, kMagic) != 0 || !*name)
            return;
        UINT msg = ::RegisterWindowMessage(name);
        if (msg)
            PostToTopLevels(msg, static_cast<WPARAM>(w), static_cast<LPARAM>(l));
    }

    int m_fd = -1;
    std::string m_path;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

std::unique_ptr<Listener> g_listener;

}  // namespace

void StartBroadcastListener()
{
    if (g_listener)
        return;
    auto l = std::make_unique<Listener>();
    if (l->start())
        g_listener = std::move(l);
}

void StopBroadcastListener()
{
    g_listener.reset();
}

}  // namespace vxw

long BroadcastSystemMessage(DWORD flags, LPDWORD recipients, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (recipients)
        *recipients &= BSM_APPLICATIONS;
    std::string name;
    if (!vxw::RegisteredMessageName(msg, name))
        return -1;
    std::string own = vxw::g_listener ? vxw::g_listener->path() : std::string();
    if (!(flags & BSF_IGNORECURRENTTASK) && vxw::GuiThread::instance())
        vxw::PostToTopLevels(msg, wParam, lParam);
    std::string dir = vxw::Folder();
    if (dir.empty())
        return 1;
    std::string datagram = std::string(vxw::kMagic) + " " + name + " " + std::to_string(wParam) + " "
                           + std::to_string(static_cast<long long>(lParam)) + "\n";
    if (datagram.size() > vxw::kMaxDatagram)
        return -1;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string file = e->d_name;
            if (file.rfind("w-", 0) != 0 || file.size() < 8 || file.substr(file.size() - 5) != ".sock")
                continue;
            std::string path = dir + "/" + file;
            if (path == own)
                continue;
            sockaddr_un addr{};
            if (!vxw::Address(path, addr))
                continue;
            ssize_t sent = sendto(fd, datagram.data(), datagram.size(), MSG_DONTWAIT,
                                  reinterpret_cast<sockaddr*>(&addr), sizeof addr);
            if (sent < 0 && errno == ECONNREFUSED) {
                // Nobody listens there any more: the program ended without
                // removing its socket.
                struct stat st {};
                if (lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == getuid())
                    unlink(path.c_str());
            }
        }
        closedir(d);
    }
    close(fd);
    return 1;
}
