#pragma once
// The two memory-card browser pages, "Record Query" (CDlgServerRecord) and
// "Snapshot Query" (CDlgServerSnapshot), over one base: a date and time
// range, a search of the card, a list of the files found, and the download
// of the chosen ones into a local folder. A double click plays a recording
// in the modal player or shows a picture in the preview.
//
// Threads: the page on the GUI thread; its one SdCardWorker runs the search
// or a download and posts its status and its end. Stop, the destruction of
// the page and a new job always stop and join the worker first.

#include "camera/dialogs/sdcard/SdCardWorker.h"
#include "ui/controls/CDlgTabItem.h"
#include "ui/controls/CMyListCtrl.h"

#include <memory>

class CCameraSetupDlg;
class CWebWatchNB;

class CDlgServerFiles : public CDlgTabItem {
public:
    CDlgServerFiles(UINT nTemplateId, CCameraSetupDlg* pOwner, int bRecord);
    ~CDlgServerFiles() override;

    BOOL DestroyWindow() override;
    // A job runs, or its result is still to be shown.
    bool IsBusy() const { return m_bJobRunning || (m_worker && m_worker->Busy()); }
    CString DownloadFolder() const { return m_strFolder; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnShowWindow() override;
    void OnSearch();
    void OnChooseFolder();
    void OnDownload();
    void OnStop();
    void OnListChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnListDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    // The row's recording in the modal player.
    void PlayRow(int nRow);
    // The row's picture, fetched by the worker into a file of its own, then
    // in the modal preview.
    void PreviewRow(int nRow);
    void ShowPreview(bool bFetched);
    LRESULT OnWorkerStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnWorkerDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void EnableControls(bool bEnable);
    UINT CaptionId() const;
    CWebWatchNB* Camera() const;
    // The search's entry behind a list row (its item data); null for none.
    const STSearchFile* RowFile(int nRow) const;
    SdCardWorker::Row WorkerRow(int nRow) const;
    // The search's notice: a page too large, results or pages cut short.
    CString SearchNotice(const SdCardWorker::Result& r) const;
    // Part files of a download a killed run left in the page's folders.
    void RemoveStaleParts();

    CCameraSetupDlg* m_pOwner;
    int m_bRecord;
    CMyListCtrl m_list;
    CString m_strFolder;
    CArray<STSearchFile> m_results;  // the last search's entries, as the card gave them
    std::unique_ptr<SdCardWorker> m_worker;
    bool m_bJobRunning = false;  // a job's result is still to be taken
    CString m_strPreviewFile;    // the fetched picture's file, removed after the preview
    CString m_strPreviewName;
};

class CDlgServerRecord : public CDlgServerFiles {
public:
    explicit CDlgServerRecord(CCameraSetupDlg* pOwner);
};

class CDlgServerSnapshot : public CDlgServerFiles {
public:
    explicit CDlgServerSnapshot(CCameraSetupDlg* pOwner);
};
