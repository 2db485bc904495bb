#pragma once
// "User Accounts": renames the camera's three accounts and sets their
// passwords; single-account cameras show the administrator only. When the
// account the window logs in with changes, the window takes the new login
// and connects again with it. GUI thread only.

#include "camera/dialogs/forms/UserAccountsForm.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgCameraUser : public CSettingsPage {
public:
    explicit CDlgCameraUser(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override { return user_form::kLoadPath; }
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    void Applied(Request kind) override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void ShowRows();

    user_form::Values m_values;
    user_form::Values m_sent;  // what the apply in flight sends
};
