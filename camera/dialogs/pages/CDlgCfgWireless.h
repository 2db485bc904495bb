#pragma once
// "Wireless Settings": switches the camera's Wi-Fi on or off and sets the
// network it joins (SSID, mode, security, encryption, key). "Search" lists
// the access points the camera sees (CDlgWireLess) and takes the chosen one;
// "Test" has the camera try the entered settings under the progress dialog.
// "Test" waits for a successful load like "Apply".
//
// GUI thread only. The test and the scan run on the settings window's
// request worker; the window's watchdog rests meanwhile, as its connection
// check would queue behind them. The test is the page base's countdown
// request; the window waits for the worker before it frees its camera
// object.

#include "camera/dialogs/forms/WirelessForm.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgCfgWireless : public CSettingsPage {
public:
    explicit CDlgCfgWireless(CCameraSetupDlg* pOwner);

    // The last test's result number (the progress dialog's), for tests.
    int LastTestResult() const { return m_nLastTestResult; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    void Applied(Request kind) override;
    void Failed(Request kind) override;

    BOOL OnInitDialog() override;
    void OnEnableClicked();
    void OnSecurityChanged();
    void OnSearch();  // CDlgCfgWireless_Test.cpp
    void OnTest();    // CDlgCfgWireless_Test.cpp
    DECLARE_MESSAGE_MAP()

private:
    wireless_form::Values ReadValues() const;
    void ShowValues(const wireless_form::Values& v);
    // Shows or hides the fields by "Enable wireless" and the link type.
    void UpdateFields();
    // The security type enables the encryption and the key.
    void UpdateSecurity();
    // Shows a refusal and puts the focus on its field; false when refused.
    bool Accept(const wireless_form::Values& v);
    void RunTest();  // CDlgCfgWireless_Test.cpp

    bool m_bWired = true;
    int m_nLastTestResult = 0;
};
