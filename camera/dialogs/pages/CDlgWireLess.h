#pragma once
// "Wireless Device": the modal scan of the access points the camera sees.
// "Search" runs the camera's scan as a job of the settings window's request
// worker while a timer walks the bar; the GUI thread fills the list (the
// signal strength as a bar column) from the reply. "Add" hands the chosen
// row's settings back (Result*) and ends with IDOK.
//
// Closing ends the dialog at once: a scan under way runs on to its answer
// or time-out on the worker and its result is dropped (the job's message
// finds no window). Nothing waits for it and nothing is cut off.
//
// GUI thread only; the job is read only after the worker posted it done.

#include "camera/dialogs/forms/WirelessForm.h"
#include "camera/dialogs/window/CRequestWorker.h"
#include "ui/controls/CListCtrlEx.h"

#include <memory>
#include <vector>

class CCameraSetupDlg;

#define UM_WIRELESS_SCAN_DONE (WM_USER + 626)

class CDlgWireLess : public CDialog {
public:
    CDlgWireLess(CCameraSetupDlg* pOwner, CWnd* pParent);
    ~CDlgWireLess() override;

    INT_PTR DoModal() override;

    // The chosen access point, after IDOK.
    CString m_strSSID;
    int m_nEncrypt = 0;
    int m_nMode = 0;
    int m_nSecurity = 0;

    // What the last scan listed (for tests).
    const std::vector<wireless_form::ScanRow>& Rows() const { return m_rows; }
    bool IsScanning() const { return m_job != nullptr; }

    CListCtrlEx m_list;
    CProgressCtrl m_progress;
    CImageList m_images;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter and Escape do not end the dialog.
    void OnOK() override {}
    void OnCancel() override {}
    void OnSearch();
    void OnAdd();
    void OnClose();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnScanDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void EnableSearch(bool enable);
    void StopStepping();
    void ShowRows(const wireless_form::ScanResult& result);

    CCameraSetupDlg* m_pOwner;
    std::shared_ptr<RequestJob> m_job;
    std::vector<wireless_form::ScanRow> m_rows;
    bool m_bTimerSet = false;
};
