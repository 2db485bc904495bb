#pragma once
// "Email Settings": the camera's outgoing mail (server, encryption, account,
// sender, three receivers, subject, message, alarm snapshot size) and its
// test. GUI thread only.

#include "camera/dialogs/forms/MailForms.h"
#include "camera/dialogs/window/CSettingsTestPage.h"

class CDlgEmailSetting : public CSettingsTestPage {
public:
    explicit CDlgEmailSetting(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowValues(const CString& reply) override;
    CString ApplyPath() override;
    CString TestPath() const override { return "/cgi-bin/hi3510/param.cgi?cmd=testsmtp"; }
    int TestTextId() const override;
    UINT TestResultText(int result) const override { return mail_form::TestResultText(result); }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAuthentication();
    DECLARE_MESSAGE_MAP()

private:
    int Streams() const;
    void UpdateEnabling();

    mail_form::Values m_v;
    int m_bAuth = 1;
};
