#pragma once
// "Video Setup": video format, codec profile and, per stream, resolution,
// bit rate, frame rate, bit rate type, I-frame interval and image quality;
// "Smartphone and Pad" opens the mobile snapshot size dialog. GUI thread
// only.

#include "camera/dialogs/forms/VideoEncodeForm.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CVideoEncodeSettingDlg : public CSettingsPage {
public:
    explicit CVideoEncodeSettingDlg(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;

    BOOL OnInitDialog() override;
    void OnPrimaryChange();
    void OnSecondaryChange();
    void OnTertiaryChange();
    void OnFormatChange();
    void OnSliderDraw(UINT id, NMHDR* hdr, LRESULT* result);
    void OnBitrateKillFocus(UINT id);
    void OnMobile();
    DECLARE_MESSAGE_MAP()

private:
    int Streams() const;
    CComboBox* Combo(int id) const { return static_cast<CComboBox*>(GetDlgItem(id)); }
    CSliderCtrl* SliderAt(int stream) const;
    // The combos show the lists; the sliders take their ranges.
    void ShowLists();
    void ReadSelections();
    void FillFrameRates(bool pal);
    std::string ResolutionText(int stream) const;
    void ShowBitrate(int stream);

    video_form::Values m_values;
    video_form::Lists m_lists;
};
