// The side channels' wire formats: what is built byte for byte, and how
// every reply, frame and record is read, including short and hostile ones.
#include "camera/session/HVProtocol.h"

#include <gtest/gtest.h>

#include <string>

using namespace hvproto;

namespace {

Bytes B(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes Frame(uint32_t length, uint8_t byte9)
{
    Bytes f(20, 0);
    f[4] = static_cast<uint8_t>(length >> 24);
    f[5] = static_cast<uint8_t>(length >> 16);
    f[6] = static_cast<uint8_t>(length >> 8);
    f[7] = static_cast<uint8_t>(length);
    f[9] = byte9;
    return f;
}

TEST(HVProtocol, InfMessagesAreBuiltByteForByte)
{
    EXPECT_EQ(BuildInfHeader(kCmdAlarm, 0), (Bytes{'I', 'N', 'F', 0x40, 1, 0, 1, 0, 0, 0, 0, 0}));

    Bytes login = BuildInfLogin("admin", std::string(40, 'p'));
    ASSERT_EQ(login.size(), 80u);
    EXPECT_EQ(Bytes(login.begin(), login.begin() + 12), (Bytes{'I', 'N', 'F', 1, 1, 0, 1, 0, 68, 0, 0, 0}));
    EXPECT_EQ(std::string(login.begin() + 12, login.begin() + 17), "admin");
    EXPECT_EQ(login[17], 0);         // zero-padded
    EXPECT_EQ(login[44 + 31], 'p');  // cut to 32, not terminated
    EXPECT_EQ(Bytes(login.end() - 4, login.end()), (Bytes{1, 0, 0, 0}));

    Bytes talk = BuildInfTalkRequest();
    ASSERT_EQ(talk.size(), 36u);
    EXPECT_EQ(talk[3], 7);
    EXPECT_EQ(talk[8], 24);
    EXPECT_EQ(Bytes(talk.begin() + 12, talk.begin() + 15), (Bytes{1, 2, 2}));

    uint8_t audio[160] = {};
    Bytes pkt = BuildInfAudioPacket(0x01020304, audio, sizeof audio);
    ASSERT_EQ(pkt.size(), 36u + 160u);
    const Bytes head(pkt.begin(), pkt.begin() + 36);
    const Bytes want = {'I', 'N', 'F', 7, 0, 1, 0, 1, 0, 0,   0, 184, 0, 2, 2, 0, 0x1F, 0x40,
                        0,   16,  1,   2, 3, 4, 0, 0, 0, 160, 0, 0,   0, 0, 0, 0, 0,    0};
    EXPECT_EQ(head, want);
}

TEST(HVProtocol, InfRepliesAndRecords)
{
    InfHeader h;
    Bytes ok = BuildInfHeader(kCmdLoginReply, 8);
    EXPECT_TRUE(ParseInfHeader(ok.data(), ok.size(), h));
    EXPECT_EQ(h.command, kCmdLoginReply);
    EXPECT_EQ(h.bodyLength, 8u);
    Bytes bad = B("XNF\x02\x01\x00\x01\x00\x08\x00\x00\x00");
    EXPECT_FALSE(ParseInfHeader(bad.data(), bad.size(), h));
    EXPECT_FALSE(ParseInfHeader(ok.data(), 11, h));

    ReplyBlock r;
    Bytes block = {0, 0, 0, 0, 0x91, 0x01, 4, 0};
    ASSERT_TRUE(ParseReplyBlock(block.data(), block.size(), r));
    EXPECT_EQ(r.error, 401);
    EXPECT_EQ(r.extraLength, 4);
    EXPECT_FALSE(ParseReplyBlock(block.data(), 7, r));

    struct Row {
        uint8_t type, start;
        AlarmKind kind;
    };
    const Row rows[] = {
        {2, 1, AlarmKind::Motion}, {2, 0, AlarmKind::None}, {1, 0, AlarmKind::Input},
        {1, 1, AlarmKind::Input},  {0, 1, AlarmKind::None}, {3, 1, AlarmKind::None},
    };
    for (const Row& row : rows) {
        Bytes rec(28, 0);
        rec[0] = row.type;
        rec[2] = 7;
        rec[24] = row.start;
        AlarmRecord a;
        ASSERT_TRUE(ParseAlarmRecord(rec.data(), rec.size(), a));
        EXPECT_EQ(a.id, 7);
        EXPECT_EQ(KindOfRecord(a), row.kind) << int(row.type) << "/" << int(row.start);
    }
    AlarmRecord a;
    EXPECT_FALSE(ParseAlarmRecord(Bytes(27, 0).data(), 27, a));
}

TEST(HVProtocol, FrameKinds)
{
    struct Row {
        uint32_t length;
        uint8_t byte9;
        bool valid, event;
    };
    const Row rows[] = {
        {12, 0x64, true, true},  {2059, 0x64, true, true}, {30, 0xE4, true, true},    {30, 0x65, true, false},
        {30, 0x00, true, false}, {11, 0x64, false, true},  {2060, 0x64, false, true}, {0xFFFFFFFF, 0x64, false, true},
    };
    for (const Row& r : rows) {
        Bytes f = Frame(r.length, r.byte9);
        FrameHeader h;
        EXPECT_EQ(ParseFrameHeader(f.data(), f.size(), h), r.valid) << r.length;
        EXPECT_EQ(h.event, r.event) << r.length << "/" << int(r.byte9);
    }
    FrameHeader h;
    EXPECT_FALSE(ParseFrameHeader(Frame(30, 0x64).data(), 19, h));

    EXPECT_EQ(KindOfPayload("keepalive"), AlarmKind::None);
    EXPECT_EQ(KindOfPayload("alarmin:1"), AlarmKind::Input);
    EXPECT_EQ(KindOfPayload("alarmin:0"), AlarmKind::Motion);
    EXPECT_EQ(KindOfPayload("md:1"), AlarmKind::Motion);
    EXPECT_EQ(KindOfPayload(""), AlarmKind::Motion);
}

TEST(HVProtocol, AlarmSubscriptionAndItsReply)
{
    std::string req = BuildAlarmRequest("10.0.0.5", 80, "admin", "secret");
    EXPECT_EQ(req, "GET http://10.0.0.5:80/livestream/11?action=play&media=data HTTP/1.1\r\n"
                   "User-Agent: hollowmere/1.0.1\r\nConnection: Keep-Alive\r\nCache-Control: no-cache\r\n"
                   "Authorization: admin secret\r\nContent-Length: 59\r\n\r\n"
                   "Cseq: 1\r\nTransport: RTP/AVP/TCP;unicast;interleaved=0-1\r\n\r\n");

    EXPECT_FALSE(AlarmReplyComplete("HTTP/1.1 200 OK\r\n\r\n"));
    EXPECT_TRUE(AlarmReplyComplete("HTTP/1.1 200 OK\r\n\r\nCseq: 1\r\n\r\n"));

    struct Row {
        const char* reply;
        AlarmReplyStatus status;
        int retryMs;
    };
    const Row rows[] = {
        {"HTTP/1.1 200 OK\r\n", AlarmReplyStatus::Ok, 100},
        {"HTTP/1.0 200 Ok\r\n", AlarmReplyStatus::Ok, 100},
        {"HTTP/1.1 200 ok\r\n", AlarmReplyStatus::Ok, 100},
        {"HTTP/1.1 401 Unauthorized\r\n", AlarmReplyStatus::Unauthorized, 1000},
        {"HTTP/1.1 401 unauthorized\r\n", AlarmReplyStatus::Unauthorized, 1000},
        {"HTTP/1.1 503 Service Unavailable\r\n", AlarmReplyStatus::Failed, 100},
        {"HTTP/1.1 404 Not Found\r\nX: 200 OK\r\n", AlarmReplyStatus::Failed, 100},
        {"", AlarmReplyStatus::Failed, 100},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ClassifyAlarmReply(r.reply), r.status) << r.reply;
        EXPECT_EQ(AlarmRetryDelayMs(ClassifyAlarmReply(r.reply)), r.retryMs) << r.reply;
    }
}

TEST(HVProtocol, AccountTextThatWouldAddHeadersIsRefused)
{
    for (const char* s : {"admin", "p@ss word", ""})
        EXPECT_TRUE(IsHeaderSafe(s)) << s;
    for (std::string s : {std::string("a\r\nX: 1"), std::string("a\n"), std::string("a\r"), std::string("a\0b", 3)})
        EXPECT_FALSE(IsHeaderSafe(s));
}

TEST(HVProtocol, TalkRequestsAndReplies)
{
    std::string invite = BuildTalkInvite("cam", 81, "u", "p", 1);
    EXPECT_EQ(invite.substr(0, invite.find("\r\n")), "POST http://cam:81/call_invite HTTP/1.1");
    EXPECT_NE(invite.find("Content-Length: 103\r\nAuthorization: u p\r\n\r\n"), std::string::npos);
    EXPECT_NE(invite.find("AEnc-Ability: g726 16000 0 1\r\n"), std::string::npos);
    EXPECT_NE(BuildTalkInvite("cam", 81, "u", "p", 0).find("AEnc-Ability: g711a 64000 0 1\r\n"), std::string::npos);
    std::string ack = BuildTalkAck("cam", 81, "u", "p", "abc");
    EXPECT_EQ(ack.substr(ack.size() - 24), "\r\n\r\nSession-ID : abc\r\n\r\n");
    EXPECT_EQ(BuildAjTalkRequest("u%20x", "p").substr(0, 5), "POST ");

    struct Row {
        std::string reply;
        std::optional<std::string> id;
    };
    const Row rows[] = {
        {"HTTP/1.1 200 OK\r\nSession-ID: 42ab\r\n\r\n", std::string("42ab")},
        {"HTTP/1.1 200 OK\r\nSession-ID: \r\n\r\n", std::nullopt},
        {"HTTP/1.1 200 OK\r\nSession-ID: 42", std::nullopt},
        {"HTTP/1.1 200 OK\r\nSession-ID: 4\n2\r\n", std::nullopt},
        {"HTTP/1.1 200 OK\r\n\r\n", std::nullopt},
        {"HTTP/1.1 200 OK\r\nSession-ID: " + std::string(255, 'x') + "\r\n", std::string(255, 'x')},
        {"HTTP/1.1 200 OK\r\nSession-ID: " + std::string(256, 'x') + "\r\n", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ParseSessionId(r.reply), r.id) << r.reply.substr(0, 40);
    EXPECT_TRUE(IsHttpOk("HTTP/1.0 200 OK\r\n"));
    EXPECT_FALSE(IsHttpOk("HTTP/1.1 403 Forbidden\r\n"));
    EXPECT_FALSE(ReplyHeadComplete("HTTP/1.1 200 OK\r\nSession-ID: 1\r\n"));
    EXPECT_TRUE(ReplyHeadComplete("HTTP/1.1 200 OK\r\nSession-ID: 1\r\n\r\n"));
}

TEST(HVProtocol, RtpAudioPackets)
{
    uint8_t g726[40] = {};
    Bytes p = BuildRtpAudioPacket(1, 2040, g726, sizeof g726);
    ASSERT_EQ(p.size(), 4u + 12u + 4u + 40u);
    EXPECT_EQ(Bytes(p.begin(), p.begin() + 20),
              (Bytes{'$', 0, 0, 56, 0x80, 96, 0, 102, 0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 20, 0}));
    uint8_t g711[160] = {};
    Bytes q = BuildRtpAudioPacket(0, 0, g711, sizeof g711);
    EXPECT_EQ(q[5], 97);
    EXPECT_EQ(q[18], 80);
}

}  // namespace
