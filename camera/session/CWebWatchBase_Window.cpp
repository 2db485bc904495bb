// The camera window: the video surface inside it, the segment timer, and the
// player's and reconnect worker's messages on their way to the parent.
#include "camera/session/CWebWatchBase.h"

#include "camera/session/CStateBar.h"
#include "camera/session/CameraMessages.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

BEGIN_MESSAGE_MAP(CWebWatchBase, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_TIMER()
ON_MESSAGE(UM_VX_CAMERA_ALARM_BLINK, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_CONNECTING, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_CONNECT_FAILED, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_STARTING, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_FAILED, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_STOPPED, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_PLAYER_EVENT_28, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_DISCONNECTING, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_DISCONNECTED, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_RECORD_STOPPED, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_FILE_END, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_VIDEO_VOUT, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_FILE_LENGTH, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_FILE_POSITION, OnCameraMessage)
ON_MESSAGE(UM_VX_CAMERA_PLAYER_EVENT_40, OnCameraMessage)
END_MESSAGE_MAP()

int CWebWatchBase::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_hSelf = m_hWnd;
    m_pStateBar = new CStateBar();
    if (m_pStateBar->CreateSurface(this, m_nIndex, m_hParentWnd, m_bLive)) {
        m_pStateBar->SetIgnoreRightClick(m_bIgnoreRightClick);
        // Asked on the GUI thread when the menu opens; flags only, no lock.
        m_pStateBar->SetMenuStateSource([this] {
            CStateBar::MenuState state;
            state.bPlaying = m_player.IsPlaying();
            state.bShowBitrate = m_bShowBitrate;
            state.bExactFit = m_bExactFit;
            const int type = m_stCameraInfo.nEntryType;
            state.bHasProperties =
                type >= 0 && type <= 3 && !(type == WATCH_ENTRY_P2P_ID && GetChipType() == 72 && !GetUseIPForP2P());
            return state;
        });
        m_hSurface = m_pStateBar->GetSafeHwnd();
    }
    return 0;
}

void CWebWatchBase::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_pStateBar && ::IsWindow(m_pStateBar->GetSafeHwnd()))
        m_pStateBar->Layout();
    SetExactFit();
}

void CWebWatchBase::OnDestroy()
{
    // Workers stop posting here from now on; their messages go nowhere.
    m_hSelf = nullptr;
    m_hSurface = nullptr;
    m_player.SetNotifyWindow(nullptr);
    KillTimer(TIMER_RECORD_SEGMENT);
    DestroyStateBar();
    CWnd::OnDestroy();
}

void CWebWatchBase::DestroyStateBar()
{
    m_hSurface = nullptr;
    if (!m_pStateBar)
        return;
    if (::IsWindow(m_pStateBar->GetSafeHwnd()))
        m_pStateBar->DestroyWindow();
    delete m_pStateBar;
    m_pStateBar = nullptr;
}

void CWebWatchBase::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_RECORD_SEGMENT) {
        // The next segment: the old file closes, a new one opens.
        if (m_player.IsRecording()) {
            StopRecord();
            StartRecord(1);
        }
        return;
    }
    CWnd::OnTimer(nIDEvent);
}

LRESULT CWebWatchBase::OnCameraMessage(WPARAM wParam, LPARAM lParam)
{
    // Every code shares this handler; the message itself tells which it is.
    const MSG* msg = GetCurrentMessage();
    const UINT code = msg ? msg->message : static_cast<UINT>(wParam & 0xFFFF);
    if (code == UM_VX_CAMERA_ALARM_BLINK) {
        m_player.DisplayLast();
        return 0;
    }
    const WPARAM forwarded = VxForwardedWParam(m_nIndex, code);
    PostToParent(code, forwarded, lParam);
    PostToSurface(code, forwarded, lParam);
    switch (code) {
    case UM_VX_CAMERA_VIDEO_FAILED:
        if (!m_bLive)
            StopPlayFile();
        break;
    case UM_VX_CAMERA_FILE_END:
        if (!m_bLive)
            PlayNextOrStop(1);
        break;
    case UM_VX_CAMERA_VIDEO_VOUT:
        vx_log(VX_LOG_INFO, "CWebWatchBase::OnMessage UM_VX_CAMERA_VIDEO_VOUT");
        SetTransform();
        SetExactFit();
        SetShowBitRate();
        break;
    case UM_VX_CAMERA_FILE_POSITION:
        if (!m_bLive && m_hParentWnd)
            ::SendNotifyMessage(m_hParentWnd, UM_VX_PLAYFILE_NOTIFY, 2, lParam);
        break;
    case UM_VX_CAMERA_PLAYER_EVENT_40:
        if (!m_bLive && m_hParentWnd)
            ::SendNotifyMessage(m_hParentWnd, UM_VX_PLAYFILE_NOTIFY2, 2, lParam);
        break;
    default:
        break;
    }
    return 0;
}
