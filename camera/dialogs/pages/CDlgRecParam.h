#pragma once
// "Continuous Record Options": the length of each plan-record file, the
// stream recorded, and the card's state and sizes. GUI thread only.

#include "camera/dialogs/forms/ScheduleForms.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgRecParam : public CSettingsPage {
public:
    explicit CDlgRecParam(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    int m_nLength = 600;
    int m_nStream = 0;
};
