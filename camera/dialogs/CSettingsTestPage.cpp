#include "camera/dialogs/CSettingsTestPage.h"

#include "camera/dialogs/CCameraSetupDlg.h"
#include "camera/dialogs/CProgressDlg.h"
#include "camera/dialogs/CVXCamApp.h"
#include "resources/vxcam/resource.h"

namespace {

constexpr int kTestSeconds = 70;

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsTestPage, CSettingsPage)
ON_BN_CLICKED(IDC_TEST, OnTest)
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
        ShowMessageById(this, IDS_ERROR, IDS_TEST_FAILED, MB_ICONERROR);
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
        ShowMessageById(this, IDS_ERROR, IDS_TEST_FAILED, MB_ICONERROR);
    else
        CSettingsPage::Failed(kind);
}

void CSettingsTestPage::RunTest()
{
    // The watchdog's liveness check would wait behind the test on the
    // camera's session.
    if (m_pOwner)
        m_pOwner->StopWatchdog();
    CProgressDlg dlg(this);
    dlg.SetTextId(TestTextId());
    dlg.SetDuration(kTestSeconds);
    dlg.m_pCamera = Camera();
    dlg.m_strPath = TestPath();
    dlg.DoModal();
    if (m_pOwner)
        m_pOwner->StartWatchdog();
    m_nLastResult = dlg.m_nResult;
    UINT text = TestResultText(dlg.m_nResult);
    if (text == IDS_TEST_PASSED)
        ShowMessageById(this, m_nLabelId, text, MB_ICONINFORMATION);
    else
        ShowMessageById(this, IDS_ERROR, text, MB_ICONERROR);
}
