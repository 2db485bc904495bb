#include "camera/dialogs/motion/CDlgMDDetect.h"

#include "camera/dialogs/motion/CDlgMDDetect_p.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"

#include <utility>

BEGIN_MESSAGE_MAP(CDlgMDDetect, CSettingsPage)
ON_CBN_SELCHANGE(IDC_CAPTURE_DAY, OnDayChanged)
ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SCHEDULE_START_1, IDC_SCHEDULE_END_4, OnPairChanged)
ON_BN_CLICKED(IDC_MD_SMART_ENABLE, OnDetectionClicked)
ON_BN_CLICKED(IDC_MD_SD_RECORD, OnRecordToCardClicked)
ON_BN_CLICKED(IDC_MD_FTP_RECORD, OnUploadRecordClicked)
ON_BN_CLICKED(IDC_MD_ZONES, OnZones)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDlgMDDetect::CDlgMDDetect(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_MOTION_DETECTION, IDS_PAGE_MOTION, pOwner, IDC_APPLY), m_schedule(this, IDC_CAPTURE_DAY)
{
    // The zones stand in the camera's video: nothing to draw on before the
    // videomode and the camera's areas are known.
    m_writeButtons.push_back(IDC_MD_ZONES);
}

BOOL CDlgMDDetect::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    const std::pair<int, CRect*> places[] = {{IDC_MD_SMART_ENABLE, &m_rcDetection},
                                             {IDC_MD_SMART_TYPE, &m_rcTargets},
                                             {IDC_MD_SMART_TRACKING, &m_rcTracking}};
    for (const auto& [id, rect] : places) {
        if (CWnd* item = GetDlgItem(id)) {
            item->GetWindowRect(rect);
            ScreenToClient(rect);
        }
    }
    UpdateData(FALSE);
    return TRUE;
}

void CDlgMDDetect::DoDataExchange(CDataExchange* pDX)
{
    CSettingsPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_MD_SENSITIVITY, m_nSensitivity);
    DDX_CBIndex(pDX, IDC_MD_SNAP_COUNT, m_nSnapCount);
    DDX_Check(pDX, IDC_MD_EMAIL, m_bEmail);
    DDX_Check(pDX, IDC_MD_FTP_SNAP, m_bFtpSnap);
    DDX_Check(pDX, IDC_MD_FTP_RECORD, m_bFtpRec);
    DDX_Check(pDX, IDC_MD_SD_SNAP, m_bSdSnap);
    DDX_Check(pDX, IDC_MD_SD_RECORD, m_bSdRec);
    DDX_Check(pDX, IDC_MD_SMART_ENABLE, m_bSmart);
    DDX_CBIndex(pDX, IDC_MD_SMART_TYPE, m_nSmartType);
    DDX_Check(pDX, IDC_MD_SMART_TRACKING, m_bTracking);
}

void CDlgMDDetect::OnDayChanged()
{
    m_schedule.DayChanged();
}

void CDlgMDDetect::OnPairChanged(UINT)
{
    m_schedule.PairChanged();
}

CString CDlgMDDetect::LoadPath()
{
    if (CWebWatchNB* camera = Camera()) {
        m_values.model = camera->GetModelVersion();
        m_values.streams = camera->GetStreamCount();
    }
    return motion_form::LoadPath(m_values.streams);
}

void CDlgMDDetect::ShowLoaded(const CString& reply)
{
    motion_form::ParseLoad(reply, m_values);
    m_nSensitivity = m_values.sensitivity - 1;
    m_nSnapCount = m_values.snapCount - 1;
    m_bEmail = m_values.email;
    m_bFtpSnap = m_values.ftpSnap;
    m_bFtpRec = m_values.ftpRec;
    m_bSdSnap = m_values.sdSnap;
    m_bSdRec = m_values.sdRec;
    m_bSmart = m_values.smartEnable;
    m_nSmartType = m_values.smartType;
    m_bTracking = m_values.smartTracking;
    ArrangeSmartControls();
    m_schedule.Loaded(reply);
    UpdateData(FALSE);
    ShowSmartControls();
}

CString CDlgMDDetect::ApplyPath()
{
    if (!UpdateData(TRUE))
        return CString();
    // A combo with nothing selected keeps what the camera had.
    if (m_nSensitivity >= 0)
        m_values.sensitivity = m_nSensitivity + 1;
    if (m_nSnapCount >= 0)
        m_values.snapCount = m_nSnapCount + 1;
    m_values.email = m_bEmail != 0;
    m_values.ftpSnap = m_bFtpSnap != 0;
    m_values.ftpRec = m_bFtpRec != 0;
    m_values.sdSnap = m_bSdSnap != 0;
    m_values.sdRec = m_bSdRec != 0;
    m_values.smartEnable = m_bSmart != 0;
    if (m_nSmartType >= 0)
        m_values.smartType = m_nSmartType;
    m_values.smartTracking = m_bTracking != 0;
    return motion_form::ComposeApply(m_values, m_schedule.ApplyPart());
}

void CDlgMDDetect::Applied(Request)
{
    // The kept week must be the camera's new one: a later apply resends
    // untouched days as they were loaded.
    if (ShowSuccess())
        Load();
}
