// The alarm channel: subscribe, then receive event frames (text families)
// or alarm records (family 72) until stopped, reconnecting as needed.
#include "camera/session/CVXHVDev.h"

#include "camera/session/HVProtocol.h"
#include "utility/vx_log.h"

#include <string>
#include <vector>

using namespace hvproto;

namespace {

constexpr int kConnectTimeoutMs = 3000;
constexpr int kWaitMs = 3000;
constexpr int kReconnectMs = 5000;
constexpr size_t kMaxReply = 2047;

}  // namespace

int CVXHVDev::StartAlarm(const char* szUser, const char* szPassword, const char* szHost, int nPort,
                         StatusCallback fnStatus, AlarmCallback fnAlarm, void* pUser)
{
    StopAlarm();
    m_strUser = szUser ? szUser : "";
    m_strPassword = szPassword ? szPassword : "";
    m_strHost = szHost ? szHost : "";
    m_nPort = static_cast<uint16_t>(nPort);
    m_fnStatus = fnStatus;
    m_fnAlarm = fnAlarm;
    m_pUser = pUser;
    // The account goes into a header line: a line break would add headers.
    if (!IsHeaderSafe(m_strUser) || !IsHeaderSafe(m_strPassword) || !IsHeaderSafe(m_strHost)
        || m_strHost.find(' ') != std::string::npos) {
        vx_log(VX_LOG_ERROR, "CVXHVDev::StartAlarm refused: the account or host holds a line break");
        return -1;
    }
    m_wake.Clear();
    m_nAlarmSocket = hvsock::Connect(m_strHost.c_str(), m_nPort, kConnectTimeoutMs, m_wake.fd());
    if (m_nAlarmSocket < 0) {
        vx_log(VX_LOG_ERROR, "hv start alarm connect %s:%d error", m_strHost.c_str(), nPort);
        m_nAlarmSocket = -1;
        return -1;
    }
    if (m_nChipType == 72 && HvLogin(m_nAlarmSocket, m_wake.fd()) != 0) {
        hvsock::Close(m_nAlarmSocket);
        return -2;
    }
    m_bRun = 1;
    m_hAlarmThread = ::CreateThread(nullptr, 0, &CVXHVDev::AlarmThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!m_hAlarmThread) {
        m_bRun = 0;
        hvsock::Close(m_nAlarmSocket);
        return -3;
    }
    ::ResumeThread(m_hAlarmThread);
    return 0;
}

void CVXHVDev::StopAlarm()
{
    m_bRun = 0;
    if (m_hAlarmThread) {
        // Wake the receiver's waits and let it end by itself; its socket is
        // closed only after it is gone, so the number is not reused under it.
        m_wake.Set();
        ::WaitForSingleObject(m_hAlarmThread, INFINITE);
        ::CloseHandle(m_hAlarmThread);
        m_hAlarmThread = nullptr;
    }
    hvsock::Close(m_nAlarmSocket);
    m_wake.Clear();
}

DWORD WINAPI CVXHVDev::AlarmThreadProc(LPVOID pParam)
{
    vxk::SetCurrentThreadName("vxcam-alarm");
    static_cast<CVXHVDev*>(pParam)->AlarmLoop();
    return 0;
}

void CVXHVDev::Report(int nState)
{
    if (m_fnStatus)
        m_fnStatus(0, nState, m_pUser);
}

bool CVXHVDev::Pause(int nMs)
{
    return hvsock::WaitReadable(m_wake.fd(), nMs) == hvsock::kWaitTimeout && m_bRun;
}

bool CVXHVDev::IsText() const
{
    return m_nChipType != 72;
}

bool CVXHVDev::ConnectAlarm()
{
    vx_log(VX_LOG_TRACE, "alarm connecting %s:%d", m_strHost.c_str(), m_nPort);
    Report(0);
    m_nAlarmSocket = hvsock::Connect(m_strHost.c_str(), m_nPort, kConnectTimeoutMs, m_wake.fd());
    if (m_nAlarmSocket < 0) {
        m_nAlarmSocket = -1;
        Report(2);
        return false;
    }
    if (m_nChipType == 72 && HvLogin(m_nAlarmSocket, m_wake.fd()) != 0) {
        hvsock::Close(m_nAlarmSocket);
        Report(2);
        return false;
    }
    Report(1);
    return true;
}

bool CVXHVDev::Subscribe(int& nRetryMs)
{
    if (!IsText()) {
        Bytes req = BuildInfHeader(kCmdAlarm, 0);
        int n = hvsock::SendAll(m_nAlarmSocket, req.data(), req.size(), kWaitMs, m_wake.fd());
        if (n != static_cast<int>(req.size())) {
            vx_log(VX_LOG_ERROR, "hv alarm send request error %d", n);
            nRetryMs = 100;
            return false;
        }
        return true;
    }
    std::string req = BuildAlarmRequest(m_strHost, m_nPort, m_strUser, m_strPassword);
    if (hvsock::SendAll(m_nAlarmSocket, req.data(), req.size(), kWaitMs, m_wake.fd()) != static_cast<int>(req.size())) {
        nRetryMs = 100;
        return false;
    }
    // Byte by byte: what follows the head is already the first frame.
    std::string reply;
    while (!AlarmReplyComplete(reply)) {
        if (reply.size() >= kMaxReply
            || hvsock::WaitReadable(m_nAlarmSocket, kWaitMs, m_wake.fd()) != hvsock::kReadable) {
            nRetryMs = 100;
            return false;
        }
        char c = 0;
        if (hvsock::RecvAll(m_nAlarmSocket, &c, 1, kWaitMs, m_wake.fd()) != 1) {
            nRetryMs = 100;
            return false;
        }
        reply.push_back(c);
    }
    AlarmReplyStatus status = ClassifyAlarmReply(reply);
    if (status != AlarmReplyStatus::Ok) {
        vx_log(VX_LOG_ERROR, "alarm subscription refused: %s", reply.substr(0, reply.find("\r\n")).c_str());
        nRetryMs = AlarmRetryDelayMs(status);
        return false;
    }
    return true;
}

void CVXHVDev::RaiseAlarm(int nKind, const char* pData, int nLength)
{
    if (m_fnAlarm)
        m_fnAlarm(0, nKind, pData, nLength, m_pUser);
}

bool CVXHVDev::ReceiveTextFrame()
{
    uint8_t head[kFrameHeaderSize];
    if (hvsock::RecvAll(m_nAlarmSocket, head, sizeof head, kWaitMs, m_wake.fd()) != static_cast<int>(sizeof head))
        return false;
    FrameHeader frame;
    if (!ParseFrameHeader(head, sizeof head, frame)) {
        vx_log(VX_LOG_ERROR, "hx alarm frame length %u out of range", frame.length);
        return false;
    }
    std::vector<char> payload(frame.length - kFrameMinLength + 1, '\0');
    const size_t want = payload.size() - 1;
    if (want && hvsock::RecvAll(m_nAlarmSocket, payload.data(), want, kWaitMs, m_wake.fd()) != static_cast<int>(want))
        return false;
    if (!frame.event)
        return true;
    std::string text(payload.data(), want);
    switch (KindOfPayload(text)) {
    case AlarmKind::Input:
        vx_log(VX_LOG_TRACE, "hx alarm recv msg %s", text.c_str());
        RaiseAlarm(1, payload.data(), static_cast<int>(want));
        break;
    case AlarmKind::Motion:
        vx_log(VX_LOG_TRACE, "hx alarm recv msg %s", text.c_str());
        RaiseAlarm(0, payload.data(), static_cast<int>(want));
        break;
    case AlarmKind::None:
        break;
    }
    return true;
}

bool CVXHVDev::ReceiveHvRecord()
{
    uint8_t rec[kAlarmRecordSize];
    if (hvsock::RecvAll(m_nAlarmSocket, rec, sizeof rec, kWaitMs, m_wake.fd()) != static_cast<int>(sizeof rec))
        return false;
    AlarmRecord record;
    ParseAlarmRecord(rec, sizeof rec, record);
    if (record.type == 2)
        vx_log(VX_LOG_TRACE, "hv alarm recv motion alarm id-%d start-%d", record.id, record.start);
    else if (record.type == 1)
        vx_log(VX_LOG_TRACE, "hv alarm recv io alarm id-%d start-%d", record.id, record.start);
    else
        vx_log(VX_LOG_TRACE, "hv alarm recv type %d id-%d start-%d", record.type, record.id, record.start);
    switch (KindOfRecord(record)) {
    case AlarmKind::Motion:
        RaiseAlarm(0, reinterpret_cast<const char*>(rec), static_cast<int>(sizeof rec));
        break;
    case AlarmKind::Input:
        RaiseAlarm(1, reinterpret_cast<const char*>(rec), static_cast<int>(sizeof rec));
        break;
    case AlarmKind::None:
        break;
    }
    return true;
}

bool CVXHVDev::ReceiveOne()
{
    while (m_bRun) {
        int w = hvsock::WaitReadable(m_nAlarmSocket, kWaitMs, m_wake.fd());
        if (w == hvsock::kWaitTimeout) {
            vx_log(VX_LOG_TRACE, "hv alarm recv select timeout");
            continue;
        }
        if (w != hvsock::kReadable)
            return false;
        return IsText() ? ReceiveTextFrame() : ReceiveHvRecord();
    }
    return false;
}

void CVXHVDev::AlarmLoop()
{
    bool subscribed = false;
    int failures = 0;  // in a row, since the last good frame
    // Every failure closes the link and waits before the next try; failures
    // that repeat wait longer each time (one line each, not one per frame).
    auto retry = [&](int firstDelayMs) {
        hvsock::Close(m_nAlarmSocket);
        subscribed = false;
        ++failures;
        const int waitMs = AlarmBackoffMs(failures, firstDelayMs);
        if (failures > 1)
            vx_log(VX_LOG_ERROR, "alarm %s:%d failed %d times in a row, next try in %d ms", m_strHost.c_str(),
                   m_nPort, failures, waitMs);
        if (waitMs > 0)
            Pause(waitMs);
    };
    while (m_bRun) {
        if (m_nAlarmSocket < 0) {
            subscribed = false;
            if (!ConnectAlarm()) {
                // A link that dropped once comes back when the camera does;
                // until then try again every few seconds.
                retry(kReconnectMs);
                continue;
            }
        }
        if (!subscribed) {
            int retryMs = 100;
            if (!Subscribe(retryMs)) {
                retry(retryMs);
                continue;
            }
            subscribed = true;
        }
        if (ReceiveOne())
            failures = 0;
        else if (m_bRun)
            retry(0);  // a lost link or a bad frame: at once the first time
    }
    vx_log(VX_LOG_TRACE, "hv alarm recv thread end 1");
    Report(3);
}
