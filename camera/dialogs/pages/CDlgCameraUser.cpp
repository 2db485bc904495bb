#include "camera/dialogs/pages/CDlgCameraUser.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

namespace {

const int kNameIds[user_form::kRows] = {IDC_USER_NAME_0, IDC_USER_NAME_1, IDC_USER_NAME_2};
const int kPasswordIds[user_form::kRows] = {IDC_USER_PASSWORD_0, IDC_USER_PASSWORD_1, IDC_USER_PASSWORD_2};
const int kRetypeIds[user_form::kRows] = {IDC_USER_RETYPE_0, IDC_USER_RETYPE_1, IDC_USER_RETYPE_2};
const UINT kRowNames[user_form::kRows] = {IDS_ROW_ADMINISTRATOR, IDS_ROW_USER, IDS_ROW_GUEST};

}  // namespace

CDlgCameraUser::CDlgCameraUser(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_CAMERA_USER, IDS_PAGE_USERS, pOwner, IDC_APPLY)
{}

BOOL CDlgCameraUser::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    for (int r = 0; r < user_form::kRows; ++r) {
        if (auto* name = static_cast<CEdit*>(GetDlgItem(kNameIds[r])))
            name->SetLimitText(15);
        for (int id : {kPasswordIds[r], kRetypeIds[r]}) {
            if (auto* edit = static_cast<CEdit*>(GetDlgItem(id)))
                edit->SetLimitText(30);
        }
    }
    return TRUE;
}

void CDlgCameraUser::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    for (int r = 0; r < user_form::kRows; ++r) {
        DDX_Text(pDX, kNameIds[r], m_values.rows[r].name);
        DDX_Text(pDX, kPasswordIds[r], m_values.rows[r].password);
        DDX_Text(pDX, kRetypeIds[r], m_values.rows[r].retyped);
    }
}

void CDlgCameraUser::ShowRows()
{
    int show = m_values.singleAccount ? SW_HIDE : SW_SHOW;
    for (int r = 1; r < user_form::kRows; ++r) {
        for (int id : {kNameIds[r], kPasswordIds[r], kRetypeIds[r]}) {
            if (CWnd* w = GetDlgItem(id))
                w->ShowWindow(show);
        }
    }
    for (int id : {IDC_USER_LABEL_1, IDC_USER_LABEL_2}) {
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(show);
    }
}

void CDlgCameraUser::ShowLoaded(const CString& reply)
{
    user_form::ParseLoad(reply, m_values);
    m_values.singleAccount = user_form::IsSingleAccount(user_form::VendorOf(reply),
                                                        CWebWatchNB::GetCamType(user_form::SoftVersionOf(reply)));
    ShowRows();
    UpdateData(FALSE);
}

CString CDlgCameraUser::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    user_form::Refusal refusal = user_form::Check(m_values);
    if (refusal.textId == IDS_USERNAME_EXISTS) {
        CString text;
        text.Format(VxcamString(IDS_USERNAME_EXISTS).GetString(), refusal.name.GetString());
        ShowMessageText(this, IDS_ERROR, text, MB_ICONERROR);
        return CString();
    }
    if (refusal.textId) {
        CString text = VxcamString(kRowNames[refusal.row]) + " " + VxcamString(static_cast<UINT>(refusal.textId));
        // The field first: the box takes the focus and gives it back.
        if (CWnd* w = GetDlgItem(refusal.textId == IDS_WRONG_PASSWORD || refusal.textId == IDS_PASSWORD_RESERVED
                                     ? kPasswordIds[refusal.row]
                                     : kNameIds[refusal.row]))
            w->SetFocus();
        ShowMessageText(this, IDS_ERROR, text, MB_ICONERROR);
        return CString();
    }
    m_sent = m_values;
    return user_form::ComposeApply(m_values);
}

void CDlgCameraUser::Applied(Request)
{
    // The window's own login: the row it logs in with, by the name the
    // camera had for it.
    const STWatchCameraInfo& info = m_pOwner->CameraInfo();
    int own = -1;
    for (int r = 0; r < m_sent.Shown(); ++r) {
        if (m_sent.rows[r].loadedName == info.strUser)
            own = r;
    }
    user_form::Values now = m_sent;
    user_form::Applied(now);
    for (int r = 0; r < user_form::kRows; ++r)
        m_values.rows[r].loadedName = now.rows[r].loadedName;
    if (!ShowSuccess())
        return;
    if (own >= 0) {
        const user_form::Row& row = m_sent.rows[own];
        if (row.name != info.strUser || row.password != info.strPwd)
            m_pOwner->LoginChanged(row.name, row.password);
    }
}
