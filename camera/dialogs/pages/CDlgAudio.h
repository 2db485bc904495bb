#pragma once
// "Audio Settings": audio encoding per video stream, its format, the input
// type and both volumes. GUI thread only.

#include "camera/dialogs/forms/DeviceSettingsForms.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CDlgAudio : public CSettingsPage {
public:
    explicit CDlgAudio(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;

    void DoDataExchange(CDataExchange* pDX) override;

private:
    int Streams() const;

    audio_form::Values m_values;
    int m_nFormat = 0;
    int m_bEnabled[3] = {};
    int m_nInputType = 0;
    int m_nInputVolume = 50;
    int m_nOutputVolume = 50;
};
