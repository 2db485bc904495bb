#include "camera/dialogs/pages/CDlgFTPSetup.h"

#include "camera/dialogs/CVXCamApp.h"
#include "resources/vxcam/resource.h"

CDlgFTPSetup::CDlgFTPSetup(CCameraSetupDlg* pOwner) : CSettingsTestPage(IDD_FTP, IDS_PAGE_FTP, pOwner) {}

int CDlgFTPSetup::TestTextId() const
{
    return IDS_PROGRESS_FTP;
}

BOOL CDlgFTPSetup::OnInitDialog()
{
    CSettingsTestPage::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}

void CDlgFTPSetup::DoDataExchange(CDataExchange* pDX)
{
    CSettingsTestPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_FTP_SERVER, m_v.server);
    DDX_Text(pDX, IDC_FTP_PORT, m_v.port);
    DDV_MinMaxInt(pDX, m_v.port, 1, 50000);
    DDX_Text(pDX, IDC_FTP_USER, m_v.user);
    DDV_MaxChars(pDX, m_v.user, 63);
    DDX_Text(pDX, IDC_FTP_PASSWORD, m_v.password);
    DDV_MaxChars(pDX, m_v.password, 63);
    DDX_Check(pDX, IDC_FTP_PASSIVE, m_bPassive);
    DDX_Text(pDX, IDC_FTP_PATH, m_v.path);
    DDV_MaxChars(pDX, m_v.path, 255);
}

void CDlgFTPSetup::ShowValues(const CString& reply)
{
    ftp_form::ParseLoad(reply, m_v);
    m_bPassive = m_v.passive ? 1 : 0;
    UpdateData(FALSE);
}

CString CDlgFTPSetup::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    m_v.passive = m_bPassive != 0;
    if (UINT text = ftp_form::Check(m_v)) {
        if (!ShowError(text))
            return CString();
        if (CWnd* password = GetDlgItem(IDC_FTP_PASSWORD))
            password->SetFocus();
        return CString();
    }
    return ftp_form::ComposeApply(m_v);
}
