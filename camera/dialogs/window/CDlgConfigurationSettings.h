#pragma once
// One category of the settings window: a child dialog holding the
// category's tab strip and its pages. GUI thread only.

#include "camera/dialogs/window/CDlgConfigurationTabCtrl.h"
#include "platform/platform.h"

class CCameraSetupDlg;

class CDlgConfigurationSettings : public CDialog {
public:
    explicit CDlgConfigurationSettings(CCameraSetupDlg* pOwner);

    void SetOwner(CCameraSetupDlg* pOwner) { m_pOwner = pOwner; }
    void SetCategory(int nCode) { m_nCategory = nCode; }
    void ShowCurrentPage() { m_tabCtrl.ShowCurrentPage(); }

    // ---- members, in the order of their meaning ----
    CDlgConfigurationTabCtrl m_tabCtrl;
    CCameraSetupDlg* m_pOwner;
    int m_nCategory = 10;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
};
