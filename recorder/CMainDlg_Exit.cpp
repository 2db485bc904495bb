// Leaving the program: the question, the exit sequence and the requests of a
// second start.
#include "recorder/CMainDlg.h"

#include "platform/ui/session_end.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/CVSClientApp.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

void CMainDlg::OnBtnMin()
{
    ShowWindow(SW_MINIMIZE);
}

void CMainDlg::OnBtnExit()
{
    AskExit();
}

void CMainDlg::AskExit()
{
    if (m_bExit)
        return;
    UINT question = AnyCameraRunning() ? IDS_ASK_EXIT_RUNNING : IDS_ASK_EXIT;
    if (AppMessageBox(this, IDS_CAPTION, question, MB_YESNO) != IDYES)
        return;
    DoExit();
    EndDialog(IDOK);
}

LRESULT CMainDlg::OnExitMsg(WPARAM, LPARAM)
{
    ExitUnasked("CMainDlg::OnExitMsg a second start asks the program to end");
    return 0;
}

LRESULT CMainDlg::OnEndSession(WPARAM wParam, LPARAM)
{
    if (wParam)
        ExitUnasked("CMainDlg::OnEndSession the session ends");
    return 0;
}

void CMainDlg::ExitUnasked(const char* why)
{
    if (m_bExit)
        return;
    vx_log(4, "%s", why);
    // Whoever asked is not at the screen: a dialog or question left open
    // would hold the program until someone answered it. Each ends as its
    // Cancel would, once this handler has returned to its loop.
    vxw::EndModalLoopsAbove(m_hWnd);
    DoExit();
    EndDialog(IDOK);
}

void CMainDlg::DoExit()
{
    if (m_bExit.exchange(TRUE))
        return;
    {
        EnterCriticalSection(&m_csSlot);
        for (int i = 0; i < MAX_CAMERA; ++i) {
            if (m_arrRun[i])
                SetRunStop(*m_arrRun[i]);
            if (m_arrSlot[i].m_hFinishEvent)
                m_arrSlot[i].m_bStop = TRUE;
        }
        LeaveCriticalSection(&m_csSlot);
    }
    if (m_bInTray) {
        Shell_NotifyIcon(NIM_DELETE, &m_nid);
        m_bInTray = FALSE;
    }
    ShowWindow(SW_HIDE);
    // The background belongs to the settings object: only let go of it.
    m_bmpBack.Detach();
    StopServiceThreads();
    DoStopAll();
    // Runs whose stop timed out end here too: nothing of the camera library
    // may run once the program shuts it down.
    ReapEndingRuns(true);
    vx_log(4, "CMainDlg::DoExit done");
}
