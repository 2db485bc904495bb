#include "camera/session/HVSocket.h"

#include "utility/vx_log.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace hvsock {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point until)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// Waits for `events` on fd; 1 ready, 0 time-out, -1 error, -2 woken.
int PollFor(int fd, short events, int timeoutMs, int wakeFd)
{
    auto until = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    while (true) {
        pollfd p[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        int n = ::poll(p, wakeFd >= 0 ? 2 : 1, MsLeft(until));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return kWaitError;
        }
        if (wakeFd >= 0 && (p[1].revents & POLLIN))
            return kWoken;
        if (n == 0)
            return kWaitTimeout;
        const short re = p[0].revents;
        if (re & events)
            return kReadable;
        if (events == POLLIN && (re & POLLHUP))
            return kReadable;  // the read that follows sees the close
        if (re & (POLLERR | POLLHUP | POLLNVAL))
            return kWaitError;
    }
}

bool Resolve(const char* host, int port, sockaddr_storage& out, socklen_t& len)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    std::string service = std::to_string(port);
    if (::getaddrinfo(host, service.c_str(), &hints, &found) != 0 || !found)
        return false;
    std::memcpy(&out, found->ai_addr, found->ai_addrlen);
    len = found->ai_addrlen;
    ::freeaddrinfo(found);
    return true;
}

bool SetTimeout(int fd, int option, int ms)
{
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv) == 0;
}

bool SetBlocking(int fd, bool blocking)
{
    int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return false;
    flags = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, flags) == 0;
}

}  // namespace

WakeFd::WakeFd() : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeFd::~WakeFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void WakeFd::Set()
{
    uint64_t one = 1;
    if (m_fd >= 0)
        (void)!::write(m_fd, &one, sizeof one);
}

void WakeFd::Clear()
{
    uint64_t value = 0;
    if (m_fd >= 0)
        (void)!::read(m_fd, &value, sizeof value);
}

bool WakeFd::IsSet() const
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1;
}

int Connect(const char* host, int port, int timeoutMs, int wakeFd)
{
    sockaddr_storage addr{};
    socklen_t addrLen = 0;
    if (!host || !*host || port <= 0 || port > 65535 || !Resolve(host, port, addr, addrLen)) {
        vx_log(VX_LOG_ERROR, "cannot resolve server ip %s", host ? host : "");
        return kUnresolved;
    }
    int fd = ::socket(addr.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return kNoSocket;
    int on = 1;
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        Close(fd);
        return kNoReuse;
    }
    if (!SetTimeout(fd, SO_SNDTIMEO, timeoutMs)) {
        Close(fd);
        return kNoSendTimeout;
    }
    if (!SetTimeout(fd, SO_RCVTIMEO, timeoutMs)) {
        Close(fd);
        return kNoRecvTimeout;
    }
    if (!SetBlocking(fd, false)) {
        Close(fd);
        return kNoSocket;
    }
    int r = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), addrLen);
    if (r != 0 && errno != EINPROGRESS) {
        int e = errno;
        Close(fd);
        return e == ECONNREFUSED ? kRefused : kTimeout;
    }
    if (r != 0) {
        int w = PollFor(fd, POLLOUT, timeoutMs, wakeFd);
        int soError = 0;
        socklen_t soLen = sizeof soError;
        bool answered = w == kReadable || w == kWaitError;
        if (!answered || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &soLen) != 0 || soError != 0
            || w != kReadable) {
            Close(fd);
            return soError == ECONNREFUSED ? kRefused : kTimeout;
        }
    }
    if (!SetBlocking(fd, true)) {
        Close(fd);
        return kNoSocket;
    }
    return fd;
}

int WaitReadable(int fd, int timeoutMs, int wakeFd)
{
    if (fd < 0)
        return kWaitError;
    return PollFor(fd, POLLIN, timeoutMs, wakeFd);
}

int SendAll(int fd, const void* data, size_t length, int timeoutMs, int wakeFd)
{
    if (fd < 0 || (!data && length))
        return -1;
    const auto* p = static_cast<const char*>(data);
    size_t sent = 0;
    while (sent < length) {
        ssize_t n = ::send(fd, p + sent, length - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (PollFor(fd, POLLOUT, timeoutMs, wakeFd) == kReadable)
                continue;
        }
        return -1;
    }
    return static_cast<int>(sent);
}

int RecvAll(int fd, void* buffer, size_t length, int timeoutMs, int wakeFd)
{
    if (fd < 0 || (!buffer && length))
        return 0;
    auto* p = static_cast<char*>(buffer);
    size_t got = 0;
    while (got < length) {
        ssize_t n = ::recv(fd, p + got, length - got, MSG_DONTWAIT);
        if (n > 0) {
            got += static_cast<size_t>(n);
            continue;
        }
        if (n == 0)
            break;  // the peer closed
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            break;
        if (PollFor(fd, POLLIN, timeoutMs, wakeFd) != kReadable)
            break;
    }
    return static_cast<int>(got);
}

void Close(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace hvsock
