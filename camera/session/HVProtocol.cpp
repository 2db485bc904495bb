#include "camera/session/HVProtocol.h"

#include <algorithm>
#include <cstring>

namespace hvproto {

namespace {

void PutLe32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutBe16(Bytes& b, uint16_t v)
{
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

void PutBe32(Bytes& b, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16)
           | (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t Be32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16)
           | (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

void PutFixed(Bytes& b, const std::string& text, size_t size)
{
    size_t n = std::min(text.size(), size);
    b.insert(b.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
    b.insert(b.end(), size - n, 0);
}

bool Contains(const std::string& s, const char* what)
{
    return s.find(what) != std::string::npos;
}

size_t CountEmptyLines(const std::string& s)
{
    size_t count = 0;
    for (size_t p = s.find("\r\n\r\n"); p != std::string::npos; p = s.find("\r\n\r\n", p + 4))
        ++count;
    return count;
}

}  // namespace

// ---- family 72 ----

Bytes BuildInfHeader(uint8_t command, uint32_t bodyLength)
{
    Bytes b = {'I', 'N', 'F', command};
    PutLe32(b, 0x00010001u);
    PutLe32(b, bodyLength);
    return b;
}

bool ParseInfHeader(const uint8_t* data, size_t length, InfHeader& out)
{
    if (!data || length < kHeaderSize || std::memcmp(data, "INF", 3) != 0)
        return false;
    out.command = data[3];
    out.bodyLength = Le32(data + 8);
    return true;
}

Bytes BuildInfLogin(const std::string& user, const std::string& password)
{
    Bytes b = BuildInfHeader(kCmdLogin, 68);
    PutFixed(b, user, 32);
    PutFixed(b, password, 32);
    PutLe32(b, 1);
    return b;
}

bool ParseReplyBlock(const uint8_t* data, size_t length, ReplyBlock& out)
{
    if (!data || length < kReplyBlockSize)
        return false;
    out.error = Le16(data + 4);
    out.extraLength = Le16(data + 6);
    return true;
}

bool ParseAlarmRecord(const uint8_t* data, size_t length, AlarmRecord& out)
{
    if (!data || length < kAlarmRecordSize)
        return false;
    out.type = data[0];
    out.id = Le16(data + 2);
    out.start = data[24];
    return true;
}

AlarmKind KindOfRecord(const AlarmRecord& record)
{
    if (record.type == 2)
        return record.start == 1 ? AlarmKind::Motion : AlarmKind::None;
    if (record.type == 1)
        return AlarmKind::Input;
    return AlarmKind::None;
}

Bytes BuildInfTalkRequest()
{
    Bytes b = BuildInfHeader(kCmdTalk, 24);
    b.insert(b.end(), {0x01, 0x02, 0x02});
    b.insert(b.end(), 21, 0);
    return b;
}

Bytes BuildInfAudioPacket(uint32_t sequence, const uint8_t* audio, size_t length)
{
    Bytes b = {'I', 'N', 'F', kCmdTalk};
    PutBe16(b, 1);
    PutBe16(b, 1);
    PutBe32(b, static_cast<uint32_t>(length + 24));
    b.insert(b.end(), {0x00, 0x02, 0x02, 0x00});
    PutBe16(b, 8000);
    PutBe16(b, 16);
    PutBe32(b, sequence);
    PutBe32(b, static_cast<uint32_t>(length));
    b.insert(b.end(), 8, 0);
    if (audio && length)
        b.insert(b.end(), audio, audio + length);
    return b;
}

// ---- text dialects ----

bool IsHeaderSafe(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::string BuildAlarmRequest(const std::string& host, int port, const std::string& user, const std::string& password)
{
    const std::string body = "Cseq: 1\r\nTransport: RTP/AVP/TCP;unicast;interleaved=0-1\r\n\r\n";
    return "GET http://" + host + ":" + std::to_string(port)
           + "/livestream/11?action=play&media=data HTTP/1.1\r\n"
             "User-Agent: hollowmere/1.0.1\r\n"
             "Connection: Keep-Alive\r\n"
             "Cache-Control: no-cache\r\n"
             "Authorization: "
           + user + " " + password
           + "\r\n"
             "Content-Length: "
           + std::to_string(body.size())
           + "\r\n"
             "\r\n"
           + body;
}

bool AlarmReplyComplete(const std::string& reply)
{
    return CountEmptyLines(reply) >= 2;
}

AlarmReplyStatus ClassifyAlarmReply(const std::string& reply)
{
    std::string status = reply.substr(0, reply.find("\r\n"));
    if (Contains(status, "200 OK") || Contains(status, "200 Ok") || Contains(status, "200 ok"))
        return AlarmReplyStatus::Ok;
    if (Contains(status, "401 Unauthorized") || Contains(status, "401 unauthorized"))
        return AlarmReplyStatus::Unauthorized;
    return AlarmReplyStatus::Failed;
}

int AlarmRetryDelayMs(AlarmReplyStatus status)
{
    return status == AlarmReplyStatus::Unauthorized ? 1000 : 100;
}

int AlarmBackoffMs(int failuresInARow, int firstDelayMs)
{
    if (failuresInARow <= 1)
        return firstDelayMs;
    int ms = kAlarmBackoffFirstMs;
    for (int i = 2; i < failuresInARow && ms < kAlarmBackoffMaxMs; ++i)
        ms *= 2;
    return ms < kAlarmBackoffMaxMs ? ms : kAlarmBackoffMaxMs;
}

bool ParseFrameHeader(const uint8_t* data, size_t length, FrameHeader& out)
{
    if (!data || length < kFrameHeaderSize)
        return false;
    out.length = Be32(data + 4);
    out.event = (data[9] & 0x7F) == 0x64;
    return out.length >= kFrameMinLength && out.length <= kFrameMaxLength;
}

AlarmKind KindOfPayload(const std::string& payload)
{
    if (Contains(payload, "keepalive"))
        return AlarmKind::None;
    if (Contains(payload, "alarmin:1"))
        return AlarmKind::Input;
    return AlarmKind::Motion;
}

std::string BuildTalkInvite(const std::string& host, int port, const std::string& user, const std::string& password,
                            int codec)
{
    const bool g726 = codec == 1;
    const std::string body = std::string("Audio-Channel: 11\r\nAEnc-Ability: ") + (g726 ? "g726" : "g711a") + " "
                             + (g726 ? "16000" : "64000")
                             + " 0 1\r\nTransport-Ability: udp RTP/tcp RTP\r\nAudio-Port: 1200\r\n";
    return "POST http://" + host + ":" + std::to_string(port)
           + "/call_invite HTTP/1.1\r\n"
             "User-Agent: VX-DXS\r\n"
             "Content-Type: application/octet-stream\r\n"
             "Content-Length: "
           + std::to_string(body.size())
           + "\r\n"
             "Authorization: "
           + user + " " + password
           + "\r\n"
             "\r\n"
           + body;
}

std::string BuildTalkAck(const std::string& host, int port, const std::string& user, const std::string& password,
                         const std::string& sessionId)
{
    return "POST http://" + host + ":" + std::to_string(port)
           + "/call_ack HTTP/1.1\r\n"
             "User-Agent: VX-DXS\r\n"
             "Content-Type: application/octet-stream\r\n"
             "Authorization: "
           + user + " " + password
           + "\r\n"
             "\r\n"
             "Session-ID : "
           + sessionId + "\r\n\r\n";
}

std::string BuildAjTalkRequest(const std::string& user, const std::string& password)
{
    return "POST /cgi-bin/supervisor/Audio_start.cgi?action=transmit&mode=mono&sample_bits=8&sample_rate=8000 "
           "HTTP/1.1\r\n"
           "User-Agent: VX-DXS\r\n"
           "Content-Type: application/octet-stream\r\n"
           "Authorization: "
           + user + " " + password
           + "\r\n"
             "\r\n";
}

bool ReplyHeadComplete(const std::string& reply)
{
    return CountEmptyLines(reply) >= 1;
}

bool IsHttpOk(const std::string& reply)
{
    return Contains(reply, "HTTP/1.1 200 OK") || Contains(reply, "HTTP/1.0 200 OK");
}

std::optional<std::string> ParseSessionId(const std::string& reply)
{
    static const std::string key = "Session-ID: ";
    size_t p = reply.find(key);
    if (p == std::string::npos)
        return std::nullopt;
    p += key.size();
    size_t end = reply.find("\r\n", p);
    if (end == std::string::npos || end == p || end - p > 255)
        return std::nullopt;
    // The value goes back into the acknowledgement's text.
    std::string id = reply.substr(p, end - p);
    if (!IsHeaderSafe(id))
        return std::nullopt;
    return id;
}

Bytes BuildRtpAudioPacket(int codec, int64_t timeMs, const uint8_t* audio, size_t length)
{
    Bytes b = {0x24, 0x00};
    PutBe16(b, static_cast<uint16_t>(length + 16));
    b.push_back(0x80);
    b.push_back(codec == 1 ? 96 : 97);
    PutBe16(b, static_cast<uint16_t>(timeMs / 20));
    PutBe32(b, static_cast<uint32_t>(timeMs / 1000));
    PutBe32(b, 0);
    b.insert(b.end(), {0x00, 0x01, static_cast<uint8_t>(codec == 1 ? 20 : 80), 0x00});
    if (audio && length)
        b.insert(b.end(), audio, audio + length);
    return b;
}

}  // namespace hvproto
