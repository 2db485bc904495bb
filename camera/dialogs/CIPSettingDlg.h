#pragma once
// "Network Settings": address mode, addresses, DNS, the HTTP, RTSP and RTMP
// ports, RTSP authentication and UPnP. GUI thread only.

#include "camera/dialogs/CSettingsPage.h"
#include "camera/dialogs/NetworkSettingsForm.h"

class CIPSettingDlg : public CSettingsPage {
public:
    explicit CIPSettingDlg(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    bool JobDone(Request kind, const RequestJob& job) override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnModeChange();
    void OnTestUpnp();
    DECLARE_MESSAGE_MAP()

private:
    network_form::Address ReadAddress(int id) const;
    void ShowAddress(int id, const network_form::Address& a);
    void UpdateEnabled();
    // The UPnP test's steps after its switch request.
    void WaitForUpnp();

    enum class Step { Switch, Status };
    Step m_step = Step::Switch;

    network_form::Values m_loaded;   // as the last load read them
    network_form::Values m_applied;  // as the apply in flight sends them
    int m_nIpType = 0;
    int m_nDnsType = 0;
    int m_nHttpPort = 80;
    int m_nRtspPort = 554;
    int m_nRtmpPort = 1935;
    int m_bRtspAuth = 0;
    int m_bUpnp = 0;
};
