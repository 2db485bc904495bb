#pragma once
// A plain TCP listener for the side channels on ports of their own (the
// alarm and talk ports of families that do not use the web port): one
// accept thread, one detached thread per connection that runs the handler
// and then closes the connection. stop() closes the port and shuts every
// open connection down, so handlers blocked in a read return.

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace camsim {

class SideListener {
public:
    using Handler = std::function<void(int fd)>;
    explicit SideListener(Handler handler) : handler_(std::move(handler)) {}
    ~SideListener();
    SideListener(const SideListener&) = delete;
    SideListener& operator=(const SideListener&) = delete;

    // Port 0 picks a free one. False with `error` (for example no permission
    // for a port below 1024).
    bool start(const std::string& address, int port, std::string& error);
    void stop();
    int port() const { return port_; }

private:
    void acceptLoop();

    Handler handler_;
    int port_ = 0;
    int listenFd_ = -1;
    std::thread acceptThread_;
    std::atomic<bool> running_{false};
    std::mutex connMutex_;  // guards conns_
    std::set<int> conns_;
};

// Blocking reads and writes on one side-channel connection with a time-out
// per call. Peers gone mid-write raise no signal.
class SideConn {
public:
    explicit SideConn(int fd) : fd_(fd) {}
    int fd() const { return fd_; }
    // Bytes that were read ahead of what the caller took (a request's head
    // read past its end).
    std::string pending;

    // Exactly n bytes, or false when the peer closed or nothing came in time.
    bool readExact(std::string& out, size_t n, int timeoutMs);
    // Up to and including the first "\r\n\r\n"; false past `limit` bytes.
    bool readHead(std::string& out, size_t limit, int timeoutMs);
    bool send(const std::string& data);
    // Waits until data is readable; false on time-out or close.
    bool waitReadable(int timeoutMs);

private:
    bool fill(int timeoutMs);
    int fd_;
};

}  // namespace camsim
