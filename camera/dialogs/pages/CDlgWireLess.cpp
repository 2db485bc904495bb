#include "camera/dialogs/pages/CDlgWireLess.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

using namespace wireless_form;

namespace {

constexpr UINT_PTR kStepTimer = 10001;
constexpr UINT kStepMs = 200;
constexpr int kStepLimit = 90;  // the bar waits there for the answer
constexpr int kScanTimeoutMs = 20000;

struct Column {
    UINT textId;
    int width;
};
const Column kColumns[] = {{IDS_SCAN_COL_SSID, 150},
                           {IDS_SCAN_COL_MODE, 90},
                           {IDS_SCAN_COL_SIGNAL, 90},
                           {IDS_SCAN_COL_SECURITY, 85},
                           {IDS_SCAN_COL_ENCRYPT, 85}};
constexpr int kSignalColumn = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CDlgWireLess, CDialog)
ON_BN_CLICKED(IDC_SCAN_SEARCH, OnSearch)
ON_BN_CLICKED(IDC_SCAN_ADD, OnAdd)
ON_WM_CLOSE()
ON_WM_TIMER()
ON_MESSAGE(UM_WIRELESS_SCAN_DONE, OnScanDone)
END_MESSAGE_MAP()

CDlgWireLess::CDlgWireLess(CCameraSetupDlg* pOwner, CWnd* pParent)
    : CDialog(IDD_WIRELESS_SCAN, pParent), m_pOwner(pOwner)
{}

CDlgWireLess::~CDlgWireLess() = default;

INT_PTR CDlgWireLess::DoModal()
{
    // The template, texts and pictures are the library's own, whoever calls.
    AFX_MANAGE_STATE(VxcamModuleState());
    return CDialog::DoModal();
}

void CDlgWireLess::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCAN_LIST, m_list);
    DDX_Control(pDX, IDC_SCAN_PROGRESS, m_progress);
}

BOOL CDlgWireLess::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1);
    const std::pair<UINT, COLORREF> pictures[] = {{IDB_WIRELESS_STATION, RGB(255, 255, 255)},
                                                  {IDB_WIRELESS_LOCKED, RGB(0, 0, 255)}};
    for (const auto& [id, mask] : pictures) {
        CBitmap bitmap;
        if (bitmap.LoadBitmap(id))
            m_images.Add(&bitmap, mask);
    }
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        m_list.InsertColumn(i, VxcamString(kColumns[i].textId), LVCFMT_LEFT, kColumns[i].width);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    m_list.SetImageList(&m_images, LVSIL_SMALL);
    m_list.InitProgressColumn(IDB_SIGNAL_BACK, IDB_SIGNAL_FORE, RT_BITMAP, TRUE, RGB(255, 255, 255), kSignalColumn);
    m_progress.SetRange32(0, 100);
    m_progress.SetStep(1);
    m_progress.SetPos(0);
    return TRUE;
}

void CDlgWireLess::EnableSearch(bool enable)
{
    if (CWnd* search = GetDlgItem(IDC_SCAN_SEARCH))
        search->EnableWindow(enable);
}

void CDlgWireLess::StopStepping()
{
    if (m_bTimerSet) {
        KillTimer(kStepTimer);
        m_bTimerSet = false;
    }
}

void CDlgWireLess::OnSearch()
{
    if (m_job)
        return;
    EnableSearch(false);
    CWebWatchNB* camera = m_pOwner ? m_pOwner->Camera() : nullptr;
    const int entryType = m_pOwner ? m_pOwner->CameraInfo().nEntryType : 0;
    // Only cameras reached by address or P2P identifier can scan; saying so
    // beats leaving "Search" dead.
    if (!camera || (entryType != WATCH_ENTRY_HOST && entryType != WATCH_ENTRY_P2P_ID)) {
        EnableSearch(true);
        ShowMessageById(this, IDS_ERROR, IDS_SCAN_FAILED, MB_ICONERROR);
        return;
    }
    auto job = std::make_shared<RequestJob>();
    job->call = [camera](CString& reply) { return camera->GetCgi(kSearchPath, reply, kScanTimeoutMs); };
    job->notify = GetSafeHwnd();
    job->message = UM_WIRELESS_SCAN_DONE;
    if (!m_pOwner->Worker().Post(job)) {
        EnableSearch(true);
        ShowMessageById(this, IDS_ERROR, IDS_SCAN_FAILED, MB_ICONERROR);
        return;
    }
    m_job = std::move(job);
    m_progress.SetPos(0);
    m_bTimerSet = SetTimer(kStepTimer, kStepMs, nullptr) != 0;
}

void CDlgWireLess::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kStepTimer && m_progress.GetPos() < kStepLimit)
        m_progress.StepIt();
}

LRESULT CDlgWireLess::OnScanDone(WPARAM, LPARAM)
{
    if (!m_job || !m_job->done)
        return 0;
    std::shared_ptr<RequestJob> job = std::move(m_job);
    ShowRows(ParseScan(job->Succeeded(), job->reply));
    return 0;
}

void CDlgWireLess::ShowRows(const ScanResult& result)
{
    StopStepping();
    m_list.DeleteAllItems();
    m_rows = result.rows;
    if (result.count <= 0) {
        m_progress.SetPos(0);
        EnableSearch(true);
        if (result.count == 0)
            ShowMessageById(this, IDS_SCAN_CAPTION, IDS_SCAN_NOTHING, MB_ICONINFORMATION);
        else
            ShowMessageById(this, IDS_ERROR, IDS_SCAN_FAILED, MB_ICONERROR);
        return;
    }
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
        const ScanRow& row = m_rows[static_cast<size_t>(i)];
        m_list.InsertItem(i, row.ssid);
        m_list.SetItemText(i, 1, row.mode);
        m_list.SetItemText(i, 2, row.signal);
        m_list.SetItemText(i, 3, row.security);
        m_list.SetItemText(i, 4, row.encryption);
        // The bar column holds values for the first rows only; later rows
        // show their strength as text alone.
        if (i < CListCtrlEx::kProgressRows)
            m_list.m_nProgressValue[i] = row.strength;
    }
    m_progress.SetPos(100);
    EnableSearch(true);
    m_list.Invalidate();
}

void CDlgWireLess::OnAdd()
{
    int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (selected < 0 || selected >= static_cast<int>(m_rows.size())) {
        ShowMessageById(this, IDS_SCAN_CAPTION, IDS_SCAN_SELECT, MB_ICONINFORMATION);
        return;
    }
    Choice c = ChooseRow(m_rows[static_cast<size_t>(selected)]);
    m_strSSID = c.ssid;
    m_nMode = c.mode;
    m_nSecurity = c.security;
    m_nEncrypt = c.encryption;
    EndDialog(IDOK);
}

void CDlgWireLess::OnClose()
{
    // A scan under way finishes on the worker; its answer finds no window.
    m_job.reset();
    StopStepping();
    m_list.DeleteAllItems();
    m_list.SetImageList(nullptr, LVSIL_SMALL);
    m_images.DeleteImageList();
    EndDialog(IDCANCEL);
}
