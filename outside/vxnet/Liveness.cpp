#include "outside/vxnet/Liveness.h"

#include "outside/vxnet/vxnet.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace vxnet {

namespace {

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool connectOne(const addrinfo& a, int timeoutMs)
{
    int fd = socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a.ai_protocol);
    if (fd < 0)
        return false;
    bool ok = false;
    if (connect(fd, a.ai_addr, a.ai_addrlen) == 0) {
        ok = true;
    } else if (errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, timeoutMs) == 1) {
            int err = 0;
            socklen_t len = sizeof err;
            ok = getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
        }
    }
    close(fd);
    return ok;
}

}  // namespace

bool tcpReachable(const std::string& host, int port, int timeoutMs)
{
    if (host.empty() || port <= 0 || port > 65535)
        return false;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    // Only addresses: a name look-up could take longer than the whole probe.
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        hints.ai_flags = AI_NUMERICSERV;
        if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0)
            return false;
    }
    bool ok = false;
    for (addrinfo* a = found; a && !ok; a = a->ai_next)
        ok = connectOne(*a, timeoutMs);
    freeaddrinfo(found);
    return ok;
}

void Liveness::answered()
{
    std::lock_guard lock(m_mutex);
    m_lastAnswerMs = nowMs();
    m_probeResult = VXNET_OK;
}

int Liveness::status(const std::string& host, int port, int current)
{
    std::lock_guard lock(m_mutex);
    int64_t now = nowMs();
    if (m_lastAnswerMs < 0)
        m_lastAnswerMs = now;  // the connect itself was the last answer
    if (now - m_lastAnswerMs < kSilenceMs)
        return current;
    if (m_lastProbeMs < 0 || now - m_lastProbeMs >= kProbeEveryMs) {
        m_lastProbeMs = now;
        m_probeResult = tcpReachable(host, port, kProbeTimeoutMs) ? VXNET_OK : VXNET_ERR_CONNECT;
    }
    // A camera that takes connections is there, even when one request of
    // it hung; one that refuses them is gone.
    return m_probeResult;
}

}  // namespace vxnet
