#include "camera/dialogs/sdcard/CDlgServerRecordPlay.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/sdcard/CSearchSDCard.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "camera/session/CgiReply.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {

// RFC 3986's unreserved characters stay; everything else travels as %XX,
// so no account text can end the user part, start a fragment or change the
// host.
CString PercentEncode(const CString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
            || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// Milliseconds for the slider, whose range is an int.
int SliderUnits(int64_t nMicroseconds)
{
    return static_cast<int>(std::clamp<int64_t>(nMicroseconds / 1000, 0, INT_MAX));
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgServerRecordPlay, CDialog)
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_HSCROLL()
ON_BN_CLICKED(IDC_PLAY_PLAY, OnPlay)
ON_BN_CLICKED(IDC_PLAY_PAUSE, OnPause)
ON_BN_CLICKED(IDC_PLAY_STOP, OnStop)
ON_BN_CLICKED(IDC_PLAY_SOUND_OFF, OnSoundOff)
ON_BN_CLICKED(IDC_PLAY_SOUND_ON, OnSoundOn)
ON_MESSAGE(UM_VX_PLAYFILE_NOTIFY, OnPlayFileNotify)
ON_MESSAGE(UM_VX_CAMERA_FILE_LENGTH, OnFileLength)
ON_MESSAGE(UM_VX_CAMERA_FULLSCREEN, OnFullscreen)
ON_MESSAGE(UM_VX_CAMERA_EXIT_FULLSCREEN, OnExitFullscreen)
ON_MESSAGE(UM_VX_PLAYFILE_NOTIFY2, OnIgnored)
ON_MESSAGE(UM_VX_CAMERA_CLICK, OnIgnored)
ON_MESSAGE(UM_VX_CAMERA_ALARM_BLINK, OnIgnored)
ON_MESSAGE(UM_SDPLAY_OPENED, OnOpened)
END_MESSAGE_MAP()

CDlgServerRecordPlay::CDlgServerRecordPlay(CWnd* pParent) : CDialog(IDD_SD_PLAY, pParent)
{
    m_hWorkerDone = ::CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

CDlgServerRecordPlay::~CDlgServerRecordPlay()
{
    Teardown();
    if (m_hWorkerDone)
        ::CloseHandle(m_hWorkerDone);
}

INT_PTR CDlgServerRecordPlay::DoModal()
{
    // The template, texts and icons are the library's own, whoever calls.
    AFX_MANAGE_STATE(VxcamModuleState());
    INT_PTR result = CDialog::DoModal();
    Teardown();
    return result;
}

CString CDlgServerRecordPlay::FormatPlayTime(int64_t nMicroseconds)
{
    const long long seconds = std::max<int64_t>(nMicroseconds, 0) / 1000000;
    CString text;
    text.Format("%02lld:%02d:%02d", seconds / 3600, static_cast<int>(seconds / 60 % 60),
                static_cast<int>(seconds % 60));
    return text;
}

CString CDlgServerRecordPlay::RecordUrl(const STWatchCameraInfo& info, const CString& strLink)
{
    if (strLink.IsEmpty() || strLink[0] != '/' || info.strIP.IsEmpty())
        return CString();
    CString host = info.strIP;
    // A bare IPv6 address needs its brackets before the port.
    if (host.Find(':') >= 0 && host[0] != '[')
        host = "[" + host + "]";
    CString account;
    if (!info.strUser.IsEmpty() || !info.strPwd.IsEmpty())
        account = PercentEncode(info.strUser) + ":" + PercentEncode(info.strPwd) + "@";
    CString url;
    // The link is the browser's, coded once already: coding it again would
    // ask for "%2520" where the card has a blank.
    url.Format("http://%s%s:%d%s", static_cast<const char*>(account), static_cast<const char*>(host), info.nHttpPort,
               static_cast<const char*>(CSearchSDCard::RequestPath(strLink)));
    return url;
}

BOOL CDlgServerRecordPlay::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hSelf = GetSafeHwnd();
    CWebWatchNB* setupCamera = m_pSetupDlg ? m_pSetupDlg->Camera() : nullptr;
    CString cameraName;
    if (m_pSetupDlg)
        m_pSetupDlg->GetDlgItemText(IDC_SETUP_NAME, cameraName);
    CString caption;
    caption.Format(VxcamString(IDS_PLAY_CAPTION), static_cast<const char*>(cameraName),
                   static_cast<const char*>(m_strName));
    SetWindowText(caption);

    SetupButton(m_btnPlay, IDC_PLAY_PLAY, IDI_PLAY_PLAY);
    SetupButton(m_btnStop, IDC_PLAY_STOP, IDI_PLAY_STOP);
    SetupButton(m_btnPause, IDC_PLAY_PAUSE, IDI_PLAY_PAUSE);
    SetupButton(m_btnSoundOff, IDC_PLAY_SOUND_OFF, IDI_PLAY_SOUND_OFF);
    SetupButton(m_btnSoundOn, IDC_PLAY_SOUND_ON, IDI_PLAY_SOUND_ON);
    m_slider.SubclassDlgItem(IDC_PLAY_SLIDER, this);
    m_slider.SetRange(0, 0);
    ShowSoundButtons();
    SetDlgItemText(IDC_PLAY_TOTAL, "00:00:00");
    SetDlgItemText(IDC_PLAY_ELAPSED, "00:00:00");
    ShowControl(IDC_PLAY_PAUSE, false);
    EnableControl(IDC_PLAY_STOP, false);
    EnableControl(IDC_PLAY_SLIDER, false);

    m_pCamera = std::make_unique<CWebWatchNB>(0, 34, 0, this);
    if (setupCamera) {
        STWatchCameraInfo info = setupCamera->m_stCameraInfo;
        m_pCamera->SetCameraInfo(&info);
    }
    CRect video(0, 0, 0, 0);
    if (CWnd* place = GetDlgItem(IDC_PLAY_VIDEO)) {
        place->GetWindowRect(&video);
        ScreenToClient(&video);
    }
    m_pCamera->Create(nullptr, "", WS_CHILD | WS_VISIBLE, video, this, 0);
    m_pCamera->MoveWindow(&video);

    OnPlay();
    return TRUE;
}

void CDlgServerRecordPlay::SetupButton(CIconButton& button, int nControl, int nIcon)
{
    button.SubclassDlgItem(nControl, this);
    button.SetIcon(nIcon, CIconButton::kGreyCopy);
    button.OffsetColor(CIconButton::BTNST_COLOR_BK_IN, 30, TRUE);
    button.SetAlign(CIconButton::ST_ALIGN_VERT, TRUE);
}

void CDlgServerRecordPlay::ShowControl(int nId, bool bShow)
{
    if (CWnd* w = GetDlgItem(nId))
        w->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CDlgServerRecordPlay::EnableControl(int nId, bool bEnable)
{
    if (CWnd* w = GetDlgItem(nId))
        w->EnableWindow(bEnable);
}

void CDlgServerRecordPlay::ShowSoundButtons()
{
    ShowControl(IDC_PLAY_SOUND_OFF, m_bMuted != 0);
    ShowControl(IDC_PLAY_SOUND_ON, m_bMuted == 0);
}

// ---- play, pause, stop ----

void CDlgServerRecordPlay::OnPlay()
{
    if (!m_pCamera)
        return;
    if (m_bPlaying && m_bPaused) {
        m_pCamera->ContinuePlayFile();
        EnableControl(IDC_PLAY_SLIDER, m_slider.GetRangeMax() > 0);
        ShowControl(IDC_PLAY_PLAY, false);
        ShowControl(IDC_PLAY_PAUSE, true);
        EnableControl(IDC_PLAY_STOP, true);
        m_bPaused = 0;
        return;
    }
    m_bPaused = 0;
    if (m_bPlaying || m_pWorker)
        return;
    EnableControl(IDC_PLAY_PLAY, false);
    CWebWatchNB* setupCamera = m_pSetupDlg ? m_pSetupDlg->Camera() : nullptr;
    STWatchCameraInfo info = setupCamera ? setupCamera->m_stCameraInfo : STWatchCameraInfo();
    CString url = RecordUrl(info, m_strLink);
    vx_log(VX_LOG_TRACE, "sd record play: %s",
           static_cast<const char*>(vxcam::MaskSecrets(url, info.strPwd, info.strPwdEncoded)));
    if (url.IsEmpty()) {
        // Nothing to build a request from: the video window says it failed.
        ::PostMessage(m_pCamera->GetSafeHwnd(), UM_VX_CAMERA_CONNECT_FAILED, UM_VX_CAMERA_CONNECT_FAILED, 0);
        return;
    }
    m_stRecord = STRecordFile();
    m_stRecord.strPath = url;
    m_stRecord.nMode = 2;
    m_bWorkerMuted = m_bMuted;
    m_bWorkerOpened = 0;
    ::ResetEvent(m_hWorkerDone);
    ++m_nWorkers;
    // A worker from an earlier stop may still be cut by the interrupt.
    m_pCamera->InterruptPlayFile(0);
    if (vx_thread_create("play sd record", &CDlgServerRecordPlay::WorkerMain, this, VX_THREAD_SUSPENDED, &m_pWorker)
            != 0
        || !m_pWorker) {
        vx_log(VX_LOG_ERROR, "CDlgServerRecordPlay: cannot start the worker");
        m_pWorker = nullptr;
        EnableControl(IDC_PLAY_PLAY, true);
        return;
    }
    vx_thread_resume(m_pWorker);
}

unsigned CDlgServerRecordPlay::WorkerMain(void* arg)
{
    auto* self = static_cast<CDlgServerRecordPlay*>(arg);
    // Only values written before the thread was resumed are read here, and
    // the camera object, which serialises its own calls.
    const int number = self->m_nWorkers;
    CArray<STRecordFile> list;
    list.Add(self->m_stRecord);
    HWND cameraWnd = self->m_pCamera->GetSafeHwnd();
    ::PostMessage(cameraWnd, UM_VX_CAMERA_CONNECTING, UM_VX_CAMERA_CONNECTING, 0);
    const int ok = self->m_pCamera->StartPlayFile(self, list, self->m_bWorkerMuted) == 1;
    if (!ok)
        ::PostMessage(cameraWnd, UM_VX_CAMERA_CONNECT_FAILED, UM_VX_CAMERA_CONNECT_FAILED, 0);
    self->m_bWorkerOpened = ok;
    ::PostMessage(self->m_hSelf, UM_SDPLAY_OPENED, ok, number);
    ::SetEvent(self->m_hWorkerDone);
    return 0;
}

LRESULT CDlgServerRecordPlay::OnOpened(WPARAM wParam, LPARAM lParam)
{
    // A stopped worker's result came after the stop took it.
    if (!m_pWorker || lParam != m_nWorkers)
        return 0;
    JoinWorker();
    if (!wParam)
        return 0;  // stopped, Play disabled; the video window shows the failure
    m_bPlaying = 1;
    EnableControl(IDC_PLAY_STOP, true);
    ShowControl(IDC_PLAY_PLAY, false);
    ShowControl(IDC_PLAY_PAUSE, true);
    return 0;
}

void CDlgServerRecordPlay::JoinWorker()
{
    if (!m_pWorker)
        return;
    const bool running = ::WaitForSingleObject(m_hWorkerDone, 0) != WAIT_OBJECT_0;
    if (running && m_pCamera)
        m_pCamera->InterruptPlayFile(1);
    ::WaitForSingleObject(m_hWorkerDone, INFINITE);
    vx_thread_join(m_pWorker);
    vx_thread_destroy(m_pWorker);
    m_pWorker = nullptr;
    if (running && m_pCamera)
        m_pCamera->InterruptPlayFile(0);
}

void CDlgServerRecordPlay::OnPause()
{
    if (m_bPlaying && !m_bPaused) {
        m_bPaused = 1;
        m_pCamera->PausePlayFile();
    }
    ShowControl(IDC_PLAY_PLAY, true);
    EnableControl(IDC_PLAY_PLAY, true);
    ShowControl(IDC_PLAY_PAUSE, false);
    EnableControl(IDC_PLAY_SLIDER, false);
}

void CDlgServerRecordPlay::OnStop()
{
    // A worker still opening is cut, so Stop never waits on a silent camera;
    // one that opened the file leaves it playing until the stop below.
    const bool opening = m_pWorker != nullptr;
    JoinWorker();
    if (m_pCamera && (m_bPlaying || (opening && m_bWorkerOpened.load())))
        m_pCamera->StopPlayFile();
    m_bPlaying = 0;
    m_bPaused = 0;
    ShowControl(IDC_PLAY_PLAY, true);
    EnableControl(IDC_PLAY_PLAY, true);
    ShowControl(IDC_PLAY_PAUSE, false);
    EnableControl(IDC_PLAY_STOP, false);
}

void CDlgServerRecordPlay::OnSoundOff()
{
    // The crossed-out speaker shows while muted: a click unmutes.
    m_bMuted = 0;
    ShowSoundButtons();
    if (m_bPlaying)
        m_pCamera->SetAudio(m_bMuted);
}

void CDlgServerRecordPlay::OnSoundOn()
{
    m_bMuted = 1;
    ShowSoundButtons();
    if (m_bPlaying)
        m_pCamera->SetAudio(m_bMuted);
}

// ---- notices of the camera object ----

LRESULT CDlgServerRecordPlay::OnFileLength(WPARAM, LPARAM lParam)
{
    const int64_t length = static_cast<int64_t>(lParam);
    vx_log(VX_LOG_TRACE, "play file length: %lld", static_cast<long long>(length));
    m_slider.SetRange(0, SliderUnits(length), TRUE);
    m_slider.SetPos(0);
    SetDlgItemText(IDC_PLAY_TOTAL, FormatPlayTime(length));
    EnableControl(IDC_PLAY_SLIDER, length > 0 && !m_bPaused);
    return 0;
}

LRESULT CDlgServerRecordPlay::OnPlayFileNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 2 && m_bPlaying) {
        const int64_t position = static_cast<int64_t>(lParam);
        vx_log(VX_LOG_TRACE, "play file pos: %lld", static_cast<long long>(position));
        SetDlgItemText(IDC_PLAY_ELAPSED, FormatPlayTime(position));
        if (!m_bDragging)
            m_slider.SetPos(SliderUnits(position));
    } else if (wParam == 3 && m_bPlaying) {
        // Opening a file stops the one before it, which tells of a stop too:
        // only a stop of what plays counts.
        ShowStopped();
    }
    return 0;
}

void CDlgServerRecordPlay::ShowStopped()
{
    m_pCamera->StopPlay();
    m_bPlaying = 0;
    m_bPaused = 0;
    ShowControl(IDC_PLAY_PLAY, true);
    EnableControl(IDC_PLAY_PLAY, true);
    ShowControl(IDC_PLAY_PAUSE, false);
    EnableControl(IDC_PLAY_STOP, false);
    m_slider.SetPos(0);
    EnableControl(IDC_PLAY_SLIDER, false);
    SetDlgItemText(IDC_PLAY_TOTAL, "00:00:00");
    SetDlgItemText(IDC_PLAY_ELAPSED, "00:00:00");
    if (m_pCamera->IsFullscreen())
        LeaveFullscreen();
    m_pCamera->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT CDlgServerRecordPlay::OnIgnored(WPARAM, LPARAM)
{
    return 0;
}

void CDlgServerRecordPlay::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!pScrollBar || pScrollBar->GetSafeHwnd() != m_slider.GetSafeHwnd())
        return;
    if (nSBCode == SB_THUMBTRACK) {
        m_bDragging = 1;
    } else if (nSBCode == SB_THUMBPOSITION) {
        // The message's position field has 16 bits; the slider has the rest.
        const int64_t position = int64_t(m_slider.GetPos()) * 1000;
        if (m_bPlaying) {
            vx_log(VX_LOG_TRACE, "set file pos is %lld", static_cast<long long>(position));
            m_pCamera->PlayFilePos(position);
        }
        m_bDragging = 0;
    }
}

// ---- keys and closing ----

BOOL CDlgServerRecordPlay::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        switch (pMsg->wParam) {
        case VK_ESCAPE:
            if (m_pCamera && m_pCamera->IsFullscreen())
                LeaveFullscreen();
            return TRUE;
        case VK_RETURN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CDlgServerRecordPlay::OnClose()
{
    Teardown();
    EndDialog(IDCANCEL);
}

void CDlgServerRecordPlay::OnDestroy()
{
    Teardown();
    CDialog::OnDestroy();
}

void CDlgServerRecordPlay::Teardown()
{
    if (m_bTornDown)
        return;
    m_bTornDown = true;
    if (m_bFullscreen && GetSafeHwnd())
        LeaveFullscreen();
    OnStop();
    if (m_pCamera) {
        m_pCamera->Cleanup();
        m_pCamera.reset();
    }
    m_bPlaying = 0;
    m_bPaused = 0;
}
