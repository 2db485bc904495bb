#pragma once
// One side channel of a camera beside its session: the alarm channel, which
// receives motion and alarm-input events on a receiver thread of its own,
// or the talk channel, which sends microphone audio to the camera's speaker.
// Each speaks the dialect of the camera's family: binary "INF" messages for
// family 72, HTTP-like text for families 71, 76 and 77.
//
// Threads: StartAlarm, StopAlarm, StartTalk and StopTalk come from the
// camera object's thread (GUI or host worker), never at the same time. The
// receiver thread owns the alarm socket while it runs and calls the status
// and alarm callbacks; stopping it sets the run flag, wakes its waits and
// joins it before the socket is closed, so no descriptor is freed under it.
// Talk blocks arrive on vxplay's audio thread; m_talkMutex guards the talk
// socket and its sequence between that thread and StopTalk. Callbacks are
// made without a lock held.

#include "camera/session/HVSocket.h"
#include "outside/vxplay/vxplay.h"
#include "platform/platform.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class CVXHVDev {
public:
    // State: 0 connecting, 1 connected, 2 connect or login failed, 3 the
    // receiver ends.
    typedef void(CALLBACK* StatusCallback)(int nReserved, int nState, void* pUser);
    // Kind: 0 motion, 1 alarm input; data and length of what was received.
    typedef void(CALLBACK* AlarmCallback)(int nReserved, int nKind, const char* pData, int nLength, void* pUser);
    typedef void(CALLBACK* TalkErrorCallback)(void* pUser);

    explicit CVXHVDev(int nChipType);
    virtual ~CVXHVDev();
    CVXHVDev(const CVXHVDev&) = delete;
    CVXHVDev& operator=(const CVXHVDev&) = delete;

    // 0; -1 connect failed (or the account holds a line break); -2 family 72
    // login failed; -3 thread not started.
    int StartAlarm(const char* szUser, const char* szPassword, const char* szHost, int nPort, StatusCallback fnStatus,
                   AlarmCallback fnAlarm, void* pUser);
    void StopAlarm();

    // 0 or -1 connect failed (or a line break in the account or host), -2
    // family 72 login failed, -3 request not sent, -4 reply unreadable or an
    // error, -5 wrong reply or acknowledgement not sent whole, -6 no readable
    // reply or no session id, -7 no reply within 3 s, -8 waiting failed, -9
    // vxplay_talk_start failed. The socket is closed on every failure.
    int StartTalk(int nCodec, const char* szUser, const char* szPassword, const char* szUser2, const char* szPassword2,
                  const char* szHost, int nPort, TalkErrorCallback fnError, void* pUser);
    void StopTalk();
    // One encoded block of vxplay's talk: -1 without a talk socket, else the
    // bytes sent. The first failure is reported once and ends the sending.
    int SendTalkBlock(const uint8_t* pBlock, int nLength, int64_t nTimeMs);

    int GetChipType() const { return m_nChipType; }
    BOOL IsAlarmRunning() const { return m_hAlarmThread != nullptr; }
    BOOL IsTalking() const;

private:
    static DWORD WINAPI AlarmThreadProc(LPVOID pParam);
    static int VXPLAY_STDCALL TalkSendProc(const uint8_t* pBlock, int nLength, int64_t nTimeMs, void* pUser);
    void AlarmLoop();
    bool ConnectAlarm();
    bool Subscribe(int& nRetryMs);
    bool ReceiveOne();
    bool ReceiveTextFrame();
    bool ReceiveHvRecord();
    void RaiseAlarm(int nKind, const char* pData, int nLength);
    void Report(int nState);
    // Waits nMs unless the channel is stopped; false when it was.
    bool Pause(int nMs);
    int HvLogin(int fd, int wakeFd);
    int TalkHandshake(int fd);
    bool IsText() const;

    int m_nChipType = 0;

    // The alarm side.
    HANDLE m_hAlarmThread = nullptr;
    int m_nAlarmSocket = -1;
    std::atomic<int> m_bRun{0};
    StatusCallback m_fnStatus = nullptr;
    AlarmCallback m_fnAlarm = nullptr;
    void* m_pUser = nullptr;
    hvsock::WakeFd m_wake;

    // Connection data.
    std::string m_strHost;
    std::string m_strUser;
    std::string m_strPassword;
    std::string m_strUser2;  // URL-encoded forms (family 76)
    std::string m_strPassword2;
    uint16_t m_nPort = 0;

    // The talk side.
    mutable std::mutex m_talkMutex;  // guards m_nTalkSocket, m_nSequence, m_bTalkFailed
    int m_nTalkSocket = -1;
    uint32_t m_nSequence = 0;
    int m_nTalkCodec = 0;
    vxplay_talk m_hTalk = nullptr;
    TalkErrorCallback m_fnTalkError = nullptr;
    void* m_pTalkUser = nullptr;
    bool m_bTalkFailed = false;
};
