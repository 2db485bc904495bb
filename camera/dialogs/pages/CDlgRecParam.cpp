#include "camera/dialogs/pages/CDlgRecParam.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgRecParam, CSettingsPage)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CDlgRecParam::CDlgRecParam(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_RECORD_OPTIONS, IDS_PAGE_RECORD_OPTIONS, pOwner, IDC_APPLY)
{}

BOOL CDlgRecParam::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;
}

void CDlgRecParam::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RECORD_LENGTH, m_nLength);
    DDX_CBIndex(pDX, IDC_RECORD_STREAM, m_nStream);
}

HBRUSH CDlgRecParam::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CSettingsPage::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_RECORD_NOTE)
        pDC->SetTextColor(RGB(255, 0, 0));
    return brush;
}

CString CDlgRecParam::LoadPath()
{
    // Cameras of this line have two streams whatever they report.
    CWebWatchNB* camera = Camera();
    if (camera && record_form::IsTwoStreamModel(camera->GetModelVersion())
        && SendDlgItemMessage(IDC_RECORD_STREAM, CB_GETCOUNT) > 2)
        SendDlgItemMessage(IDC_RECORD_STREAM, CB_DELETESTRING, 2);
    return record_form::kOptionsLoadPath;
}

void CDlgRecParam::ShowLoaded(const CString& reply)
{
    record_form::Options v;
    CWebWatchNB* camera = Camera();
    v.twoStreamModel = camera && record_form::IsTwoStreamModel(camera->GetModelVersion());
    record_form::ParseOptions(reply, v);
    m_nLength = v.length;
    m_nStream = v.stream;
    UpdateData(FALSE);
    SetDlgItemText(IDC_CARD_STATUS, v.cardStatus);
    SetDlgItemText(IDC_CARD_TOTAL, v.total);
    SetDlgItemText(IDC_CARD_FREE, v.free);
}

CString CDlgRecParam::ApplyPath()
{
    CWnd* lengthEdit = GetDlgItem(IDC_RECORD_LENGTH);
    if (lengthEdit && lengthEdit->GetWindowTextLength() == 0)
        lengthEdit->SetWindowText("600");
    if (!UpdateData(TRUE))
        return CString();
    if (!record_form::LengthInRange(m_nLength)) {
        if (ShowError(IDS_RECORD_LENGTH_RANGE) && lengthEdit)
            lengthEdit->SetFocus();
        return CString();
    }
    record_form::Options v;
    v.length = m_nLength;
    v.stream = m_nStream < 0 ? 0 : m_nStream;
    return record_form::ComposeOptions(v);
}
