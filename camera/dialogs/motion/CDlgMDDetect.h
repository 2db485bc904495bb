#pragma once
// "Motion Detection Record": up to four detection areas with one
// sensitivity (drawn in the zone dialog on a snapshot), the alarm
// snapshot count, the alarm actions, the smart detection of cameras with
// one or two streams, and the weekly detection schedule. The request rules
// live in motion_form (MotionForms.h); this window shows them.
//
// Files: CDlgMDDetect.cpp (load, apply, schedule), CDlgMDDetect_Actions.cpp
// (smart detection controls, the record coupling, the zone dialog).
//
// GUI thread only; the zone dialog runs modally on the same thread and
// ends with the page (a window closed meanwhile drops its download).

#include "camera/dialogs/forms/MotionForms.h"
#include "camera/dialogs/window/CSettingsPage.h"
#include "camera/dialogs/window/CWeekScheduleControls.h"

#include <memory>

class CMotionPic;

class CDlgMDDetect : public CSettingsPage {
public:
    explicit CDlgMDDetect(CCameraSetupDlg* pOwner);

    // The areas as the page would apply them.
    const motion_form::Values& Shown() const { return m_values; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    void Applied(Request kind) override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDayChanged();
    void OnPairChanged(UINT nId);
    void OnDetectionClicked();
    void OnRecordToCardClicked();
    void OnUploadRecordClicked();
    void OnZones();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // Shows the smart detection controls the camera and "Detection" call for.
    void ShowSmartControls();
    // Fits the target combo to the model and puts the tracking check where
    // the combo stands on models without one.
    void ArrangeSmartControls();

    CWeekScheduleControls m_schedule;
    motion_form::Values m_values;
    CRect m_rcDetection, m_rcTargets, m_rcTracking;  // as the template places them
    // Control values (combo indexes and checks).
    int m_nSensitivity = 49;  // "50"
    int m_nSnapCount = 0;     // "1"
    int m_bEmail = 0, m_bFtpSnap = 0, m_bFtpRec = 0, m_bSdSnap = 0, m_bSdRec = 0;
    int m_bSmart = 0, m_nSmartType = 0, m_bTracking = 0;
    CMotionPic* m_pZones = nullptr;  // while the zone dialog runs
    // Gone with the page: a zone dialog that outlived its page learns it here.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};
