#include "camera/dialogs/pages/CDlgTimeRec.h"

#include "camera/session/CCgiCmd.h"
#include "resources/vxcam/resource.h"

BEGIN_MESSAGE_MAP(CDlgTimeRec, CSettingsPage)
ON_CBN_SELCHANGE(IDC_SCHEDULE_RECORD_DAY, OnDayChanged)
ON_CONTROL_RANGE(CBN_SELCHANGE, IDC_SCHEDULE_START_1, IDC_SCHEDULE_END_4, OnPairChanged)
END_MESSAGE_MAP()

CDlgTimeRec::CDlgTimeRec(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_SCHEDULE_RECORD, IDS_PAGE_SCHEDULE_RECORD, pOwner, IDC_APPLY),
      m_schedule(this, IDC_SCHEDULE_RECORD_DAY)
{}

void CDlgTimeRec::OnDayChanged()
{
    m_schedule.DayChanged();
}

void CDlgTimeRec::OnPairChanged(UINT)
{
    m_schedule.PairChanged();
}

CString CDlgTimeRec::LoadPath()
{
    return record_form::kScheduleLoadPath;
}

void CDlgTimeRec::ShowLoaded(const CString& reply)
{
    CheckDlgButton(IDC_SCHEDULE_ENABLE,
                   CCgiCmd::GetCgiValueInt3(reply, "planrec_enable") == 1 ? BST_CHECKED : BST_UNCHECKED);
    m_schedule.Loaded(reply);
}

CString CDlgTimeRec::ApplyPath()
{
    return record_form::ComposeSchedule(IsDlgButtonChecked(IDC_SCHEDULE_ENABLE) == BST_CHECKED, m_schedule.ApplyPart());
}

void CDlgTimeRec::Applied(Request)
{
    if (ShowSuccess())
        Load();
}
