#pragma once
// "Infrared Light Setup": how the camera lights the night, in the variant
// its model and firmware call for (lamp, new style, on/off only or older
// with an IR-cut choice). GUI thread only.

#include "camera/dialogs/forms/ImageSettingsForms.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgIRLights : public CSettingsPage {
public:
    explicit CDlgIRLights(CCameraSetupDlg* pOwner);

    const infrared_form::Variant& Variant() const { return m_variant; }

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    bool JobDone(Request kind, const RequestJob& job) override;

    BOOL OnInitDialog() override;
    void OnLightClicked();
    DECLARE_MESSAGE_MAP()

private:
    CString Model() const;
    infrared_form::Selection ReadSelection() const;
    void ShowSelection(const infrared_form::Selection& s);
    // Labels and visibility for the variant and the selected light option.
    void ApplyLayout();

    infrared_form::Variant m_variant;
    infrared_form::Selection m_applied;
};
