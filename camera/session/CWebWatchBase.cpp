#include "camera/session/CWebWatchBase.h"

#include "camera/session/CStateBar.h"
#include "camera/session/CameraMessages.h"
#include "camera/session/StateLock.h"
#include "camera/session/VXCameraThread.h"
#include "outside/vxplay/vxplay.h"
#include "utility/vx_log.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CWebWatchBase, CWnd)

int CWebWatchBase::m_nPreRecLen = 0;
int CWebWatchBase::m_nRecLen = 600;
int CWebWatchBase::m_nRecLenSwitch = 1;

// ---- library-wide ----

int CWebWatchBase::InitLib()
{
    if (vxnet_init() != 0) {
        vx_log(VX_LOG_FATAL, "Failed when initializing vxnet lib!");
        return 0;
    }
    if (vxplay_init() != 0) {
        vx_log(VX_LOG_FATAL, "Failed when initializing vxplay lib!");
        return 0;
    }
    return 1;
}

void CWebWatchBase::DeinitLib()
{
    vxplay_deinit();
    vxnet_deinit();
}

void CWebWatchBase::SetPreRecLen(int nMs)
{
    m_nPreRecLen = nMs;
}
void CWebWatchBase::SetRecLen(int nSeconds)
{
    m_nRecLen = nSeconds;
}
void CWebWatchBase::SetRecLenSwitch(int bSwitch)
{
    m_nRecLenSwitch = bSwitch;
}

// ---- life ----

CWebWatchBase::CWebWatchBase(int bLive, int nIndex, CWnd* pParent)
    : m_nIndex(nIndex), m_pParentWnd(pParent), m_bLive(bLive)
{
    InitializeCriticalSection(&m_csSession);
    InitializeCriticalSection(&m_csInterrupt);
    InitializeCriticalSection(&m_csText);
    InitializeCriticalSection(&m_csPlayer);
    m_hStateLock = CreateMutex(nullptr, FALSE, nullptr);
    m_hParentWnd = CWnd::SafeHwnd(pParent);
    memset(&m_stConnectInfo, 0, sizeof m_stConnectInfo);
}

CWebWatchBase::~CWebWatchBase()
{
    // Stop the worker before taking the state lock: it takes that lock itself.
    StopAutoConnect();
    InterruptSession(1);
    {
        CStateLock lock(m_hStateLock);
        if (m_bLive) {
            CWebWatchBase::StopPlay();
        } else {
            CWebWatchBase::StopPlay();
            if (m_hParentWnd)
                ::SendNotifyMessage(m_hParentWnd, UM_VX_PLAYFILE_NOTIFY, 3, 0);
        }
        VXNET_HANDLE h = TakeSession();
        if (h)
            vxnet_disconnect(h);
        m_bIsLogin = 0;
    }
    DestroyStateBar();
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    DeleteCriticalSection(&m_csPlayer);
    DeleteCriticalSection(&m_csText);
    DeleteCriticalSection(&m_csInterrupt);
    DeleteCriticalSection(&m_csSession);
    if (m_hStateLock)
        CloseHandle(m_hStateLock);
}

// ---- setting up ----

void CWebWatchBase::SetCameraInfo(STWatchCameraInfo* pInfo)
{
    if (!pInfo)
        return;
    CStateLock lock(m_hStateLock);
    m_stCameraInfo = *pInfo;
    m_player.SetCameraName(m_stCameraInfo.strName);
    STConnectInfo block;
    vxcam::FillConnectBlock(block, m_stCameraInfo, m_stServer, m_bLive);
    CSectionLock session(m_csSession);
    m_stConnectInfo = block;
}

void CWebWatchBase::SetCameraInfo(CString strHost, int nHttpPort, int nMediaPort, int nStream, int nChannel,
                                  CString strUser, CString strPwd)
{
    STWatchCameraInfo info;
    info.strIP = strHost;
    info.strName = strHost;
    info.nHttpPort = nHttpPort;
    info.nMediaPort = nMediaPort;
    info.nStream = nStream;
    info.nChannel = nChannel;
    info.nEntryType = WATCH_ENTRY_HOST;
    info.strUser = strUser;
    info.strPwd = strPwd;
    SetCameraInfo(&info);
}

void CWebWatchBase::SetServerInfo(int nFlag, CString strServer2, CString strServer, int nPort)
{
    CStateLock lock(m_hStateLock);
    m_stServer.nFlag = nFlag;
    m_stServer.strServer2 = strServer2;
    m_stServer.strServer = strServer;
    m_stServer.nPort = nPort;
}

void CWebWatchBase::SetRecordPath(const CString& strPath)
{
    // The recorder sets it on its GUI thread for a motion recording.
    CSectionLock text(m_csText);
    m_strRecordPath = strPath;
}

CString CWebWatchBase::GetLastRecordFile() const
{
    CSectionLock text(m_csText);
    return m_strLastRecordFile;
}

CString CWebWatchBase::GetCameraTypeString() const
{
    int stream = m_stCameraInfo.nStream + 1;
    if (m_stCameraInfo.nStream == 2 && m_nStreamCount == 2)
        stream = 2;
    CString text;
    text.Format("%s|%d|%d", static_cast<const char*>(m_stCameraInfo.strP2PID), m_stCameraInfo.nChannel + 1, stream);
    return text;
}

// ---- session ----

void CWebWatchBase::SetSessionHandle(VXNET_HANDLE h)
{
    CSectionLock session(m_csSession);
    CSectionLock interrupt(m_csInterrupt);
    m_hSession = h;
    m_hInterruptible = h;
    // A stop that came while this session was being opened covers it too.
    if (h && StopRequested())
        vxnet_interrupt(h, 1);
}

VXNET_HANDLE CWebWatchBase::TakeSession()
{
    CSectionLock session(m_csSession);
    CSectionLock interrupt(m_csInterrupt);
    VXNET_HANDLE h = m_hSession;
    m_hSession = nullptr;
    m_hInterruptible = nullptr;
    m_player.SetSession(nullptr, &m_csSession);
    return h;
}

void CWebWatchBase::InterruptSession(int bOn)
{
    // The connect in flight reads the count; the session's calls in flight
    // (CGI, download, stream open) are cut by vxnet itself. Stops on several
    // threads overlap (a clean-up inside a worker's stop), so each on is
    // matched by its own off and the calls run again only after the last.
    CSectionLock interrupt(m_csInterrupt);
    int count = __atomic_load_n(&m_nAbort, __ATOMIC_SEQ_CST) + (bOn ? 1 : -1);
    if (count < 0)
        count = 0;
    __atomic_store_n(&m_nAbort, count, __ATOMIC_SEQ_CST);
    if (m_hInterruptible)
        vxnet_interrupt(m_hInterruptible, count > 0 ? 1 : 0);
}

int CWebWatchBase::Connect()
{
    CStateLock lock(m_hStateLock);
    if (m_bIsLogin.load())
        return 1;
    // A session left by an earlier failed attempt goes first: a new one must
    // not overwrite its handle.
    if (VXNET_HANDLE old = TakeSession())
        vxnet_disconnect(old);
    VXNET_HANDLE h = nullptr;
    STConnectInfo block;
    {
        CSectionLock session(m_csSession);
        block = m_stConnectInfo;
    }
    // The probe takes no handle: it runs outside the session lock.
    int rc = vxnet_connect_ex(&block, &h, &m_nAbort);
    m_bLoginRefused = rc == VXNET_ERR_AUTH ? 1 : 0;
    if (rc == 0 && h)
        SetSessionHandle(h);
    else if (h)
        vxnet_disconnect(h);
    m_bIsLogin = (rc == 0 && h) ? 1 : 0;
    return m_bIsLogin.load();
}

int CWebWatchBase::Cleanup()
{
    InterruptSession(1);
    {
        CStateLock lock(m_hStateLock);
        if (m_bLive)
            StopPlay();
        else
            StopPlayFile();
        // The base class logs in by opening the session: clean-up closes it.
        if (VXNET_HANDLE h = TakeSession())
            vxnet_disconnect(h);
        m_bIsLogin = 0;
    }
    InterruptSession(0);
    return 1;
}

CString CWebWatchBase::GetStreamUrl()
{
    if (m_stCameraInfo.nEntryType == WATCH_ENTRY_RTSP_URL)
        return m_stCameraInfo.strIP;
    CString url;
    url.Format("rtsp://%s:%d", static_cast<const char*>(m_stCameraInfo.strIP), m_stCameraInfo.nMediaPort);
    if (m_stCameraInfo.nChannel >= 1 && m_stCameraInfo.nChannel <= 3) {
        CString ch;
        ch.Format("/ch=%d", m_stCameraInfo.nChannel);
        url += ch;
    }
    if (m_stCameraInfo.nStream == 1)
        url += "/sl=1";
    return url;
}

int CWebWatchBase::TestConnection()
{
    return m_player.IsPlaying();
}
int CWebWatchBase::TestConnectionWithoutVideo()
{
    return 1;
}

// ---- posting ----

void CWebWatchBase::PostToParent(UINT nCode, WPARAM wParam, LPARAM lParam) const
{
    if (m_hParentWnd)
        ::PostMessage(m_hParentWnd, nCode, wParam, lParam);
}

void CWebWatchBase::PostToParentForwarded(UINT nCode, LPARAM lParam) const
{
    PostToParent(nCode, VxForwardedWParam(m_nIndex, nCode), lParam);
}

void CWebWatchBase::PostToSurface(UINT nCode, WPARAM wParam, LPARAM lParam) const
{
    HWND surface = m_hSurface.load();
    if (surface)
        ::PostMessage(surface, nCode, wParam, lParam);
}

void CWebWatchBase::PostToSelf(UINT nCode, LPARAM lParam) const
{
    HWND self = m_hSelf.load();
    if (self)
        ::PostMessage(self, nCode, nCode, lParam);
}

HWND CWebWatchBase::RenderHwnd() const
{
    HWND surface = m_hSurface.load();
    return surface ? surface : m_hSelf.load();
}

// ---- simple operations ----

int CWebWatchBase::domeControl(int, int, int)
{
    return 0;
}

int CWebWatchBase::SetAudio(int bMute)
{
    CSectionLock player(m_csPlayer);
    m_bMute = bMute;
    m_player.ApplySound(bMute ? 0 : 1);
    return 1;
}

int CWebWatchBase::SetFullscreen(int bOn, int x, int y, int cx, int cy)
{
    // GUI thread: the camera window moves.
    CRect target(x, y, x + cx, y + cy);
    if (bOn) {
        if (::IsWindow(m_hWnd)) {
            GetWindowRect(&m_rcSaved);
            if (CWnd* parent = GetParent())
                parent->ScreenToClient(&m_rcSaved);
            MoveWindow(x, y, cx, cy);
        }
        m_rcNew = target;
    } else {
        m_rcNew = m_bLive ? target : m_rcSaved;
        if (::IsWindow(m_hWnd))
            MoveWindow(&m_rcNew);
    }
    m_bFullscreen = bOn ? 1 : 0;
    if (m_pStateBar && ::IsWindow(m_pStateBar->GetSafeHwnd())) {
        m_pStateBar->Reset();
        m_pStateBar->SetFullscreen(m_bFullscreen);
    }
    return 1;
}

int CWebWatchBase::SetMic()
{
    return SetMic(m_bTalk);
}

int CWebWatchBase::SetMic(int bOn)
{
    m_bTalk = bOn;
    return 1;
}

int CWebWatchBase::SetCruise(int bCruise)
{
    m_bCruise = bCruise;
    return 1;
}

int CWebWatchBase::GetCruise()
{
    return m_bCruise;
}

int CWebWatchBase::StartCruise()
{
    SetCruise(m_bCruise);
    return 1;
}

int CWebWatchBase::SetFlip()
{
    CSectionLock player(m_csPlayer);
    m_nTransform ^= 2;
    m_player.SetTransform(m_nTransform);
    return 1;
}

int CWebWatchBase::SetMirror()
{
    CSectionLock player(m_csPlayer);
    m_nTransform ^= 1;
    m_player.SetTransform(m_nTransform);
    return 1;
}

int CWebWatchBase::SetExactFit()
{
    CSectionLock player(m_csPlayer);
    m_player.SetAspect(m_bExactFit ? 1.0f : 0.0f);
    return 1;
}

int CWebWatchBase::SetExactFit(int bFit)
{
    CSectionLock player(m_csPlayer);
    if ((bFit ? 1 : 0) != m_bExactFit && m_player.SetAspect(bFit ? 1.0f : 0.0f) == 0)
        m_bExactFit = bFit ? 1 : 0;
    return 1;
}

int CWebWatchBase::SetTransform()
{
    CSectionLock player(m_csPlayer);
    m_player.SetTransform(m_nTransform);
    return 1;
}

int CWebWatchBase::SetShowBitRate()
{
    return SetShowBitRate(m_bShowBitrate);
}

int CWebWatchBase::SetShowBitRate(int bShow)
{
    CSectionLock player(m_csPlayer);
    m_bShowBitrate = bShow ? 1 : 0;
    m_player.ShowBitrate(m_bShowBitrate);
    return 1;
}

int CWebWatchBase::GetCameraTime(COleDateTime&)
{
    return 0;
}

int CWebWatchBase::SetCameraTime(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraOSD(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraOSD(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraNetwork(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraNetwork(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraWireless(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraWireless(void*)
{
    return 1;
}
int CWebWatchBase::SearchWireless(void*)
{
    return 0;
}
int CWebWatchBase::SetCameraEmailSetting(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraEmailSetting(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraFTP(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraFTP(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraAudio(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraAudio(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraVideo(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraVideo(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraVideoSecondary(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraVideoSecondary(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraColor(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraColorDefault(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraColor(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraPTZ(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraPTZ(void*)
{
    return 1;
}
int CWebWatchBase::SetCameraPTZCruise(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraPTZCruise(void*)
{
    return 1;
}
int CWebWatchBase::AddCameraUser(void*)
{
    return 1;
}
int CWebWatchBase::ModCameraUser(void*)
{
    return 1;
}
int CWebWatchBase::DelCameraUser(void*)
{
    return 1;
}
int CWebWatchBase::GetCameraUser(void*, int*)
{
    return 1;
}
int CWebWatchBase::ResetDefault(void*)
{
    return 1;
}
int CWebWatchBase::ResetFactory(void*)
{
    return 1;
}
int CWebWatchBase::Reboot(void*)
{
    return 1;
}
int CWebWatchBase::Upgrade(void*)
{
    return 1;
}

int CWebWatchBase::GetMDRecordLength()
{
    return 10;
}
int CWebWatchBase::GetIORecordLength()
{
    return 10;
}

int CWebWatchBase::DrawAlarm()
{
    if (!m_player.IsPlaying())
        return 0;
    m_bAlarmBlink = m_bAlarmBlink ? 0 : 1;
    PostToParent(UM_VX_CAMERA_ALARM_BLINK, static_cast<WPARAM>(m_nIndex), m_bAlarmBlink);
    return 1;
}

int CWebWatchBase::GetChipType()
{
    return VXNET_CHIP_NONE;
}
int CWebWatchBase::GetUseIPForP2P()
{
    return 0;
}

// ---- download folder of the parent ----

CString CWebWatchBase::GetDownloadPath()
{
    char buffer[260] = {0};
    if (m_hParentWnd)
        ::SendMessage(m_hParentWnd, UM_VX_GET_DOWNLOAD_PATH, 0, reinterpret_cast<LPARAM>(buffer));
    // The parent may fill the whole buffer.
    buffer[sizeof buffer - 1] = '\0';
    m_strDownloadPath = buffer;
    return m_strDownloadPath;
}

void CWebWatchBase::SetDownloadPath(const CString& strPath)
{
    m_strDownloadPath = strPath;
    // Sent, not posted: the text is ours and must stay valid until the
    // parent has copied it.
    if (m_hParentWnd)
        ::SendMessage(m_hParentWnd, UM_VX_SET_DOWNLOAD_PATH, 0,
                      reinterpret_cast<LPARAM>(static_cast<const char*>(strPath)));
}

// ---- reconnect worker ----

void CWebWatchBase::SetStopFlag()
{
    if (m_pCameraThread)
        m_pCameraThread->SetRunFlag(0);
}

void CWebWatchBase::StartAutoConnect()
{
    vx_log(VX_LOG_TRACE, "[%s] CWebWatchBase::StartAutoConnect()", static_cast<const char*>(m_stCameraInfo.strName));
    if (m_pCameraThread)
        return;
    m_pCameraThread = new VXCameraThread();
    m_pCameraThread->Start(this);
}

void CWebWatchBase::StopAutoConnect()
{
    if (!m_pCameraThread)
        return;
    vx_log(VX_LOG_TRACE, "[%s] CWebWatchBase::StopAutoConnect()", static_cast<const char*>(m_stCameraInfo.strName));
    // A connect sequence in flight (CGI requests, stream open) must not hold
    // the stop: interrupt the session's calls, join, then let them run again.
    m_pCameraThread->SetRunFlag(0);
    InterruptSession(1);
    delete m_pCameraThread;
    m_pCameraThread = nullptr;
    InterruptSession(0);
}

void CWebWatchBase::ToggleConnect()
{
    vx_log(VX_LOG_TRACE, "CWebWatchBase::ToggleConnect()");
    if (m_pCameraThread) {
        vx_log(VX_LOG_TRACE, "CWebWatchBase::ToggleConnect() stop worker");
        StopAutoConnect();
        Cleanup();
        WPARAM w = VxForwardedWParam(m_nIndex, UM_VX_CAMERA_DISCONNECTED);
        PostToParent(UM_VX_CAMERA_DISCONNECTED, w, 0);
        PostToSurface(UM_VX_CAMERA_DISCONNECTED, w, 0);
    } else {
        vx_log(VX_LOG_TRACE, "CWebWatchBase::ToggleConnect() start worker");
        StartAutoConnect();
    }
}

// ---- alarm flags ----

namespace {
int64_t NowMs()
{
    return static_cast<int64_t>(GetTickCount64());
}
}  // namespace

int CWebWatchBase::IsMotionDetected() const
{
    if (!m_bMotionAlarm.load())
        return 0;
    return m_hSelf.load() || NowMs() - m_nMotionAlarmAt.load() < 10000 ? 1 : 0;
}

int CWebWatchBase::IsIODetected() const
{
    if (!m_bIOAlarm.load())
        return 0;
    return m_hSelf.load() || NowMs() - m_nIOAlarmAt.load() < 10000 ? 1 : 0;
}
