#include "camera/dialogs/window/CSettingsTestPage.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
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
    int result = 0;
    switch (RunCountdownRequest(TestPath(), kTestSeconds, static_cast<UINT>(TestTextId()), "result", result)) {
    case Countdown::NotStarted:
        ShowError(IDS_TEST_FAILED);
        return;
    case Countdown::Closed:
        return;
    case Countdown::Ended:
        break;
    }
    m_nLastResult = result;
    UINT text = TestResultText(result);
    if (text == IDS_TEST_PASSED)
        ShowInfo(text);
    else
        ShowError(text);
}
