#pragma once
// "PTZ Settings": pan and tilt speed and moving home at start, for cameras
// of the system's own vendor; for others the page stays inert. GUI thread only.

#include "camera/dialogs/forms/DeviceSettingsForms.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgPTZ : public CSettingsPage {
public:
    explicit CDlgPTZ(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override { return ptz_form::kLoadPath; }
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    int m_nSpeed = 1;
    int m_nHome = 0;  // radio index: 0 on, 1 off
};
