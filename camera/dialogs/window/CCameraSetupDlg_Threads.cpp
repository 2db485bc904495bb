// The settings window's worker threads: connecting, the camera clock and the
// exit. None of them touches a window: they post plain values (UM_SETUP_*)
// and the window acts on the GUI thread.
#include "camera/dialogs/window/CCameraSetupDlg.h"

#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

namespace {

// Created suspended, the handle stored before it runs, then resumed, so the
// handle is there for whoever waits for the thread.
HANDLE StartSuspended(LPTHREAD_START_ROUTINE proc, void* arg)
{
    HANDLE h = CreateThread(nullptr, 0, proc, arg, CREATE_SUSPENDED, nullptr);
    return h;
}

void WaitAndClose(HANDLE h)
{
    if (!h)
        return;
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
}

}  // namespace

void CCameraSetupDlg::StartConnectThread()
{
    // A connect thread that ran before has ended its work (it is not busy);
    // let it return and close its handle before keeping the new one.
    WaitAndClose(m_hConnectThread);
    m_hConnectThread = nullptr;
    m_bConnectBusy = 1;
    m_hConnectThread = StartSuspended(&CCameraSetupDlg::ConnectThreadProc, this);
    if (m_hConnectThread)
        ResumeThread(m_hConnectThread);
    else
        m_bConnectBusy = 0;
}

void CCameraSetupDlg::StartClockThread()
{
    // The clock thread before has stopped (the clock-running flag is clear).
    WaitAndClose(m_hClockThread.exchange(nullptr));
    m_bClockRunning = 1;
    HANDLE h = StartSuspended(&CCameraSetupDlg::ClockThreadProc, this);
    m_hClockThread = h;
    if (h)
        ResumeThread(h);
    else
        m_bClockRunning = 0;
}

void CCameraSetupDlg::StartExitThread()
{
    m_hExitThread = StartSuspended(&CCameraSetupDlg::ExitThreadProc, this);
    if (m_hExitThread) {
        ResumeThread(m_hExitThread);
        return;
    }
    // No thread: do its work here rather than leave the window alive.
    DoExitThread();
}

DWORD WINAPI CCameraSetupDlg::ConnectThreadProc(LPVOID p)
{
    static_cast<CCameraSetupDlg*>(p)->StartPlay();
    return 0;
}

DWORD WINAPI CCameraSetupDlg::ClockThreadProc(LPVOID p)
{
    static_cast<CCameraSetupDlg*>(p)->GetTimeThread();
    return 0;
}

DWORD WINAPI CCameraSetupDlg::ExitThreadProc(LPVOID p)
{
    static_cast<CCameraSetupDlg*>(p)->DoExitThread();
    return 0;
}

void CCameraSetupDlg::StartPlay()
{
    HWND hwnd = GetSafeHwnd();
    if (m_bExiting || !m_pCamera) {
        m_bConnectBusy = 0;
        return;
    }
    m_bConnectBusy = 1;
    m_bClockRunning = 0;
    vx_log(6, "CameraSetup start cleanup.");
    m_pCamera->Cleanup();
    vx_log(6, "CameraSetup start finished.");
    m_bTimeKnown = 0;
    if (m_bLoginChanged.exchange(0))
        m_pCamera->SetCameraInfo(&m_stCameraInfo);
    ::PostMessage(hwnd, UM_SETUP_STATUS, IDS_VX_CONNECTING, 0);

    // The clock thread asks the camera too: it ends before the next login.
    if (HANDLE clock = m_hClockThread.load(); !m_bExiting && clock)
        WaitForSingleObject(clock, INFINITE);

    vx_log(6, "%p CCameraSetupDlg::StartPlay", static_cast<void*>(this));
    int connected = 0;
    if (!m_bExiting)
        connected = m_pCamera->Connect();
    if (!m_bExiting) {
        if (!connected) {
            ::PostMessage(hwnd, UM_SETUP_STATUS, IDS_VX_CONNECT_FAILED, 0);
        } else {
            vx_log(6, "CameraSetupDlg::Start - %u", static_cast<unsigned>(m_pCamera->GetChipType()));
            // The window shows the categories and starts the clock itself.
            ::PostMessage(hwnd, UM_SETUP_CONNECTED, 0, 0);
        }
    }
    // The watchdog is set by the window after every connect, failed or not.
    ::PostMessage(hwnd, UM_SETUP_CONNECT_DONE, 0, 0);
    m_bConnectBusy = 0;
}

void CCameraSetupDlg::GetTimeThread()
{
    HWND hwnd = GetSafeHwnd();
    while (m_bClockRunning) {
        if (m_bTimeKnown) {
            m_dtClock = (COleDateTime(m_dtClock.load()) + COleDateTimeSpan(0, 0, 0, 1)).GetAsDATE();
        } else if (m_pCamera && m_pCamera->IsLogin() && m_bConnected) {
            COleDateTime clock(m_dtClock.load());
            if (m_pCamera->GetCameraTime(clock)) {
                m_dtClock = clock.GetAsDATE();
                m_bTimeKnown = 1;
            }
        }
        if (m_bClockRunning)
            ::PostMessage(hwnd, UM_SETUP_CLOCK, 0, 0);
        for (int i = 0; i < 10 && m_bClockRunning; ++i)
            Sleep(100);
    }
}

void CCameraSetupDlg::DoExitThread()
{
    vx_log(6, "CCameraSetupDlg::DoExitThread()");
    HWND hwnd = GetSafeHwnd();
    if (HANDLE clock = m_hClockThread.load()) {
        vx_log(6, "CCameraSetupDlg::DoExitThread wait get time thread");
        WaitForSingleObject(clock, INFINITE);
    }
    if (m_hConnectThread) {
        vx_log(6, "CCameraSetupDlg::DoExitThread wait start thread");
        WaitForSingleObject(m_hConnectThread, INFINITE);
    }
    // No request may run on the camera object once it is gone.
    m_worker->Stop();
    vx_log(6, "CCameraSetupDlg::DoExitThread video %p", static_cast<void*>(m_pCamera));
    CWebWatchNB* camera = m_pCamera;
    m_pCamera = nullptr;
    delete camera;
    vx_log(6, "CCameraSetupDlg::DoExitThread finish");
    // A posted WM_NCDESTROY would destroy nothing: the window destroys itself.
    ::PostMessage(hwnd, UM_SETUP_DESTROY, 0, 0);
}
