// The talk side of the side channels: each family's handshake, then every
// audio packet checked (framing, header fields, payload type, block length,
// sequence) and decoded, so /camsim/state can tell what the camera heard.
#include "tools/camsim/SidePeers.h"

#include <cctype>
#include <chrono>
#include <thread>

namespace camsim {

namespace {

constexpr int kPacketTimeoutMs = 10000;
constexpr size_t kMaxSamples = 8000 * 5;
constexpr int kDropAfterPackets = 25;

uint16_t be16(const std::string& s, size_t at)
{
    return static_cast<uint16_t>((static_cast<uint8_t>(s[at]) << 8) | static_cast<uint8_t>(s[at + 1]));
}

uint32_t be32(const std::string& s, size_t at)
{
    return (static_cast<uint32_t>(be16(s, at)) << 16) | be16(s, at + 2);
}

void slowly()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
}

// Counts a talk connection as active while it lasts.
struct ActiveTalk {
    std::mutex& mutex;
    long& active;
    ActiveTalk(std::mutex& m, long& a) : mutex(m), active(a)
    {
        std::lock_guard lock(mutex);
        ++active;
    }
    ~ActiveTalk()
    {
        std::lock_guard lock(mutex);
        --active;
    }
};

}  // namespace

void SidePeers::sendSplit(SideConn& conn, const std::string& reply, TalkFault fault)
{
    if (fault != TalkFault::Split || reply.size() < 2) {
        conn.send(reply);
        return;
    }
    size_t half = reply.size() / 2;
    if (conn.send(reply.substr(0, half))) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        conn.send(reply.substr(half));
    }
}

void SidePeers::beginSession(TalkCodec codec)
{
    std::lock_guard lock(mutex_);
    ++talkSessions_;
    talkCodec_ = codec;
    talkSamples_.clear();
}

bool SidePeers::dropNow(int packets) const
{
    std::lock_guard lock(mutex_);
    return talkFault_ == TalkFault::Drop && packets >= kDropAfterPackets;
}

void SidePeers::countPacket(bool good, bool gap, const uint8_t* audio, size_t length, AudioDecoder& dec)
{
    std::vector<int16_t> samples;
    if (good && !dec.decode(audio, length, samples))
        good = false;
    std::lock_guard lock(mutex_);
    ++talkPackets_;
    if (!good)
        ++talkBadPackets_;
    if (gap)
        ++talkGaps_;
    if (talkSamples_.size() < kMaxSamples)
        talkSamples_.insert(talkSamples_.end(), samples.begin(), samples.end());
}

void SidePeers::talkInvite(SideConn& conn, const HttpRequest& req)
{
    ActiveTalk active(mutex_, talkActive_);
    TalkFault fault;
    long id;
    {
        std::lock_guard lock(mutex_);
        fault = talkFault_;
        id = ++sessionCounter_;
    }
    TalkCodec codec = req.body.find("AEnc-Ability: g726 16000") != std::string::npos    ? TalkCodec::G726
                      : req.body.find("AEnc-Ability: g711a 64000") != std::string::npos ? TalkCodec::G711A
                                                                                        : TalkCodec::None;
    bool account = accountOk(req.header("authorization"), false);
    if (!account || fault == TalkFault::Refuse || codec == TalkCodec::None) {
        {
            std::lock_guard lock(mutex_);
            ++talkRefused_;
        }
        conn.send(!account ? "HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n"
                           : "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
        return;
    }
    if (fault == TalkFault::Slow)
        slowly();
    const std::string session = "camsim-" + std::to_string(id);
    std::string reply = "HTTP/1.1 200 OK\r\nServer: camsim\r\n";
    if (fault != TalkFault::NoSession)
        reply += "Session-ID: " + session + "\r\n";
    reply += "Content-Length: 0\r\n\r\n";
    sendSplit(conn, reply, fault);
    if (fault == TalkFault::NoSession)
        return;
    // The acknowledgement: a head of its own, then "Session-ID : ID" and an
    // empty line (a blank before the colon).
    std::string head, block;
    if (!conn.readHead(head, 4096, 5000) || head.find("/call_ack ") == std::string::npos
        || head.find("Authorization: " + options_.user + " " + options_.password + "\r\n") == std::string::npos
        || !conn.readHead(block, 512, 5000) || block != "Session-ID : " + session + "\r\n\r\n") {
        std::lock_guard lock(mutex_);
        ++talkRefused_;
        return;
    }
    beginSession(codec);
    receiveRtp(conn, codec);
}

void SidePeers::receiveRtp(SideConn& conn, TalkCodec codec)
{
    AudioDecoder dec(codec);
    const uint8_t payloadType = codec == TalkCodec::G726 ? 96 : 97;
    const size_t block = codec == TalkCodec::G726 ? 40 : 160;
    int prev = -1;
    int packets = 0;
    std::string head, body;
    while (conn.readExact(head, 4, kPacketTimeoutMs)) {
        const uint16_t len = be16(head, 2);
        if (head[0] != '$' || head[1] != 0 || len < 16 || !conn.readExact(body, len, kPacketTimeoutMs)) {
            countPacket(false, false, nullptr, 0, dec);
            return;  // the framing is lost
        }
        const auto* p = reinterpret_cast<const uint8_t*>(body.data());
        const size_t audio = len - 16u;
        bool good = p[0] == 0x80 && p[1] == payloadType && be32(body, 8) == 0 && p[12] == 0 && p[13] == 1 && p[15] == 0
                    && size_t(p[14]) * 2 == audio && audio == block;
        int seq = be16(body, 2);
        bool gap = prev >= 0 && seq != ((prev + 1) & 0xFFFF);
        prev = seq;
        countPacket(good, gap, p + 16, audio, dec);
        if (dropNow(++packets))
            return;
    }
}

void SidePeers::talkAj(SideConn& conn, const HttpRequest& req)
{
    ActiveTalk active(mutex_, talkActive_);
    TalkFault fault;
    {
        std::lock_guard lock(mutex_);
        fault = talkFault_;
    }
    if (!accountOk(req.header("authorization"), true) || fault == TalkFault::Refuse || fault == TalkFault::NoSession) {
        std::lock_guard lock(mutex_);
        ++talkRefused_;
        return;  // the camera closes without a word
    }
    if (fault == TalkFault::Slow)
        slowly();
    sendSplit(conn, "0\nOK\n", fault);
    std::string type = ajEncodeType ? ajEncodeType() : std::string();
    for (char& ch : type)
        ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    const TalkCodec codec = type == "G.711" ? TalkCodec::G711U : TalkCodec::G711A;
    beginSession(codec);
    receiveRaw(conn, codec);
}

void SidePeers::receiveRaw(SideConn& conn, TalkCodec codec)
{
    AudioDecoder dec(codec);
    int packets = 0;
    std::string block;
    while (conn.readExact(block, 160, kPacketTimeoutMs)) {
        countPacket(true, false, reinterpret_cast<const uint8_t*>(block.data()), block.size(), dec);
        if (dropNow(++packets))
            return;
    }
}

void SidePeers::talkHv(SideConn& conn)
{
    ActiveTalk active(mutex_, talkActive_);
    TalkFault fault;
    {
        std::lock_guard lock(mutex_);
        fault = talkFault_;
    }
    std::string reply = {'I', 'N', 'F', 8, 1, 0, 1, 0, 8, 0, 0, 0};
    std::string block(8, '\0');
    if (fault == TalkFault::Refuse || fault == TalkFault::NoSession) {
        block[4] = 1;  // an error code, as the login reply carries one
        std::lock_guard lock(mutex_);
        ++talkRefused_;
    }
    if (fault == TalkFault::Slow)
        slowly();
    sendSplit(conn, reply + block, fault);
    if (block[4])
        return;
    beginSession(TalkCodec::G711A);
    receiveHvAudio(conn);
}

void SidePeers::receiveHvAudio(SideConn& conn)
{
    AudioDecoder dec(TalkCodec::G711A);
    int64_t prev = -1;
    int packets = 0;
    std::string head, audio;
    while (conn.readExact(head, 36, kPacketTimeoutMs)) {
        if (head.compare(0, 4, std::string("INF\x07", 4)) != 0) {
            countPacket(false, false, nullptr, 0, dec);
            return;
        }
        const uint32_t len = be32(head, 24);
        if (len > 4096 || !conn.readExact(audio, len, kPacketTimeoutMs))
            return;
        bool good = be16(head, 4) == 1 && be16(head, 6) == 1 && be32(head, 8) == len + 24
                    && head.compare(12, 4, std::string("\x00\x02\x02\x00", 4)) == 0 && be16(head, 16) == 8000
                    && be16(head, 18) == 16 && head.compare(28, 8, std::string(8, '\0')) == 0 && len == 160;
        const int64_t seq = be32(head, 20);
        bool gap = prev >= 0 ? seq != prev + 1 : seq != 0;
        prev = seq;
        countPacket(good, gap, reinterpret_cast<const uint8_t*>(audio.data()), audio.size(), dec);
        if (dropNow(++packets))
            return;
    }
}

}  // namespace camsim
