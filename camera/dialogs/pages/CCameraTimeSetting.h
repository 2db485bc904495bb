#pragma once
// "Name & Time": the camera's clock settings, its overlays and its name, and
// setting the camera clock from the PC's. Its running clock is its own.
// GUI thread only.

#include "camera/dialogs/forms/TimeSettingsForm.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CCameraTimeSetting : public CSettingsPage {
public:
    explicit CCameraTimeSetting(CCameraSetupDlg* pOwner);

    const time_form::Values& Values() const { return m_values; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    void Applied(Request kind) override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnZoneChange();
    void OnSync();
    DECLARE_MESSAGE_MAP()

private:
    void UpdateDaylightAvailability();
    bool OwnCodes() const;

    time_form::Values m_values;
    int m_nZone = -1;
    int m_bDaylight = 0;
    CString m_strNtpServer;
    int m_nNtpInterval = 0;  // combo index: hours - 1
    int m_bNtpEnabled = 1;
    int m_nTimePlace = 0;
    int m_nDateFormat = 0;
    int m_bShowTime = 0;
    CString m_strName;
    int m_nNamePlace = 0;
    int m_bShowName = 0;
};
