#pragma once
// One connection of a side channel (see TcpListener for the accept loop).
// Used by the connection's own thread only.

#include <string>

namespace camsim {

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
