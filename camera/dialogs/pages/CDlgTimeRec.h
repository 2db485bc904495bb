#pragma once
// "Schedule Continuous Record": plan recording on or off and the half-hours
// of the week it records. GUI thread only.

#include "camera/dialogs/window/CSettingsPage.h"
#include "camera/dialogs/window/CWeekScheduleControls.h"

class CDlgTimeRec : public CSettingsPage {
public:
    explicit CDlgTimeRec(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    void Applied(Request kind) override;

    void OnDayChanged();
    void OnPairChanged(UINT nId);
    DECLARE_MESSAGE_MAP()

private:
    CWeekScheduleControls m_schedule;
};
