#pragma once
// The accept loop of every camsim port that is not RTSP (the web port and
// the side channels' own ports): one accept thread, one detached thread per
// connection that runs the handler and then closes the connection.
//
// stop() closes the port and shuts every open connection down, so handlers
// blocked in a read return, and waits a few seconds for them to finish.
// vanish() closes the port and every connection now and opens the same port
// again after a while, as a camera that drops off the network does.
//
// Threads: start, stop and vanish on the owner's thread; the handler runs on
// its connection's thread, many at once. Locks: vanishMutex_ and connMutex_,
// each held alone, never one inside the other.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace camsim {

// Writes all of `data`; false when the peer is gone. A peer gone mid-write
// raises no signal.
bool sendAll(int fd, const std::string& data);

class TcpListener {
public:
    using Handler = std::function<void(int fd)>;

    struct Options {
        std::string name;        // in the log line when a vanished port is back
        bool noDelay = false;    // replies go out at once, not coalesced
        int maxConnections = 0;  // 0: no limit
        std::string refusal;     // sent to a connection past the limit before it is closed
    };

    TcpListener(Options options, Handler handler);
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Binds and starts accepting; port 0 picks a free one. False with `error`
    // (for example no permission for a port below 1024).
    bool start(const std::string& address, int port, std::string& error);
    void stop();
    int port() const { return port_; }

    // Closes the port and every open connection now and opens the same port
    // again after `seconds`.
    void vanish(int seconds);

    // What a connection's handler takes when it starts; stillValid(epoch) is
    // false once the listener stopped or dropped that connection.
    uint64_t epoch() const { return epoch_; }
    bool stillValid(uint64_t epoch) const { return running_ && epoch_ == epoch; }

private:
    void acceptLoop();
    bool openListener(std::string& error);
    void closeListener();
    void dropConnections();

    const Options options_;
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
