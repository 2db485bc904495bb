#include "camera/session/CWebWatchNB.h"

#include "camera/session/CameraMessages.h"
#include "camera/session/ConnectReport.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

IMPLEMENT_DYNAMIC(CWebWatchNB, CWebWatchBase)

BEGIN_MESSAGE_MAP(CWebWatchNB, CWebWatchBase)
ON_WM_TIMER()
END_MESSAGE_MAP()

CWebWatchNB::CWebWatchNB(int bLive, int nIndex, int, CWnd* pParent) : CWebWatchBase(bLive, nIndex, pParent)
{
    InitializeCriticalSection(&m_csPtz);
    InitializeCriticalSection(&m_csTalk);
}

CWebWatchNB::~CWebWatchNB()
{
    vx_log(VX_LOG_TRACE, "CWebWatchNB::~CWebWatchNB start");
    StopAutoConnect();
    Cleanup();
    DeleteCriticalSection(&m_csTalk);
    DeleteCriticalSection(&m_csPtz);
}

// ---- connecting ----

int CWebWatchNB::Connect()
{
    vx_log(VX_LOG_TRACE, "CWebWatchNB::Connect [id:%s]/[ip:%s] start",
           static_cast<const char*>(m_stCameraInfo.strP2PID), static_cast<const char*>(m_stCameraInfo.strIP));
    CStateLock lock(m_hStateLock);
    if (m_bIsLogin.load())
        return 1;
    // A session kept from an attempt whose login was refused goes first, so
    // that the new handle does not overwrite (and leak) it.
    if (VXNET_HANDLE old = TakeSession())
        vxnet_disconnect(old);

    VXNET_HANDLE h = nullptr;
    int rc;
    STConnectInfo stored;
    {
        CSectionLock session(m_csSession);
        stored = m_stConnectInfo;
    }
    // The probe takes no handle, so it runs outside the session lock: the
    // camera's slowness holds nothing but this thread, and a stop cuts it.
    rc = vxnet_connect_ex(&stored, &h, &m_nAbort);
    vx_log(VX_LOG_TRACE, "vxnet_connect result: %d", rc);
    m_bLoginRefused = rc == VXNET_ERR_AUTH ? 1 : 0;
    if ((rc != 0 || StopRequested()) && h) {
        vxnet_disconnect(h);
        h = nullptr;
        if (rc == 0)
            rc = VXNET_ERR_TIMEOUT;
    }
    const STConnectInfo* sessionBlock = (rc == 0 && h) ? vxnet_get_camera(h) : nullptr;
    vxcam::ConnectReport report = vxcam::DecideConnectReport(stored, sessionBlock, m_stCameraInfo.nEntryType);
    if (!sessionBlock) {
        if (h)
            vxnet_disconnect(h);
        for (int lParam : report.lParams)
            PostToParent(UM_VX_CAMERA_CONNECT_REPORT, static_cast<WPARAM>(m_nIndex), lParam);
        m_bIsLogin = 0;
        return 0;
    }
    m_nChipType = sessionBlock->nChipType;
    m_bUseIPForP2P = report.bDirectAddress ? 1 : 0;
    if (report.bAdoptAddress) {
        CSectionLock session(m_csSession);
        m_stCameraInfo.strIP = sessionBlock->szHost;
        m_stCameraInfo.nHttpPort = sessionBlock->nHttpPort;
        m_stCameraInfo.nMediaPort = sessionBlock->nMediaPort;
        vxcam::CopyBlockText(m_stConnectInfo.szHost, sizeof m_stConnectInfo.szHost, sessionBlock->szHost);
        m_stConnectInfo.nHttpPort = sessionBlock->nHttpPort;
        m_stConnectInfo.nMediaPort = sessionBlock->nMediaPort;
        m_stConnectInfo.nUseIP = 1;
    }
    SetSessionHandle(h);
    for (int lParam : report.lParams)
        PostToParent(UM_VX_CAMERA_CONNECT_REPORT, static_cast<WPARAM>(m_nIndex), lParam);
    vx_log(VX_LOG_TRACE, "Connect Login");
    return Login();
}

int CWebWatchNB::Cleanup()
{
    // A stop: the calls in flight on other threads (a connect, a login
    // request, the PTZ worker's request) end first, so taking the state lock
    // and joining the PTZ worker wait only for them to see it.
    InterruptSession(1);
    {
        CStateLock lock(m_hStateLock);
        ClosePlayThread();
        m_bUseIPForP2P = 0;
        m_nChipType = 0;
    }
    InterruptSession(0);
    return 1;
}

void CWebWatchNB::ClosePlayThread()
{
    CStateLock lock(m_hStateLock);
    StopHeartBeat();
    vx_log(VX_LOG_TRACE, "ClosePlayThread stop talk");
    SetMic(0);
    vx_log(VX_LOG_TRACE, "ClosePlayThread stop play");
    if (m_bLive)
        StopPlay();
    else
        StopPlayFile();
    m_bMotionAlarm = 0;
    m_bIOAlarm = 0;
    vx_log(VX_LOG_TRACE, "ClosePlayThread logout");
    Logout();
}

// ---- heartbeat ----

int CWebWatchNB::StartHeartBeat()
{
    StopHeartBeat();
    m_hHeartBeatWake = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    if (!m_hHeartBeatWake)
        return 0;
    m_bHeartBeatRun = 1;
    m_hHeartBeatThread = CreateThread(nullptr, 0, &CWebWatchNB::MsgHeartBeatThreadFunc, this, 0, nullptr);
    if (!m_hHeartBeatThread) {
        vx_log(VX_LOG_ERROR, "start heartbeat thread failed");
        StopHeartBeat();
        return 0;
    }
    return 1;
}

void CWebWatchNB::StopHeartBeat()
{
    m_bHeartBeatRun = 0;
    if (m_hHeartBeatWake)
        SetEvent(m_hHeartBeatWake);
    if (m_hHeartBeatThread) {
        // The worker takes only the session lock, never the state lock held
        // here, so at most one status question is waited out.
        WaitForSingleObject(m_hHeartBeatThread, INFINITE);
        CloseHandle(m_hHeartBeatThread);
        m_hHeartBeatThread = nullptr;
    }
    if (m_hHeartBeatWake) {
        CloseHandle(m_hHeartBeatWake);
        m_hHeartBeatWake = nullptr;
    }
}

DWORD WINAPI CWebWatchNB::MsgHeartBeatThreadFunc(LPVOID pParam)
{
    vxk::SetCurrentThreadName("vxcam-heartbeat");
    auto* self = static_cast<CWebWatchNB*>(pParam);
    while (self->m_bHeartBeatRun.load()) {
        WaitForSingleObject(self->m_hHeartBeatWake, 1000);
        if (!self->m_bHeartBeatRun.load())
            break;
        CSectionLock session(self->m_csSession);
        if (self->m_hSession && vxnet_get_status(self->m_hSession) != 0 && self->m_bIsLogin.exchange(0))
            vx_log(VX_LOG_INFO, "heartbeat: camera %d does not answer", self->m_nIndex);
    }
    return 0;
}

CString CWebWatchNB::GetStreamUrl()
{
    return CString();
}

// ---- play and record ----

int CWebWatchNB::StartPlay()
{
    vx_log(VX_LOG_TRACE, "CWebWatchNB::StartPlay");
    if (!m_bIsLogin.load()) {
        vx_log(VX_LOG_TRACE, "CWebWatchNB::StartPlay !m_bIsLogin");
        return 0;
    }
    return StartLivePlayer(m_bMute);
}

int CWebWatchNB::TestConnectionWithoutVideo()
{
    if (!m_bIsLogin.load())
        return 0;
    CSectionLock session(m_csSession);
    return m_hSession && vxnet_get_status(m_hSession) == 0 ? 1 : 0;
}

int CWebWatchNB::TestConnection()
{
    return TestConnectionWithoutVideo() && m_player.IsPlaying() ? 1 : 0;
}

int CWebWatchNB::StartRecord(int bFlag)
{
    // Called on the recorder's GUI thread for motion alarms: it takes only
    // the player lock, never the state lock a connect or stream open holds.
    if (!m_bIsLogin.load()) {
        // The host hears the recording is off (and one that ran stops).
        StopRecord();
        return 0;
    }
    if (!CWebWatchBase::StartRecord(bFlag))
        return 0;
    // The key-frame ask only checks the stream: with a request in flight
    // holding the session lock it is skipped rather than waited for.
    if (TryEnterCriticalSection(&m_csSession)) {
        if (m_hSession)
            vxnet_force_key_frame(m_hSession);
        LeaveCriticalSection(&m_csSession);
    }
    return 1;
}

int CWebWatchNB::SetPlayNextFile(int bMute, int nDirection)
{
    vx_log(VX_LOG_TRACE, "CWebWatchNB::SetPlayNextFile");
    CStateLock lock(m_hStateLock);
    StopPlay();
    if (nDirection == 0)
        ++m_nPlayIndex;
    else
        --m_nPlayIndex;
    if (m_nPlayIndex < 0)
        m_nPlayIndex = 0;
    if (m_nPlayIndex >= m_arrPlayList.GetSize())
        return 0;
    if (m_player.IsPlaying())
        return 1;
    const bool p2p = m_bIsP2P || m_stCameraInfo.nEntryType == WATCH_ENTRY_P2P_ID;
    if (p2p && !m_bUseIPForP2P.load() && !Connect())
        return 0;
    CString path = m_arrPlayList[m_nPlayIndex].strPath;
    if (p2p && m_bUseIPForP2P.load()) {
        CString address;
        address.Format("%s:%d", static_cast<const char*>(m_stCameraInfo.strIP), m_stCameraInfo.nHttpPort);
        path.Replace("127.0.0.1", address);
    }
    return PlayListEntry(bMute, path);
}

int CWebWatchNB::GetMDRecordLength()
{
    return 10;
}
int CWebWatchNB::GetIORecordLength()
{
    return 10;
}

int CWebWatchNB::DrawAlarm()
{
    if (!IsMotionDetected() && !IsIODetected())
        return 0;
    return CWebWatchBase::DrawAlarm();
}

int CWebWatchNB::GetChipType()
{
    return m_nChipType.load();
}
int CWebWatchNB::GetUseIPForP2P()
{
    return m_bUseIPForP2P.load();
}

// ---- alarms ----

void CWebWatchNB::SetAlarmDetected(int nKind)
{
    // On the alarm receiver's thread: post and set timers only.
    if (nKind != 0 && nKind != 1)
        return;
    HWND self = SelfHwnd();
    const UINT timer = nKind == 0 ? TIMER_MOTION_ALARM : TIMER_IO_ALARM;
    if (nKind == 0)
        vx_log(VX_LOG_TRACE, "SetAlarmDetected");
    if (self)
        ::KillTimer(self, timer);
    const int64_t now = static_cast<int64_t>(GetTickCount64());
    if (nKind == 0) {
        m_nMotionAlarmAt = now;
        m_bMotionAlarm = 1;
        PostToParent(UM_VX_CAMERA_MOTION_ALARM, static_cast<WPARAM>(m_nIndex), reinterpret_cast<LPARAM>(self));
    } else {
        m_nIOAlarmAt = now;
        m_bIOAlarm = 1;
        PostToParent(UM_VX_CAMERA_IO_ALARM, static_cast<WPARAM>(m_nIndex), reinterpret_cast<LPARAM>(self));
    }
    // A flag stays set for 10 s after the last alarm of its kind.
    if (self)
        ::SetTimer(self, timer, 10000, nullptr);
}

void CWebWatchNB::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_MOTION_ALARM || nIDEvent == TIMER_IO_ALARM) {
        if (nIDEvent == TIMER_MOTION_ALARM)
            m_bMotionAlarm = 0;
        else
            m_bIOAlarm = 0;
        KillTimer(nIDEvent);
        return;
    }
    CWebWatchBase::OnTimer(nIDEvent);
}
