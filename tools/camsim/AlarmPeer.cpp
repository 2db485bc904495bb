// The alarm side of the side channels: subscriptions, keepalives and the
// events a test cues, in the text frames of families HX, AJ, HTL and the
// binary records of family HV; and the HV connection's login.
#include "tools/camsim/SidePeers.h"

#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace camsim {

namespace {

constexpr auto kKeepalive = std::chrono::seconds(2);

void putBe32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (8 * (3 - i)));
}

void putLe16(std::string& s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}

void putLe32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>(v >> (8 * i));
}

uint32_t le32(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(s[at + i]);
    return v;
}

std::string infHeader(uint8_t command, uint32_t bodyLength)
{
    std::string h(12, '\0');
    h[0] = 'I';
    h[1] = 'N';
    h[2] = 'F';
    h[3] = static_cast<char>(command);
    putLe32(h, 4, 0x00010001u);
    putLe32(h, 8, bodyLength);
    return h;
}

// The text up to the first NUL of a fixed field.
std::string fixedField(const std::string& s, size_t at, size_t size)
{
    std::string f = s.substr(at, size);
    size_t nul = f.find('\0');
    return nul == std::string::npos ? f : f.substr(0, nul);
}

// The peer of a subscription never sends again: readable means it went.
bool peerGone(int fd)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return false;
    char c;
    return ::recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT) <= 0;
}

}  // namespace

std::string SidePeers::frameFor(const AlarmEvent& e, bool badLength) const
{
    std::string payload;
    if (e.kind == "motion")
        payload = "alarm:md channel:1";
    else if (e.kind == "input")
        payload = "alarmin:1";
    else if (e.kind == "keepalive")
        payload = "keepalive";
    else
        payload = e.text;
    std::string frame(20, '\0');
    frame[0] = '$';
    putBe32(frame, 4, badLength ? 5000u : static_cast<uint32_t>(payload.size() + 12));
    frame[9] = static_cast<char>(e.byte9);
    return badLength ? frame + std::string(64, 'x') : frame + payload;
}

std::string SidePeers::recordFor(const AlarmEvent& e) const
{
    std::string rec(28, '\0');
    rec[0] = static_cast<char>(e.kind == "motion" ? 2 : e.kind == "input" ? 1 : e.kind == "keepalive" ? 0 : 3);
    putLe16(rec, 2, 1);
    rec[24] = static_cast<char>(e.start);
    return rec;
}

void SidePeers::alarmText(SideConn& conn, const HttpRequest& req)
{
    // The reply's text block repeats the request's own lines.
    std::string block;
    for (const char* name : {"Cseq", "Transport"}) {
        size_t p = req.body.find(name);
        if (p != std::string::npos)
            block += req.body.substr(p, req.body.find("\r\n", p) - p) + "\r\n";
    }
    if (block.empty())
        block = "Cseq: 1\r\n";
    block += "\r\n";
    AlarmFault fault;
    {
        std::lock_guard lock(mutex_);
        fault = alarmFault_;
    }
    if (fault == AlarmFault::Refuse) {
        std::lock_guard lock(mutex_);
        ++refusedSubscriptions_;
        conn.send("HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\n\r\n" + block);
        return;
    }
    if (!accountOk(req.header("authorization"), options_.family == Family::AJ)) {
        std::lock_guard lock(mutex_);
        ++refusedSubscriptions_;
        conn.send("HTTP/1.1 401 Unauthorized\r\nConnection: close\r\n\r\n" + block);
        return;
    }
    if (!conn.send("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: keep-alive\r\n\r\n"
                   + block))
        return;
    auto sub = std::make_shared<Subscriber>();
    runSubscriber(conn, sub);
}

void SidePeers::alarmHv(SideConn& conn)
{
    AlarmFault fault;
    {
        std::lock_guard lock(mutex_);
        fault = alarmFault_;
        if (fault == AlarmFault::Refuse)
            ++refusedSubscriptions_;
    }
    if (fault == AlarmFault::Refuse)
        return;
    auto sub = std::make_shared<Subscriber>();
    sub->hv = true;
    runSubscriber(conn, sub);
}

void SidePeers::runSubscriber(SideConn& conn, const std::shared_ptr<Subscriber>& sub)
{
    {
        std::lock_guard lock(mutex_);
        ++subscriptions_;
        subscribers_.push_back(sub);
    }
    for (;;) {
        AlarmEvent e{"keepalive", 1, 0x64, {}};
        bool cued = false;
        bool badFrames;
        {
            std::lock_guard lock(mutex_);
            badFrames = alarmFault_ == AlarmFault::BadFrames;
        }
        if (badFrames) {
            // A frame the client cannot take, at once, on every link: HV gets
            // a record cut short and the link closes.
            if (sub->hv) {
                conn.send(recordFor(e).substr(0, 10));
                break;
            }
            if (peerGone(conn.fd()) || !conn.send(frameFor(e, true)))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        {
            std::unique_lock lock(sub->mutex);
            sub->cv.wait_for(lock, kKeepalive, [&] { return sub->drop || !sub->events.empty(); });
            if (sub->drop)
                break;
            if (!sub->events.empty()) {
                cued = true;
                e = sub->events.front();
                sub->events.pop_front();
            }
        }
        if (peerGone(conn.fd()))
            break;
        const bool bad = e.kind == "badlength";
        if (bad && sub->hv)
            continue;
        if (!conn.send(sub->hv ? recordFor(e) : frameFor(e, bad)))
            break;
        if (cued) {
            std::lock_guard lock(mutex_);
            ++eventsSent_;
        }
    }
    std::lock_guard lock(mutex_);
    subscribers_.remove(sub);
}

void SidePeers::serveHv(int fd)
{
    SideConn conn(fd);
    std::string head, body;
    if (!conn.readExact(head, 12, 5000) || head.compare(0, 3, "INF") != 0 || head[3] != 1 || le32(head, 8) != 68
        || !conn.readExact(body, 68, 5000))
        return;
    bool ok = fixedField(body, 0, 32) == options_.user && fixedField(body, 32, 32) == options_.password;
    // The reply block: error code in bytes 4-5, then the length of data that
    // follows (which the client reads and drops).
    const std::string extra = "cams";
    std::string reply = infHeader(2, static_cast<uint32_t>(8 + extra.size()));
    std::string block(8, '\0');
    putLe16(block, 4, ok ? 0 : 401);
    putLe16(block, 6, static_cast<uint16_t>(extra.size()));
    if (!conn.send(reply + block + extra) || !ok) {
        if (!ok) {
            std::lock_guard lock(mutex_);
            ++refusedSubscriptions_;
        }
        return;
    }
    if (!conn.readExact(head, 12, 10000) || head.compare(0, 3, "INF") != 0)
        return;
    if (static_cast<uint8_t>(head[3]) == 0x40 && le32(head, 8) == 0)
        alarmHv(conn);
    else if (head[3] == 7 && le32(head, 8) == 24 && conn.readExact(body, 24, 5000)
             && body.compare(0, 3, std::string("\x01\x02\x02", 3)) == 0)
        talkHv(conn);
}

}  // namespace camsim
