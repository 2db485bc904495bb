#include "camera/dialogs/pages/CVideoEncodeSecondarySettingDlg.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/forms/VideoEncodeForm.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

#define UM_MOBILE_REQUEST_DONE (WM_APP + 121)

BEGIN_MESSAGE_MAP(CVideoEncodeSecondarySettingDlg, CDialog)
ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_NET_APPLY, OnApply)
ON_MESSAGE(UM_MOBILE_REQUEST_DONE, OnRequestDone)
END_MESSAGE_MAP()

CVideoEncodeSecondarySettingDlg::CVideoEncodeSecondarySettingDlg(CCameraSetupDlg* pOwner)
    : CDialog(IDD_VIDEO_MOBILE, pOwner), m_pOwner(pOwner)
{}

BOOL CVideoEncodeSecondarySettingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OnRefresh();
    return TRUE;
}

void CVideoEncodeSecondarySettingDlg::UpdateButtons()
{
    if (CWnd* w = GetDlgItem(IDC_REFRESH))
        w->EnableWindow(!m_job);
    if (CWnd* w = GetDlgItem(IDC_NET_APPLY))
        w->EnableWindow(!m_job && m_bLoaded);
}

bool CVideoEncodeSecondarySettingDlg::Start(const CString& path, bool post)
{
    CWebWatchNB* camera = m_pOwner ? m_pOwner->Camera() : nullptr;
    if (m_job || !camera)
        return false;
    auto job = std::make_shared<RequestJob>();
    job->call = [camera, path, post](CString& reply) {
        return post ? camera->PostCgi(path, reply, 3000) : camera->GetCgi(path, reply, 3000);
    };
    job->notify = GetSafeHwnd();
    job->message = UM_MOBILE_REQUEST_DONE;
    if (!m_pOwner->Worker().Post(job))
        return false;
    m_job = std::move(job);
    UpdateButtons();
    return true;
}

void CVideoEncodeSecondarySettingDlg::OnRefresh()
{
    m_bApply = false;
    if (!Start(video_form::kMobileLoadPath(), false) && !m_job)
        ShowMessageById(this, IDS_ERROR, IDS_GET_FAILED, MB_ICONERROR);
}

void CVideoEncodeSecondarySettingDlg::OnApply()
{
    if (m_job || !m_bLoaded)
        return;
    auto* size = static_cast<CComboBox*>(GetDlgItem(IDC_VIDEO_MOBILE_SIZE));
    m_bApply = true;
    if (!Start(video_form::ComposeMobileApply(size ? size->GetCurSel() : -1), true))
        ShowMessageById(this, IDS_ERROR, IDS_APPLY_FAILED, MB_ICONERROR);
}

LRESULT CVideoEncodeSecondarySettingDlg::OnRequestDone(WPARAM, LPARAM)
{
    if (!m_job || !m_job->done)
        return 0;
    std::shared_ptr<RequestJob> job = std::move(m_job);
    bool ok = job->Succeeded();
    if (!m_bApply && ok) {
        m_bLoaded = true;
        if (auto* size = static_cast<CComboBox*>(GetDlgItem(IDC_VIDEO_MOBILE_SIZE)))
            size->SetCurSel(video_form::MobileSizeIndex(job->reply));
    }
    UpdateButtons();
    if (m_bApply)
        ok ? ShowMessageById(this, IDS_PAGE_VIDEO, IDS_APPLY_DONE, MB_ICONINFORMATION)
           : ShowMessageById(this, IDS_ERROR, IDS_APPLY_FAILED, MB_ICONERROR);
    else if (!ok)
        ShowMessageById(this, IDS_ERROR, IDS_GET_FAILED, MB_ICONERROR);
    return 0;
}
