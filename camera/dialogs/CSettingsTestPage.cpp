#include "camera/dialogs/CSettingsTestPage.h"

#include "camera/dialogs/CCameraSetupDlg.h"
#include "camera/dialogs/CProgressDlg.h"
#include "camera/dialogs/CVXCamApp.h"
#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

namespace {

constexpr int kTestSeconds = 70;

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsTestPage, CSettingsPage)
ON_BN_CLICKED(IDC_TEST, OnTest)
ON_MESSAGE(UM_TEST_DONE, OnTestDone)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSettingsTestPage::CSettingsTestPage(UINT nTemplateId, UINT nLabelId, CCameraSetupDlg* pOwner)
    : CSettingsPage(nTemplateId, nLabelId, pOwner, IDC_APPLY)
{}

BOOL CSettingsTestPage::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    if (CWnd* test = GetDlgItem(IDC_TEST))
        test->EnableWindow(FALSE);
    return TRUE;
}

void CSettingsTestPage::ShowLoaded(const CString& reply)
{
    ShowValues(reply);
    if (CWnd* test = GetDlgItem(IDC_TEST))
        test->EnableWindow(TRUE);
}

void CSettingsTestPage::OnTest()
{
    // Like "Apply": never before a load succeeded, never twice at once.
    if (!IsLoaded() || IsRequestPending())
        return;
    CString path = ApplyPath();
    if (path.IsEmpty())
        return;
    CWaitCursor wait;
    if (!StartRequest(Request::Sync, path, true, 3000))
        ShowError(IDS_TEST_FAILED);
}

void CSettingsTestPage::Applied(Request kind)
{
    if (kind == Request::Sync)
        RunTest();
    else
        ShowSuccess();
}

void CSettingsTestPage::Failed(Request kind)
{
    if (kind == Request::Sync)
        ShowError(IDS_TEST_FAILED);
    else
        CSettingsPage::Failed(kind);
}

void CSettingsTestPage::RunTest()
{
    CWebWatchNB* camera = Camera();
    auto job = std::make_shared<RequestJob>();
    CString path = TestPath();
    job->call = [camera, path](CString& reply) {
        return camera->GetCgi(path, reply, CProgressDlg::RequestTimeoutMs(kTestSeconds));
    };
    job->notify = GetSafeHwnd();
    job->message = UM_TEST_DONE;
    if (!camera || !m_pOwner || !m_pOwner->Worker().Post(job)) {
        ShowError(IDS_TEST_FAILED);
        return;
    }
    m_testJob = job;
    // The watchdog's liveness check would wait behind the test on the
    // camera's session.
    m_pOwner->StopWatchdog();
    CProgressDlg dlg(this);
    dlg.SetTextId(TestTextId());
    dlg.SetDuration(kTestSeconds);
    dlg.m_bCallerRequest = true;
    m_pProgress = &dlg;
    std::weak_ptr<int> alive = LifeToken();
    dlg.DoModal();
    if (alive.expired())
        return;  // the window closed during the test: nobody waits for it
    m_pProgress = nullptr;
    m_pOwner->StartWatchdog();
    // A job still running after the countdown has failed; its end is dropped.
    int result = job->done && job->called ? CCgiCmd::GetCgiValueInt3(job->reply, "result") : -5;
    m_testJob.reset();
    m_nLastResult = result;
    UINT text = TestResultText(result);
    if (text == IDS_TEST_PASSED)
        ShowInfo(text);
    else
        ShowError(text);
}

LRESULT CSettingsTestPage::OnTestDone(WPARAM, LPARAM)
{
    // The camera answered: the countdown ends about two ticks from now.
    if (m_pProgress && m_testJob && m_testJob->done)
        m_pProgress->PostMessage(UM_PROGRESS_DONE, m_testJob->called ? 1 : 0);
    return 0;
}

void CSettingsTestPage::OnDestroy()
{
    // The page goes with its window: the test's dialog ends now, the job
    // runs out on the worker.
    if (m_pProgress)
        m_pProgress->EndDialog(IDCANCEL);
    m_pProgress = nullptr;
    m_testJob.reset();
    CSettingsPage::OnDestroy();
}
