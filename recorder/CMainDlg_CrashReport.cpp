// The question about a crash of the last run. It waits for the running
// window: a recorder restarted by its autostart entry or a supervisor
// records while nobody has answered yet, and a second start's "-exit" or
// "-stop_rec" meanwhile is handled by the window as always.
#include "recorder/CMainDlg.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/CrashReport.h"

LRESULT CMainDlg::OnOfferCrashReport(WPARAM, LPARAM)
{
    if (m_bExit)
        return 0;
    OfferPendingCrashReport(GlobalInfo().m_strAppPath, this, [this] { return IsExiting() != FALSE; });
    return 0;
}
