// The tray icon and bringing the window back: a minimised window hides in
// the tray only when the tray took the icon, so a desktop without a tray
// keeps it in the task bar.
#include "recorder/CMainDlg.h"

#include "recorder/CGlobalInfo.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

void CMainDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED || GlobalInfo().m_nMinHide != 1 || m_bExit)
        return;
    if (m_bInTray || Shell_NotifyIcon(NIM_ADD, &m_nid)) {
        m_bInTray = TRUE;
        ShowWindow(SW_HIDE);
    } else {
        vx_log(3, "CMainDlg::OnSize no tray: the window stays in the task bar");
    }
}

void CMainDlg::LeaveTray()
{
    if (m_bInTray) {
        Shell_NotifyIcon(NIM_DELETE, &m_nid);
        m_bInTray = FALSE;
    }
    SetForegroundWindow();
    ShowWindow(SW_SHOWNORMAL);
}

LRESULT CMainDlg::OnTrayNotify(WPARAM, LPARAM lParam)
{
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
        LeaveTray();
        break;
    case WM_RBUTTONDOWN: {
        CMenu menu;
        if (!menu.LoadMenu(IDR_MENU_TRAY))
            break;
        CMenu* popup = menu.GetSubMenu(0);
        if (!popup)
            break;
        CPoint pt;
        ::GetCursorPos(&pt);
        SetForegroundWindow();
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, this);
        break;
    }
    default:
        break;
    }
    return 0;
}

void CMainDlg::OnMenuRestore()
{
    LeaveTray();
}

void CMainDlg::OnMenuExit()
{
    PostMessage(WM_CLOSE);
}

LRESULT CMainDlg::OnInstanceMsg(WPARAM, LPARAM)
{
    if (m_bExit)
        return 0;
    vx_log(4, "CMainDlg::OnInstanceMsg a second start asks for the window");
    if (!IsWindowVisible()) {
        LeaveTray();
        return 0;
    }
    ShowWindow(SW_SHOWNORMAL);
    HWND foreground = ::GetForegroundWindow();
    if (foreground && foreground != m_hWnd) {
        DWORD mine = ::GetCurrentThreadId();
        DWORD theirs = ::GetWindowThreadProcessId(foreground, nullptr);
        ::AttachThreadInput(mine, theirs, TRUE);
        SetForegroundWindow();
        ::AttachThreadInput(mine, theirs, FALSE);
    }
    return 0;
}
