#include "camera/dialogs/pages/CCameraTimeSetting.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

namespace {
constexpr UINT_PTR kClockTimer = 100;
}

BEGIN_MESSAGE_MAP(CCameraTimeSetting, CSettingsPage)
ON_BN_CLICKED(IDC_TIME_APPLY, OnApply)
ON_BN_CLICKED(IDC_TIME_SYNC, OnSync)
ON_CBN_SELCHANGE(IDC_TIME_ZONE, OnZoneChange)
ON_WM_TIMER()
END_MESSAGE_MAP()

CCameraTimeSetting::CCameraTimeSetting(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_TIME_SETTING, IDS_PAGE_NAME_TIME, pOwner, IDC_TIME_APPLY)
{}

BOOL CCameraTimeSetting::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    auto* zones = static_cast<CComboBox*>(GetDlgItem(IDC_TIME_ZONE));
    for (int i = 0; zones && i < time_form::kZoneCount; ++i)
        zones->AddString(time_form::ZoneAt(i).shown);
    auto* servers = static_cast<CComboBox*>(GetDlgItem(IDC_TIME_NTP_SERVER));
    for (int i = 0; servers && i < time_form::kNtpServerCount; ++i)
        servers->AddString(time_form::NtpServerAt(i));
    auto* interval = static_cast<CComboBox*>(GetDlgItem(IDC_TIME_NTP_INTERVAL));
    for (int h = 1; interval && h <= 24; ++h) {
        CString text;
        text.Format("%02d", h);
        interval->AddString(text);
    }
    for (int id : {IDC_TIME_PLACE, IDC_TIME_NAME_PLACE}) {
        if (auto* place = static_cast<CComboBox*>(GetDlgItem(id))) {
            place->AddString("Top");
            place->AddString("Bottom");
        }
    }
    if (auto* name = static_cast<CEdit*>(GetDlgItem(IDC_TIME_NAME)))
        name->SetLimitText(30);
    return TRUE;
}

void CCameraTimeSetting::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_TIME_ZONE, m_nZone);
    DDX_Check(pDX, IDC_TIME_DST, m_bDaylight);
    DDX_CBString(pDX, IDC_TIME_NTP_SERVER, m_strNtpServer);
    DDX_CBIndex(pDX, IDC_TIME_NTP_INTERVAL, m_nNtpInterval);
    DDX_Check(pDX, IDC_TIME_NTP_ENABLE, m_bNtpEnabled);
    DDX_CBIndex(pDX, IDC_TIME_PLACE, m_nTimePlace);
    DDX_CBIndex(pDX, IDC_TIME_DATE_FORMAT, m_nDateFormat);
    DDX_Check(pDX, IDC_TIME_SHOW_TIME, m_bShowTime);
    DDX_Text(pDX, IDC_TIME_NAME, m_strName);
    DDX_CBIndex(pDX, IDC_TIME_NAME_PLACE, m_nNamePlace);
    DDX_Check(pDX, IDC_TIME_SHOW_NAME, m_bShowName);
}

bool CCameraTimeSetting::OwnCodes() const
{
    CWebWatchNB* camera = Camera();
    return camera && time_form::UsesOwnOverlayCodes(camera->GetChipType(), camera->GetModelVersion());
}

CString CCameraTimeSetting::LoadPath()
{
    KillTimer(kClockTimer);
    return time_form::kLoadPath;
}

void CCameraTimeSetting::ShowLoaded(const CString& reply)
{
    time_form::ParseLoad(reply, OwnCodes(), m_values);
    SetDlgItemText(IDC_TIME_CLOCK, m_values.timeKnown ? m_values.clock.Format("%Y-%m-%d %H:%M:%S") : CString());
    m_nZone = m_values.zone;
    m_strNtpServer = m_values.ntpServer;
    m_nNtpInterval = m_values.ntpInterval - 1;
    m_bNtpEnabled = 1;
    m_nTimePlace = m_values.timePlace;
    m_nDateFormat = m_values.dateFormat;
    m_bShowTime = m_values.showTime;
    m_strName = m_values.name;
    m_nNamePlace = m_values.namePlace;
    m_bShowName = m_values.showName;
    // The reported switch, where the zone has daylight time at all.
    bool zoneHasDaylight = m_nZone < 0 || time_form::ZoneAt(m_nZone).daylight;
    m_bDaylight = zoneHasDaylight && m_values.daylight;
    UpdateData(FALSE);
    if (CWnd* check = GetDlgItem(IDC_TIME_DST))
        check->EnableWindow(zoneHasDaylight);
    if (m_values.timeKnown)
        SetTimer(kClockTimer, 1000, nullptr);
}

void CCameraTimeSetting::UpdateDaylightAvailability()
{
    int zone = static_cast<int>(SendDlgItemMessage(IDC_TIME_ZONE, CB_GETCURSEL));
    bool daylight = zone < 0 || time_form::ZoneAt(zone).daylight;
    CheckDlgButton(IDC_TIME_DST, daylight ? BST_CHECKED : BST_UNCHECKED);
    if (CWnd* check = GetDlgItem(IDC_TIME_DST))
        check->EnableWindow(daylight);
}

void CCameraTimeSetting::OnZoneChange()
{
    UpdateDaylightAvailability();
}

void CCameraTimeSetting::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kClockTimer) {
        CSettingsPage::OnTimer(nIDEvent);
        return;
    }
    m_values.clock += COleDateTimeSpan(0, 0, 0, 1);
    SetDlgItemText(IDC_TIME_CLOCK, m_values.clock.Format("%Y-%m-%d %H:%M:%S"));
}

CString CCameraTimeSetting::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    time_form::Values v = m_values;
    v.zone = m_nZone;
    v.daylight = m_bDaylight != 0;
    v.ntpServer = m_strNtpServer;
    v.ntpInterval = m_nNtpInterval + 1;
    v.ntpEnabled = true;
    v.timePlace = m_nTimePlace;
    v.dateFormat = m_nDateFormat;
    v.showTime = m_bShowTime != 0;
    v.name = m_strName;
    v.namePlace = m_nNamePlace;
    v.showName = m_bShowName != 0;
    CString path;
    if (int refused = time_form::ComposeApply(v, OwnCodes(), path)) {
        // The page may be gone when the box returns; only a refused name has
        // a field of its own to mend.
        if (ShowError(static_cast<UINT>(refused)) && refused == 20089) {
            if (CWnd* name = GetDlgItem(IDC_TIME_NAME))
                name->SetFocus();
        }
        return CString();
    }
    return path;
}

void CCameraTimeSetting::OnSync()
{
    if (m_job)
        return;
    TIME_ZONE_INFORMATION zone{};
    DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID) {
        ShowError(IDS_APPLY_FAILED);
        return;
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    CString path;
    // Bias is the standard-time offset; daylight time only sets the switch.
    if (time_form::ComposeSync(now, zone.Bias, which == TIME_ZONE_ID_DAYLIGHT, path) != 0) {
        ShowError(IDS_APPLY_FAILED);
        return;
    }
    if (!StartRequest(Request::Sync, path, true, 3000))
        ShowError(IDS_APPLY_FAILED);
}

void CCameraTimeSetting::Applied(Request)
{
    if (ShowSuccess())
        Load();
}
