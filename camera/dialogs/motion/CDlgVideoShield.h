#pragma once
// "Video Shield": up to 16 privacy rectangles drawn on a snapshot of the
// camera, in the chosen colour. No category of the settings window makes
// this page and it sends no settings: "Apply" only reads the controls.
// GUI thread only.

#include "camera/dialogs/motion/CMotionPic.h"

class CDlgVideoShield : public CZoneDialog {
public:
    CDlgVideoShield(CCameraSetupDlg* pOwner, CWnd* pParent);

    static constexpr int kMaxRectangles = 16;
    BOOL m_bEnable = FALSE;
    int m_nColour = 0;  // 0 red, 1 green, 2 black

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void DoDataExchange(CDataExchange* pDX) override;
    void PictureArrived(bool ok) override;
    void PressRefused() override;
    zones::Size VideoSizeFor(zones::Size picture) const override { return picture; }
    void OnRefresh();
    void OnClearAll();
    void OnClearSelected();
    void OnColour();
    void OnApply();
    DECLARE_MESSAGE_MAP()
};
