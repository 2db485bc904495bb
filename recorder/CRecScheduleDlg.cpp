#include "recorder/CRecScheduleDlg.h"

#include "recorder/CAboutDlg.h"
#include "recorder/CGlobalInfo.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

#include <cstring>

namespace {

enum {
    IDC_MODE_MOTION = 3,
    IDC_MODE_CONTINUOUS = 4,
    IDC_MODE_CLEAR = 5,
    IDC_ENABLE = 6,
    IDC_APPLY_ALL = 7,
    IDC_CLEAR_ALL = 9,
    IDC_BROWSE = 12,
    IDC_SCH_EXIT = 1000,
    IDC_CAMERA = 1021,
    IDC_PATH = 1023,
    IDC_DAYS = 1025,
    IDC_FREE_SPACE = 5037,
};

CString Text(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

void Place(CWnd& wnd, const RECT& r)
{
    if (wnd.GetSafeHwnd())
        wnd.MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED && data)
        ::SendMessage(hwnd, BFFM_SETSELECTION, TRUE, data);
    return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRecScheduleDlg, CDialog)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_BN_CLICKED(IDC_MODE_MOTION, OnModeMotion)
ON_BN_CLICKED(IDC_MODE_CONTINUOUS, OnModeContinuous)
ON_BN_CLICKED(IDC_MODE_CLEAR, OnModeClear)
ON_BN_CLICKED(IDC_CLEAR_ALL, OnClearAll)
ON_BN_CLICKED(IDC_ENABLE, OnToggleEnable)
ON_BN_CLICKED(IDC_APPLY_ALL, OnToggleApplyAll)
ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_SCH_EXIT, OnExit)
ON_CBN_SELCHANGE(IDC_CAMERA, OnSelChangeCamera)
ON_EN_CHANGE(IDC_PATH, OnChangePath)
END_MESSAGE_MAP()

CRecScheduleDlg::CRecScheduleDlg(CWnd* pParent) : CDialog(IDD_SCHEDULE, pParent)
{
    CGlobalInfo& g = GlobalInfo();
    const RECT& clear = g.m_skinClear.rect;
    m_nCellWidth = clear.right - clear.left;
    m_nCellHeight = clear.bottom - clear.top;
    const RECT& grid = g.m_rcScheduleDetail;
    m_cells = schedule_grid::CellRects(POINT{grid.left, grid.top}, m_nCellWidth, m_nCellHeight);
}

CRecScheduleDlg::~CRecScheduleDlg()
{
    // The background is the settings object's.
    m_bmpBack.Detach();
}

CRect CRecScheduleDlg::GridRect() const
{
    return CRect(GlobalInfo().m_rcScheduleDetail);
}

void CRecScheduleDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CAMERA, m_cmbCamera);
    DDX_Control(pDX, IDC_PATH, m_edtPath);
    DDX_Control(pDX, IDC_DAYS, m_edtDays);
    DDX_Control(pDX, IDC_MODE_MOTION, m_btnMotion);
    DDX_Control(pDX, IDC_MODE_CONTINUOUS, m_btnContinuous);
    DDX_Control(pDX, IDC_MODE_CLEAR, m_btnClear);
    DDX_Control(pDX, IDC_CLEAR_ALL, m_btnClearAll);
    DDX_Control(pDX, IDC_ENABLE, m_btnEnable);
    DDX_Control(pDX, IDC_APPLY_ALL, m_btnApplyAll);
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDOK, m_btnOk);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_SCH_EXIT, m_btnExit);
    DDX_Text(pDX, IDC_PATH, m_strPath);
    // A negative count would make the retention delete every recording,
    // and one that overflows would wrap to one.
    DDX_Text(pDX, IDC_DAYS, m_nKeepDays);
    DDV_MinMaxInt(pDX, m_nKeepDays, 0, 36500);
}

void CRecScheduleDlg::SetUpButton(CMyBitmapButton& button, const STSkinElement& skin, UINT tipId)
{
    button.m_crKey = skin.crTrans;
    button.m_bUseKey = skin.bTrans;
    // The second image normally, the first pressed or disabled.
    button.SetBitmaps(skin.hBmp2, skin.hBmp1, skin.hBmp1);
    if (tipId)
        button.SetToolTipText(Text(tipId), CString());
    Place(button, skin.rect);
}

void CRecScheduleDlg::SetToggleImages(CMyBitmapButton& button, const STSkinElement& skin, BOOL on)
{
    if (on)
        button.SetBitmaps(skin.hBmp1, skin.hBmp2, skin.hBmp2);
    else
        button.SetBitmaps(skin.hBmp2, skin.hBmp1, skin.hBmp1);
    button.Invalidate();
    button.UpdateWindow();
}

BOOL CRecScheduleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CGlobalInfo& g = GlobalInfo();
    ModifyStyle(WS_CAPTION, WS_MINIMIZEBOX, SWP_FRAMECHANGED);
    SetWindowText(Text(IDS_CAPTION));
    if (g.m_skinRecScheduleMain.hBmp)
        m_bmpBack.Attach(g.m_skinRecScheduleMain.hBmp);

    CRect owner(0, 0, 0, 0);
    if (CWnd* parent = GetParent())
        parent->GetWindowRect(&owner);
    const RECT& view = g.m_skinCameraView.rect;
    SetWindowPos(nullptr, owner.left, owner.top, view.right - view.left, view.bottom - view.top,
                 SWP_NOZORDER | SWP_NOREDRAW);

    SetUpButton(m_btnMotion, g.m_skinRdMotion, 0);
    SetUpButton(m_btnContinuous, g.m_skinRdContinuous, 0);
    SetUpButton(m_btnClear, g.m_skinRdClear, 0);
    SetUpButton(m_btnClearAll, g.m_skinClearAll, IDS_TIP_CLEAR_ALL);
    SetUpButton(m_btnEnable, g.m_skinChkEnableRec, 0);
    SetUpButton(m_btnApplyAll, g.m_skinChkApplyToAll, 0);
    SetUpButton(m_btnBrowse, g.m_skinSelectPath, IDS_TIP_SELECT_PATH);
    SetUpButton(m_btnOk, g.m_skinOk, 0);
    SetUpButton(m_btnCancel, g.m_skinCancel, 0);
    SetUpButton(m_btnExit, g.m_skinSchExit, IDS_TIP_EXIT);
    Place(m_cmbCamera, g.m_rcCamera);
    Place(m_edtPath, g.m_rcRecSavePath);
    Place(m_edtDays, g.m_rcRecSaveDays);
    m_edtPath.SetLimitText(sizeof(STCameraInfoKst::REC_PATH) - 1);

    m_stcFreeSpace.SubclassDlgItem(IDC_FREE_SPACE, this);
    m_stcFreeSpace.m_crText = g.m_txtFreeSpace.crText;
    m_stcFreeSpace.m_strFontName = g.m_txtFreeSpace.strFontName;
    m_stcFreeSpace.m_nFontHeight = g.m_txtFreeSpace.nFontSize;
    m_stcFreeSpace.m_bBold = TRUE;
    m_stcFreeSpace.m_nFormat = DT_RIGHT;
    Place(m_stcFreeSpace, g.m_txtFreeSpace.rect);
    m_btnContinuous.EnableWindow(FALSE);

    FillCameraList();
    m_bDragging = FALSE;
    m_hCross = ::LoadCursor(nullptr, IDC_CROSS);
    m_hArrow = ::LoadCursor(nullptr, IDC_ARROW);
    return TRUE;
}

void CRecScheduleDlg::FillCameraList()
{
    m_cmbCamera.ResetContent();
    m_arrPlans.RemoveAll();
    m_nCurrent = -1;
    CGlobalInfo& g = GlobalInfo();
    for (INT_PTR i = 0; i < g.m_arrCameras.GetSize(); ++i) {
        const STIPCfgKst& camera = g.m_arrCameras[i];
        m_cmbCamera.AddString(camera.NAME);
        STCameraInfoKst plan;
        plan.CAMERAID = camera.CAMERAID;
        g.m_db.LoadSchedule(plan, TRUE);
        m_arrPlans.Add(plan);
    }
    if (m_cmbCamera.GetCount() > 0) {
        m_cmbCamera.SetCurSel(0);
        m_nCurrent = 0;
        ShowCamera(0);
    } else {
        m_btnOk.ShowWindow(SW_HIDE);
    }
    InvalidateGrid();
    UpdateWindow();
}

void CRecScheduleDlg::ShowCamera(int index)
{
    if (index < 0 || index >= m_arrPlans.GetSize())
        return;
    const STCameraInfoKst& plan = m_arrPlans[index];
    m_bEnable = plan.REC_ENABLE == 1;
    SetToggleImages(m_btnEnable, GlobalInfo().m_skinChkEnableRec, m_bEnable);
    m_strPath = plan.REC_PATH;
    m_nKeepDays = plan.REC_DAYS;
    UpdateData(FALSE);
    UpdateFreeSpace();
}

BOOL CRecScheduleDlg::StoreCamera(int index)
{
    if (index < 0 || index >= m_arrPlans.GetSize())
        return TRUE;
    if (!UpdateData(TRUE))
        return FALSE;
    STCameraInfoKst& plan = m_arrPlans[index];
    plan.REC_ENABLE = m_bEnable ? 1 : 0;
    CopyTextField(plan.REC_PATH, m_strPath);
    plan.REC_DAYS = m_nKeepDays;
    return TRUE;
}

BOOL CRecScheduleDlg::CheckFolder()
{
    if (!UpdateData(TRUE))
        return FALSE;
    UINT error = schedule_grid::CheckRecordFolder(m_strPath);
    if (!error)
        return TRUE;
    MessageBox(Text(error), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
    m_edtPath.SetFocus();
    return FALSE;
}

void CRecScheduleDlg::UpdateFreeSpace()
{
    CString path;
    if (m_edtPath.GetSafeHwnd())
        m_edtPath.GetWindowText(path);
    m_stcFreeSpace.SetText(schedule_grid::FreeSpaceText(path));
}

void CRecScheduleDlg::InvalidateGrid()
{
    if (GetSafeHwnd()) {
        CRect grid = GridRect();
        InvalidateRect(&grid, TRUE);
    }
}

void CRecScheduleDlg::OnSelChangeCamera()
{
    const int chosen = m_cmbCamera.GetCurSel();
    if (chosen == m_nCurrent)
        return;
    if (!CheckFolder() || !StoreCamera(m_nCurrent)) {
        m_cmbCamera.SetCurSel(m_nCurrent);
        return;
    }
    m_nCurrent = chosen;
    ShowCamera(m_nCurrent);
    InvalidateGrid();
}

void CRecScheduleDlg::SetMode(schedule_grid::PaintMode mode)
{
    m_nMode = mode;
    m_btnMotion.EnableWindow(mode != schedule_grid::kPaintMotion);
    m_btnContinuous.EnableWindow(mode != schedule_grid::kPaintContinuous);
    m_btnClear.EnableWindow(mode != schedule_grid::kPaintClear);
}

void CRecScheduleDlg::OnModeMotion()
{
    SetMode(schedule_grid::kPaintMotion);
}

void CRecScheduleDlg::OnModeContinuous()
{
    SetMode(schedule_grid::kPaintContinuous);
}

void CRecScheduleDlg::OnModeClear()
{
    SetMode(schedule_grid::kPaintClear);
}

void CRecScheduleDlg::OnClearAll()
{
    if (m_nCurrent < 0 || m_nCurrent >= m_arrPlans.GetSize())
        return;
    schedule_grid::ClearAll(m_arrPlans[m_nCurrent]);
    InvalidateGrid();
}

void CRecScheduleDlg::OnToggleEnable()
{
    m_bEnable = !m_bEnable;
    SetToggleImages(m_btnEnable, GlobalInfo().m_skinChkEnableRec, m_bEnable);
}

void CRecScheduleDlg::OnToggleApplyAll()
{
    m_bApplyAll = !m_bApplyAll;
    SetToggleImages(m_btnApplyAll, GlobalInfo().m_skinChkApplyToAll, m_bApplyAll);
}

void CRecScheduleDlg::OnBrowse()
{
    CString initial;
    m_edtPath.GetWindowText(initial);
    CString title = Text(IDS_BROWSE_TITLE);
    char name[MAX_PATH] = {};
    BROWSEINFO info = {};
    info.hwndOwner = GetSafeHwnd();
    info.pszDisplayName = name;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initial.GetString());
    LPITEMIDLIST chosen = SHBrowseForFolder(&info);
    if (!chosen)
        return;
    char path[MAX_PATH] = {};
    const BOOL got = SHGetPathFromIDList(chosen, path);
    CoTaskMemFree(chosen);
    if (!got || !path[0])
        return;
    CString folder = path;
    if (folder.Right(1) != "/")
        folder += "/";
    m_edtPath.SetWindowText(folder);
    UpdateFreeSpace();
}

void CRecScheduleDlg::OnChangePath()
{
    UpdateFreeSpace();
}

void CRecScheduleDlg::OnOK()
{
    if (m_nCurrent < 0) {
        EndDialog(IDOK);
        return;
    }
    if (!CheckFolder() || !StoreCamera(m_nCurrent))
        return;
    // A save that failed keeps the dialog and its working copy open: the
    // user's hours are not thrown away.
    if (!GlobalInfo().m_db.SaveSchedules(m_arrPlans, m_nCurrent, m_bApplyAll)) {
        vx_log(2, "CRecScheduleDlg::OnOK the schedules were not saved");
        return;
    }
    m_arrPlans.RemoveAll();
    EndDialog(IDOK);
}

void CRecScheduleDlg::OnCancel()
{
    EndDrag(false);
    m_arrPlans.RemoveAll();
    EndDialog(IDCANCEL);
}

void CRecScheduleDlg::OnExit()
{
    OnCancel();
}

BOOL CRecScheduleDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CRecScheduleDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (ShowAboutBoxAt(this, point))
        return;
    if (!GridRect().PtInRect(point)) {
        // Dragging the background moves the window.
        CPoint screen = point;
        ClientToScreen(&screen);
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    }
    CDialog::OnLButtonDown(nFlags, point);
}
