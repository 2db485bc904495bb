#include "tools/camsim/TcpListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace camsim {

bool sendAll(int fd, const std::string& data)
{
    size_t off = 0;
    while (off < data.size()) {
        ssize_t n = ::send(fd, data.data() + off, data.size() - off, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        off += static_cast<size_t>(n);
    }
    return true;
}

TcpListener::TcpListener(Options options, Handler handler) : options_(std::move(options)), handler_(std::move(handler))
{}

TcpListener::~TcpListener()
{
    stop();
}

bool TcpListener::openListener(std::string& error)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + strerror(errno);
        return false;
    }
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<uint16_t>(port_));
    if (inet_pton(AF_INET, address_.c_str(), &sa.sin_addr) != 1) {
        ::close(fd);
        error = "bad address " + address_;
        return false;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0 || ::listen(fd, 128) < 0) {
        error = "bind " + address_ + ":" + std::to_string(port_) + ": " + strerror(errno);
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port_ = ntohs(sa.sin_port);
    listenFd_ = fd;
    return true;
}

void TcpListener::closeListener()
{
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

bool TcpListener::start(const std::string& address, int port, std::string& error)
{
    address_ = address;
    port_ = port;
    if (!openListener(error))
        return false;
    running_ = true;
    acceptThread_ = std::thread([this] { acceptLoop(); });
    return true;
}

void TcpListener::stop()
{
    if (!running_.exchange(false))
        return;
    if (acceptThread_.joinable())
        acceptThread_.join();
    closeListener();
    dropConnections();
    // The connection threads are detached and use this object to the end.
    std::unique_lock lock(connMutex_);
    connDone_.wait_for(lock, std::chrono::seconds(5), [this] { return connCount_ == 0; });
}

void TcpListener::vanish(int seconds)
{
    std::unique_lock lock(vanishMutex_);
    vanishUntil_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    vanishPending_ = true;
    // Once this returns the port is closed, so a client's next connect fails.
    vanishDone_.wait_for(lock, std::chrono::seconds(2), [this] { return !vanishPending_; });
}

void TcpListener::dropConnections()
{
    ++epoch_;
    std::lock_guard lock(connMutex_);
    for (int fd : connFds_)
        ::shutdown(fd, SHUT_RDWR);
}

void TcpListener::acceptLoop()
{
    while (running_) {
        bool gone = false, back = false;
        {
            std::lock_guard lock(vanishMutex_);
            if (vanishPending_) {
                vanishPending_ = false;
                gone = true;
            } else if (listenFd_ < 0 && std::chrono::steady_clock::now() >= vanishUntil_) {
                back = true;
            }
        }
        if (gone) {
            closeListener();
            dropConnections();
            vanishDone_.notify_all();
            continue;
        }
        if (back) {
            std::string error;
            if (openListener(error)) {
                fprintf(stderr, "camsim: %s port %d back\n", options_.name.c_str(), port_);
                backFailed_ = false;
            } else if (!backFailed_) {
                fprintf(stderr, "camsim: %s port not back yet: %s\n", options_.name.c_str(), error.c_str());
                backFailed_ = true;
            }
        }
        if (listenFd_ < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        if (options_.noDelay) {
            int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        }
        {
            std::lock_guard lock(connMutex_);
            if (options_.maxConnections > 0 && connCount_ >= options_.maxConnections) {
                sendAll(fd, options_.refusal);
                ::close(fd);
                continue;
            }
            connFds_.insert(fd);
            ++connCount_;
        }
        auto finish = [this, fd] {
            std::lock_guard lock(connMutex_);
            connFds_.erase(fd);
            ::close(fd);
            --connCount_;
            connDone_.notify_all();
        };
        try {
            std::thread([this, fd, finish] {
                handler_(fd);
                finish();
            }).detach();
        } catch (const std::system_error&) {
            finish();  // no thread to be had: the client sees its connection close
        }
    }
}

}  // namespace camsim
