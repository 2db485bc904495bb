#pragma once
// CWebWatchNB: the camera object with its camera families. Connecting and
// logging in by chip type, CGI requests, the camera clock, and the side
// channels (PTZ queue, alarm and talk) of the families that have them.
//
// Threads: as CWebWatchBase, plus the PTZ worker (sends the queued commands),
// the alarm receiver (SetAlarmDetected) and the talk sender.
// Locks: as CWebWatchBase (state lock, then player lock, then session lock,
// then the interrupt lock). The PTZ queue's lock (m_csPtz), the talk lock
// (m_csTalk) and the text lock are leaves. The PTZ worker takes no state lock
// (its model version comes under the text lock), so Logout joins it under the
// state lock after the stop has interrupted its request in flight. SetMic
// takes no state lock: the talk connection is made outside every lock and
// only installed under the talk lock. Polled flags (m_bIsLogin, chip type,
// direct address, alarm flags) are atomics.

#include "camera/session/CWebWatchBase.h"

#include <atomic>

class CVXHVDev;

// One queued PTZ command with the speed and preset of its own call.
struct STPtzCmd {
    int nCode = 0;
    int nSpeed = 0;
    int nPreset = 0;
};

// Camera families (chip types).
enum {
    CHIP_TYPE_NONE = 70,
    CHIP_TYPE_HX = 71,
    CHIP_TYPE_HV = 72,
    CHIP_TYPE_DY = 73,
    CHIP_TYPE_AJ = 76,
    CHIP_TYPE_HTL = 77,
};

class AFX_EXT_CLASS CWebWatchNB : public CWebWatchBase {
    DECLARE_DYNAMIC(CWebWatchNB)

public:
    CWebWatchNB(int bLive, int nIndex, int nIgnored, CWnd* pParent);
    ~CWebWatchNB() override;

    int Connect() override;
    int Cleanup() override;
    CString GetStreamUrl() override;
    int StartPlay() override;
    using CWebWatchBase::StartPlay;
    int TestConnection() override;
    int TestConnectionWithoutVideo() override;
    int StartRecord(int bFlag) override;
    int GetCameraTime(COleDateTime& out) override;
    int SetPlayNextFile(int bMute, int nDirection) override;
    int GetMDRecordLength() override;
    int GetIORecordLength() override;
    int DrawAlarm() override;
    int GetChipType() override;
    int GetUseIPForP2P() override;
    int domeControl(int nCode, int nSpeed, int nPreset) override;
    int SetMic() override;
    int SetMic(int bOn) override;

    int Login();
    void Logout();
    void ClosePlayThread();
    // The whole HTTP reply text goes to strReply; 1 when the camera answered
    // with success, 0 otherwise (also without a session).
    int GetCgi(CString strPath, CString& strReply, int nTimeoutMs);
    int PostCgi(CString strPath, CString& strReply, int nTimeoutMs);
    int Download(CString strRemote, CString strLocal, int nTimeoutMs);
    // The same, telling pfnProgress (on the calling thread, under the session
    // lock) how far it got; its non-zero answer calls the download off and
    // leaves no file.
    int Download(CString strRemote, CString strLocal, int nTimeoutMs, vxnet_progress_callback pfnProgress, void* pUser);
    // An alarm of the alarm channel (kind 0 motion, 1 alarm input).
    void SetAlarmDetected(int nKind);
    void SendTalkData() {}
    // Sends one PTZ command now with the last speed and preset; the worker
    // sends each queued command with its own.
    int StartPtzDomeOpt(int nCode);
    int StartPtzDomeOpt(int nCode, int nSpeed, int nPreset);
    static DWORD WINAPI PtzOptThread(LPVOID pParam);
    // Polls the session once a second and clears m_bIsLogin when the camera
    // no longer answers. Runs only once StartHeartBeat started it.
    static DWORD WINAPI MsgHeartBeatThreadFunc(LPVOID pParam);
    // Added: starts the heartbeat worker (a running one first stops); 1 when
    // it runs. ClosePlayThread stops it.
    int StartHeartBeat();

    static int GetCamType(CString strVersion);
    static int VersionLaterThan(const char* a, const char* b);
    static int CheckUpgradeFile(CString strPath, CString strModel);

    CString GetModelVersion() const;
    int GetStreamCount() const { return m_nStreamCount; }
    int GetTalkCodec() const { return m_nTalkCodec; }
    int GetHVVideoPort() const { return m_nHVVideoPort; }

protected:
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    int CgiRequest(const CString& strPath, CString& strReply, int nTimeoutMs, int nMethod);
    CString Masked(const CString& strText) const;
    void SetModelVersion(const CString& strVersion);
    int LoginDirect(int nTimeoutMs);
    int LoginP2P();
    // The PTZ worker and the side channels (CWebWatchNB_Ptz.cpp,
    // CWebWatchNB_Channels.cpp).
    void StartPtzWorker();
    void StopPtzWorker();
    void StopHeartBeat();
    int StartAlarmChannel(int nPort, const CString& strUser, const CString& strPwd);
    void StopSideChannels();
    static void CALLBACK OnAlarmStatus(int nReserved, int nState, void* pUser);
    static void CALLBACK OnAlarm(int nReserved, int nKind, const char* pData, int nLength, void* pUser);
    static void CALLBACK OnTalkError(void* pUser);

public:
    // ---- members, in the order of their meaning ----
    std::atomic<int> m_nChipType{0};
    std::atomic<int> m_bUseIPForP2P{0};
    // Motion and I/O alarm flags are CWebWatchBase's m_bMotionAlarm and
    // m_bIOAlarm, which its questions read.
    int m_nTalkCodec = 0;
    int m_nHVVideoPort = 90;
    CList<STPtzCmd> m_listPtzCmd;
    CRITICAL_SECTION m_csPtz;
    HANDLE m_hPtzThread = nullptr;
    std::atomic<int> m_bPtzRun{0};
    int m_nPtzSpeed = 0;
    int m_nPtzPreset = 0;
    CVXHVDev* m_pAlarmDev = nullptr;
    CVXHVDev* m_pTalkDev = nullptr;

    // Added: the login's authorisation level and administrator flag, read at
    // login and kept for the settings pages.
    int m_nAuthLevel = 0;
    int m_bAdmin = 0;
    // Added: wakes the PTZ worker's pause between commands, so Logout does
    // not wait for it.
    HANDLE m_hPtzWake = nullptr;
    // Added: the heartbeat worker, its run flag and the event that ends its
    // one-second pause at once when it is stopped.
    HANDLE m_hHeartBeatThread = nullptr;
    std::atomic<int> m_bHeartBeatRun{0};
    HANDLE m_hHeartBeatWake = nullptr;
    // Guards m_pTalkDev, m_bTalk and m_nLogouts: installing and removing the
    // talk channel; a leaf, never held across the talk connection.
    CRITICAL_SECTION m_csTalk;
    int m_nLogouts = 0;                     // Logouts so far (talk lock)
    std::atomic<int> m_bTalkStarting{0};    // a SetMic(1) connects now
};
