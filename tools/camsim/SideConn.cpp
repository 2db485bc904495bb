#include "tools/camsim/SideListener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace camsim {

SideListener::~SideListener()
{
    stop();
}

bool SideListener::start(const std::string& address, int port, std::string& error)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = strerror(errno);
        return false;
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1) {
        ::close(fd);
        error = "bad address " + address;
        return false;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0 || ::listen(fd, 64) < 0) {
        error = std::to_string(port) + ": " + strerror(errno);
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port_ = ntohs(sa.sin_port);
    listenFd_ = fd;
    running_ = true;
    acceptThread_ = std::thread([this] { acceptLoop(); });
    return true;
}

void SideListener::stop()
{
    if (!running_.exchange(false))
        return;
    if (acceptThread_.joinable())
        acceptThread_.join();
    ::close(listenFd_);
    listenFd_ = -1;
    std::lock_guard lock(connMutex_);
    for (int fd : conns_)
        ::shutdown(fd, SHUT_RDWR);
}

void SideListener::acceptLoop()
{
    while (running_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        {
            std::lock_guard lock(connMutex_);
            conns_.insert(fd);
        }
        std::thread([this, fd] {
            handler_(fd);
            {
                std::lock_guard lock(connMutex_);
                conns_.erase(fd);
            }
            ::close(fd);
        }).detach();
    }
}

bool SideConn::fill(int timeoutMs)
{
    if (!waitReadable(timeoutMs))
        return false;
    char buf[4096];
    ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0)
        return false;
    pending.append(buf, static_cast<size_t>(n));
    return true;
}

bool SideConn::waitReadable(int timeoutMs)
{
    if (!pending.empty())
        return true;
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0;
    }
}

bool SideConn::readExact(std::string& out, size_t n, int timeoutMs)
{
    while (pending.size() < n) {
        if (!fill(timeoutMs))
            return false;
    }
    out = pending.substr(0, n);
    pending.erase(0, n);
    return true;
}

bool SideConn::readHead(std::string& out, size_t limit, int timeoutMs)
{
    for (;;) {
        size_t p = pending.find("\r\n\r\n");
        if (p != std::string::npos) {
            out = pending.substr(0, p + 4);
            pending.erase(0, p + 4);
            return true;
        }
        if (pending.size() > limit || !fill(timeoutMs))
            return false;
    }
}

bool SideConn::send(const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace camsim
