// The side channel object and its talk half: the handshake of each dialect,
// then one packet per encoded block from vxplay's talk thread.
#include "camera/session/CVXHVDev.h"

#include "camera/session/HVProtocol.h"
#include "utility/vx_log.h"

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

using namespace hvproto;

namespace {

constexpr int kConnectTimeoutMs = 3000;
constexpr int kReplyTimeoutMs = 3000;
constexpr size_t kMaxTalkReply = 1000;
// An audio block that cannot go out within this is as good as lost.
constexpr int kBlockSendTimeoutMs = 1000;

std::string Text(const char* s)
{
    return s ? s : "";
}

}  // namespace

CVXHVDev::CVXHVDev(int nChipType) : m_nChipType(nChipType)
{
    vx_log(VX_LOG_TRACE, "CVXHVDev %p", static_cast<void*>(this));
}

CVXHVDev::~CVXHVDev()
{
    StopAlarm();
    StopTalk();
}

// Login of family 72 on a fresh connection: 0, or -1 when it failed.
int CVXHVDev::HvLogin(int fd, int wakeFd)
{
    Bytes login = BuildInfLogin(m_strUser, m_strPassword);
    if (hvsock::SendAll(fd, login.data(), login.size(), kReplyTimeoutMs, wakeFd) != static_cast<int>(login.size()))
        return -1;
    uint8_t head[kHeaderSize];
    uint8_t block[kReplyBlockSize];
    InfHeader h;
    ReplyBlock r;
    if (hvsock::RecvAll(fd, head, sizeof head, kReplyTimeoutMs, wakeFd) != static_cast<int>(sizeof head)
        || !ParseInfHeader(head, sizeof head, h) || h.command != kCmdLoginReply
        || hvsock::RecvAll(fd, block, sizeof block, kReplyTimeoutMs, wakeFd) != static_cast<int>(sizeof block)
        || !ParseReplyBlock(block, sizeof block, r)) {
        vx_log(VX_LOG_ERROR, "hv login: no readable reply");
        return -1;
    }
    if (r.extraLength) {
        std::string extra(r.extraLength, '\0');
        if (hvsock::RecvAll(fd, extra.data(), extra.size(), kReplyTimeoutMs, wakeFd) != static_cast<int>(extra.size()))
            return -1;
    }
    if (r.error != 0) {
        vx_log(VX_LOG_ERROR, "hv login refused, error %d", r.error);
        return -1;
    }
    return 0;
}

BOOL CVXHVDev::IsTalking() const
{
    std::lock_guard lock(m_talkMutex);
    return m_nTalkSocket >= 0 ? TRUE : FALSE;
}

int CVXHVDev::StartTalk(int nCodec, const char* szUser, const char* szPassword, const char* szUser2,
                        const char* szPassword2, const char* szHost, int nPort, TalkErrorCallback fnError, void* pUser)
{
    StopTalk();
    m_nTalkCodec = nCodec;
    m_strUser = Text(szUser);
    m_strPassword = Text(szPassword);
    m_strUser2 = Text(szUser2);
    m_strPassword2 = Text(szPassword2);
    m_strHost = Text(szHost);
    m_nPort = static_cast<uint16_t>(nPort);
    // The account goes into a header line: a line break would add headers.
    if (!IsHeaderSafe(m_strUser) || !IsHeaderSafe(m_strPassword) || !IsHeaderSafe(m_strUser2)
        || !IsHeaderSafe(m_strPassword2) || !IsHeaderSafe(m_strHost) || m_strHost.find(' ') != std::string::npos) {
        vx_log(VX_LOG_ERROR, "CVXHVDev::StartTalk refused: the account or host holds a line break");
        return -1;
    }
    int fd = hvsock::Connect(m_strHost.c_str(), nPort, kConnectTimeoutMs);
    if (fd < 0) {
        vx_log(VX_LOG_ERROR, "talk connect %s:%d error %d", m_strHost.c_str(), nPort, fd);
        return -1;
    }
    int result = TalkHandshake(fd);
    if (result != 0) {
        hvsock::Close(fd);
        return result;
    }
    {
        std::lock_guard lock(m_talkMutex);
        m_nTalkSocket = fd;
        m_nSequence = 0;
        m_bTalkFailed = false;
        m_fnTalkError = fnError;
        m_pTalkUser = pUser;
    }
    m_hTalk = vxplay_talk_start(nCodec, &CVXHVDev::TalkSendProc, this);
    if (!m_hTalk) {
        vx_log(VX_LOG_ERROR, "vxplay_talk_start failed, codec %d", nCodec);
        std::lock_guard lock(m_talkMutex);
        hvsock::Close(m_nTalkSocket);
        m_fnTalkError = nullptr;
        m_pTalkUser = nullptr;
        return -9;
    }
    return 0;
}

int CVXHVDev::TalkHandshake(int fd)
{
    if (m_nChipType == 72) {
        if (HvLogin(fd, -1) != 0)
            return -2;
        Bytes req = BuildInfTalkRequest();
        if (hvsock::SendAll(fd, req.data(), req.size(), kReplyTimeoutMs) != static_cast<int>(req.size()))
            return -3;
        int w = hvsock::WaitReadable(fd, kReplyTimeoutMs);
        if (w == hvsock::kWaitTimeout)
            return -7;
        if (w != hvsock::kReadable)
            return -8;
        uint8_t head[kHeaderSize];
        uint8_t block[kReplyBlockSize];
        InfHeader h;
        ReplyBlock r;
        if (hvsock::RecvAll(fd, head, sizeof head, kReplyTimeoutMs) != static_cast<int>(sizeof head)
            || !ParseInfHeader(head, sizeof head, h))
            return -4;
        if (h.command != kCmdTalkReply)
            return -5;
        if (hvsock::RecvAll(fd, block, sizeof block, kReplyTimeoutMs) != static_cast<int>(sizeof block)
            || !ParseReplyBlock(block, sizeof block, r) || r.error != 0)
            return -4;
        return 0;
    }

    const bool aj = m_nChipType == 76;
    std::string req = aj ? BuildAjTalkRequest(m_strUser2, m_strPassword2)
                         : BuildTalkInvite(m_strHost, m_nPort, m_strUser, m_strPassword, m_nTalkCodec);
    if (hvsock::SendAll(fd, req.data(), req.size(), kReplyTimeoutMs) != static_cast<int>(req.size()))
        return -3;
    // The reply may come in more than one segment: read until its head is
    // whole, within 3 s and 1000 bytes.
    std::string reply;
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
    while (!ReplyHeadComplete(reply) && reply.size() < kMaxTalkReply) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        int w = hvsock::WaitReadable(fd, static_cast<int>(std::max<long long>(0, left.count())));
        if (w == hvsock::kWaitTimeout) {
            if (reply.empty())
                return -7;
            break;  // a partial reply is judged as it is
        }
        if (w != hvsock::kReadable)
            return -8;
        char buf[kMaxTalkReply];
        ssize_t n = ::recv(fd, buf, kMaxTalkReply - reply.size(), MSG_DONTWAIT);
        if (n <= 0) {
            if (reply.empty())
                return -4;
            break;
        }
        reply.append(buf, static_cast<size_t>(n));
        if (aj && !reply.empty() && reply.find("\r\n\r\n") == std::string::npos
            && reply.find("OK") != std::string::npos)
            break;  // the short "0\nOK\n" answer has no head
    }
    if (aj) {
        vx_log(VX_LOG_TRACE, "aj talk response %s", reply.c_str());
        if (reply == "0\nOK\n" || reply == "0OK")
            vx_log(VX_LOG_TRACE, "aj talk response ok");
        return 0;
    }
    if (!IsHttpOk(reply))
        return -6;
    std::optional<std::string> session = ParseSessionId(reply);
    if (!session)
        return -6;
    std::string ack = BuildTalkAck(m_strHost, m_nPort, m_strUser, m_strPassword, *session);
    if (hvsock::SendAll(fd, ack.data(), ack.size(), kReplyTimeoutMs) != static_cast<int>(ack.size()))
        return -5;
    return 0;
}

void CVXHVDev::StopTalk()
{
    // No block arrives once vxplay_talk_stop has returned; only then the
    // socket goes.
    if (m_hTalk) {
        vxplay_talk_stop(m_hTalk);
        m_hTalk = nullptr;
    }
    std::lock_guard lock(m_talkMutex);
    hvsock::Close(m_nTalkSocket);
    m_nSequence = 0;
    m_bTalkFailed = false;
}

int VXPLAY_STDCALL CVXHVDev::TalkSendProc(const uint8_t* pBlock, int nLength, int64_t nTimeMs, void* pUser)
{
    return static_cast<CVXHVDev*>(pUser)->SendTalkBlock(pBlock, nLength, nTimeMs);
}

int CVXHVDev::SendTalkBlock(const uint8_t* pBlock, int nLength, int64_t nTimeMs)
{
    TalkErrorCallback report = nullptr;
    void* user = nullptr;
    int sent = -1;
    {
        std::lock_guard lock(m_talkMutex);
        if (m_nTalkSocket < 0) {
            vx_log(VX_LOG_TRACE, "talk is not running");
            return -1;
        }
        if (m_bTalkFailed || !pBlock || nLength <= 0)
            return -1;
        const size_t length = static_cast<size_t>(nLength);
        if (m_nChipType == 72) {
            Bytes pkt = BuildInfAudioPacket(m_nSequence++, pBlock, length);
            sent = hvsock::SendAll(m_nTalkSocket, pkt.data(), pkt.size(), kBlockSendTimeoutMs);
        } else if (m_nChipType == 76) {
            sent = hvsock::SendAll(m_nTalkSocket, pBlock, length, kBlockSendTimeoutMs);
        } else {
            Bytes pkt = BuildRtpAudioPacket(m_nTalkCodec, nTimeMs, pBlock, length);
            sent = hvsock::SendAll(m_nTalkSocket, pkt.data(), pkt.size(), kBlockSendTimeoutMs);
        }
        if (sent < 1) {
            // Once per talk: the camera went, and fifty reports a second
            // would tell the host nothing new.
            m_bTalkFailed = true;
            report = m_fnTalkError;
            user = m_pTalkUser;
            vx_log(VX_LOG_ERROR, "talk send failed, talk stopped sending");
        }
    }
    if (report)
        report(user);
    return sent;
}
