#include "camera/dialogs/window/CCameraSetupDlg.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/SettingsPageTable.h"
#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

namespace {
constexpr UINT_PTR kWatchdogTimer = 8810;
}

BEGIN_MESSAGE_MAP(CCameraSetupDlg, CDialog)
ON_WM_TIMER()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_MESSAGE(UM_VX_GET_DOWNLOAD_PATH, OnGetDownloadPath)
ON_MESSAGE(UM_VX_SET_DOWNLOAD_PATH, OnSetDownloadPath)
ON_MESSAGE(UM_SETUP_STATUS, OnStatus)
ON_MESSAGE(UM_SETUP_CONNECTED, OnConnected)
ON_MESSAGE(UM_SETUP_CLOCK, OnClock)
ON_MESSAGE(UM_SETUP_WATCHDOG, OnWatchdog)
ON_MESSAGE(UM_SETUP_DESTROY, OnDestroyRequest)
ON_MESSAGE(UM_SETUP_CONNECT_DONE, OnConnectDone)
END_MESSAGE_MAP()

CCameraSetupDlg::CCameraSetupDlg(CWnd* pParent)
    : CDialog(IDD_CAMERA_SETUP, pParent), m_dtClock(COleDateTime::GetCurrentTime().GetAsDATE()),
      m_worker(std::make_unique<CRequestWorker>())
{}

CCameraSetupDlg::~CCameraSetupDlg()
{
    m_worker->Stop();
    for (HANDLE h : {m_hConnectThread, m_hClockThread.load(), m_hExitThread}) {
        if (h)
            CloseHandle(h);
    }
}

BOOL CCameraSetupDlg::OnInitDialog()
{
    vx_log(6, "CCameraSetupDlg::OnInitDialog()");
    CDialog::OnInitDialog();
    m_tabCategories.SubclassDlgItem(IDC_SETUP_TAB, this);

    SetDlgItemText(IDC_SETUP_NAME, m_stCameraInfo.strName);
    SetDlgItemText(IDC_SETUP_STATUS, VxcamString(IDS_SETUP_NOT_CONNECTED));
    SetDlgItemText(IDC_SETUP_CLOCK, "");

    m_pCamera = new CWebWatchNB(0, 33, 0, this);
    if (m_stCameraInfo.nEntryType == WATCH_ENTRY_P2P_ID) {
        CString id = m_stCameraInfo.strP2PID;
        if (id.GetLength() == 16)
            id = id.Left(12);
        SetDlgItemText(IDC_SETUP_ADDRESS, id);
        SetDlgItemText(IDC_SETUP_ADDRESS_LABEL, VxcamString(IDS_CAM_ID));
        m_pCamera->SetIsP2P(1);
        m_pCamera->SetServerInfo(m_bP2P, m_strServer2, m_strServer, m_nServerPort);
    } else {
        SetDlgItemText(IDC_SETUP_ADDRESS, m_stCameraInfo.strIP);
        SetDlgItemText(IDC_SETUP_ADDRESS_LABEL, VxcamString(IDS_IP_ADDRESS));
    }
    m_pCamera->SetCameraInfo(&m_stCameraInfo);

    StartConnectThread();

    m_tabCategories.EnableWindow(FALSE);
    m_tabCategories.SetOwner(this);
    m_tabCategories.SetFonts(400, 0, 0, 400, 0, 0);
    for (int i = 0; i < kWindowCategoryCount; ++i)
        m_tabCategories.InsertItem(i, VxcamString(kWindowCategories[i].labelId));
    m_tabCategories.CreateCategories();
    return TRUE;
}

BOOL CCameraSetupDlg::PreTranslateMessage(MSG* pMsg)
{
    // Enter, Escape and Space never close or apply the window; the controls
    // that take them (a blank in an edit, a line break in a multi-line edit,
    // Space on a button or check box) still get them.
    if (pMsg->message == WM_KEYDOWN
        && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_SPACE)
        && !ControlTakesKey(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CCameraSetupDlg::OnOK()
{
    vx_log(6, "CCameraSetupDlg::OnOK()");
}

void CCameraSetupDlg::OnCancel()
{
    vx_log(6, "CCameraSetupDlg::OnCancel()");
}

void CCameraSetupDlg::OnDestroy()
{
    vx_log(6, "CCameraSetupDlg::OnDestroy()");
    CDialog::OnDestroy();
}

void CCameraSetupDlg::PostNcDestroy()
{
    vx_log(6, "CCameraSetupDlg::PostNcDestroy");
    CDialog::PostNcDestroy();
    delete this;
}

LRESULT CCameraSetupDlg::OnGetDownloadPath(WPARAM wParam, LPARAM lParam)
{
    if (!m_hOwner || !::IsWindow(m_hOwner))
        return 0;
    return ::SendMessage(m_hOwner, UM_VX_GET_DOWNLOAD_PATH, wParam, lParam);
}

LRESULT CCameraSetupDlg::OnSetDownloadPath(WPARAM wParam, LPARAM lParam)
{
    // The text belongs to the sender and lives only while it waits: relay it
    // by sending, never by posting.
    if (!m_hOwner || !::IsWindow(m_hOwner))
        return 0;
    return ::SendMessage(m_hOwner, UM_VX_SET_DOWNLOAD_PATH, wParam, lParam);
}

LRESULT CCameraSetupDlg::OnStatus(WPARAM wParam, LPARAM)
{
    if (!m_bExiting)
        SetDlgItemText(IDC_SETUP_STATUS, VxcamString(static_cast<UINT>(wParam)));
    return 0;
}

LRESULT CCameraSetupDlg::OnClock(WPARAM, LPARAM)
{
    if (m_bExiting || !m_bClockRunning)
        return 0;
    CString text;
    if (m_bTimeKnown)
        text = COleDateTime(m_dtClock.load()).Format("%Y-%m-%d %H:%M:%S");
    SetDlgItemText(IDC_SETUP_CLOCK, text);
    return 0;
}

void CCameraSetupDlg::ShowCategories()
{
    if (!m_bCategoriesShown) {
        m_bCategoriesShown = 1;
        m_tabCategories.ShowCurrentCategory();
    }
    m_tabCategories.EnableWindow(TRUE);
}

LRESULT CCameraSetupDlg::OnConnected(WPARAM, LPARAM)
{
    if (m_bExiting)
        return 0;
    m_bConnected = 1;
    SetDlgItemText(IDC_SETUP_STATUS, VxcamString(IDS_SETUP_CONNECTED));
    if (m_pCamera && m_pCamera->GetChipType() == CHIP_TYPE_HV) {
        // These cameras are set up through their own web page.
        OpenCameraPage();
        PostMessage(WM_CLOSE);
        return 0;
    }
    ShowCategories();
    if (!m_bClockRunning)
        StartClockThread();
    return 0;
}

void CCameraSetupDlg::OpenCameraPage()
{
    int useIp = m_pCamera->GetUseIPForP2P();
    vx_log(6, "property is hv %s", useIp ? "TRUE" : "FALSE");
    const STWatchCameraInfo& info = m_pCamera->m_stCameraInfo;
    if (!(info.nEntryType == WATCH_ENTRY_HOST || (info.nEntryType == WATCH_ENTRY_P2P_ID && useIp)))
        return;
    CString url;
    if (info.nHttpPort == 80)
        url.Format("http://%s/", info.strIP.GetString());
    else
        url.Format("http://%s:%d/", info.strIP.GetString(), info.nHttpPort);
    ::ShellExecute(nullptr, "open", url, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void CCameraSetupDlg::StopWatchdog()
{
    KillTimer(kWatchdogTimer);
    m_bTimerSet = 0;
}

void CCameraSetupDlg::StartWatchdog()
{
    if (m_bExiting)
        return;
    SetTimer(kWatchdogTimer, 3000, nullptr);
    m_bTimerSet = 1;
}

LRESULT CCameraSetupDlg::OnConnectDone(WPARAM, LPARAM)
{
    if (!m_bExiting && !m_bTimerSet)
        StartWatchdog();
    return 0;
}

void CCameraSetupDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kWatchdogTimer) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    // The test may wait behind a page's request: one at a time, and the
    // ticks meanwhile are skipped.
    if (m_bExiting || m_watchdogJob || !m_pCamera)
        return;
    auto job = std::make_shared<RequestJob>();
    CWebWatchNB* camera = m_pCamera;
    job->call = [camera](CString&) { return camera->TestConnectionWithoutVideo() ? TRUE : FALSE; };
    job->notify = GetSafeHwnd();
    job->message = UM_SETUP_WATCHDOG;
    if (m_worker->Post(job))
        m_watchdogJob = std::move(job);
}

LRESULT CCameraSetupDlg::OnWatchdog(WPARAM, LPARAM)
{
    if (!m_watchdogJob || !m_watchdogJob->done)
        return 0;
    bool alive = m_watchdogJob->called != FALSE;
    m_watchdogJob.reset();
    if (m_bExiting)
        return 0;
    if (alive) {
        SetDlgItemText(IDC_SETUP_STATUS, VxcamString(IDS_SETUP_CONNECTED));
        m_bConnected = 1;
        ShowCategories();
        if (!m_bClockRunning && !m_bConnectBusy)
            StartClockThread();
        return 0;
    }
    vx_log(6, "CameraSetup test failed.");
    if (m_bConnectBusy)
        return 0;
    vx_log(6, "CameraSetup test failed start.");
    StopWatchdog();
    m_bConnected = 0;
    SetDlgItemText(IDC_SETUP_STATUS, VxcamString(IDS_VX_CONNECT_FAILED));
    StartConnectThread();
    return 0;
}

void CCameraSetupDlg::LoginChanged(const CString& strUser, const CString& strPassword)
{
    if (m_bExiting || !m_pCamera)
        return;
    m_stCameraInfo.strUser = strUser;
    m_stCameraInfo.strPwd = strPassword;
    if (m_bConnectBusy)
        return;  // the running connect keeps the old login; the watchdog will retry
    // The session logged in with the old account: connect again with the new.
    StopWatchdog();
    m_bConnected = 0;
    m_bLoginChanged = 1;
    StartConnectThread();
}

void CCameraSetupDlg::OnClose()
{
    vx_log(6, "CCameraSetupDlg::OnClose()");
    CWaitCursor wait;
    DoExit();
    if (m_hOwner && m_hOwner != ::GetDesktopWindow() && !::IsWindowEnabled(m_hOwner))
        ::EnableWindow(m_hOwner, TRUE);
    ShowWindow(SW_HIDE);
}

void CCameraSetupDlg::DoExit()
{
    vx_log(6, "CCameraSetupDlg::DoExit()");
    if (m_bExiting)
        return;
    m_bExiting = 1;
    m_bConnected = 0;
    m_bClockRunning = 0;
    KillTimer(kWatchdogTimer);
    m_tabCategories.DestroyCategories();
    vx_log(6, "CCameraSetupDlg::DoExitThread tab");
    vx_log(6, "CCameraSetupDlg::DoExit start");
    StartExitThread();
    vx_log(6, "CCameraSetupDlg::DoExit finish");
}

LRESULT CCameraSetupDlg::OnDestroyRequest(WPARAM, LPARAM)
{
    DestroyWindow();
    return 0;
}
