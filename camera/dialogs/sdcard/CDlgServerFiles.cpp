#include "camera/dialogs/sdcard/CDlgServerFiles.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/sdcard/CDlgServerRecordPlay.h"
#include "camera/dialogs/sdcard/CPreviewPic.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "outside/vxnet/vxnet.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

#include "platform/ui/shellapi.h"

#include <cstdlib>
#include <unistd.h>

namespace {

const int kRangeControls[] = {IDC_SD_START_DATE, IDC_SD_START_TIME, IDC_SD_END_DATE, IDC_SD_END_TIME};

COleDateTime PickerValue(CWnd* page, int id)
{
    COleDateTime t;
    t.SetStatus(COleDateTime::invalid);
    if (auto* picker = static_cast<CDateTimeCtrl*>(page->GetDlgItem(id)))
        picker->GetTime(t);
    return t;
}

void SetPicker(CWnd* page, int id, const COleDateTime& t, const char* format)
{
    if (auto* picker = static_cast<CDateTimeCtrl*>(page->GetDlgItem(id))) {
        picker->SetFormat(format);
        picker->SetTime(t);
    }
}

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED && data)
        ::SendMessage(hwnd, BFFM_SETSELECTION, TRUE, data);
    return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgServerFiles, CDlgTabItem)
ON_BN_CLICKED(IDC_SD_SEARCH, OnSearch)
ON_BN_CLICKED(IDC_SD_BROWSE, OnChooseFolder)
ON_BN_CLICKED(IDC_SD_DOWNLOAD, OnDownload)
ON_BN_CLICKED(IDC_SD_STOP, OnStop)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_SD_LIST, OnListChanged)
ON_NOTIFY(NM_DBLCLK, IDC_SD_LIST, OnListDoubleClick)
ON_MESSAGE(UM_SDCARD_STATUS, OnWorkerStatus)
ON_MESSAGE(UM_SDCARD_DONE, OnWorkerDone)
END_MESSAGE_MAP()

CDlgServerFiles::CDlgServerFiles(UINT nTemplateId, CCameraSetupDlg* pOwner, int bRecord)
    : CDlgTabItem(static_cast<int>(nTemplateId), nullptr), m_pOwner(pOwner), m_bRecord(bRecord)
{}

CDlgServerFiles::~CDlgServerFiles()
{
    if (m_worker)
        m_worker->Stop();
    if (!m_strPreviewFile.IsEmpty())
        ::unlink(m_strPreviewFile);
}

CDlgServerRecord::CDlgServerRecord(CCameraSetupDlg* pOwner) : CDlgServerFiles(IDD_SD_RECORD, pOwner, 1) {}

CDlgServerSnapshot::CDlgServerSnapshot(CCameraSetupDlg* pOwner) : CDlgServerFiles(IDD_SD_SNAPSHOT, pOwner, 0) {}

CWebWatchNB* CDlgServerFiles::Camera() const
{
    return m_pOwner ? m_pOwner->Camera() : nullptr;
}

UINT CDlgServerFiles::CaptionId() const
{
    return m_bRecord ? IDS_PAGE_RECORD_QUERY : IDS_PAGE_SNAPSHOT_QUERY;
}

BOOL CDlgServerFiles::OnInitDialog()
{
    CDlgTabItem::OnInitDialog();
    m_worker = std::make_unique<SdCardWorker>(GetSafeHwnd());
    m_list.SubclassDlgItem(IDC_SD_LIST, this);
    m_list.m_bDragEnabled = FALSE;
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.InsertColumn(0, VxcamString(IDS_SD_COL_NUMBER), LVCFMT_LEFT, 50);
    m_list.InsertColumn(1, VxcamString(IDS_SD_COL_NAME), LVCFMT_LEFT, 200);
    m_list.InsertColumn(2, VxcamString(IDS_SD_COL_MODIFIED), LVCFMT_LEFT, 200);
    m_list.InsertColumn(3, VxcamString(IDS_SD_COL_SIZE), LVCFMT_LEFT, 120);
    m_list.InsertColumn(4, "", LVCFMT_LEFT, 0);

    COleDateTime now = COleDateTime::GetCurrentTime();
    COleDateTime today;
    today.SetDate(now.GetYear(), now.GetMonth(), now.GetDay());
    COleDateTime startTime, endTime;
    startTime.SetTime(0, 0, 0);
    endTime.SetTime(23, 59, 59);
    SetPicker(this, IDC_SD_START_DATE, today, "MM/dd/yyyy");
    SetPicker(this, IDC_SD_END_DATE, today, "MM/dd/yyyy");
    SetPicker(this, IDC_SD_START_TIME, startTime, "HH:mm");
    SetPicker(this, IDC_SD_END_TIME, endTime, "HH:mm");
    SetDlgItemText(IDC_SD_STATUS, "");
    EnableControls(true);
    if (CWnd* del = GetDlgItem(IDC_SD_DELETE)) {
        del->EnableWindow(FALSE);
        del->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void CDlgServerFiles::OnShowWindow()
{
    CWebWatchNB* camera = Camera();
    if (!camera)
        return;
    m_strFolder = camera->GetDownloadPath();
    VxcamApp().MakeSureFolder(m_strFolder);
    SetDlgItemText(IDC_SD_FOLDER, m_strFolder);
    RemoveStaleParts();
}

void CDlgServerFiles::RemoveStaleParts()
{
    // A running download's part is locked and stays; only a killed run's go.
    for (const CString& folder : {m_strFolder, VxcamApp().GetAppPath() + "temp/"}) {
        if (!folder.IsEmpty()) {
            int removed = vxnet_remove_stale_parts(folder);
            if (removed > 0)
                vx_log(VX_LOG_INFO, "CDlgServerFiles: %d stale part files removed from %s", removed,
                       static_cast<const char*>(folder));
        }
    }
}

const STSearchFile* CDlgServerFiles::RowFile(int nRow) const
{
    if (nRow < 0 || nRow >= m_list.GetItemCount())
        return nullptr;
    DWORD_PTR index = m_list.GetItemData(nRow);
    return index < static_cast<DWORD_PTR>(m_results.GetSize()) ? &m_results[static_cast<INT_PTR>(index)] : nullptr;
}

SdCardWorker::Row CDlgServerFiles::WorkerRow(int nRow) const
{
    const STSearchFile* f = RowFile(nRow);
    return f ? SdCardWorker::Row{f->strLink, f->strName, f->strSize, nRow} : SdCardWorker::Row{};
}

BOOL CDlgServerFiles::DestroyWindow()
{
    // Whatever the link's state: a worker never outlives its page.
    if (m_worker)
        m_worker->Stop();
    return CDlgTabItem::DestroyWindow();
}

void CDlgServerFiles::EnableControls(bool bEnable)
{
    for (int id : kRangeControls) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(bEnable);
    }
    for (int id : {IDC_SD_SEARCH, IDC_SD_BROWSE, IDC_SD_LIST}) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(bEnable);
    }
    if (CWnd* w = GetDlgItem(IDC_SD_DOWNLOAD))
        w->EnableWindow(bEnable && m_list.GetSafeHwnd() && m_list.GetSelectedCount() > 0);
    if (CWnd* w = GetDlgItem(IDC_SD_STOP))
        w->EnableWindow(!bEnable);
}

void CDlgServerFiles::OnSearch()
{
    if (IsBusy())
        return;
    EnableControls(false);
    COleDateTime startDate = PickerValue(this, IDC_SD_START_DATE);
    COleDateTime endDate = PickerValue(this, IDC_SD_END_DATE);
    COleDateTime startTime = PickerValue(this, IDC_SD_START_TIME);
    COleDateTime endTime = PickerValue(this, IDC_SD_END_TIME);
    bool datesValid = startDate.GetStatus() == COleDateTime::valid && endDate.GetStatus() == COleDateTime::valid;
    if (datesValid
        && (startDate.GetYear() * 10000 + startDate.GetMonth() * 100 + startDate.GetDay()
            > endDate.GetYear() * 10000 + endDate.GetMonth() * 100 + endDate.GetDay())) {
        CString extra =
            "\n(" + startDate.Format("%m/%d/%Y %H:%M:%S") + " - " + endDate.Format("%m/%d/%Y %H:%M:%S") + ")";
        ShowMessageByIdEx(this, IDS_ERROR, IDS_SD_INVALID_DATE, extra, MB_ICONERROR);
        EnableControls(true);
        GotoDlgCtrl(GetDlgItem(IDC_SD_END_DATE));
        return;
    }
    bool sameDay = datesValid && startDate.GetYear() == endDate.GetYear() && startDate.GetMonth() == endDate.GetMonth()
                   && startDate.GetDay() == endDate.GetDay();
    if (sameDay
        && (endTime.GetHour() < startTime.GetHour()
            || (endTime.GetHour() == startTime.GetHour() && endTime.GetMinute() < startTime.GetMinute()))) {
        ShowMessageById(this, IDS_ERROR, IDS_SD_INVALID_TIME, MB_ICONERROR);
        // Every control again, not only Search: the pickers must be usable
        // to mend the range.
        EnableControls(true);
        GotoDlgCtrl(GetDlgItem(IDC_SD_END_TIME));
        return;
    }
    CWebWatchNB* camera = Camera();
    if (!camera || !camera->IsLogin()) {
        ShowMessageById(this, IDS_ERROR, m_bRecord ? IDS_SD_QUERY_RECORD_FAILED : IDS_SD_QUERY_SNAPSHOT_FAILED,
                        MB_ICONERROR);
        EnableControls(true);
        return;
    }
    COleDateTime start, end;
    start.SetDateTime(startDate.GetYear(), startDate.GetMonth(), startDate.GetDay(), startTime.GetHour(),
                      startTime.GetMinute(), 0);
    end.SetDateTime(endDate.GetYear(), endDate.GetMonth(), endDate.GetDay(), endTime.GetHour(), endTime.GetMinute(),
                    59);
    m_list.DeleteAllItems();
    m_bJobRunning = m_worker->StartSearch(m_pOwner->CameraInfo(), start, end, m_bRecord);
    if (!m_bJobRunning)
        EnableControls(true);
}

void CDlgServerFiles::OnChooseFolder()
{
    char display[MAX_PATH] = {};
    CString title = VxcamString(IDS_SD_SAVE_PATH);
    BROWSEINFO bi = {};
    bi.hwndOwner = GetSafeHwnd();
    bi.pszDisplayName = display;
    bi.lpszTitle = title;
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(static_cast<const char*>(m_strFolder));
    LPITEMIDLIST pidl = SHBrowseForFolder(&bi);
    if (!pidl)
        return;
    char path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDList(pidl, path);
    CoTaskMemFree(pidl);
    if (!ok || !path[0])
        return;
    m_strFolder = path;
    if (CWebWatchNB* camera = Camera())
        camera->SetDownloadPath(m_strFolder);
    SetDlgItemText(IDC_SD_FOLDER, m_strFolder);
}

void CDlgServerFiles::OnDownload()
{
    if (IsBusy())
        return;
    if (m_list.GetSelectedCount() == 0) {
        ShowMessageById(this, IDS_ERROR, IDS_SD_NO_FILE_SELECTED, MB_ICONERROR);
        return;
    }
    CWebWatchNB* camera = Camera();
    // An empty folder would put the files at the root.
    if (!camera || !camera->IsLogin() || m_strFolder.IsEmpty()) {
        ShowMessageById(this, IDS_ERROR, IDS_SD_DOWNLOAD_FAILED, MB_ICONERROR);
        return;
    }
    std::vector<SdCardWorker::Row> rows;
    for (int i = m_list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = m_list.GetNextItem(i, LVNI_SELECTED))
        rows.push_back(WorkerRow(i));
    CString format = VxcamString(IDS_SD_DOWNLOADING);
    CString status;
    status.Format(format, 1, static_cast<int>(rows.size()));
    SetDlgItemText(IDC_SD_STATUS, status);
    EnableControls(false);
    m_bJobRunning = m_worker->StartDownload(m_pOwner->CameraInfo(), std::move(rows), m_strFolder,
                                            m_bRecord ? 180000 : 10000, format);
    if (!m_bJobRunning)
        EnableControls(true);
}

void CDlgServerFiles::OnStop()
{
    CWaitCursor wait;
    m_worker->Stop();
    // The job's end message may still be on its way: take the result now.
    OnWorkerDone(0, 0);
}

void CDlgServerFiles::OnListChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (!IsBusy()) {
        if (CWnd* w = GetDlgItem(IDC_SD_DOWNLOAD))
            w->EnableWindow(m_list.GetSelectedCount() > 0);
    }
}

void CDlgServerFiles::OnListDoubleClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const int row = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
    if (row < 0 || row >= m_list.GetItemCount())
        return;
    if (m_bRecord)
        PlayRow(row);
    else
        PreviewRow(row);
}

void CDlgServerFiles::PreviewRow(int nRow)
{
    CWebWatchNB* camera = Camera();
    // One job at a time: a running search or download keeps the worker.
    if (!camera || !camera->IsLogin() || IsBusy())
        return;
    SdCardWorker::Row row = WorkerRow(nRow);
    if (row.strLink.IsEmpty())
        return;
    // A file of this preview's own, so two windows never share one picture.
    CString folder = VxcamApp().GetAppPath() + "temp/";
    if (!VxcamApp().MakeSureFolder(folder))
        return;
    std::string pattern = std::string(static_cast<const char*>(folder)) + "preview-XXXXXX.jpg";
    int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) {
        vx_log(VX_LOG_ERROR, "CDlgServerFiles: no preview file in %s", static_cast<const char*>(folder));
        return;
    }
    ::close(fd);
    m_strPreviewFile = pattern.c_str();
    m_strPreviewName = m_list.GetItemText(nRow, 1);
    EnableControls(false);  // Stop stays: a slow camera's picture can be called off
    m_bJobRunning = m_worker->StartFetch(m_pOwner->CameraInfo(), row, m_strPreviewFile, 10000);
    if (!m_bJobRunning)
        ShowPreview(false);
}

void CDlgServerFiles::ShowPreview(bool bFetched)
{
    if (bFetched) {
        CPreviewPic preview(m_strPreviewFile, m_strPreviewName, m_pOwner);
        preview.DoModal();
    }
    ::unlink(m_strPreviewFile);
    m_strPreviewFile.Empty();
    EnableControls(true);
}

void CDlgServerFiles::PlayRow(int nRow)
{
    CWebWatchNB* camera = Camera();
    if (!camera || !camera->IsLogin())
        return;
    // A camera reached by its P2P id plays only over a direct address.
    if (m_pOwner->CameraInfo().nEntryType == WATCH_ENTRY_P2P_ID && !camera->GetUseIPForP2P())
        return;
    const STSearchFile* file = RowFile(nRow);
    if (!file || file->strLink.IsEmpty())
        return;
    CString link = file->strLink;
    // Owned by the settings window, so that window waits while it plays.
    CDlgServerRecordPlay player(m_pOwner);
    player.m_pSetupDlg = m_pOwner;
    player.m_strLink = link;
    player.m_strName = m_list.GetItemText(nRow, 1);
    player.DoModal();
}

LRESULT CDlgServerFiles::OnWorkerStatus(WPARAM, LPARAM)
{
    // Until its result is taken: the last file's " - Failed" shows too.
    if (m_worker && m_bJobRunning)
        SetDlgItemText(IDC_SD_STATUS, m_worker->StatusText());
    return 0;
}

CString CDlgServerFiles::SearchNotice(const SdCardWorker::Result& r) const
{
    CString notice;
    if (!r.outcome.tooLarge.IsEmpty()) {
        notice.Format(VxcamString(IDS_SD_PAGE_TOO_LARGE),
                      static_cast<const char*>(
                          CSearchSDCard::ShownText(CString(CSearchSDCard::PercentDecoded(r.outcome.tooLarge.view())))));
    } else if (r.outcome.capped) {
        notice.Format(VxcamString(IDS_SD_RESULTS_CAPPED), static_cast<int>(r.files.GetSize()));
    } else if (r.outcome.pagesCapped) {
        notice.Format(VxcamString(IDS_SD_PAGES_CAPPED), r.outcome.pages);
    }
    return notice;
}

LRESULT CDlgServerFiles::OnWorkerDone(WPARAM, LPARAM)
{
    // Stop takes the result at once; the job's own message comes later.
    if (!m_worker || !m_bJobRunning || m_worker->Busy())
        return 0;
    m_bJobRunning = false;
    SdCardWorker::Result r = m_worker->TakeResult();
    if (r.fetch) {
        // The page stays disabled while the preview shows.
        ShowPreview(r.fetched && !r.stopped);
        return 0;
    }
    EnableControls(true);
    SetDlgItemText(IDC_SD_STATUS, "");
    if (r.search) {
        if (!r.connected && !r.stopped) {
            ShowMessageById(this, IDS_ERROR, m_bRecord ? IDS_SD_QUERY_RECORD_FAILED : IDS_SD_QUERY_SNAPSHOT_FAILED,
                            MB_ICONERROR);
            return 0;
        }
        m_list.SetRedraw(FALSE);
        m_results.Copy(r.files);
        for (INT_PTR i = 0; i < r.files.GetSize(); ++i) {
            const STSearchFile& f = r.files[i];
            CString number;
            number.Format("%d", static_cast<int>(i + 1));
            int row = m_list.InsertItem(static_cast<int>(i), number);
            m_list.SetItemData(row, static_cast<DWORD_PTR>(i));
            // Names are the camera's text: a control character shows as
            // its escape, never as a box or a broken line.
            m_list.SetItemText(row, 1, CSearchSDCard::ShownText(f.strName));
            m_list.SetItemText(row, 2, f.tmModified.Format("%m/%d/%Y %H:%M"));
            m_list.SetItemText(row, 3, CSearchSDCard::ShownText(f.strSize));
            m_list.SetItemText(row, 4, f.strLink);
        }
        m_list.SetRedraw(TRUE);
        CString notice = SearchNotice(r);
        if (!notice.IsEmpty())
            SetDlgItemText(IDC_SD_STATUS, notice);
        EnableControls(true);
        return 0;
    }
    if (r.stopped)
        return 0;
    if (!r.connected) {
        ShowMessageById(this, IDS_ERROR, IDS_SD_DOWNLOAD_FAILED, MB_ICONERROR);
        return 0;
    }
    if (r.failed == 0) {
        ShowMessageById(this, CaptionId(), IDS_SD_DOWNLOAD_DONE, MB_ICONINFORMATION);
        return 0;
    }
    // The failed rows stay selected, the others not: the person sees which
    // they are, and Download tries exactly them again.
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_list.SetItemState(i, 0, LVIS_SELECTED);
    for (int row : r.failedRows) {
        if (row >= 0 && row < m_list.GetItemCount())
            m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // The finish text, then how many failed and which.
    constexpr size_t kNamesShown = 10;
    CString failed;
    failed.Format(VxcamString(IDS_SD_DOWNLOAD_SOME_FAILED), r.failed, r.failed + r.downloaded);
    CString extra = "\n" + failed;
    for (size_t i = 0; i < r.failedNames.size() && i < kNamesShown; ++i)
        extra += "\n" + r.failedNames[i];
    if (r.failedNames.size() > kNamesShown)
        extra += "\n...";
    extra += "\n" + VxcamString(IDS_SD_FAILED_LEFT_SELECTED);
    ShowMessageByIdEx(this, CaptionId(), IDS_SD_DOWNLOAD_DONE, extra, MB_ICONWARNING);
    return 0;
}
