// The Wireless page's "Search" (the scan dialog) and "Test" (the camera
// tries the entered settings under the progress dialog).
#include "camera/dialogs/CDlgCfgWireless.h"
#include "camera/dialogs/CCameraSetupDlg.h"
#include "camera/dialogs/CDlgWireLess.h"
#include "camera/dialogs/CProgressDlg.h"
#include "camera/dialogs/CVXCamApp.h"
#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

using namespace wireless_form;

namespace {

constexpr int kTestSeconds = 40;

}  // namespace

void CDlgCfgWireless::OnSearch()
{
    if (!m_pOwner)
        return;
    // The watchdog's check would queue behind a scan of up to 20 s.
    m_pOwner->StopWatchdog();
    CDlgWireLess dlg(m_pOwner, this);
    std::weak_ptr<int> alive = LifeToken();
    INT_PTR result = dlg.DoModal();
    // The settings window may have closed meanwhile, pages and all.
    if (alive.expired())
        return;
    m_pOwner->StartWatchdog();
    if (result != IDOK || dlg.m_strSSID.IsEmpty())
        return;
    Values v = ReadValues();
    v.ssid = dlg.m_strSSID;
    v.security = dlg.m_nSecurity;
    v.encryption = dlg.m_nEncrypt;
    v.mode = dlg.m_nMode;
    ShowValues(v);
}

void CDlgCfgWireless::OnTest()
{
    // Like "Apply": never before a load succeeded, never twice at once.
    if (!IsLoaded() || IsRequestPending())
        return;
    Values v = ReadValues();
    if (!v.enabled || !Accept(v))
        return;
    CWaitCursor wait;
    if (m_pOwner)
        m_pOwner->StopWatchdog();
    if (!StartRequest(Request::Sync, ComposeTest(v), true, 3000)) {
        if (m_pOwner)
            m_pOwner->StartWatchdog();
        ShowError(IDS_TEST_FAILED);
    }
}

void CDlgCfgWireless::RunTest()
{
    CWebWatchNB* camera = Camera();
    auto job = std::make_shared<RequestJob>();
    job->call = [camera](CString& reply) {
        return camera->GetCgi(kTestResultPath, reply, CProgressDlg::RequestTimeoutMs(kTestSeconds));
    };
    job->notify = GetSafeHwnd();
    job->message = UM_WIFI_TEST_DONE;
    if (!camera || !m_pOwner || !m_pOwner->Worker().Post(job)) {
        if (m_pOwner)
            m_pOwner->StartWatchdog();
        ShowError(IDS_TEST_FAILED);
        return;
    }
    m_testJob = job;
    CProgressDlg dlg(this);
    dlg.SetTextId(IDS_PROGRESS_WIRELESS);
    dlg.SetDuration(kTestSeconds);
    dlg.m_bCallerRequest = true;
    m_pProgress = &dlg;
    std::weak_ptr<int> alive = LifeToken();
    dlg.DoModal();
    // The settings window may have closed meanwhile, pages and all.
    if (alive.expired())
        return;
    m_pProgress = nullptr;
    if (m_pOwner)
        m_pOwner->StartWatchdog();
    // A job still running after the countdown has failed; its end is dropped.
    int result = job->done && job->called ? CCgiCmd::GetCgiValueInt3(job->reply, "chkres") : -5;
    m_testJob.reset();
    m_nLastTestResult = result;
    if (result == 1)
        ShowInfo(IDS_TEST_PASSED);
    else
        ShowError(IDS_TEST_FAILED);
}

LRESULT CDlgCfgWireless::OnTestDone(WPARAM, LPARAM)
{
    // The camera answered: the countdown ends about two ticks from now.
    if (m_pProgress && m_testJob && m_testJob->done)
        m_pProgress->PostMessage(UM_PROGRESS_DONE, m_testJob->called ? 1 : 0);
    return 0;
}

void CDlgCfgWireless::OnDestroy()
{
    // The page goes with its window: the test's dialog ends now, the job
    // runs out on the worker.
    if (m_pProgress)
        m_pProgress->EndDialog(IDCANCEL);
    m_pProgress = nullptr;
    m_testJob.reset();
    CSettingsPage::OnDestroy();
}
