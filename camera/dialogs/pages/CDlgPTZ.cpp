#include "camera/dialogs/pages/CDlgPTZ.h"

#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgPTZ, CSettingsPage)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CDlgPTZ::CDlgPTZ(CCameraSetupDlg* pOwner) : CSettingsPage(IDD_PTZ, IDS_PAGE_PTZ, pOwner, IDC_APPLY) {}

BOOL CDlgPTZ::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}

void CDlgPTZ::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_PTZ_SPEED, m_nSpeed);
    DDX_Radio(pDX, IDC_PTZ_HOME_ON, m_nHome);
}

HBRUSH CDlgPTZ::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CSettingsPage::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_PTZ_NOTE)
        pDC->SetTextColor(RGB(255, 0, 0));
    return brush;
}

void CDlgPTZ::ShowLoaded(const CString& reply)
{
    ptz_form::Values v;
    ptz_form::ParseLoad(reply, v);
    if (!v.ownVendor) {
        SetInert();
        return;
    }
    m_nSpeed = v.speed;
    m_nHome = v.moveHome ? 0 : 1;
    UpdateData(FALSE);
}

CString CDlgPTZ::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    ptz_form::Values v;
    v.speed = m_nSpeed;
    v.moveHome = m_nHome == 0;
    return ptz_form::ComposeApply(v);
}
