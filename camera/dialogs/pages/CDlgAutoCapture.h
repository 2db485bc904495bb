#pragma once
// "Auto Capture": timed snapshots to FTP, e-mail and the SD card, how their
// files are named and on which half-hours of the week they are taken.
// GUI thread only.

#include "camera/dialogs/window/CSettingsPage.h"
#include "camera/dialogs/window/CWeekScheduleControls.h"

class CDlgAutoCapture : public CSettingsPage {
public:
    explicit CDlgAutoCapture(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    void Applied(Request kind) override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSwitchChanged();
    void OnDayChanged();
    void OnPairChanged(UINT nId);
    DECLARE_MESSAGE_MAP()

private:
    void UpdateEnabling();
    void ExchangeInterval(CDataExchange* pDX, int id, int& interval, int enabled);

    CWeekScheduleControls m_schedule;
    int m_nNameMode = 1;
    CString m_strFileName;
    int m_bFtp = 0, m_bEmail = 0, m_bSd = 0;
    int m_nFtpInterval = 60, m_nEmailInterval = 60, m_nSdInterval = 60;
};
