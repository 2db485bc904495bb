#include "camera/dialogs/pages/CDlgCfgWireless.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "resources/vxcam/resource.h"

using namespace wireless_form;

namespace {

// Shown only with Wi-Fi on.
const int kFieldIds[] = {IDC_WIFI_SSID_LABEL, IDC_WIFI_SSID,           IDC_WIFI_MODE_LABEL, IDC_WIFI_MODE,
                         IDC_WIFI_MODE_HINT,  IDC_WIFI_SECURITY_LABEL, IDC_WIFI_SECURITY,   IDC_WIFI_ENCRYPT_LABEL,
                         IDC_WIFI_ENCRYPT,    IDC_WIFI_KEY_LABEL,      IDC_WIFI_KEY};

}  // namespace

BEGIN_MESSAGE_MAP(CDlgCfgWireless, CSettingsPage)
ON_BN_CLICKED(IDC_WIFI_APPLY, OnApply)
ON_BN_CLICKED(IDC_WIFI_ENABLE, OnEnableClicked)
ON_CBN_SELCHANGE(IDC_WIFI_SECURITY, OnSecurityChanged)
ON_BN_CLICKED(IDC_WIFI_SEARCH, OnSearch)
ON_BN_CLICKED(IDC_TEST, OnTest)
END_MESSAGE_MAP()

CDlgCfgWireless::CDlgCfgWireless(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_WIRELESS, IDS_PAGE_WIRELESS, pOwner, IDC_WIFI_APPLY)
{
    m_writeButtons.push_back(IDC_TEST);
}

BOOL CDlgCfgWireless::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    ShowValues(Values{});
    return TRUE;
}

Values CDlgCfgWireless::ReadValues() const
{
    Values v;
    v.enabled = IsDlgButtonChecked(IDC_WIFI_ENABLE) == BST_CHECKED;
    char buf[256] = {};
    GetDlgItemText(IDC_WIFI_SSID, buf, sizeof buf);
    v.ssid = buf;
    GetDlgItemText(IDC_WIFI_KEY, buf, sizeof buf);
    v.key = buf;
    auto selection = [this](int id) {
        const CWnd* combo = GetDlgItem(id);
        return combo ? static_cast<int>(combo->SendMessage(CB_GETCURSEL)) : 0;
    };
    v.security = selection(IDC_WIFI_SECURITY);
    v.encryption = selection(IDC_WIFI_ENCRYPT);
    v.mode = selection(IDC_WIFI_MODE);
    return v;
}

void CDlgCfgWireless::ShowValues(const Values& v)
{
    CheckDlgButton(IDC_WIFI_ENABLE, v.enabled ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(IDC_WIFI_SSID, v.ssid);
    SetDlgItemText(IDC_WIFI_KEY, v.key);
    const std::pair<int, int> selections[] = {
        {IDC_WIFI_SECURITY, v.security}, {IDC_WIFI_ENCRYPT, v.encryption}, {IDC_WIFI_MODE, v.mode}};
    for (const auto& [id, index] : selections) {
        if (CWnd* combo = GetDlgItem(id))
            combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    }
    UpdateSecurity();
    UpdateFields();
}

void CDlgCfgWireless::UpdateFields()
{
    const bool on = IsDlgButtonChecked(IDC_WIFI_ENABLE) == BST_CHECKED;
    for (int id : kFieldIds) {
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(on ? SW_SHOW : SW_HIDE);
    }
    if (CWnd* search = GetDlgItem(IDC_WIFI_SEARCH))
        search->ShowWindow(on ? SW_SHOW : SW_HIDE);
    // A camera on Wi-Fi cannot switch it off from here, nor test another
    // network without losing this link.
    for (int id : {IDC_WIFI_TEST_LABEL, IDC_TEST}) {
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(on && m_bWired ? SW_SHOW : SW_HIDE);
    }
    if (CWnd* enable = GetDlgItem(IDC_WIFI_ENABLE))
        enable->EnableWindow(m_bWired);
}

void CDlgCfgWireless::UpdateSecurity()
{
    const CWnd* combo = GetDlgItem(IDC_WIFI_SECURITY);
    int security = combo ? static_cast<int>(combo->SendMessage(CB_GETCURSEL)) : 0;
    if (CWnd* enc = GetDlgItem(IDC_WIFI_ENCRYPT))
        enc->EnableWindow(EncryptionApplies(security));
    if (CWnd* key = GetDlgItem(IDC_WIFI_KEY))
        key->EnableWindow(KeyApplies(security));
}

void CDlgCfgWireless::OnEnableClicked()
{
    UpdateFields();
}

void CDlgCfgWireless::OnSecurityChanged()
{
    UpdateSecurity();
}

CString CDlgCfgWireless::LoadPath()
{
    return kLoadPath;
}

void CDlgCfgWireless::ShowLoaded(const CString& reply)
{
    Loaded l = ParseLoad(reply);
    m_bWired = l.wired;
    ShowValues(l.values);
}

bool CDlgCfgWireless::Accept(const Values& v)
{
    Refusal r = Check(v);
    if (!r.textId)
        return true;
    if (!ShowError(r.textId))
        return false;
    if (CWnd* field = GetDlgItem(r.field == kSsid ? IDC_WIFI_SSID : IDC_WIFI_KEY))
        field->SetFocus();
    return false;
}

CString CDlgCfgWireless::ApplyPath()
{
    Values v = ReadValues();
    if (!Accept(v))
        return CString();
    return ComposeApply(v);
}

void CDlgCfgWireless::Applied(Request kind)
{
    if (kind == Request::Sync)
        RunTest();
    else
        ShowSuccess();
}

void CDlgCfgWireless::Failed(Request kind)
{
    if (kind != Request::Sync) {
        CSettingsPage::Failed(kind);
        return;
    }
    if (m_pOwner)
        m_pOwner->StartWatchdog();
    ShowError(IDS_TEST_FAILED);
}
