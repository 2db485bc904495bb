#include "camera/dialogs/pages/CDlgAutoCapture.h"

#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgAutoCapture, CSettingsPage)
ON_BN_CLICKED(IDC_CAPTURE_FTP, OnSwitchChanged)
ON_BN_CLICKED(IDC_CAPTURE_EMAIL, OnSwitchChanged)
ON_BN_CLICKED(IDC_CAPTURE_SD, OnSwitchChanged)
ON_CBN_SELCHANGE(IDC_CAPTURE_NAME_MODE, OnSwitchChanged)
ON_CBN_SELCHANGE(IDC_CAPTURE_DAY, OnDayChanged)
ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SCHEDULE_START_1, IDC_SCHEDULE_END_4, OnPairChanged)
END_MESSAGE_MAP()

CDlgAutoCapture::CDlgAutoCapture(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_AUTO_CAPTURE, IDS_PAGE_AUTO_CAPTURE, pOwner, IDC_APPLY), m_schedule(this, IDC_CAPTURE_DAY)
{}

BOOL CDlgAutoCapture::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    SendDlgItemMessage(IDC_CAPTURE_FILE_NAME, EM_LIMITTEXT, 31);
    UpdateData(FALSE);
    UpdateEnabling();
    return TRUE;
}

void CDlgAutoCapture::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_CAPTURE_NAME_MODE, m_nNameMode);
    DDX_Text(pDX, IDC_CAPTURE_FILE_NAME, m_strFileName);
    DDV_MaxChars(pDX, m_strFileName, 31);
    DDX_Check(pDX, IDC_CAPTURE_FTP, m_bFtp);
    ExchangeInterval(pDX, IDC_CAPTURE_FTP_INTERVAL, m_nFtpInterval, m_bFtp);
    DDX_Check(pDX, IDC_CAPTURE_EMAIL, m_bEmail);
    ExchangeInterval(pDX, IDC_CAPTURE_EMAIL_INTERVAL, m_nEmailInterval, m_bEmail);
    DDX_Check(pDX, IDC_CAPTURE_SD, m_bSd);
    ExchangeInterval(pDX, IDC_CAPTURE_SD_INTERVAL, m_nSdInterval, m_bSd);
}

// A switched-off action's interval is greyed out, so the person cannot mend
// it: it is neither read nor checked, and goes back as it was loaded (within
// the range the camera takes, see capture_form::ComposeApply).
void CDlgAutoCapture::ExchangeInterval(CDataExchange* pDX, int id, int& interval, int enabled)
{
    if (pDX->m_bSaveAndValidate && !enabled)
        return;
    DDX_Text(pDX, id, interval);
    DDV_MinMaxInt(pDX, interval, 1, 65535);
}

void CDlgAutoCapture::UpdateEnabling()
{
    auto enable = [this](int id, bool on) {
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(on);
    };
    enable(IDC_CAPTURE_FTP_INTERVAL, IsDlgButtonChecked(IDC_CAPTURE_FTP) == BST_CHECKED);
    enable(IDC_CAPTURE_EMAIL_INTERVAL, IsDlgButtonChecked(IDC_CAPTURE_EMAIL) == BST_CHECKED);
    enable(IDC_CAPTURE_SD_INTERVAL, IsDlgButtonChecked(IDC_CAPTURE_SD) == BST_CHECKED);
    enable(IDC_CAPTURE_FILE_NAME, SendDlgItemMessage(IDC_CAPTURE_NAME_MODE, CB_GETCURSEL) == 0);
}

void CDlgAutoCapture::OnSwitchChanged()
{
    UpdateEnabling();
}

void CDlgAutoCapture::OnDayChanged()
{
    m_schedule.DayChanged();
}

void CDlgAutoCapture::OnPairChanged(UINT)
{
    m_schedule.PairChanged();
}

CString CDlgAutoCapture::LoadPath()
{
    return capture_form::kLoadPath;
}

void CDlgAutoCapture::ShowLoaded(const CString& reply)
{
    capture_form::Values v;
    capture_form::ParseLoad(reply, v);
    m_bFtp = v.ftp.enabled;
    m_nFtpInterval = v.ftp.interval;
    m_bEmail = v.email.enabled;
    m_nEmailInterval = v.email.interval;
    m_bSd = v.sd.enabled;
    m_nSdInterval = v.sd.interval;
    m_nNameMode = v.nameMode;
    m_strFileName = v.fileName;
    m_schedule.Loaded(reply);
    UpdateData(FALSE);
    UpdateEnabling();
}

CString CDlgAutoCapture::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    capture_form::Values v;
    v.ftp = {m_bFtp != 0, m_nFtpInterval};
    v.email = {m_bEmail != 0, m_nEmailInterval};
    v.sd = {m_bSd != 0, m_nSdInterval};
    v.nameMode = m_nNameMode;
    v.fileName = m_strFileName;
    return capture_form::ComposeApply(v, m_schedule.ApplyPart());
}

void CDlgAutoCapture::Applied(Request)
{
    if (ShowSuccess())
        Load();
}
