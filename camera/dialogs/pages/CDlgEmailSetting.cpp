#include "camera/dialogs/pages/CDlgEmailSetting.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgEmailSetting, CSettingsTestPage)
ON_BN_CLICKED(IDC_MAIL_AUTH, OnAuthentication)
END_MESSAGE_MAP()

CDlgEmailSetting::CDlgEmailSetting(CCameraSetupDlg* pOwner) : CSettingsTestPage(IDD_EMAIL, IDS_PAGE_EMAIL, pOwner) {}

int CDlgEmailSetting::TestTextId() const
{
    return IDS_PROGRESS_EMAIL;
}

int CDlgEmailSetting::Streams() const
{
    CWebWatchNB* camera = Camera();
    return camera ? camera->GetStreamCount() : 3;
}

BOOL CDlgEmailSetting::OnInitDialog()
{
    CSettingsTestPage::OnInitDialog();
    for (int hidden : {IDC_MAIL_SSL, IDC_MAIL_OVERWRITE}) {
        if (CWnd* w = GetDlgItem(hidden))
            w->ShowWindow(SW_HIDE);
    }
    UpdateData(FALSE);
    UpdateEnabling();
    return TRUE;
}

void CDlgEmailSetting::DoDataExchange(CDataExchange* pDX)
{
    CSettingsTestPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MAIL_SERVER, m_v.server);
    DDV_MaxChars(pDX, m_v.server, 64);
    DDX_Text(pDX, IDC_MAIL_PORT, m_v.port);
    DDX_CBIndex(pDX, IDC_MAIL_ENCRYPT, m_v.encryption);
    DDX_Check(pDX, IDC_MAIL_AUTH, m_bAuth);
    DDX_Text(pDX, IDC_MAIL_USER, m_v.user);
    DDV_MaxChars(pDX, m_v.user, 32);
    DDX_Text(pDX, IDC_MAIL_PASSWORD, m_v.password);
    DDV_MaxChars(pDX, m_v.password, 32);
    DDX_Text(pDX, IDC_MAIL_SENDER, m_v.sender);
    DDV_MaxChars(pDX, m_v.sender, 64);
    DDX_Text(pDX, IDC_MAIL_SENDER_NAME, m_v.senderName);
    DDV_MaxChars(pDX, m_v.senderName, 32);
    const int receivers[3] = {IDC_MAIL_TO_1, IDC_MAIL_TO_2, IDC_MAIL_TO_3};
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, receivers[i], m_v.receivers[i]);
        DDV_MaxChars(pDX, m_v.receivers[i], 64);
    }
    DDX_Text(pDX, IDC_MAIL_SUBJECT, m_v.subject);
    DDV_MaxChars(pDX, m_v.subject, 64);
    DDX_Text(pDX, IDC_MAIL_TEXT, m_v.message);
    DDX_Radio(pDX, IDC_MAIL_SIZE_XL, m_v.photoSize);
}

void CDlgEmailSetting::UpdateEnabling()
{
    bool auth = IsDlgButtonChecked(IDC_MAIL_AUTH) == BST_CHECKED;
    for (int id : {IDC_MAIL_USER, IDC_MAIL_PASSWORD}) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(auth);
    }
    if (CWnd* small = GetDlgItem(IDC_MAIL_SIZE_S))
        small->EnableWindow(Streams() >= 3);
}

void CDlgEmailSetting::OnAuthentication()
{
    UpdateEnabling();
}

CString CDlgEmailSetting::LoadPath()
{
    UpdateEnabling();
    return mail_form::kLoadPath;
}

void CDlgEmailSetting::ShowValues(const CString& reply)
{
    m_v.streams = Streams();
    mail_form::ParseLoad(reply, m_v);
    m_bAuth = m_v.authentication ? 1 : 0;
    UpdateData(FALSE);
    UpdateEnabling();
}

CString CDlgEmailSetting::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    m_v.authentication = m_bAuth != 0;
    m_v.streams = Streams();
    mail_form::Refusal refusal = mail_form::Check(m_v);
    if (refusal.textId) {
        static const int kFieldIds[] = {0,
                                        IDC_MAIL_SERVER,
                                        IDC_MAIL_PORT,
                                        IDC_MAIL_SENDER,
                                        IDC_MAIL_SENDER_NAME,
                                        IDC_MAIL_USER,
                                        IDC_MAIL_PASSWORD,
                                        IDC_MAIL_TO_1,
                                        IDC_MAIL_TO_2,
                                        IDC_MAIL_TO_3,
                                        IDC_MAIL_SUBJECT,
                                        IDC_MAIL_TEXT};
        if (!ShowError(refusal.textId))
            return CString();
        if (CWnd* field = GetDlgItem(kFieldIds[refusal.field]))
            field->SetFocus();
        return CString();
    }
    return mail_form::ComposeApply(m_v);
}
