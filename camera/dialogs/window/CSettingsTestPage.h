#pragma once
// A settings page with a "Test" button (e-mail, FTP): the test first writes
// the entered settings as "Apply" does, then the camera tries them under
// the progress dialog while the window's watchdog rests, and the result
// number picks the box. "Test" waits for a successful load like "Apply".
// The camera's try is the page base's countdown request.
// GUI thread only.

#include "camera/dialogs/window/CSettingsPage.h"

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
    DECLARE_MESSAGE_MAP()

    // The page's own part of a load.
    virtual void ShowValues(const CString& reply) = 0;

private:
    void RunTest();

    int m_nLastResult = 1;
};
