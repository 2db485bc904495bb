// The main window's frame: message map, controls, painting and the keys it
// swallows.
#include "recorder/CMainDlg.h"

#include "camera/session/CameraMessages.h"
#include "platform/ui/session_end.h"
#include "recorder/CAboutDlg.h"
#include "recorder/RegisteredMessages.h"
#include "resources/VXKSTRes/resource.h"

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_LBUTTONDOWN()
ON_WM_SIZE()
ON_REGISTERED_MESSAGE(UM_VXKST_SHOW, OnInstanceMsg)
ON_REGISTERED_MESSAGE(UM_VXKST_EXIT, OnExitMsg)
ON_MESSAGE(WM_ENDSESSION, OnEndSession)
ON_BN_CLICKED(IDC_BTN_MIN, OnBtnMin)
ON_BN_CLICKED(IDC_BTN_EXIT, OnBtnExit)
ON_NOTIFY(NM_RCLICK, IDC_LIST_CAMERA, OnListRClick)
ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
ON_COMMAND(ID_MENU_RESTORE, OnMenuRestore)
ON_COMMAND(ID_MENU_EXIT, OnMenuExit)
ON_COMMAND(ID_MENU_ABOUT, OnMenuAbout)
ON_WM_TIMER()
ON_REGISTERED_MESSAGE(UM_VXKST_STOP_REC, OnStopRecMsg)
ON_REGISTERED_MESSAGE(UM_VXKST_START_REC, OnStartRecMsg)
ON_BN_CLICKED(IDC_BTN_ADD_CAMERA, OnBtnAddCamera)
ON_BN_CLICKED(IDC_BTN_START_ALL, OnBtnStartAll)
ON_BN_CLICKED(IDC_BTN_STOP_ALL, OnBtnStopAll)
ON_BN_CLICKED(IDC_BTN_DELETE_ALL, OnBtnDeleteAll)
ON_BN_CLICKED(IDC_BTN_SYS_PARAM, OnBtnSysParam)
ON_BN_CLICKED(IDC_BTN_REC_SCHEDULE, OnBtnRecSchedule)
ON_BN_CLICKED(IDC_BTN_REC_QUERY, OnBtnRecQuery)
ON_COMMAND(ID_MENU_START_ALL, OnBtnStartAll)
ON_COMMAND(ID_MENU_STOP_ALL, OnBtnStopAll)
ON_COMMAND(ID_MENU_EDIT_CAMERA, OnMenuEditCamera)
ON_COMMAND(ID_MENU_DELETE_CAMERA, OnMenuDeleteCamera)
ON_COMMAND(ID_MENU_START_CAMERA, OnMenuStartCamera)
ON_COMMAND(ID_MENU_STOP_CAMERA, OnMenuStopCamera)
ON_MESSAGE(UM_VX_CAMERA_MOTION_ALARM, OnMotionDetected)
ON_MESSAGE(UM_VX_CAMERA_CONNECTING, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_CONNECT_FAILED, OnMessage)
ON_MESSAGE(WM_USER + 23, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_STARTING, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_FAILED, OnMessage)
ON_MESSAGE(WM_USER + 26, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_STOPPED, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_PLAYER_EVENT_28, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_DISCONNECTING, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_DISCONNECTED, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_RECORD_STOPPED, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_FILE_END, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_FILE_POSITION, OnMessage)
ON_MESSAGE(UM_VX_CAMERA_RECORD_STARTED, OnMessage)
ON_MESSAGE(UM_RECORD_STATUS, OnRecordStatus)
ON_MESSAGE(UM_OFFER_CRASH_REPORT, OnOfferCrashReport)
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent) : CDialog(IDD_MAIN, pParent) {}

CMainDlg::~CMainDlg()
{
    // The background is the settings object's bitmap, lent to the window.
    m_bmpBack.Detach();
    if (m_bLocksReady) {
        DeleteCriticalSection(&m_csPosted);
        DeleteCriticalSection(&m_csSlot);
        DeleteCriticalSection(&m_csRecordMsg);
        DeleteCriticalSection(&m_csHDD);
    }
}

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_MIN, m_btnMin);
    DDX_Control(pDX, IDC_BTN_MAX, m_btnMax);
    DDX_Control(pDX, IDC_BTN_EXIT, m_btnExit);
    DDX_Control(pDX, IDC_BTN_SYS_PARAM, m_btnSysParam);
    DDX_Control(pDX, IDC_BTN_ADD_CAMERA, m_btnAddCamera);
    DDX_Control(pDX, IDC_BTN_REC_SCHEDULE, m_btnRecSchedule);
    DDX_Control(pDX, IDC_BTN_REC_QUERY, m_btnRecQuery);
    DDX_Control(pDX, IDC_BTN_START_ALL, m_btnStartAll);
    DDX_Control(pDX, IDC_BTN_STOP_ALL, m_btnStopAll);
    DDX_Control(pDX, IDC_BTN_DELETE_ALL, m_btnDeleteAll);
    DDX_Control(pDX, IDC_LIST_CAMERA, m_listCamera);
}

CMyBitmapButton& CMainDlg::Button(int id)
{
    switch (id) {
    case IDC_BTN_MIN:
        return m_btnMin;
    case IDC_BTN_MAX:
        return m_btnMax;
    case IDC_BTN_SYS_PARAM:
        return m_btnSysParam;
    case IDC_BTN_ADD_CAMERA:
        return m_btnAddCamera;
    case IDC_BTN_REC_SCHEDULE:
        return m_btnRecSchedule;
    case IDC_BTN_REC_QUERY:
        return m_btnRecQuery;
    case IDC_BTN_START_ALL:
        return m_btnStartAll;
    case IDC_BTN_STOP_ALL:
        return m_btnStopAll;
    case IDC_BTN_DELETE_ALL:
        return m_btnDeleteAll;
    default:
        return m_btnExit;
    }
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg)
{
    // Enter, Escape and Space would end or press something in a dialog; the
    // recorder ends only through its exit commands. A control that takes the
    // key itself (Space on a focused button) still gets it.
    if (pMsg->message == WM_KEYDOWN
        && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_SPACE)
        && !ControlTakesKey(pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CMainDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        AskExit();
        return 1;
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}

void CMainDlg::OnPaint()
{
    CPaintDC dc(this);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect rc;
        GetClientRect(&rc);
        int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
        dc.DrawIcon((rc.Width() - cx + 1) / 2, (rc.Height() - cy + 1) / 2, m_hIcon);
        return;
    }
    if (!m_bmpBack.m_hObject)
        return;
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap* old = mem.SelectObject(&m_bmpBack);
    CRect rc;
    GetClientRect(&rc);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}

HCURSOR CMainDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CMainDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (ShowAboutBoxAt(this, point))
        return;
    // Anywhere else the window is dragged by its face.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CDialog::OnLButtonDown(nFlags, point);
}

void CMainDlg::OnMenuAbout()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}
