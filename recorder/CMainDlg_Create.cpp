// Creation of the main window: skin, tray data, locks, slots, controls and
// the camera rows.
#include "recorder/CMainDlg.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/CameraColumns.h"
#include "recorder/ColumnFit.h"
#include "recorder/StatusLook.h"
#include "resources/VXKSTRes/resource.h"
#include "resources/recorder/resource.h"
#include "utility/vx_log.h"

#include <cstring>

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CGlobalInfo& global = GlobalInfo();
    if (!m_hIcon) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_GROUP_ICON);
        if (module)
            m_hIcon = ::LoadIcon(module, MAKEINTRESOURCE(IDR_MAINFRAME));
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    ShowWindow(SW_HIDE);

    ModifyStyle(WS_CAPTION | WS_SYSMENU, 0, SWP_FRAMECHANGED);
    CString caption;
    caption.LoadString(IDS_CAPTION);
    SetWindowText(caption);
    // The skin's bitmap stays the settings object's: the window only shows it.
    if (global.m_skinCameraView.hBmp)
        m_bmpBack.Attach(global.m_skinCameraView.hBmp);
    const RECT& view = global.m_skinCameraView.rect;
    SetWindowPos(nullptr, view.left, view.top, view.right - view.left, view.bottom - view.top,
                 SWP_NOZORDER | SWP_NOREDRAW);

    m_nid.cbSize = 504;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = TRAY_ICON_ID;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    m_nid.hIcon = m_hIcon;
    CopyTextField(m_nid.szTip, caption);

    InitializeCriticalSection(&m_csSlot);
    InitializeCriticalSection(&m_csRecordMsg);
    InitializeCriticalSection(&m_csHDD);
    InitializeCriticalSection(&m_csPosted);
    m_bLocksReady = TRUE;
    m_arrRecordMsg.RemoveAll();
    m_arrHDDFreeSpace.RemoveAll();
    for (STIPCfgKst& slot : m_arrSlot)
        slot.Clear();

    InitControls();

    CString why;
    while (!global.m_db.LoadCameras(global.m_arrCameras, &why)) {
        // Going on with an empty list would look like a recorder without
        // cameras, and the next save would write over the rows not read.
        if (::MessageBoxA(nullptr, CString("Failed to init camera data: ") + why, "Error",
                          MB_ICONERROR | MB_RETRYCANCEL)
            != IDRETRY) {
            DoExit();
            EndDialog(IDCANCEL);
            return TRUE;
        }
    }
    m_nCameraCount = static_cast<int>(global.m_arrCameras.GetSize());
    UpdateButtons();
    for (INT_PTR i = 0; i < global.m_arrCameras.GetSize(); ++i)
        InsertCameraItem(global.m_arrCameras[i], -1);

    if (global.m_nStartMin == 1) {
        PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Sleep(0);
    } else {
        ShowWindow(SW_SHOW);
    }
    StartServiceThreads();
    if (global.m_nStartRecord == 1) {
        for (int row = 0; row < m_listCamera.GetItemCount(); ++row) {
            DoStartCamera(row);
            Sleep(0);
        }
    }
    vx_log(4, "CMainDlg::OnInitDialog %d cameras", m_nCameraCount);
    PostMessage(UM_OFFER_CRASH_REPORT, 0, 0);
    return TRUE;
}

void CMainDlg::SetUpButton(CMyBitmapButton& button, const STSkinElement& skin, UINT tipId)
{
    button.m_crKey = skin.crTrans;
    button.m_bUseKey = skin.bTrans;
    // Pressed image first, normal second, disabled third (or the first).
    button.SetBitmaps(skin.hBmp2, skin.hBmp1, skin.hBmp3 ? skin.hBmp3 : skin.hBmp1);
    if (tipId) {
        CString tip;
        tip.LoadString(tipId);
        button.SetToolTipText(tip, CString());
    }
    const RECT& r = skin.rect;
    button.MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CMainDlg::InitControls()
{
    CGlobalInfo& g = GlobalInfo();
    SetUpButton(m_btnExit, g.m_skinExit, IDS_TIP_EXIT);
    SetUpButton(m_btnMin, g.m_skinMin, IDS_TIP_MIN);
    SetUpButton(m_btnMax, g.m_skinMax, 0);
    m_btnMax.EnableWindow(FALSE);
    SetUpButton(m_btnSysParam, g.m_skinSysParam, IDS_TIP_SYS_PARAM);
    SetUpButton(m_btnAddCamera, g.m_skinSetupCamera, IDS_TIP_SETUP_CAMERA);
    SetUpButton(m_btnRecSchedule, g.m_skinRecSchedule, IDS_TIP_REC_SCHEDULE);
    SetUpButton(m_btnRecQuery, g.m_skinRecQuery, IDS_TIP_REC_QUERY);
    SetUpButton(m_btnStartAll, g.m_skinStartAll, IDS_TIP_START_ALL);
    SetUpButton(m_btnStopAll, g.m_skinStopAll, IDS_TIP_STOP_ALL);
    SetUpButton(m_btnDeleteAll, g.m_skinDeleteAll, IDS_TIP_DELETE_ALL);

    const RECT& list = g.m_rcCameraList;
    m_listCamera.MoveWindow(list.left, list.top, list.right - list.left, list.bottom - list.top, TRUE);
    m_listCamera.SetExtendedStyle(m_listCamera.GetExtendedStyle() | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT
                                  | LVS_EX_DOUBLEBUFFER);
    const struct {
        UINT heading;
        int format;
        int width;
    } columns[camera_columns::kColumnCount] = {
        {IDS_COL_STATUS, LVCFMT_LEFT | LVCFMT_IMAGE, 160},
        {IDS_COL_NUMBER, LVCFMT_CENTER, 30},
        {IDS_COL_HOST, LVCFMT_LEFT, 90},
        {IDS_COL_NAME, LVCFMT_LEFT, 90},
        {IDS_COL_TYPE, LVCFMT_LEFT, 110},
        {IDS_COL_CHANNEL, LVCFMT_LEFT, 60},
        {IDS_COL_STREAM, LVCFMT_LEFT, 100},
        {IDS_COL_FREE_SPACE, LVCFMT_RIGHT, 70},
    };
    auto text = [](UINT id) {
        CString s;
        s.LoadString(id);
        return s;
    };
    // Typical values of each column, so that the widths above, the least a
    // column gets, grow to what the font in use needs.
    const std::vector<CString> typical[camera_columns::kColumnCount] = {
        // Every status: the one a person most needs to read is often the longest.
        [&] {
            std::vector<CString> all;
            for (UINT id : StatusTexts())
                all.push_back(text(id));
            return all;
        }(),
        {"300"},
        {"192.168.100.200"},
        {},
        {text(IDS_TYPE_0), text(IDS_TYPE_2), text(IDS_TYPE_3)},
        {text(IDS_COL_CHANNEL) + "4"},
        {text(IDS_STREAM_MAIN), text(IDS_STREAM_SUB), text(IDS_STREAM_THIRD)},
        {"999.9GB"},
    };
    for (int i = 0; i < camera_columns::kColumnCount; ++i) {
        const CString heading = text(columns[i].heading);
        m_listCamera.InsertColumn(i, heading, columns[i].format, -1);
        // The status column's picture stands before its text.
        const int picture = i == 0 ? 20 : 0;
        m_listCamera.SetColumnWidth(i, FitColumnWidth(m_listCamera, columns[i].width - picture, heading, typical[i])
                                           + picture);
    }
    std::vector<int> order = camera_columns::RotatedOrder();
    m_listCamera.SetColumnOrderArray(static_cast<int>(order.size()), order.data());

    m_imgList.Create(16, 16, ILC_COLOR16 | ILC_MASK, 1, 1);
    for (UINT id = IDI_STATUS_FIRST; id <= IDI_STATUS_LAST; ++id) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_ICON);
        m_imgList.Add(module ? ::LoadIcon(module, MAKEINTRESOURCE(id)) : nullptr);
    }
    m_listCamera.SetImageList(&m_imgList, LVSIL_SMALL);
    m_listCamera.DeleteAllItems();
}
