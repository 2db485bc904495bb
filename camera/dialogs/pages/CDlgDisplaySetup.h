#pragma once
// "Display Setup": the camera's image attributes beside their sliders, the
// image switches, exposure, gain, shutter and the IR-cut threshold, and a
// reset to the camera's defaults. GUI thread only.

#include "camera/dialogs/forms/ImageSettingsForms.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgDisplaySetup : public CSettingsPage {
public:
    explicit CDlgDisplaySetup(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    bool JobDone(Request kind, const RequestJob& job) override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSliderDraw(UINT id, NMHDR* hdr, LRESULT* result);
    void OnSliderReleased(UINT id, NMHDR* hdr, LRESULT* result);
    void OnEditChange(UINT id);
    void OnEditKillFocus(UINT id);
    void OnSetDefault();
    DECLARE_MESSAGE_MAP()

private:
    // The quantity whose slider or edit has this id; -1 for none.
    static int QuantityOf(UINT id, bool slider);
    CSliderCtrl* SliderOf(int q) const;
    // The edit shows its slider's position.
    void ShowSliderValue(int q);

    display_form::Values m_values;
    int m_bFlip = 0, m_bMirror = 0, m_bNight = 0, m_bSmooth = 0, m_bWdr = 0;
    int m_nAeMode = 0, m_nDisplayMode = 1;
    int m_nShutter = 0, m_nGain = 0, m_nIrCut = 512;
};
