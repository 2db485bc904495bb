#include "tools/camsim/SidePeers.h"

#include "tools/camsim/Query.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace camsim {

namespace {

constexpr int kHeadTimeoutMs = 5000;

std::string lowerCase(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trimmed(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// The request line and headers of a side-channel request (without body).
bool parseHead(const std::string& head, HttpRequest& req)
{
    size_t eol = head.find("\r\n");
    std::string line = head.substr(0, eol);
    size_t a = line.find(' ');
    size_t b = line.rfind(' ');
    if (a == std::string::npos || b == a)
        return false;
    req.method = line.substr(0, a);
    req.target = line.substr(a + 1, b - a - 1);
    req.version = line.substr(b + 1);
    std::string t = req.target;
    if (t.rfind("http://", 0) == 0) {
        size_t slash = t.find('/', 7);
        t = slash == std::string::npos ? "/" : t.substr(slash);
    }
    size_t q = t.find('?');
    req.path = t.substr(0, q);
    req.query = q == std::string::npos ? std::string() : t.substr(q + 1);
    for (size_t p = eol + 2; p < head.size();) {
        size_t e = head.find("\r\n", p);
        if (e == std::string::npos || e == p)
            break;
        std::string h = head.substr(p, e - p);
        size_t colon = h.find(':');
        if (colon != std::string::npos)
            req.headers.emplace_back(lowerCase(trimmed(h.substr(0, colon))), trimmed(h.substr(colon + 1)));
        p = e + 2;
    }
    return true;
}

std::string percentEncode(const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

}  // namespace

SidePeers::SidePeers(const Options& options) : options_(options) {}

SidePeers::~SidePeers()
{
    stop();
}

void SidePeers::start()
{
    auto open = [this](std::unique_ptr<TcpListener>& l, int port, TcpListener::Handler h) {
        l = std::make_unique<TcpListener>(TcpListener::Options{.name = "side channel"}, std::move(h));
        std::string error;
        if (!l->start(options_.bind, port, error)) {
            unbound_.push_back(error);
            fprintf(stderr, "camsim: side channel: %s\n", error.c_str());
            l.reset();
        }
    };
    switch (options_.family) {
    case Family::HTL:
        open(alarmListener_, 8088, [this](int fd) { serveText(fd); });
        break;
    case Family::AJ:
        open(alarmListener_, 890, [this](int fd) { serveText(fd); });
        open(talkListener_, 888, [this](int fd) { serveText(fd); });
        break;
    case Family::HV:
        open(alarmListener_, 0, [this](int fd) { serveHv(fd); });
        break;
    case Family::HX:
    case Family::DY:
        break;
    }
}

void SidePeers::stop()
{
    // Subscribers wait on their cue rather than on the socket: told first,
    // they end at once and the listeners do not wait for them.
    {
        std::lock_guard lock(mutex_);
        for (auto& s : subscribers_) {
            std::lock_guard sl(s->mutex);
            s->drop = true;
            s->cv.notify_all();
        }
    }
    if (alarmListener_)
        alarmListener_->stop();
    if (talkListener_)
        talkListener_->stop();
}

int SidePeers::hvPort() const
{
    return options_.family == Family::HV && alarmListener_ ? alarmListener_->port() : 0;
}

bool SidePeers::accountOk(const std::string& authorization, bool encoded) const
{
    std::string want = encoded ? percentEncode(options_.user) + " " + percentEncode(options_.password)
                               : options_.user + " " + options_.password;
    return authorization == want;
}

bool SidePeers::takeHttp(const HttpRequest& req, HttpReply& reply)
{
    if (options_.family != Family::HX)
        return false;
    if (req.path != "/livestream/11" && req.path != "/call_invite")
        return false;
    reply = HttpReply{};
    reply.kind = HttpReply::Kind::Handover;
    reply.handover = [this, req](int fd, std::string pending) {
        SideConn conn(fd);
        conn.pending = std::move(pending);
        dispatch(conn, req);
    };
    return true;
}

void SidePeers::serveText(int fd)
{
    SideConn conn(fd);
    std::string head;
    HttpRequest req;
    if (!conn.readHead(head, 8192, kHeadTimeoutMs) || !parseHead(head, req))
        return;
    size_t length = 0;
    std::string cl = req.header("content-length");
    if (!cl.empty())
        std::from_chars(cl.data(), cl.data() + cl.size(), length);
    if (length > 65536 || (length && !conn.readExact(req.body, length, kHeadTimeoutMs)))
        return;
    dispatch(conn, req);
}

void SidePeers::dispatch(SideConn& conn, const HttpRequest& req)
{
    if (req.path == "/livestream/11")
        alarmText(conn, req);
    else if (req.path == "/call_invite" && options_.family != Family::AJ)
        talkInvite(conn, req);
    else if (req.path == "/cgi-bin/supervisor/Audio_start.cgi" && options_.family == Family::AJ)
        talkAj(conn, req);
    else
        conn.send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
}

bool SidePeers::control(const HttpRequest& req, HttpReply& reply)
{
    if (req.path != "/camsim/alarm")
        return false;
    QueryPairs q = parseQuery(req.query);
    AlarmEvent e;
    e.kind = queryValue(q, "event");
    if (e.kind != "motion" && e.kind != "input" && e.kind != "keepalive" && e.kind != "text") {
        reply = HttpReply::text(400, "event must be motion, input, keepalive or text\n");
        return true;
    }
    std::string start = queryValue(q, "start");
    if (!start.empty() && start != "0" && start != "1") {
        reply = HttpReply::text(400, "start must be 0 or 1\n");
        return true;
    }
    e.start = start == "0" ? 0 : 1;
    std::string b9 = queryValue(q, "byte9");
    if (!b9.empty()) {
        int v = 0;
        auto [p, ec] = std::from_chars(b9.data(), b9.data() + b9.size(), v, 16);
        if (ec != std::errc() || p != b9.data() + b9.size() || v < 0 || v > 255) {
            reply = HttpReply::text(400, "byte9 must be a hexadecimal byte\n");
            return true;
        }
        e.byte9 = v;
    }
    e.text = queryValue(q, "text");
    if (e.text.empty())
        e.text = "msg:hello";
    int count = 0;
    {
        std::lock_guard lock(mutex_);
        for (auto& s : subscribers_) {
            std::lock_guard sl(s->mutex);
            s->events.push_back(e);
            s->cv.notify_all();
            ++count;
        }
    }
    reply = HttpReply::text(count ? 200 : 409, "subscribers=" + std::to_string(count) + "\n");
    return true;
}

bool SidePeers::fault(const std::string& key, const std::string& value, bool apply, std::string& error)
{
    if (key == "alarm") {
        AlarmFault f;
        if (value == "refuse")
            f = AlarmFault::Refuse;
        else if (value == "drop")
            f = AlarmFault::Drop;
        else if (value == "badlength")
            f = AlarmFault::BadLength;
        else if (value == "badframes")
            f = AlarmFault::BadFrames;
        else if (value == "none")
            f = AlarmFault::None;
        else {
            error = "bad value for alarm: " + value;
            return true;
        }
        if (!apply)
            return true;
        std::lock_guard lock(mutex_);
        alarmFault_ = f;
        // A dropped link and a bad frame happen now, to every subscriber.
        if (f == AlarmFault::Drop || f == AlarmFault::BadLength) {
            for (auto& s : subscribers_) {
                std::lock_guard sl(s->mutex);
                if (f == AlarmFault::Drop)
                    s->drop = true;
                else
                    s->events.push_back(AlarmEvent{"badlength", 1, 0x64, {}});
                s->cv.notify_all();
            }
            alarmFault_ = AlarmFault::None;
        }
        return true;
    }
    if (key == "talk") {
        TalkFault f;
        if (value == "refuse")
            f = TalkFault::Refuse;
        else if (value == "nosession")
            f = TalkFault::NoSession;
        else if (value == "slow")
            f = TalkFault::Slow;
        else if (value == "split")
            f = TalkFault::Split;
        else if (value == "drop")
            f = TalkFault::Drop;
        else if (value == "none")
            f = TalkFault::None;
        else {
            error = "bad value for talk: " + value;
            return true;
        }
        if (apply) {
            std::lock_guard lock(mutex_);
            talkFault_ = f;
        }
        return true;
    }
    return false;
}

void SidePeers::clearFaults()
{
    std::lock_guard lock(mutex_);
    alarmFault_ = AlarmFault::None;
    talkFault_ = TalkFault::None;
}

std::string SidePeers::describe() const
{
    std::lock_guard lock(mutex_);
    std::string s;
    if (alarmListener_)
        s += "side_port=" + std::to_string(alarmListener_->port()) + "\n";
    if (talkListener_)
        s += "talk_port=" + std::to_string(talkListener_->port()) + "\n";
    std::string unbound;
    for (const auto& u : unbound_)
        unbound += (unbound.empty() ? "" : "; ") + u;
    if (!unbound.empty())
        s += "side_unbound=" + unbound + "\n";
    s += "alarm_active=" + std::to_string(subscribers_.size()) + "\n";
    s += "alarm_subscriptions=" + std::to_string(subscriptions_) + "\n";
    s += "alarm_refused=" + std::to_string(refusedSubscriptions_) + "\n";
    s += "alarm_events=" + std::to_string(eventsSent_) + "\n";
    s += "talk_sessions=" + std::to_string(talkSessions_) + "\n";
    s += "talk_refused=" + std::to_string(talkRefused_) + "\n";
    s += "talk_active=" + std::to_string(talkActive_) + "\n";
    s += "talk_packets=" + std::to_string(talkPackets_) + "\n";
    s += "talk_bad_packets=" + std::to_string(talkBadPackets_) + "\n";
    s += "talk_gaps=" + std::to_string(talkGaps_) + "\n";
    s += std::string("talk_codec=") + talkCodecName(talkCodec_) + "\n";
    s += "talk_frequency=" + std::to_string(dominantFrequency(talkSamples_)) + "\n";
    return s;
}

}  // namespace camsim
