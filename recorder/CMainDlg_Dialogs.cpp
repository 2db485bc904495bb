// The main window's buttons that open the schedule, search and system
// parameters dialogs.

#include "recorder/CMainDlg.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/CRecScheduleDlg.h"
#include "recorder/CRecordQueryDlg.h"
#include "recorder/CSysParamDlg.h"

void CMainDlg::OnBtnSysParam()
{
    CSysParamDlg dlg(this);
    dlg.DoModal();
}

void CMainDlg::OnBtnRecSchedule()
{
    CGlobalInfo& global = GlobalInfo();
    global.LoadScheduleSkin();
    INT_PTR result = IDCANCEL;
    {
        CRecScheduleDlg dlg(this);
        result = dlg.DoModal();
    }
    global.FreeScheduleSkin();
    if (result == IDOK)
        ReloadSchedules();
}

void CMainDlg::OnBtnRecQuery()
{
    CRecordQueryDlg dlg(this);
    dlg.DoModal();
    m_listCamera.Invalidate();
}
