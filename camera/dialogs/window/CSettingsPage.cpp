#include "camera/dialogs/window/CSettingsPage.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CSettingsPage, CDlgTabItem)
ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_APPLY, OnApply)
ON_MESSAGE(UM_PAGE_REQUEST_DONE, OnRequestDone)
ON_MESSAGE(UM_PAGE_COUNTDOWN_DONE, OnCountdownDone)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSettingsPage::CSettingsPage(UINT nTemplateId, UINT nLabelId, CCameraSetupDlg* pOwner, UINT nApplyId)
    : CDlgTabItem(static_cast<int>(nTemplateId), nullptr), m_pOwner(pOwner), m_nLabelId(nLabelId), m_nApplyId(nApplyId)
{}

BOOL CSettingsPage::OnInitDialog()
{
    CDlgTabItem::OnInitDialog();
    UpdateButtons();
    return TRUE;
}

CWebWatchNB* CSettingsPage::Camera() const
{
    return m_pOwner ? m_pOwner->Camera() : nullptr;
}

void CSettingsPage::UpdateButtons()
{
    bool idle = !m_job && !m_bInert;
    if (CWnd* refresh = GetDlgItem(IDC_REFRESH))
        refresh->EnableWindow(idle);
    if (CWnd* apply = GetDlgItem(static_cast<int>(m_nApplyId)))
        apply->EnableWindow(idle && m_bLoaded);
    for (UINT id : m_writeButtons) {
        if (CWnd* button = GetDlgItem(static_cast<int>(id)))
            button->EnableWindow(idle && m_bLoaded);
    }
}

bool CSettingsPage::StartRequest(Request kind, const CString& path, bool post, int nTimeoutMs)
{
    CWebWatchNB* camera = Camera();
    if (m_job || !camera || !m_pOwner)
        return false;
    auto job = std::make_shared<RequestJob>();
    job->call = [camera, path, post, nTimeoutMs](CString& reply) {
        return post ? camera->PostCgi(path, reply, nTimeoutMs) : camera->GetCgi(path, reply, nTimeoutMs);
    };
    job->notify = GetSafeHwnd();
    job->message = UM_PAGE_REQUEST_DONE;
    if (!m_pOwner->Worker().Post(job))
        return false;
    m_job = std::move(job);
    m_pending = kind;
    UpdateButtons();
    return true;
}

void CSettingsPage::Load()
{
    if (!StartRequest(Request::Load, LoadPath(), false, m_nLoadTimeoutMs) && !m_job)
        ShowError(IDS_GET_FAILED);
}

void CSettingsPage::OnShowWindow()
{
    Load();
}

void CSettingsPage::OnRefresh()
{
    Load();
}

void CSettingsPage::OnApply()
{
    if (m_job || !m_bLoaded)
        return;
    CString path = ApplyPath();
    if (path.IsEmpty())
        return;
    if (!StartRequest(Request::Apply, path, true, m_nApplyTimeoutMs))
        ShowError(IDS_APPLY_FAILED);
}

LRESULT CSettingsPage::OnRequestDone(WPARAM, LPARAM)
{
    if (!m_job || !m_job->done)
        return 0;
    std::shared_ptr<RequestJob> job = std::move(m_job);
    Request kind = m_pending;
    std::weak_ptr<int> alive = m_life;
    if (JobDone(kind, *job)) {
        if (!alive.expired())
            UpdateButtons();
        return 0;
    }
    bool ok = job->Succeeded();
    if (kind == Request::Load) {
        // A failed reload keeps what the page showed and what it may apply.
        if (ok) {
            m_bLoaded = true;
            ShowLoaded(job->reply);
        }
        UpdateButtons();
        if (!ok)
            ShowError(IDS_GET_FAILED);
        return 0;
    }
    UpdateButtons();
    if (ok)
        Applied(kind);
    else
        Failed(kind);
    return 0;
}

CSettingsPage::Countdown CSettingsPage::RunCountdownRequest(const CString& path, int seconds, UINT textId,
                                                           const char* key, int& result)
{
    CWebWatchNB* camera = Camera();
    auto job = std::make_shared<RequestJob>();
    int timeoutMs = CProgressDlg::RequestTimeoutMs(seconds);
    job->call = [camera, path, timeoutMs](CString& reply) { return camera->GetCgi(path, reply, timeoutMs); };
    job->notify = GetSafeHwnd();
    job->message = UM_PAGE_COUNTDOWN_DONE;
    if (!camera || !m_pOwner || !m_pOwner->Worker().Post(job))
        return Countdown::NotStarted;
    m_countdownJob = job;
    m_pOwner->StopWatchdog();
    CProgressDlg dlg(this);
    dlg.SetTextId(static_cast<int>(textId));
    dlg.SetDuration(seconds);
    dlg.m_bCallerRequest = true;
    m_pCountdown = &dlg;
    std::weak_ptr<int> alive = m_life;
    dlg.DoModal();
    if (alive.expired())
        return Countdown::Closed;  // nobody waits for the job any more
    m_pCountdown = nullptr;
    m_pOwner->StartWatchdog();
    // A job still running after the countdown has failed; its end is dropped.
    result = job->done && job->called ? CCgiCmd::GetCgiValueInt3(job->reply, key) : -5;
    m_countdownJob.reset();
    return Countdown::Ended;
}

LRESULT CSettingsPage::OnCountdownDone(WPARAM, LPARAM)
{
    // The camera answered: the countdown ends about two ticks from now.
    if (m_pCountdown && m_countdownJob && m_countdownJob->done)
        m_pCountdown->PostMessage(UM_PROGRESS_DONE, m_countdownJob->called ? 1 : 0);
    return 0;
}

void CSettingsPage::OnDestroy()
{
    // The page goes with its window: a countdown's dialog ends now, its job
    // runs out on the worker.
    if (m_pCountdown)
        m_pCountdown->EndDialog(IDCANCEL);
    m_pCountdown = nullptr;
    m_countdownJob.reset();
    CDlgTabItem::OnDestroy();
}

void CSettingsPage::Failed(Request)
{
    ShowError(IDS_APPLY_FAILED);
}

void CSettingsPage::Applied(Request)
{
    ShowSuccess();
}

bool CSettingsPage::ShowError(UINT nTextId)
{
    std::weak_ptr<int> alive = m_life;
    ShowMessageById(this, IDS_ERROR, nTextId, MB_ICONERROR);
    return !alive.expired();
}

bool CSettingsPage::ShowSuccess()
{
    return ShowInfo(IDS_APPLY_DONE);
}

bool CSettingsPage::ShowInfo(UINT nTextId)
{
    std::weak_ptr<int> alive = m_life;
    ShowMessageById(this, m_nLabelId, nTextId, MB_ICONINFORMATION);
    return !alive.expired();
}

bool CSettingsPage::Confirm(UINT nCaptionId, UINT nTextId)
{
    std::weak_ptr<int> alive = m_life;
    int answer = ShowMessageById(this, nCaptionId, nTextId, MB_YESNO | MB_ICONQUESTION);
    return answer == IDYES && !alive.expired();
}
