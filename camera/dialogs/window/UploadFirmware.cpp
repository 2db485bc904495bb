#include "camera/dialogs/window/UploadFirmware.h"

#include "utility/vx_base64.h"
#include "utility/vx_log.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kBoundary[] = "----ipcamera";
constexpr size_t kChunk = 1024;
constexpr size_t kMaxReply = 64 * 1024;
constexpr int kSliceMs = 100;

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::string Base64(const std::string& text)
{
    std::vector<char> out((text.size() + 2) / 3 * 4 + 4);
    int len = static_cast<int>(out.size());
    if (vx_base64_encode(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()), out.data(),
                         &len)
        != 0)
        return {};
    return std::string(out.data(), static_cast<size_t>(len));
}

bool Stopped(const UploadOptions& o)
{
    return o.stop && o.stop->load();
}

bool ResolveIPv4(const CString& host, sockaddr_in& addr, int port)
{
    addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, host, &addr.sin_addr) == 1)
        return true;
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (host.IsEmpty() || getaddrinfo(host, nullptr, &hints, &list) != 0 || !list)
        return false;
    addr.sin_addr = reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr;
    freeaddrinfo(list);
    return true;
}

bool Connect(int fd, const sockaddr_in& addr, const UploadOptions& o)
{
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    for (int waited = 0; waited < o.connectTimeoutMs && !Stopped(o); waited += kSliceMs) {
        pollfd p{fd, POLLOUT, 0};
        int n = ::poll(&p, 1, kSliceMs);
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0) {
            int err = 0;
            socklen_t len = sizeof err;
            return getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
        }
    }
    return false;
}

// Bytes written to the socket that its peer has not acknowledged yet; 0
// when the kernel does not tell (then what was written counts as taken).
int64_t Unacknowledged(int fd)
{
    int queued = 0;
    return ::ioctl(fd, SIOCOUTQ, &queued) == 0 && queued > 0 ? queued : 0;
}

// The reply is whole once the camera closed or its Content-Length arrived.
bool ReplyComplete(const std::string& reply)
{
    size_t end = reply.find("\r\n\r\n");
    if (end == std::string::npos)
        return false;
    std::string head = reply.substr(0, end);
    for (auto& c : head)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t at = head.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return false;
    long long length = std::atoll(head.c_str() + at + 17);
    return length >= 0 && reply.size() - (end + 4) >= static_cast<size_t>(length);
}

}  // namespace

UploadRequest MakeUploadRequest(const CString& strUser, const CString& strSecret, int64_t fileSize)
{
    UploadRequest r;
    r.partHeader = std::string("--") + kBoundary
                   + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"vx.pkg\"\r\n"
                     "Content-Type: application/x-macbinary\r\n\r\n";
    r.closing = std::string("\r\n--") + kBoundary + "--\r\n";
    const int64_t length = fileSize + static_cast<int64_t>(r.partHeader.size() + r.closing.size());
    std::string account = std::string(strUser.view()) + ":" + std::string(strSecret.view());
    r.head = "POST /cgi-bin/hi3510/upgrade.cgi?-filename=vx.pkg HTTP/1.1\r\n"
             "Accept: */*\r\n"
             "Accept-Language: en-us\r\n"
             "Accept-Encoding: gzip, deflate\r\n"
             "User-Agent: VXDXS\r\n"
             "Host: 127.0.0.1:80\r\n"
             // The camera's close marks the end of its answer.
             "Connection: close\r\n"
             "Authorization: Basic "
             + Base64(account) + "\r\nContent-Length: " + std::to_string(length)
             + "\r\nContent-Type: multipart/form-data; boundary=" + kBoundary + "\r\n\r\n";
    return r;
}

int64_t UploadDeadlineMs(int64_t bytes, const UploadOptions& o)
{
    const int64_t rate = std::max<int64_t>(1, o.minBytesPerSecond);
    return std::max<int64_t>(o.idleMs, bytes / rate * 1000 + bytes % rate * 1000 / rate);
}

bool UploadSucceeded(const std::string& reply)
{
    size_t lineEnd = reply.find("\r\n");
    if (lineEnd == std::string::npos || reply.compare(0, lineEnd, "HTTP/1.1 200 OK") != 0)
        return false;
    size_t body = reply.find("\r\n\r\n");
    return body != std::string::npos && reply.substr(body + 4) == "upgrade succeed.";
}

int UploadFirmware(const CString& strPath, const CString& strHost, int nPort, const CString& strUser,
                   const CString& strSecret, const UploadOptions& o)
{
    Fd file(::open(strPath, O_RDONLY | O_CLOEXEC));
    struct stat st = {};
    if (file.get() < 0 || fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        vx_log(VX_LOG_TRACE, "update file null");
        return 0;
    }
    sockaddr_in addr;
    if (!ResolveIPv4(strHost, addr, nPort)) {
        vx_log(VX_LOG_TRACE, "update connect error");
        return 0;
    }
    Fd sock(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (sock.get() < 0) {
        vx_log(VX_LOG_TRACE, "update socket error");
        return 0;
    }
    if (!Connect(sock.get(), addr, o)) {
        vx_log(VX_LOG_TRACE, "update connect error");
        return 0;
    }
    const int64_t total = st.st_size;
    UploadRequest req = MakeUploadRequest(strUser, strSecret, total);
    // The pieces in order: head, part header, the file, closing line.
    int stage = 0;
    std::string piece = req.head;
    size_t pieceOff = 0;
    int64_t fileSent = 0;
    // What the camera took: bytes written less those the socket still holds.
    const int64_t before = static_cast<int64_t>(req.head.size() + req.partHeader.size());
    const int64_t request = before + total + static_cast<int64_t>(req.closing.size());
    int64_t written = 0;
    int64_t taken = 0;
    int64_t fileShown = -1;
    std::string reply;
    bool peerClosed = false;
    const auto start = std::chrono::steady_clock::now();
    const int64_t deadlineMs = UploadDeadlineMs(request, o);
    auto lastTraffic = start;
    vx_log(VX_LOG_TRACE, "update processing");
    for (;;) {
        if (Stopped(o))
            return 0;
        // Prepare the next piece once this one is out.
        while (stage < 4 && pieceOff == piece.size()) {
            pieceOff = 0;
            if (stage == 0) {
                piece = req.partHeader;
                stage = 1;
            } else if (stage == 1 || stage == 2) {
                char buf[kChunk];
                ssize_t n = fileSent < total ? ::read(file.get(), buf, sizeof buf) : 0;
                if (n < 0) {
                    vx_log(VX_LOG_TRACE, "update file null");
                    return 0;
                }
                if (n == 0) {
                    piece = req.closing;
                    stage = 3;
                } else {
                    piece.assign(buf, static_cast<size_t>(n));
                    fileSent += n;
                    stage = 2;
                }
            } else {
                piece.clear();
                stage = 4;
            }
        }
        bool writing = stage < 4;
        pollfd p{sock.get(), static_cast<short>(POLLIN | (writing ? POLLOUT : 0)), 0};
        int n = ::poll(&p, 1, kSliceMs);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            vx_log(VX_LOG_TRACE, "update select error");
            return 0;
        }
        auto now = std::chrono::steady_clock::now();
        // Traffic is what the camera took or said, not a wake-up of poll.
        int64_t nowTaken = std::max<int64_t>(0, written - Unacknowledged(sock.get()));
        if (nowTaken > taken) {
            taken = nowTaken;
            lastTraffic = now;
        }
        int64_t fileTaken = std::clamp<int64_t>(taken - before, 0, total);
        if (fileTaken != fileShown && o.progress) {
            fileShown = fileTaken;
            o.progress(fileTaken, total);
        }
        if (std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count() >= deadlineMs) {
            vx_log(VX_LOG_TRACE, "update deadline passed");
            return 0;
        }
        if (std::chrono::duration_cast<std::chrono::milliseconds>(now - lastTraffic).count() >= o.idleMs) {
            vx_log(VX_LOG_TRACE, "update select timeout");
            return 0;
        }
        if (n == 0)
            continue;
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            char buf[4096];
            ssize_t got = ::recv(sock.get(), buf, sizeof buf, 0);
            if (got < 0 && errno != EAGAIN && errno != EINTR) {
                vx_log(VX_LOG_TRACE, "update recv error");
                return 0;
            }
            if (got == 0)
                peerClosed = true;
            if (got > 0) {
                lastTraffic = now;
                if (reply.size() + static_cast<size_t>(got) > kMaxReply) {
                    vx_log(VX_LOG_TRACE, "update recv error");
                    return 0;
                }
                reply.append(buf, static_cast<size_t>(got));
            }
        }
        if (peerClosed || (stage == 4 && ReplyComplete(reply)))
            break;
        if (writing && (p.revents & POLLOUT)) {
            ssize_t sent = ::send(sock.get(), piece.data() + pieceOff, piece.size() - pieceOff, MSG_NOSIGNAL);
            if (sent < 0 && errno != EAGAIN && errno != EINTR) {
                vx_log(VX_LOG_TRACE, "update send error");
                return 0;
            }
            if (sent > 0) {
                pieceOff += static_cast<size_t>(sent);
                written += sent;
            }
        }
    }
    // An answer that came before the whole package went out is a refusal.
    const bool ok = stage == 4 && UploadSucceeded(reply);
    // The camera answered, so it took everything: the share ends whole.
    if (ok && fileShown != total && o.progress)
        o.progress(total, total);
    return ok ? 1 : 0;
}
