#include "camera/dialogs/pages/CDlgHDDInfo.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/forms/ScheduleForms.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CCgiCmd.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

namespace {

constexpr UINT_PTR kProgressTimer = 810;
constexpr int kFormatTimeoutMs = 30000;
constexpr int kBarSteps = 40;

}  // namespace

BEGIN_MESSAGE_MAP(CDlgHDDInfo, CSettingsPage)
ON_BN_CLICKED(IDC_FORMAT, OnFormat)
ON_WM_TIMER()
ON_MESSAGE(UM_FORMAT_DONE, OnFormatDone)
END_MESSAGE_MAP()

// The page has no apply button: "Format" takes its place, with rules of its own.
CDlgHDDInfo::CDlgHDDInfo(CCameraSetupDlg* pOwner) : CSettingsPage(IDD_STORAGE, IDS_PAGE_STORAGE, pOwner, 0) {}

BOOL CDlgHDDInfo::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    if (CWnd* bar = GetDlgItem(IDC_FORMAT_PROGRESS)) {
        bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, kBarSteps));
        bar->SendMessage(PBM_SETSTEP, 1);
    }
    ShowFormatting(false);
    EnableItem(IDC_FORMAT, false);
    return TRUE;
}

void CDlgHDDInfo::EnableItem(int id, bool on)
{
    if (CWnd* w = GetDlgItem(id))
        w->EnableWindow(on);
}

void CDlgHDDInfo::ShowFormatting(bool on)
{
    if (CWnd* bar = GetDlgItem(IDC_FORMAT_PROGRESS)) {
        bar->SendMessage(PBM_SETPOS, 0);
        bar->ShowWindow(on ? SW_SHOW : SW_HIDE);
    }
}

CString CDlgHDDInfo::LoadPath()
{
    EnableItem(IDC_FORMAT, false);
    return "/cgi-bin/hi3510/param.cgi?cmd=getserverinfo";
}

void CDlgHDDInfo::ShowLoaded(const CString& reply)
{
    CString status = CCgiCmd::GetCgiValue2(reply, "sdstatus");
    m_bCard = status.CompareNoCase("out") != 0;
    SetDlgItemText(IDC_CARD_STATUS, m_bCard ? status : CString("None"));
    SetDlgItemText(IDC_CARD_TOTAL, SdSizeText(CCgiCmd::GetCgiValue2(reply, "sdtotalspace")));
    SetDlgItemText(IDC_CARD_FREE, SdSizeText(CCgiCmd::GetCgiValue2(reply, "sdfreespace")));
    EnableItem(IDC_FORMAT, m_bCard && !m_formatJob);
}

void CDlgHDDInfo::OnFormat()
{
    // Only after a load that showed a card, and never twice at once.
    if (m_formatJob || IsRequestPending() || !IsLoaded() || !m_bCard)
        return;
    CWebWatchNB* camera = Camera();
    if (!camera || !camera->IsLogin() || !m_pOwner) {
        ShowError(IDS_FORMAT_FAILED);
        return;
    }
    if (!Confirm(IDS_PAGE_STORAGE, IDS_FORMAT_CONFIRM))
        return;
    auto job = std::make_shared<RequestJob>();
    job->call = [camera](CString& reply) {
        return camera->GetCgi("/cgi-bin/hi3510/param.cgi?cmd=sdfrmt", reply, kFormatTimeoutMs);
    };
    job->notify = GetSafeHwnd();
    job->message = UM_FORMAT_DONE;
    m_pOwner->StopWatchdog();
    if (!m_pOwner->Worker().Post(job)) {
        m_pOwner->StartWatchdog();
        ShowError(IDS_FORMAT_FAILED);
        return;
    }
    m_formatJob = std::move(job);
    EnableItem(IDC_REFRESH, false);
    EnableItem(IDC_FORMAT, false);
    ShowFormatting(true);
    SetTimer(kProgressTimer, 1000, nullptr);
}

void CDlgHDDInfo::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kProgressTimer) {
        CSettingsPage::OnTimer(nIDEvent);
        return;
    }
    if (CWnd* bar = GetDlgItem(IDC_FORMAT_PROGRESS))
        bar->SendMessage(PBM_STEPIT);
}

LRESULT CDlgHDDInfo::OnFormatDone(WPARAM, LPARAM)
{
    if (!m_formatJob || !m_formatJob->done)
        return 0;
    std::shared_ptr<RequestJob> job = std::move(m_formatJob);
    // The camera says "[Succeed]" when the card is formatted; anything else,
    // a time-out included, is a failure.
    bool ok = job->called && job->reply.Find("[Succeed]") >= 0;
    KillTimer(kProgressTimer);
    ShowFormatting(false);
    m_pOwner->StartWatchdog();
    EnableItem(IDC_REFRESH, true);
    EnableItem(IDC_FORMAT, m_bCard);
    if (ok) {
        if (ShowInfo(IDS_FORMAT_DONE))
            Load();
    } else {
        ShowError(IDS_FORMAT_FAILED);
    }
    return 0;
}
