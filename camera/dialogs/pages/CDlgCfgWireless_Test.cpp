// The Wireless page's "Search" (the scan dialog) and "Test" (the camera
// tries the entered settings under the progress dialog).
#include "camera/dialogs/pages/CDlgCfgWireless.h"
#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/pages/CDlgWireLess.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "resources/vxcam/resource.h"

using namespace wireless_form;

namespace {

constexpr int kTestSeconds = 40;

}  // namespace

void CDlgCfgWireless::OnSearch()
{
    if (!m_pOwner)
        return;
    // The watchdog's check would queue behind a scan of up to 20 s.
    m_pOwner->StopWatchdog();
    CDlgWireLess dlg(m_pOwner, this);
    std::weak_ptr<int> alive = LifeToken();
    INT_PTR result = dlg.DoModal();
    // The settings window may have closed meanwhile, pages and all.
    if (alive.expired())
        return;
    m_pOwner->StartWatchdog();
    if (result != IDOK || dlg.m_strSSID.IsEmpty())
        return;
    Values v = ReadValues();
    v.ssid = dlg.m_strSSID;
    v.security = dlg.m_nSecurity;
    v.encryption = dlg.m_nEncrypt;
    v.mode = dlg.m_nMode;
    ShowValues(v);
}

void CDlgCfgWireless::OnTest()
{
    // Like "Apply": never before a load succeeded, never twice at once.
    if (!IsLoaded() || IsRequestPending())
        return;
    Values v = ReadValues();
    if (!v.enabled || !Accept(v))
        return;
    CWaitCursor wait;
    if (m_pOwner)
        m_pOwner->StopWatchdog();
    if (!StartRequest(Request::Sync, ComposeTest(v), true, 3000)) {
        if (m_pOwner)
            m_pOwner->StartWatchdog();
        ShowError(IDS_TEST_FAILED);
    }
}

void CDlgCfgWireless::RunTest()
{
    int result = 0;
    switch (RunCountdownRequest(kTestResultPath, kTestSeconds, IDS_PROGRESS_WIRELESS, "chkres", result)) {
    case Countdown::NotStarted:
        // "Test" rested the watchdog before its settings went out.
        if (m_pOwner)
            m_pOwner->StartWatchdog();
        ShowError(IDS_TEST_FAILED);
        return;
    case Countdown::Closed:
        return;
    case Countdown::Ended:
        break;
    }
    m_nLastTestResult = result;
    if (result == 1)
        ShowInfo(IDS_TEST_PASSED);
    else
        ShowError(IDS_TEST_FAILED);
}
