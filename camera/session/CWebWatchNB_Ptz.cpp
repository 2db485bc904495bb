// The PTZ queue: hosts queue commands from their GUI thread and a worker
// sends one every 100 ms in the family's dialect, so a slow camera never
// blocks the GUI.
#include "camera/session/CWebWatchNB.h"

#include "camera/session/PtzDialect.h"
#include "utility/vx_log.h"

int CWebWatchNB::domeControl(int nCode, int nSpeed, int nPreset)
{
    if (!m_bIsLogin.load() || !m_bPtzRun.load() || !m_hPtzThread)
        return -1;
    // The last values stay for StartPtzDomeOpt(code); the queue keeps each
    // call's own, so a move queued after "go to preset 5" does not turn
    // that into another preset.
    m_nPtzSpeed = nSpeed;
    m_nPtzPreset = nPreset;
    EnterCriticalSection(&m_csPtz);
    m_listPtzCmd.AddTail(STPtzCmd{nCode, nSpeed, nPreset});
    LeaveCriticalSection(&m_csPtz);
    return 0;
}

void CWebWatchNB::StartPtzWorker()
{
    StopPtzWorker();
    vx_log(VX_LOG_TRACE, "start ptz thread");
    EnterCriticalSection(&m_csPtz);
    m_listPtzCmd.RemoveAll();
    LeaveCriticalSection(&m_csPtz);
    m_hPtzWake = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    m_bPtzRun = 1;
    m_hPtzThread = CreateThread(nullptr, 0, &CWebWatchNB::PtzOptThread, this, 0, nullptr);
    if (!m_hPtzThread) {
        m_bPtzRun = 0;
        vx_log(VX_LOG_ERROR, "start ptz thread failed");
    }
}

void CWebWatchNB::StopPtzWorker()
{
    m_bPtzRun = 0;
    if (m_hPtzWake)
        SetEvent(m_hPtzWake);
    if (m_hPtzThread) {
        // At most the one request in flight (3 s) is waited out.
        WaitForSingleObject(m_hPtzThread, INFINITE);
        CloseHandle(m_hPtzThread);
        m_hPtzThread = nullptr;
    }
    if (m_hPtzWake) {
        CloseHandle(m_hPtzWake);
        m_hPtzWake = nullptr;
    }
}

DWORD WINAPI CWebWatchNB::PtzOptThread(LPVOID pParam)
{
    vxk::SetCurrentThreadName("vxcam-ptz");
    auto* self = static_cast<CWebWatchNB*>(pParam);
    while (self->m_bPtzRun.load()) {
        STPtzCmd cmd;
        bool have = false;
        EnterCriticalSection(&self->m_csPtz);
        if (!self->m_listPtzCmd.IsEmpty()) {
            cmd = self->m_listPtzCmd.RemoveHead();
            have = true;
        }
        LeaveCriticalSection(&self->m_csPtz);
        if (have) {
            try {
                self->StartPtzDomeOpt(cmd.nCode, cmd.nSpeed, cmd.nPreset);
            } catch (...) {
                vx_log(VX_LOG_ERROR, "CWebWatchNB::PtzOptThread command %d failed", cmd.nCode);
            }
        }
        // One command a round; Logout wakes the pause.
        WaitForSingleObject(self->m_hPtzWake, 100);
    }
    return 0;
}

int CWebWatchNB::StartPtzDomeOpt(int nCode)
{
    return StartPtzDomeOpt(nCode, m_nPtzSpeed, m_nPtzPreset);
}

int CWebWatchNB::StartPtzDomeOpt(int nCode, int nSpeed, int nPreset)
{
    std::optional<STPtzRequest> req = BuildPtzRequest(m_nChipType.load(), GetModelVersion(), nCode, nSpeed, nPreset,
                                                      m_stCameraInfo.strUserEncoded, m_stCameraInfo.strPwdEncoded);
    if (!req)
        return 1;
    CString reply;
    return req->bPost ? PostCgi(req->strPath, reply, 3000) : GetCgi(req->strPath, reply, 3000);
}
