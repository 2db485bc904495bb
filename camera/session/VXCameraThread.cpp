#include "camera/session/VXCameraThread.h"

#include "camera/session/CWebWatchBase.h"
#include "camera/session/CameraMessages.h"
#include "utility/vx_log.h"

VXCameraThread::VXCameraThread()
{
    m_hWake = CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

VXCameraThread::~VXCameraThread()
{
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::~VXCameraThread 1", Name());
    Stop();
    if (m_hWake)
        CloseHandle(m_hWake);
}

const char* VXCameraThread::Name() const
{
    return m_pOwner ? static_cast<const char*>(m_pOwner->m_stCameraInfo.strName) : "";
}

int VXCameraThread::Start(CWebWatchBase* pOwner)
{
    if (m_hThread)
        return 1;
    m_pOwner = pOwner;
    m_bRun = 1;
    ResetEvent(m_hWake);
    m_hThread = CreateThread(nullptr, 0, &VXCameraThread::ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!m_hThread) {
        m_bRun = 0;
        return 0;
    }
    ResumeThread(m_hThread);
    return 1;
}

void VXCameraThread::SetRunFlag(int bRun)
{
    m_bRun = bRun;
    if (!bRun && m_hWake)
        SetEvent(m_hWake);
}

void VXCameraThread::Stop()
{
    SetRunFlag(0);
    if (!m_hThread)
        return;
    // No time limit and no forced end: the flag, the wake-up and the
    // interrupted session calls bring the thread out on its own.
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

DWORD WINAPI VXCameraThread::ThreadProc(LPVOID param)
{
    vxk::SetCurrentThreadName("vxcam-reconnect");
    static_cast<VXCameraThread*>(param)->DetectConnection();
    return 0;
}

void VXCameraThread::PostStep(UINT nCode) const
{
    if (HWND self = m_pOwner->m_hSelf.load())
        ::PostMessage(self, nCode, nCode, 0);
}

void VXCameraThread::DetectConnection()
{
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::DetectConnection start", Name());
    int round = 0;
    while (m_bRun.load()) {
        ++round;
        vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::DetectConnection round %d", Name(), round);
        if (!m_pOwner->TestConnection()) {
            vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::DetectConnection no connection, restart %d", Name(), round);
            StartCamera(1, 0);
        }
        if (WaitForSingleObject(m_hWake, 5000) == WAIT_OBJECT_0 || !m_bRun.load()) {
            vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::DetectConnection quit", Name());
            break;
        }
    }
}

int VXCameraThread::StartCamera(int bCleanup, int bStopOnly)
{
    if (!m_bRun.load())
        return START_OK;
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::StartCamera 1", Name());
    if (bStopOnly) {
        PostStep(UM_VX_CAMERA_DISCONNECTING);
        m_pOwner->Cleanup();
        PostStep(UM_VX_CAMERA_DISCONNECTED);
        return START_OK;
    }
    PostStep(UM_VX_CAMERA_CONNECTING);
    if (bCleanup)
        m_pOwner->Cleanup();
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::StartCamera 2", Name());
    if (!m_bRun.load())
        return START_OK;
    int connected = m_pOwner->Connect();
    // A stop during Connect (which it cut short) skips the rest quietly.
    if (!m_bRun.load())
        return START_OK;
    if (!connected) {
        PostStep(UM_VX_CAMERA_CONNECT_FAILED);
        return START_CONNECT_FAILED;
    }
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::StartCamera 3", Name());
    PostStep(UM_VX_CAMERA_VIDEO_STARTING);
    if (!m_pOwner->StartPlay()) {
        PostStep(UM_VX_CAMERA_VIDEO_FAILED);
        return START_STREAM_FAILED;
    }
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::StartCamera 4", Name());
    if (m_pOwner->GetCruise())
        m_pOwner->SetCruise(1);
    if (m_bRun.load())
        m_pOwner->SetMic();
    vx_log(VX_LOG_TRACE, "[%s] VXCameraThread::StartCamera 5", Name());
    return START_OK;
}
