#include "camera/dialogs/window/CProgressDlg.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/UploadFirmware.h"
#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <climits>

namespace {
constexpr UINT_PTR kCountdownTimer = 1;
}

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
ON_WM_TIMER()
ON_MESSAGE(UM_PROGRESS_DONE, OnDone)
ON_MESSAGE(UM_PROGRESS_SENT, OnSent)
ON_MESSAGE(UM_PROGRESS_END_OK, OnEndOk)
ON_MESSAGE(UM_PROGRESS_END_CANCEL, OnEndCancel)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* pParent) : CDialog(IDD_PROGRESS, pParent) {}

CProgressDlg::~CProgressDlg()
{
    StopWorker();
}

int CProgressDlg::RequestTimeoutMs(int nDurationSeconds)
{
    long long ms = static_cast<long long>(nDurationSeconds) * 1000 - 10000;
    return static_cast<int>(std::clamp<long long>(ms, 1000, INT_MAX));
}

void CProgressDlg::SetFilePath(const CString& strPath)
{
    m_strPath = strPath;
    int slash = std::max(strPath.ReverseFind('/'), strPath.ReverseFind('\\'));
    m_strFileName = strPath.Mid(slash + 1);
    m_strFolder = strPath.Left(slash + 1);
}

INT_PTR CProgressDlg::DoModal()
{
    INT_PTR result;
    {
        // The template and the texts are the library's own, whoever calls.
        AFX_MANAGE_STATE(VxcamModuleState());
        result = CDialog::DoModal();
    }
    StopWorker();
    return result;
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nTextId != 0)
        SetDlgItemText(IDC_PROGRESS_TEXT, VxcamString(static_cast<UINT>(m_nTextId)));
    m_strResult.Empty();
    m_nResult = 0;
    int duration = std::max(m_nDuration, 1);
    m_nDuration = duration;
    SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, duration);
    SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, 0);
    SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETSTEP, 1);

    m_bStop = false;
    if (m_bUpgrade) {
        // The transfer first: the bar counts the share taken, in percent.
        SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
        HWND self = GetSafeHwnd();
        m_worker = std::thread([this, self] { RunUpload(self); });
    } else if (m_nTextId == IDS_PROGRESS_UPNP || m_bCallerRequest) {
        StartTimer();
    } else {
        // The countdown runs while the camera is asked.
        StartTimer();
        HWND self = GetSafeHwnd();
        m_worker = std::thread([this, self] { RunCgi(self); });
    }
    return TRUE;
}

void CProgressDlg::RunCgi(HWND notify)
{
    int result = -5;
    if (m_pCamera && !m_bStop) {
        CString reply;
        if (m_pCamera->GetCgi(m_strPath, reply, RequestTimeoutMs(m_nDuration)))
            result = CCgiCmd::GetCgiValueInt3(reply, m_nTextId == IDS_PROGRESS_WIRELESS ? "chkres" : "result");
    }
    m_nResult = result;
    ::PostMessage(notify, UM_PROGRESS_DONE, result != -5 ? 1 : 0, 0);
}

void CProgressDlg::RunUpload(HWND notify)
{
    UploadOptions o;
    o.idleMs = m_nUploadIdleMs;
    o.minBytesPerSecond = m_nUploadMinBytesPerSecond;
    o.stop = &m_bStop;
    int lastShare = -1;
    o.progress = [notify, &lastShare](int64_t taken, int64_t total) {
        // 100 % is the camera's answer (OnDone), not the last byte taken.
        int share = total > 0 ? static_cast<int>(std::min<int64_t>(99, taken * 100 / total)) : 99;
        if (share != lastShare) {
            lastShare = share;
            ::PostMessage(notify, UM_PROGRESS_SENT, static_cast<WPARAM>(share), 0);
        }
    };
    int ok = UploadFirmware(m_strPath, m_strHost, m_nPort, m_strUser, m_strPwd, o);
    if (!ok)
        vx_log(VX_LOG_TRACE, "update error");
    ::PostMessage(notify, UM_PROGRESS_DONE, ok ? 1 : 0, 0);
}

LRESULT CProgressDlg::OnSent(WPARAM wParam, LPARAM)
{
    // A share that comes after the transfer ended moves nothing.
    if (m_bTimerSet)
        return 0;
    CString share;
    share.Format("%d%%", static_cast<int>(wParam));
    SetDlgItemText(IDC_PROGRESS_SHARE, share);
    SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, wParam);
    return 0;
}

void CProgressDlg::StartTimer()
{
    if (!m_bTimerSet) {
        SetTimer(kCountdownTimer, 1000);
        m_bTimerSet = true;
    }
}

LRESULT CProgressDlg::OnDone(WPARAM wParam, LPARAM)
{
    if (m_bUpgrade) {
        // Sent: the countdown runs its whole length while the camera
        // writes and restarts. Failed: it ends at the next tick.
        SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, m_nDuration);
        SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, 0);
        if (wParam) {
            SetDlgItemText(IDC_PROGRESS_SHARE, "100%");
            SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_STEPIT);
        } else {
            m_strResult = "Error";
            SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(m_nDuration));
        }
        StartTimer();
        return 0;
    }
    // The countdown ends about two ticks from now.
    SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(m_nDuration - 1));
    return 0;
}

void CProgressDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCountdownTimer) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    int pos = static_cast<int>(SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_GETPOS));
    if (pos < m_nDuration) {
        SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_STEPIT);
        return;
    }
    End(IDOK);
}

LRESULT CProgressDlg::OnEndOk(WPARAM, LPARAM)
{
    m_strResult.Empty();
    End(IDOK);
    return 0;
}

LRESULT CProgressDlg::OnEndCancel(WPARAM wParam, LPARAM)
{
    if (wParam == IDS_UPGRADE_DONE)
        m_strResult.Empty();
    else
        m_strResult = VxcamString(static_cast<UINT>(wParam));
    End(IDCANCEL);
    return 0;
}

void CProgressDlg::StopWorker()
{
    m_bStop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void CProgressDlg::End(int nResult)
{
    if (m_bTimerSet) {
        KillTimer(kCountdownTimer);
        m_bTimerSet = false;
    }
    // The results are read once the worker is gone.
    {
        CWaitCursor wait;
        StopWorker();
    }
    EndDialog(nResult);
}
