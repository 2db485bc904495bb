#pragma once
// "Network Settings": address mode, addresses, DNS, the HTTP, RTSP and RTMP
// ports, RTSP authentication and UPnP. GUI thread only.
//
// Every box and the UPnP wait dialog run from Applied and Failed, the last
// step of the page's handling of a finished request: the settings window may
// close under a modal run, and nothing of the page is touched after one
// unless its window still exists.

#include "camera/dialogs/forms/NetworkSettingsForm.h"
#include "camera/dialogs/window/CSettingsPage.h"

class CIPSettingDlg : public CSettingsPage {
public:
    explicit CIPSettingDlg(CCameraSetupDlg* pOwner);

protected:
    CString LoadPath() override;
    void ShowLoaded(const CString& reply) override;
    CString ApplyPath() override;
    bool JobDone(Request kind, const RequestJob& job) override;
    void Applied(Request kind) override;
    void Failed(Request kind) override;

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
    CString m_strReply;              // the finished job's, for Applied and Failed
    int m_nIpType = 0;
    int m_nDnsType = 0;
    int m_nHttpPort = 80;
    int m_nRtspPort = 554;
    int m_nRtmpPort = 1935;
    int m_bRtspAuth = 0;
    int m_bUpnp = 0;
};
