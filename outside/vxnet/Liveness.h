#pragma once
// Whether a camera is still there when nothing else tells: a session without
// a stream learns of a lost camera only from a request that got no answer,
// and a host may send none for a long time. After 2 s without an answer the
// status asks the camera's HTTP port with a TCP connect (at most 500 ms, at
// most once a second).
//
// Threads: any; one mutex guards the times and the last probe's result and
// is held across the connect (so callers wait for one probe, not run many).

#include <cstdint>
#include <mutex>
#include <string>

namespace vxnet {

// A TCP connect to host:port within timeoutMs; the connection is closed at once.
bool tcpReachable(const std::string& host, int port, int timeoutMs);

class Liveness {
public:
    static constexpr int64_t kSilenceMs = 2000;
    static constexpr int64_t kProbeEveryMs = 1000;
    static constexpr int kProbeTimeoutMs = 500;

    // The camera answered (any HTTP reply).
    void answered();
    // The status to report: `current` (the last request's), or the probe's
    // verdict once the camera has been silent long enough.
    int status(const std::string& host, int port, int current);

private:
    std::mutex m_mutex;  // guards everything below
    int64_t m_lastAnswerMs = -1;
    int64_t m_lastProbeMs = -1;
    int m_probeResult = 0;
};

}  // namespace vxnet
