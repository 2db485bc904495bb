#include "tools/camsim/HttpServer.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <strings.h>
#include <thread>

namespace camsim {

namespace {

constexpr size_t kMaxHead = 64 * 1024;
constexpr size_t kMaxBody = 64 * 1024 * 1024;
constexpr int kIdleMs = 30000;

std::string lower(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// Reads from the connection into `buf` until it holds at least `want` bytes
// or the peer closes. Waits in steps so a stop or vanish is noticed.
class Reader {
public:
    Reader(int fd, const std::function<bool()>& valid) : fd_(fd), valid_(valid) {}
    std::string buf;

    bool fill(size_t want, int idleMs)
    {
        int waited = 0;
        while (buf.size() < want) {
            if (!valid_())
                return false;
            pollfd p{fd_, POLLIN, 0};
            int r = ::poll(&p, 1, 100);
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0)
                return false;
            if (r == 0) {
                waited += 100;
                if (waited >= idleMs)
                    return false;
                continue;
            }
            char tmp[16384];
            ssize_t n = ::recv(fd_, tmp, sizeof tmp, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            buf.append(tmp, static_cast<size_t>(n));
        }
        return true;
    }

    // Sleeps `ms` in short steps; false when the server stopped or vanished.
    bool wait(int ms)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            if (!valid_())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
        }
        return valid_();
    }

    // Reads up to and including the next CRLF; false on close or overflow.
    bool line(std::string& out, size_t limit)
    {
        for (;;) {
            size_t p = buf.find("\r\n");
            if (p != std::string::npos) {
                out = buf.substr(0, p);
                buf.erase(0, p + 2);
                return true;
            }
            if (buf.size() > limit || !fill(buf.size() + 1, kIdleMs))
                return false;
        }
    }

private:
    int fd_;
    const std::function<bool()>& valid_;
};

enum class ReadResult { Ok, Closed, Bad, TooLarge, HeadTooLarge };

ReadResult readRequest(Reader& in, HttpRequest& req)
{
    size_t end;
    for (;;) {
        end = in.buf.find("\r\n\r\n");
        if (end != std::string::npos && end > kMaxHead)
            return ReadResult::HeadTooLarge;
        if (end != std::string::npos)
            break;
        if (in.buf.size() > kMaxHead)
            return ReadResult::HeadTooLarge;
        if (!in.fill(in.buf.size() + 1, kIdleMs))
            return ReadResult::Closed;
    }
    std::string head = in.buf.substr(0, end);
    in.buf.erase(0, end + 4);
    // Control bytes (a lone LF, NUL, ...) have no place in a head; taking them
    // would let a request write lines of its own into the request log.
    for (size_t i = 0; i < head.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(head[i]);
        bool crlf = c == '\r' && i + 1 < head.size() && head[i + 1] == '\n';
        bool lf = c == '\n' && i > 0 && head[i - 1] == '\r';
        if ((c < 0x20 && c != '\t' && !crlf && !lf) || c == 0x7f)
            return ReadResult::Bad;
    }

    size_t eol = head.find("\r\n");
    std::string first = head.substr(0, eol);
    size_t s1 = first.find(' ');
    size_t s2 = s1 == std::string::npos ? s1 : first.find(' ', s1 + 1);
    if (s1 == std::string::npos || s2 == std::string::npos || first.find(' ', s2 + 1) != std::string::npos)
        return ReadResult::Bad;
    req.method = first.substr(0, s1);
    req.target = first.substr(s1 + 1, s2 - s1 - 1);
    req.version = first.substr(s2 + 1);
    if (req.method.empty() || req.target.empty() || req.version.rfind("HTTP/1.", 0) != 0)
        return ReadResult::Bad;
    // A target may come in absolute form ("http://host:port/path?query"), as
    // some clients of a camera's side channels send it.
    std::string local = req.target;
    if (strncasecmp(local.c_str(), "http://", 7) == 0) {
        size_t slash = local.find('/', 7);
        local = slash == std::string::npos ? "/" : local.substr(slash);
    }
    size_t q = local.find('?');
    req.path = local.substr(0, q);
    req.query = q == std::string::npos ? std::string() : local.substr(q + 1);

    size_t pos = eol == std::string::npos ? head.size() : eol + 2;
    while (pos < head.size()) {
        size_t e = head.find("\r\n", pos);
        if (e == std::string::npos)
            e = head.size();
        std::string line = head.substr(pos, e - pos);
        pos = e + 2;
        size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            return ReadResult::Bad;
        req.headers.emplace_back(lower(trim(line.substr(0, colon))), trim(line.substr(colon + 1)));
    }
    return ReadResult::Ok;
}

// Takes `n` bytes of body at the pace asked: a slice every 100 ms under a
// rate, whether the bytes were still on the wire or already buffered with
// the head, so a counter sees them arrive the way a slow camera reads them.
ReadResult readPacedBody(Reader& in, HttpRequest& req, size_t n, const BodyPace& pace)
{
    const size_t slice = pace.rate > 0 ? std::max<size_t>(1, static_cast<size_t>(pace.rate) / 10) : n;
    size_t got = 0;
    while (got < n) {
        size_t budget = std::min(slice, n - got);
        while (budget > 0) {
            if (pace.cutAt >= 0 && got >= static_cast<size_t>(pace.cutAt))
                return ReadResult::Closed;
            size_t want = budget;
            if (pace.cutAt >= 0)
                want = std::min(want, static_cast<size_t>(pace.cutAt) - got);
            if (in.buf.empty() && !in.fill(1, kIdleMs))
                return ReadResult::Closed;
            size_t take = std::min(want, in.buf.size());
            req.body.append(in.buf, 0, take);
            in.buf.erase(0, take);
            got += take;
            budget -= take;
            if (pace.onBytes)
                pace.onBytes(take);
        }
        if (pace.cutAt >= 0 && got >= static_cast<size_t>(pace.cutAt) && got < n)
            return ReadResult::Closed;
        if (pace.rate > 0 && got < n && !in.wait(100))
            return ReadResult::Closed;
    }
    return ReadResult::Ok;
}

ReadResult readBody(Reader& in, HttpRequest& req, const BodyPace& pace)
{
    if (strcasecmp(req.header("transfer-encoding").c_str(), "chunked") == 0) {
        for (;;) {
            std::string sizeLine;
            if (!in.line(sizeLine, 1024))
                return ReadResult::Closed;
            size_t semi = sizeLine.find(';');
            std::string hex = trim(sizeLine.substr(0, semi));
            if (hex.empty() || hex.size() > 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return ReadResult::Bad;
            size_t n = std::stoul(hex, nullptr, 16);
            if (req.body.size() + n > kMaxBody)
                return ReadResult::TooLarge;
            if (n == 0) {
                std::string trailer;
                do {
                    if (!in.line(trailer, kMaxHead))
                        return ReadResult::Closed;
                } while (!trailer.empty());
                return ReadResult::Ok;
            }
            if (!in.fill(n + 2, kIdleMs))
                return ReadResult::Closed;
            if (in.buf.compare(n, 2, "\r\n") != 0)
                return ReadResult::Bad;
            req.body.append(in.buf, 0, n);
            in.buf.erase(0, n + 2);
        }
    }
    std::string len = req.header("content-length");
    if (len.empty())
        return ReadResult::Ok;
    if (len.size() > 12 || len.find_first_not_of("0123456789") != std::string::npos)
        return ReadResult::Bad;
    size_t n = std::stoull(len);
    if (n > kMaxBody)
        return ReadResult::TooLarge;
    if (pace.active())
        return readPacedBody(in, req, n, pace);
    if (!in.fill(n, kIdleMs))
        return ReadResult::Closed;
    req.body = in.buf.substr(0, n);
    in.buf.erase(0, n);
    return ReadResult::Ok;
}

// Cuts the body into pieces of changing size, so a client that assumes one
// chunk, or chunks of one size, shows it.
std::string chunk(const std::string& body)
{
    static const size_t sizes[] = {7, 1, 32, 3, 200, 16};
    std::string out;
    size_t off = 0, i = 0;
    while (off < body.size()) {
        size_t n = std::min(sizes[i++ % std::size(sizes)], body.size() - off);
        char hex[32];
        // One size line carries an extension, which a client must skip.
        snprintf(hex, sizeof hex, i == 2 ? "%zx;piece=%zu\r\n" : "%zX\r\n", n, i);
        out += hex;
        out.append(body, off, n);
        out += "\r\n";
        off += n;
    }
    out += "0\r\n\r\n";
    return out;
}

}  // namespace

// More connections than a camera would ever have open; past them the camera
// answers 503 at once rather than starting more threads.
HttpServer::HttpServer(Handler handler)
    : handler_(std::move(handler)),
      listener_({.name = "http",
                 .noDelay = true,
                 .maxConnections = 256,
                 .refusal = "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"},
                [this](int fd) { serve(fd); })
{}

HttpServer::~HttpServer()
{
    stop();
}

bool HttpServer::start(const std::string& address, int port, std::string& error)
{
    return listener_.start(address, port, error);
}

void HttpServer::stop()
{
    listener_.stop();
}

bool HttpServer::sendPaced(int fd, const std::string& data, int rate, uint64_t epoch) const
{
    size_t slice = std::max<size_t>(1, static_cast<size_t>(rate) / 10);
    for (size_t off = 0; off < data.size(); off += slice) {
        if (off > 0 && !pause(100, epoch))
            return false;
        if (!sendAll(fd, data.substr(off, slice)))
            return false;
    }
    return true;
}

bool HttpServer::pause(int ms, uint64_t epoch) const
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (!listener_.stillValid(epoch))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20)));
    }
    return listener_.stillValid(epoch);
}

bool HttpServer::sendReply(int fd, const HttpRequest& req, HttpReply& reply, bool keepAlive, uint64_t epoch)
{
    if (reply.delayMs > 0 && !pause(reply.delayMs, epoch))
        return false;
    if (reply.kind == HttpReply::Kind::Hang) {
        // Hold the connection without a byte until the client gives up, the
        // fault is lifted or the server goes away; then close it.
        while (listener_.stillValid(epoch) && (!reply.keepHanging || reply.keepHanging())) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                char tmp[4096];
                if (::recv(fd, tmp, sizeof tmp, MSG_DONTWAIT) == 0)
                    break;
            }
        }
        return false;
    }
    if (reply.kind == HttpReply::Kind::Raw) {
        sendAll(fd, reply.raw);
        return false;
    }
    if (reply.endless) {
        std::string head = req.version + " " + std::to_string(reply.status) + " " + reasonPhrase(reply.status)
                           + "\r\nServer: camsim\r\nContent-Type: " + reply.contentType
                           + "\r\nConnection: close\r\n\r\n";
        bool ok = sendAll(fd, head);
        while (ok && req.method != "HEAD" && !reply.body.empty() && listener_.stillValid(epoch))
            ok = sendAll(fd, reply.body);
        return false;
    }
    bool http10 = req.version == "HTTP/1.0";
    bool chunked = reply.chunked && !http10;
    std::string out = req.version + " " + std::to_string(reply.status) + " " + reasonPhrase(reply.status) + "\r\n";
    out += "Server: camsim\r\n";
    if (!reply.contentType.empty())
        out += "Content-Type: " + reply.contentType + "\r\n";
    for (const auto& [k, v] : reply.headers)
        out += k + ": " + v + "\r\n";
    if (chunked)
        out += "Transfer-Encoding: chunked\r\n";
    else
        out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    size_t headLength = out.size();
    if (req.method != "HEAD")
        out += chunked ? chunk(reply.body) : reply.body;
    bool cut = reply.cutAfter >= 0 && out.size() > headLength + static_cast<size_t>(reply.cutAfter);
    if (cut)
        out.resize(headLength + static_cast<size_t>(reply.cutAfter));
    bool ok = reply.rate > 0 ? sendPaced(fd, out, reply.rate, epoch) : sendAll(fd, out);
    if (cut)
        return false;
    if (reply.afterSend)
        reply.afterSend();
    return ok;
}

void HttpServer::serve(int fd)
{
    const uint64_t epoch = listener_.epoch();
    std::function<bool()> valid = [this, epoch] { return listener_.stillValid(epoch); };
    Reader in(fd, valid);
    for (;;) {
        HttpRequest req;
        ReadResult r = readRequest(in, req);
        if (r == ReadResult::Ok) {
            if (strcasecmp(req.header("expect").c_str(), "100-continue") == 0)
                sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n");
            r = readBody(in, req, bodyPace_ ? bodyPace_(req) : BodyPace{});
        }
        if (r == ReadResult::Closed)
            return;
        if (r != ReadResult::Ok) {
            int status = r == ReadResult::TooLarge ? 413 : r == ReadResult::HeadTooLarge ? 431 : 400;
            std::string body = std::string(reasonPhrase(status)) + "\n";
            sendAll(fd, "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status)
                            + "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size())
                            + "\r\nConnection: close\r\n\r\n" + body);
            // Closing with unread input would reset the connection and could take
            // the error reply with it: read what the client still sends first.
            ::shutdown(fd, SHUT_WR);
            for (int i = 0; i < 10; ++i) {
                pollfd p{fd, POLLIN, 0};
                char tmp[16384];
                if (::poll(&p, 1, 100) > 0 && ::recv(fd, tmp, sizeof tmp, 0) <= 0)
                    break;
            }
            return;
        }
        std::string conn = lower(req.header("connection"));
        bool keepAlive = req.version == "HTTP/1.0" ? conn == "keep-alive" : conn != "close";
        HttpReply reply = handler_(req);
        if (reply.kind == HttpReply::Kind::Handover) {
            if (reply.handover)
                reply.handover(fd, std::move(in.buf));
            return;
        }
        if (reply.close)
            keepAlive = false;
        if (!sendReply(fd, req, reply, keepAlive, epoch) || !keepAlive)
            return;
    }
}

}  // namespace camsim
