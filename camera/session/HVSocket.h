#pragma once
// The side channels' socket module: TCP connections to a camera with a
// time-out, sending all of a buffer and receiving a given number of bytes.
//
// Every wait polls the socket together with the channel's wake descriptor
// (an eventfd), so stopping a channel ends a wait at once without closing a
// socket under a thread that still uses it; poll() has no limit on the
// descriptor's number. Sends never raise SIGPIPE.
//
// Threads: plain functions, safe from any thread; a socket is used by one
// thread at a time (its channel's).

#include <cstddef>
#include <string>

namespace hvsock {

// Results of Connect.
enum : int {
    kNoSocket = -1,
    kNoReuse = -2,
    kNoSendTimeout = -3,
    kNoRecvTimeout = -4,
    kRefused = -5,
    kTimeout = -6,  // also when the wait was woken
    kUnresolved = -7,
};

// Results of WaitReadable.
enum : int {
    kWaitTimeout = 0,
    kReadable = 1,
    kWaitError = -1,
    kWoken = -2,
};

// An eventfd that wakes the waits of one channel. Set stays set until
// Clear, so a wake that comes before the wait is not lost.
class WakeFd {
public:
    WakeFd();
    ~WakeFd();
    WakeFd(const WakeFd&) = delete;
    WakeFd& operator=(const WakeFd&) = delete;
    int fd() const { return m_fd; }
    void Set();
    void Clear();
    bool IsSet() const;

private:
    int m_fd = -1;
};

// A dotted address is taken as it is, a name is looked up (the first
// address). The socket has address reuse and send and receive time-outs
// of timeoutMs. Returns the socket or one of the codes above.
int Connect(const char* host, int port, int timeoutMs, int wakeFd = -1);
int WaitReadable(int fd, int timeoutMs, int wakeFd = -1);
// The byte count, or -1 when not all could be sent within timeoutMs (per
// wait), the peer went, or the channel was woken.
int SendAll(int fd, const void* data, size_t length, int timeoutMs, int wakeFd = -1);
// The bytes received: fewer than asked when the peer closed, on an error,
// after timeoutMs without data, or when woken.
int RecvAll(int fd, void* buffer, size_t length, int timeoutMs, int wakeFd = -1);
// Closes and sets the descriptor to -1; nothing for -1.
void Close(int& fd);

}  // namespace hvsock
