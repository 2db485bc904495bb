#pragma once
// The recording search dialog (template 366): a camera, a date and time
// range, the segments of the camera's record folder that overlap it (found
// by CSearchRecordFile), and per row open, open folder, delete, cut and
// copy. Its features live in CRecordQueryDlg.cpp (opening, search) and
// CRecordQueryDlg_Rows.cpp (row actions, clipboard).
//
// Threads: the GUI thread only; the search runs synchronously under the
// wait cursor. No lock.

#include "recorder/CSearchRecordFile.h"
#include "recorder/Records.h"

#include "platform/platform.h"

#include <string>

class CRecordQueryDlg : public CDialog {
public:
    explicit CRecordQueryDlg(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;

    // The block placed on the clipboard for a cut or copy of `path`: a
    // file-drop list of UTF-16 names.
    static std::string DropFilesBlock(const CString& path);

    CListCtrl& List() { return m_list; }
    int ClickedRow() const { return m_nClickedRow; }

    COleDateTime m_dtStartDate;
    COleDateTime m_dtEndDate;
    COleDateTime m_dtStartTime;
    COleDateTime m_dtEndTime;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnSearch();
    void OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnListRClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnOpen();
    void OnOpenFolder();
    void OnDelete();
    void OnCut();
    void OnCopy();
    DECLARE_MESSAGE_MAP()

private:
    void EnableSearch(BOOL enable);
    // Search from reading the controls on; false when the range was refused.
    bool RunSearch();
    void FillList(const CArray<STRecordFileKst>& results);
    CString ClickedPath() const;
    void PlaceOnClipboard(DWORD effect);

    CComboBox m_cmbCamera;
    CListCtrl m_list;
    CArray<STCameraInfoKst> m_arrPlans;
    int m_nClickedRow = -1;
};
