#include "recorder/CRecordQueryDlg.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/ColumnFit.h"
#include "resources/VXKSTRes/resource.h"

namespace {

enum {
    IDC_CAMERA = 1021,
    IDC_SEARCH = 242,
    IDC_RESULTS = 1412,
    IDC_START_DATE = 1416,
    IDC_START_TIME = 1417,
    IDC_END_TIME = 1418,
    IDC_END_DATE = 1419,
};

CString Text(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

bool YearUsable(int year)
{
    return year >= 1970 && year <= 2038;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRecordQueryDlg, CDialog)
ON_BN_CLICKED(IDC_SEARCH, OnSearch)
ON_NOTIFY(NM_DBLCLK, IDC_RESULTS, OnListDblClk)
ON_NOTIFY(NM_RCLICK, IDC_RESULTS, OnListRClick)
ON_COMMAND(ID_MENU_RECORD_OPEN, OnOpen)
ON_COMMAND(ID_MENU_RECORD_FOLDER, OnOpenFolder)
ON_COMMAND(ID_MENU_RECORD_DELETE, OnDelete)
ON_COMMAND(ID_MENU_RECORD_CUT, OnCut)
ON_COMMAND(ID_MENU_RECORD_COPY, OnCopy)
END_MESSAGE_MAP()

CRecordQueryDlg::CRecordQueryDlg(CWnd* pParent) : CDialog(IDD_RECORD_QUERY, pParent)
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    m_dtStartDate.SetDate(now.GetYear(), now.GetMonth(), now.GetDay());
    m_dtEndDate = m_dtStartDate;
    m_dtStartTime.SetTime(0, 0, 0);
    m_dtEndTime.SetTime(23, 59, 59);
}

void CRecordQueryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CAMERA, m_cmbCamera);
    DDX_Control(pDX, IDC_RESULTS, m_list);
    DDX_DateTimeCtrl(pDX, IDC_START_DATE, m_dtStartDate);
    DDX_DateTimeCtrl(pDX, IDC_END_DATE, m_dtEndDate);
    DDX_DateTimeCtrl(pDX, IDC_START_TIME, m_dtStartTime);
    DDX_DateTimeCtrl(pDX, IDC_END_TIME, m_dtEndTime);
}

BOOL CRecordQueryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    // A first column cannot be centred: a throw-away one takes its place
    // until the real ones stand.
    m_list.InsertColumn(0, "dummy", LVCFMT_LEFT, 10);
    const struct {
        UINT heading;
        int format;
        int width;
    } columns[] = {{IDS_QUERY_COL_NUMBER, LVCFMT_CENTER, 35},
                   {IDS_QUERY_COL_FILE, LVCFMT_LEFT, 120},
                   {IDS_QUERY_COL_START, LVCFMT_LEFT, 120},
                   {IDS_QUERY_COL_SIZE, LVCFMT_RIGHT, 80},
                   {IDS_QUERY_COL_PATH, LVCFMT_LEFT, 300}};
    // The widths above are the least a column gets: each grows to what its
    // header and a typical value need in the list's font.
    const std::vector<CString> typical[] = {
        {"9999"}, {"20240105120000.mp4"}, {"2024-01-05 12:00:00"}, {"488.2MB"}, {}};
    for (int i = 0; i < 5; ++i) {
        const CString heading = Text(columns[i].heading);
        m_list.InsertColumn(i + 1, heading, columns[i].format,
                            FitColumnWidth(m_list, columns[i].width, heading, typical[i]));
    }
    m_list.DeleteColumn(0);

    m_cmbCamera.ResetContent();
    m_arrPlans.RemoveAll();
    CGlobalInfo& g = GlobalInfo();
    for (INT_PTR i = 0; i < g.m_arrCameras.GetSize(); ++i) {
        m_cmbCamera.AddString(g.m_arrCameras[i].NAME);
        STCameraInfoKst plan;
        plan.CAMERAID = g.m_arrCameras[i].CAMERAID;
        g.m_db.LoadSchedule(plan, TRUE);
        m_arrPlans.Add(plan);
    }
    if (m_cmbCamera.GetCount() > 0)
        m_cmbCamera.SetCurSel(0);
    else
        EnableSearch(FALSE);
    UpdateData(FALSE);
    return TRUE;
}

void CRecordQueryDlg::EnableSearch(BOOL enable)
{
    for (int id : {IDC_SEARCH, IDC_START_DATE, IDC_START_TIME, IDC_END_DATE, IDC_END_TIME, IDC_RESULTS}) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(enable);
    }
}

void CRecordQueryDlg::OnSearch()
{
    EnableSearch(FALSE);
    RunSearch();
    EnableSearch(TRUE);
}

bool CRecordQueryDlg::RunSearch()
{
    if (!UpdateData(TRUE))
        return false;
    const auto refuse = [this](UINT text, int focus) {
        EnableSearch(TRUE);
        MessageBox(Text(text), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
        if (CWnd* w = GetDlgItem(focus))
            w->SetFocus();
        return false;
    };
    const int y1 = m_dtStartDate.GetYear(), mo1 = m_dtStartDate.GetMonth(), d1 = m_dtStartDate.GetDay();
    const int y2 = m_dtEndDate.GetYear(), mo2 = m_dtEndDate.GetMonth(), d2 = m_dtEndDate.GetDay();
    const int h1 = m_dtStartTime.GetHour(), mi1 = m_dtStartTime.GetMinute(), s1 = m_dtStartTime.GetSecond();
    const int h2 = m_dtEndTime.GetHour(), mi2 = m_dtEndTime.GetMinute(), s2 = m_dtEndTime.GetSecond();
    const COleDateTime day1(y1, mo1, d1, 0, 0, 0), day2(y2, mo2, d2, 0, 0, 0);
    if (!YearUsable(y1))
        return refuse(IDS_DATE_RANGE, IDC_START_DATE);
    if (!YearUsable(y2) || day2 < day1)
        return refuse(IDS_DATE_RANGE, IDC_END_DATE);
    if (day1 == day2) {
        const int from = h1 * 3600 + mi1 * 60 + s1, to = h2 * 3600 + mi2 * 60 + s2;
        if (from >= to) {
            if (h1 == h2 && mi1 == mi2)
                m_list.DeleteAllItems();
            return refuse(IDS_TIME_RANGE, IDC_END_TIME);
        }
    }
    CWaitCursor wait;
    CArray<STRecordFileKst> results;
    const int sel = m_cmbCamera.GetCurSel();
    if (m_cmbCamera.GetCount() > 0 && sel >= 0 && sel < m_arrPlans.GetSize()) {
        const COleDateTime from(y1, mo1, d1, h1, mi1, s1), to(y2, mo2, d2, h2, mi2, s2);
        CSearchRecordFile().SearchFiles(from, to, m_arrPlans[sel].REC_PATH, results);
    }
    FillList(results);
    return true;
}

void CRecordQueryDlg::FillList(const CArray<STRecordFileKst>& results)
{
    m_list.SetRedraw(FALSE);
    m_list.DeleteAllItems();
    CString number;
    for (INT_PTR i = 0; i < results.GetSize(); ++i) {
        const STRecordFileKst& r = results[i];
        number.Format("%d", static_cast<int>(i + 1));
        const int row = m_list.InsertItem(static_cast<int>(i), number);
        m_list.SetItemText(row, 1, r.strFileName);
        m_list.SetItemText(row, 2, r.strStartTime);
        m_list.SetItemText(row, 3, r.strSize);
        m_list.SetItemText(row, 4, r.strFilePath);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
}
