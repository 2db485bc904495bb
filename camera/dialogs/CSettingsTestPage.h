#pragma once
// A settings page with a "Test" button (e-mail, FTP): the test first writes
// the entered settings as "Apply" does, then the camera tries them under
// the progress dialog while the window's watchdog rests, and the result
// number picks the box. "Test" waits for a successful load like "Apply".
// The camera's try is a job of the window's request worker, as every other
// request: the progress dialog only counts down, and a window closed during
// the test ends the dialog at once and leaves the job's end to the worker.
// GUI thread only.

#include "camera/dialogs/CSettingsPage.h"

#include <memory>

class CProgressDlg;

#define UM_TEST_DONE (WM_APP + 123)

class CSettingsTestPage : public CSettingsPage {
public:
    CSettingsTestPage(UINT nTemplateId, UINT nLabelId, CCameraSetupDlg* pOwner);

    // The last test's result number (the progress dialog's), for tests.
    int LastTestResult() const { return m_nLastResult; }

protected:
    virtual CString TestPath() const = 0;
    virtual int TestTextId() const = 0;
    virtual UINT TestResultText(int result) const = 0;

    BOOL OnInitDialog() override;
    void ShowLoaded(const CString& reply) override;
    void Applied(Request kind) override;
    void Failed(Request kind) override;
    void OnTest();
    LRESULT OnTestDone(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // The page's own part of a load.
    virtual void ShowValues(const CString& reply) = 0;

private:
    void RunTest();

    int m_nLastResult = 1;
    std::shared_ptr<RequestJob> m_testJob;
    CProgressDlg* m_pProgress = nullptr;  // while the test's dialog runs
};
