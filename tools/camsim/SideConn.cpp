#include "tools/camsim/SideConn.h"

#include "tools/camsim/TcpListener.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

namespace camsim {

bool SideConn::fill(int timeoutMs)
{
    if (!waitReadable(timeoutMs))
        return false;
    char buf[4096];
    ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0)
        return false;
    pending.append(buf, static_cast<size_t>(n));
    return true;
}

bool SideConn::waitReadable(int timeoutMs)
{
    if (!pending.empty())
        return true;
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0;
    }
}

bool SideConn::readExact(std::string& out, size_t n, int timeoutMs)
{
    while (pending.size() < n) {
        if (!fill(timeoutMs))
            return false;
    }
    out = pending.substr(0, n);
    pending.erase(0, n);
    return true;
}

bool SideConn::readHead(std::string& out, size_t limit, int timeoutMs)
{
    for (;;) {
        size_t p = pending.find("\r\n\r\n");
        if (p != std::string::npos) {
            out = pending.substr(0, p + 4);
            pending.erase(0, p + 4);
            return true;
        }
        if (pending.size() > limit || !fill(timeoutMs))
            return false;
    }
}

bool SideConn::send(const std::string& data)
{
    return sendAll(fd_, data);
}

}  // namespace camsim
