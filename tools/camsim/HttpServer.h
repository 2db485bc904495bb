#pragma once
// A small HTTP/1.1 server over POSIX sockets: one accept thread, one thread
// per connection, keep-alive, Content-Length and chunked request bodies.
// The handler runs on the connection's thread and may be called from many
// threads at once.
//
// One of the three HTTP servers of the tests, kept for what the others
// cannot do: it is the camera itself, the peer of every end-to-end test, with
// each family's dialect, its own authentication and faults. The tests' own
// servers (tests/support/LoopbackHttpServer.h for exact bytes,
// tests/ui/common/web_test_server.py for TLS) know nothing of cameras.

#include "tools/camsim/HttpMessage.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace camsim {

class HttpServer {
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit HttpServer(Handler handler);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds and starts serving; port 0 picks a free one. False with `error`.
    bool start(const std::string& address, int port, std::string& error);
    void stop();
    int port() const { return port_; }

    // Closes the port and every open connection now and opens the same port
    // again after `seconds`.
    void vanish(int seconds);

private:
    void acceptLoop();
    void serve(int fd);
    bool openListener(std::string& error);
    void closeListener();
    void dropConnections();
    bool stillValid(uint64_t epoch) const;
    // Waits `ms` in short steps; false when the server stopped or vanished.
    bool pause(int ms, uint64_t epoch) const;
    // Sends at about `rate` bytes a second, a tenth of it every 100 ms.
    bool sendPaced(int fd, const std::string& data, int rate, uint64_t epoch) const;
    bool sendReply(int fd, const HttpRequest& req, HttpReply& reply, bool keepAlive, uint64_t epoch);

    Handler handler_;
    std::string address_;
    int port_ = 0;
    int listenFd_ = -1;        // touched only by start() and the accept thread
    bool backFailed_ = false;  // accept thread only
    std::thread acceptThread_;
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> epoch_{0};  // bumped when connections are dropped

    std::mutex vanishMutex_;  // guards vanishUntil_ and vanishPending_
    std::chrono::steady_clock::time_point vanishUntil_{};
    bool vanishPending_ = false;
    std::condition_variable vanishDone_;

    std::mutex connMutex_;  // guards connFds_ and connCount_
    std::condition_variable connDone_;
    std::set<int> connFds_;
    int connCount_ = 0;
};

}  // namespace camsim
