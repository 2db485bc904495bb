// Full screen of the record player: the window without its frame over the
// whole monitor under the mouse, the controls hidden, and back again.
#include "camera/dialogs/sdcard/CDlgServerRecordPlay.h"

#include "camera/session/CWebWatchNB.h"
#include "platform/ui/monitor.h"
#include "resources/vxcam/resource.h"

namespace {

const int kHiddenInFullscreen[] = {IDC_PLAY_PLAY,  IDC_PLAY_PAUSE,   IDC_PLAY_SOUND_OFF,      IDC_PLAY_SOUND_ON,
                                   IDC_PLAY_STOP,  IDC_PLAY_SLIDER,  IDC_PLAY_ELAPSED,        IDC_PLAY_TIME_SEPARATOR,
                                   IDC_PLAY_TOTAL};

}  // namespace

LRESULT CDlgServerRecordPlay::OnFullscreen(WPARAM, LPARAM)
{
    if (!m_bFullscreen)
        EnterFullscreen();
    return 0;
}

LRESULT CDlgServerRecordPlay::OnExitFullscreen(WPARAM, LPARAM)
{
    if (m_bFullscreen)
        LeaveFullscreen();
    return 0;
}

void CDlgServerRecordPlay::EnterFullscreen()
{
    if (!m_pCamera)
        return;
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return;
    CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (HMONITOR monitor = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONULL)) {
        MONITORINFO mi = {};
        mi.cbSize = sizeof mi;
        if (::GetMonitorInfo(monitor, &mi))
            screen = mi.rcMonitor;
    }
    m_bFullscreen = 1;
    GetWindowRect(&m_rcWindow);
    for (int id : kHiddenInFullscreen)
        ShowControl(id, false);
    ModifyStyle(WS_CAPTION | DS_MODALFRAME, 0, SWP_FRAMECHANGED);
    ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, screen.left, screen.top, screen.Width(), screen.Height(),
                   SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    m_pCamera->SetFullscreen(1, screen.left, screen.top, screen.Width(), screen.Height());
}

void CDlgServerRecordPlay::LeaveFullscreen()
{
    m_bFullscreen = 0;
    ModifyStyle(0, WS_CAPTION | DS_MODALFRAME, SWP_FRAMECHANGED);
    ::SetWindowPos(GetSafeHwnd(), HWND_NOTOPMOST, m_rcWindow.left, m_rcWindow.top, m_rcWindow.Width(),
                   m_rcWindow.Height(), SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    // The frame that came back may have been left out of the size: what
    // counts is the rectangle the window had, so mend the difference once.
    CRect now;
    GetWindowRect(&now);
    if (now.Size() != m_rcWindow.Size()) {
        ::SetWindowPos(GetSafeHwnd(), nullptr, m_rcWindow.left, m_rcWindow.top,
                       m_rcWindow.Width() * 2 - now.Width(), m_rcWindow.Height() * 2 - now.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const bool playVisible = !m_bPlaying || m_bPaused;
    for (int id : kHiddenInFullscreen) {
        if (id == IDC_PLAY_PLAY)
            ShowControl(id, playVisible);
        else if (id == IDC_PLAY_PAUSE)
            ShowControl(id, !playVisible);
        else if (id != IDC_PLAY_SOUND_OFF && id != IDC_PLAY_SOUND_ON)
            ShowControl(id, true);
    }
    ShowSoundButtons();
    if (m_pCamera)
        m_pCamera->SetFullscreen(0, 0, 0, 0, 0);
}
