#pragma once
// "FTP Settings": the server the camera uploads to, and its test.
// GUI thread only.

#include "camera/dialogs/forms/MailForms.h"
#include "camera/dialogs/window/CSettingsTestPage.h"

class CDlgFTPSetup : public CSettingsTestPage {
public:
    explicit CDlgFTPSetup(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override { return ftp_form::kLoadPath; }
    void ShowValues(const CString& reply) override;
    CString ApplyPath() override;
    CString TestPath() const override { return "/cgi-bin/hi3510/param.cgi?cmd=testftp"; }
    int TestTextId() const override;
    UINT TestResultText(int result) const override { return ftp_form::TestResultText(result); }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    ftp_form::Values m_v;
    int m_bPassive = 1;
};
