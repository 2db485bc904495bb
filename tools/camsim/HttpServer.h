#pragma once
// A small HTTP/1.1 server over POSIX sockets (TcpListener's accept loop,
// one thread per connection), keep-alive, Content-Length and chunked
// request bodies. The handler runs on the connection's thread and may be
// called from many threads at once.
//
// One of the three HTTP servers of the tests, kept for what the others
// cannot do: it is the camera itself, the peer of every end-to-end test, with
// each family's dialect, its own authentication and faults. The tests' own
// servers (tests/support/LoopbackHttpServer.h for exact bytes,
// tests/ui/common/web_test_server.py for TLS) know nothing of cameras.

#include "tools/camsim/HttpMessage.h"
#include "tools/camsim/TcpListener.h"

#include <cstdint>
#include <functional>
#include <string>

namespace camsim {

class HttpServer {
public:
    using Handler = std::function<HttpReply(const HttpRequest&)>;

    explicit HttpServer(Handler handler);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Set before start(): the pace a request's body is read at (its default
    // reads every body as fast as it comes). Runs on connection threads.
    void setBodyPace(std::function<BodyPace(const HttpRequest&)> pace) { bodyPace_ = std::move(pace); }

    // Binds and starts serving; port 0 picks a free one. False with `error`.
    bool start(const std::string& address, int port, std::string& error);
    void stop();
    int port() const { return listener_.port(); }

    // Closes the port and every open connection now and opens the same port
    // again after `seconds`.
    void vanish(int seconds) { listener_.vanish(seconds); }

private:
    void serve(int fd);
    // Waits `ms` in short steps; false when the server stopped or vanished.
    bool pause(int ms, uint64_t epoch) const;
    // Sends at about `rate` bytes a second, a tenth of it every 100 ms.
    bool sendPaced(int fd, const std::string& data, int rate, uint64_t epoch) const;
    bool sendReply(int fd, const HttpRequest& req, HttpReply& reply, bool keepAlive, uint64_t epoch);

    Handler handler_;
    std::function<BodyPace(const HttpRequest&)> bodyPace_;
    TcpListener listener_;  // last: it stops before the handler goes
};

}  // namespace camsim
