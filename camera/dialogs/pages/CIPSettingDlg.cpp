#include "camera/dialogs/pages/CIPSettingDlg.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "resources/vxcam/resource.h"

using namespace network_form;

BEGIN_MESSAGE_MAP(CIPSettingDlg, CSettingsPage)
ON_BN_CLICKED(IDC_NET_APPLY, OnApply)
ON_CBN_SELCHANGE(IDC_NET_IP_TYPE, OnModeChange)
ON_CBN_SELCHANGE(IDC_NET_DNS_TYPE, OnModeChange)
ON_BN_CLICKED(IDC_NET_TEST_UPNP, OnTestUpnp)
END_MESSAGE_MAP()

CIPSettingDlg::CIPSettingDlg(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_NETWORK, IDS_PAGE_NETWORK, pOwner, IDC_NET_APPLY)
{
    m_writeButtons.push_back(IDC_NET_TEST_UPNP);
}

BOOL CIPSettingDlg::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    UpdateData(FALSE);
    UpdateEnabled();
    return TRUE;
}

void CIPSettingDlg::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_NET_IP_TYPE, m_nIpType);
    DDX_CBIndex(pDX, IDC_NET_DNS_TYPE, m_nDnsType);
    DDX_Text(pDX, IDC_NET_HTTP_PORT, m_nHttpPort);
    DDV_MinMaxInt(pDX, m_nHttpPort, PortLowerBound(Protocol::Http), 49151);
    DDX_Text(pDX, IDC_NET_RTSP_PORT, m_nRtspPort);
    DDV_MinMaxInt(pDX, m_nRtspPort, PortLowerBound(Protocol::Rtsp), 49151);
    DDX_Text(pDX, IDC_NET_RTMP_PORT, m_nRtmpPort);
    DDV_MinMaxInt(pDX, m_nRtmpPort, PortLowerBound(Protocol::Rtmp), 49151);
    DDX_Check(pDX, IDC_NET_RTSP_AUTH, m_bRtspAuth);
    DDX_Check(pDX, IDC_NET_UPNP, m_bUpnp);
}

Address CIPSettingDlg::ReadAddress(int id) const
{
    Address a;
    auto* ctrl = static_cast<CIPAddressCtrl*>(GetDlgItem(id));
    BYTE f[4] = {};
    if (ctrl && ctrl->GetAddress(f[0], f[1], f[2], f[3]) == 4) {
        a.filled = true;
        for (int i = 0; i < 4; ++i)
            a.field[i] = f[i];
    }
    return a;
}

void CIPSettingDlg::ShowAddress(int id, const Address& a)
{
    auto* ctrl = static_cast<CIPAddressCtrl*>(GetDlgItem(id));
    if (!ctrl)
        return;
    if (a.filled)
        ctrl->SetAddress(static_cast<BYTE>(a.field[0]), static_cast<BYTE>(a.field[1]), static_cast<BYTE>(a.field[2]),
                         static_cast<BYTE>(a.field[3]));
    else
        ctrl->ClearAddress();
}

void CIPSettingDlg::UpdateEnabled()
{
    bool fixed = GetDlgItem(IDC_NET_IP_TYPE) && static_cast<CComboBox*>(GetDlgItem(IDC_NET_IP_TYPE))->GetCurSel() == 0;
    bool manualDns =
        GetDlgItem(IDC_NET_DNS_TYPE) && static_cast<CComboBox*>(GetDlgItem(IDC_NET_DNS_TYPE))->GetCurSel() == 0;
    for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY}) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(fixed);
    }
    if (CWnd* w = GetDlgItem(IDC_NET_DNS1))
        w->EnableWindow(manualDns);
    if (CWnd* w = GetDlgItem(IDC_NET_DNS2))
        w->EnableWindow(manualDns && Camera());
}

void CIPSettingDlg::OnModeChange()
{
    UpdateEnabled();
}

CString CIPSettingDlg::LoadPath()
{
    return kLoadPath;
}

void CIPSettingDlg::ShowLoaded(const CString& reply)
{
    m_loaded = Values();
    ParseLoad(reply, m_loaded);
    m_nIpType = m_loaded.dhcp ? 1 : 0;
    m_nDnsType = m_loaded.dnsType;
    m_nHttpPort = m_loaded.httpPort;
    m_nRtspPort = m_loaded.rtspPort;
    m_nRtmpPort = m_loaded.rtmpPort;
    m_bRtspAuth = m_loaded.rtspAuth;
    m_bUpnp = m_loaded.upnp;
    ShowAddress(IDC_NET_IP, m_loaded.ip);
    ShowAddress(IDC_NET_MASK, m_loaded.mask);
    ShowAddress(IDC_NET_GATEWAY, m_loaded.gateway);
    ShowAddress(IDC_NET_DNS1, m_loaded.dns1);
    ShowAddress(IDC_NET_DNS2, m_loaded.dns2);
    SetDlgItemText(IDC_NET_UPNP_STATUS, m_loaded.upnpStatus);
    UpdateData(FALSE);
    UpdateEnabled();
}

CString CIPSettingDlg::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    Values v;
    v.dhcp = m_nIpType == 1;
    v.ip = ReadAddress(IDC_NET_IP);
    v.mask = ReadAddress(IDC_NET_MASK);
    v.gateway = ReadAddress(IDC_NET_GATEWAY);
    v.dns1 = ReadAddress(IDC_NET_DNS1);
    v.dns2 = ReadAddress(IDC_NET_DNS2);
    v.dnsType = m_nDnsType < 0 ? 0 : m_nDnsType;
    v.httpPort = m_nHttpPort;
    v.rtspPort = m_nRtspPort;
    v.rtmpPort = m_nRtmpPort;
    v.rtspAuth = m_bRtspAuth != 0;
    v.upnp = m_bUpnp != 0;
    Check check = CheckValues(v, Camera() != nullptr);
    if (check.textId) {
        static const std::pair<Field, int> kFocus[] = {
            {Field::Ip, IDC_NET_IP},
            {Field::Mask, IDC_NET_MASK},
            {Field::Gateway, IDC_NET_GATEWAY},
            {Field::Dns1, IDC_NET_DNS1},
            {Field::HttpPort, IDC_NET_HTTP_PORT},
            {Field::RtspPort, IDC_NET_RTSP_PORT},
            {Field::RtmpPort, IDC_NET_RTMP_PORT},
        };
        if (check.proposeGateway)
            ShowAddress(IDC_NET_GATEWAY, ProposedGateway(v.ip, v.mask));
        ShowError(check.textId);
        for (const auto& [field, id] : kFocus) {
            if (field == check.field && GetDlgItem(id))
                GetDlgItem(id)->SetFocus();
        }
        return CString();
    }
    m_applied = v;
    return ComposeApply(v);
}

void CIPSettingDlg::OnTestUpnp()
{
    if (IsRequestPending() || !IsLoaded())
        return;
    CWaitCursor wait;
    m_step = Step::Switch;
    if (!StartRequest(Request::Sync, ComposeUpnpTest(IsDlgButtonChecked(IDC_NET_UPNP) == BST_CHECKED), true, 3000))
        ShowError(IDS_TEST_FAILED);
}

void CIPSettingDlg::WaitForUpnp()
{
    // The camera needs a few seconds to map its ports: a countdown without
    // requests, while the window's link check rests.
    if (m_pOwner)
        m_pOwner->StopWatchdog();
    std::weak_ptr<int> alive = LifeToken();
    {
        CProgressDlg wait(m_pOwner ? static_cast<CWnd*>(m_pOwner) : this);
        wait.SetTextId(IDS_PROGRESS_UPNP);
        wait.SetDuration(5);
        wait.DoModal();
    }
    // The settings window may have closed meanwhile, pages and all.
    if (alive.expired())
        return;
    if (m_pOwner)
        m_pOwner->StartWatchdog();
    m_step = Step::Status;
    if (!StartRequest(Request::Sync, "/cgi-bin/hi3510/param.cgi?cmd=getserverinfo", false, 3000))
        ShowError(IDS_GET_FAILED);
}

bool CIPSettingDlg::JobDone(Request, const RequestJob& job)
{
    m_strReply = job.reply;
    return false;
}

void CIPSettingDlg::Applied(Request kind)
{
    if (kind != Request::Sync)
        ShowSuccess();
    else if (m_step == Step::Switch)
        WaitForUpnp();
    else
        SetDlgItemText(IDC_NET_UPNP_STATUS, UpnpStatusText(m_strReply));
}

void CIPSettingDlg::Failed(Request kind)
{
    if (kind == Request::Sync) {
        ShowError(m_step == Step::Switch ? IDS_TEST_FAILED : IDS_GET_FAILED);
        return;
    }
    // A change of address or HTTP port makes the camera restart its network
    // before it answers: there the link dropped without a reply is success.
    if (m_strReply.IsEmpty() && RestartExpected(m_loaded, m_applied))
        ShowSuccess();
    else
        ShowError(IDS_APPLY_FAILED);
}
