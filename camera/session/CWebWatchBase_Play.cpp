// Live play, recording segments, snapshots and file playback of the camera
// object.
#include "camera/session/CWebWatchBase.h"

#include "camera/session/CameraMessages.h"
#include "camera/session/CgiReply.h"
#include "camera/session/SegmentName.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <string>

namespace {

// Creates every missing folder of `path`; true when it exists afterwards.
bool MakeFolders(const CString& path)
{
    std::string p(static_cast<const char*>(path));
    for (char& c : p) {
        if (c == '\\')
            c = '/';
    }
    for (size_t pos = 1; pos <= p.size(); ++pos) {
        if (pos == p.size() || p[pos] == '/') {
            std::string part = p.substr(0, pos);
            if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    struct stat st {};
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

// ---- live play ----

int CWebWatchBase::StartPlay()
{
    return StartLivePlayer(m_bMute);
}

int CWebWatchBase::StartPlay(int bMute)
{
    return StartLivePlayer(bMute);
}

int CWebWatchBase::StartLivePlayer(int bMute)
{
    CStateLock lock(m_hStateLock);
    if (m_player.IsPlaying())
        return 1;
    VXNET_HANDLE session;
    {
        CSectionLock sessionLock(m_csSession);
        session = m_hSession;
    }
    {
        CSectionLock player(m_csPlayer);
        m_player.SetSession(session, &m_csSession);
        if (!m_bRecordOnly)
            m_player.SetNotifyWindow(SelfHwnd());
        if (!m_player.CreatePlayInstance(m_bRecordOnly, m_nPreRecLen))
            return 0;
        m_player.SetMute(m_bRecordOnly ? 0 : bMute);
        if (!m_bRecordOnly)
            m_player.SetRenderWindow(RenderHwnd());
        m_player.SetMedia(GetStreamUrl(), VXVideoPlay::MODE_STREAM);
    }
    // The stream open waits on the camera: under the state and session
    // locks only, so display and recording calls go on meanwhile.
    if (m_player.StartPlay())
        return 1;
    // A start that failed halfway leaves no instance behind.
    ReleasePlayer();
    return 0;
}

void CWebWatchBase::ReleasePlayer()
{
    vxplay_inst inst;
    {
        CSectionLock player(m_csPlayer);
        if (m_player.IsRecording())
            CWebWatchBase::StopRecord();
        inst = m_player.TakeInstance();
    }
    // Closing the stream takes the session lock and joins the reader:
    // outside the player lock.
    m_player.ReleaseInstance(inst);
}

int CWebWatchBase::StopPlay()
{
    // A live view's stop cuts the stream open or request in flight first.
    const int live = m_bLive;
    if (live)
        InterruptSession(1);
    {
        CStateLock lock(m_hStateLock);
        ReleasePlayer();
    }
    if (live)
        InterruptSession(0);
    // The surface forgets its picture and paints black with its text again.
    if (HWND surface = m_hSurface.load()) {
        ::PostMessage(surface, UM_VX_CAMERA_VIDEO_STOPPED, VxForwardedWParam(m_nIndex, UM_VX_CAMERA_VIDEO_STOPPED), 0);
        ::InvalidateRect(surface, nullptr, TRUE);
    }
    return 1;
}

// ---- recording ----

int CWebWatchBase::StartRecord(int bFlag)
{
    CSectionLock player(m_csPlayer);
    HWND self = SelfHwnd();
    if (m_player.IsRecording()) {
        PostToParentForwarded(UM_VX_CAMERA_RECORD_STARTED);
        return 1;
    }
    if (m_nRecLenSwitch == 1 && self)
        ::KillTimer(self, TIMER_RECORD_SEGMENT);
    CString folder;
    {
        CSectionLock text(m_csText);
        folder = m_strRecordPath;
    }
    // The player makes the file on the stream's thread and never over an
    // existing one: a name taken after this look ends the segment as a
    // failed write, and the next one starts under a later name.
    const CString path = vxcam::NextFreeTimedPath(folder, time(nullptr), "%Y%m%d%H%M%S", ".mp4");
    if (path.IsEmpty() || !m_player.StartRecord(path, bFlag))
        return 0;
    {
        CSectionLock text(m_csText);
        m_strLastRecordFile = path;
    }
    PostToParentForwarded(UM_VX_CAMERA_RECORD_STARTED);
    if (m_nRecLenSwitch == 1 && self)
        ::SetTimer(self, TIMER_RECORD_SEGMENT, static_cast<UINT>(m_nRecLen) * 1000u, nullptr);
    return 1;
}

CWebWatchBase::RecordFailure CWebWatchBase::LastRecordFailure() const
{
    switch (m_player.RecordError()) {
    case VXPLAY_OK:
        return RECORD_FAILURE_NONE;
    case VXPLAY_ERR_NO_SPACE:
        return RECORD_FAILURE_DISK_FULL;
    case VXPLAY_ERR_IO:
    case VXPLAY_ERR_EXISTS:
        return RECORD_FAILURE_WRITE;
    case VXPLAY_ERR_NO_PICTURE:
        return RECORD_FAILURE_NO_PICTURE;
    default:
        return RECORD_FAILURE_OTHER;
    }
}

int CWebWatchBase::StopRecord()
{
    CSectionLock player(m_csPlayer);
    HWND self = SelfHwnd();
    if (m_nRecLenSwitch == 1 && self)
        ::KillTimer(self, TIMER_RECORD_SEGMENT);
    m_player.StopRecord();
    PostToParentForwarded(UM_VX_CAMERA_RECORD_STOPPED);
    return 1;
}

// ---- snapshots ----

int CWebWatchBase::Snapshot(int bLive, CString strFolder, int bSound)
{
    CSectionLock player(m_csPlayer);
    CString base = strFolder;
    if (base.IsEmpty()) {
        CSectionLock text(m_csText);
        base = m_strRecordPath;
    }
    // Without any folder the program's own folder takes the snapshots, not
    // the root or whatever the current directory happens to be.
    if (base.IsEmpty())
        base = vxk::ProgramDirectory().c_str();
    CString folder = vxcam::JoinFolder(base, "snapshot/");
    if (!MakeFolders(folder)) {
        vx_log(VX_LOG_ERROR, "[%s] snapshot folder %s cannot be made", static_cast<const char*>(m_stCameraInfo.strName),
               static_cast<const char*>(folder));
        return 0;
    }
    CString path = vxcam::NextFreeTimedPath(
        folder, time(nullptr), bLive ? "live_%y%m%d%H%M%S" : "playback_%y%m%d%H%M%S", ".png", [](const CString& p) {
            struct stat st {};
            return lstat(p, &st) == 0 || VXVideoPlay::IsSnapshotPending(p);
        });
    if (path.IsEmpty() || !m_player.Snapshot(path))
        return 0;
    if (bSound && !m_strShutterFile.IsEmpty())
        vxplay_play_wav(vxcam::JoinFolder(m_strShutterDir, m_strShutterFile), 1);
    return 1;
}

// ---- file playback ----

int CWebWatchBase::StartPlayFile(CWnd*, const CArray<STRecordFile>& list, int bMute)
{
    CStateLock lock(m_hStateLock);
    StopPlayFile();
    m_arrPlayList.Copy(list);
    m_nPlayIndex = 0;
    return SetPlayNextFile(bMute, 1);
}

int CWebWatchBase::StopPlayFile()
{
    CStateLock lock(m_hStateLock);
    StopPlayFileLocked();
    return 1;
}

void CWebWatchBase::StopPlayFileLocked()
{
    CWebWatchBase::StopPlay();
    if (m_hParentWnd)
        ::SendNotifyMessage(m_hParentWnd, UM_VX_PLAYFILE_NOTIFY, 3, 0);
}

int CWebWatchBase::SetPlayNextFile(int bMute, int nDirection)
{
    CStateLock lock(m_hStateLock);
    CWebWatchBase::StopPlay();
    if (nDirection == 0)
        ++m_nPlayIndex;
    else
        --m_nPlayIndex;
    if (m_nPlayIndex < 0)
        m_nPlayIndex = 0;
    // Past the end there is no next file: the caller stops playback (an empty
    // list plays nothing).
    if (m_nPlayIndex >= m_arrPlayList.GetSize())
        return 0;
    if (m_player.IsPlaying())
        return 1;
    return PlayListEntry(bMute, m_arrPlayList[m_nPlayIndex].strPath);
}

int CWebWatchBase::PlayListEntry(int bMute, const CString& strPath)
{
    const STRecordFile& entry = m_arrPlayList[m_nPlayIndex];
    if (!m_player.CreatePlayInstance(m_bRecordOnly, m_nPreRecLen))
        return 0;
    vx_log(VX_LOG_TRACE, "play file: %s", static_cast<const char*>(vxcam::MaskSecrets(strPath, "", "")));
    if (!m_bRecordOnly)
        m_player.SetNotifyWindow(SelfHwnd());
    if (entry.nMode == VXVideoPlay::MODE_STREAM) {
        CSectionLock session(m_csSession);
        m_player.SetSession(m_hSession, &m_csSession);
    }
    m_player.SetMedia(strPath, entry.nMode);
    m_player.SetMute(m_bRecordOnly ? 0 : bMute);
    m_player.SetRenderWindow(m_bRecordOnly ? nullptr : RenderHwnd());
    // A file that cannot be opened (gone, refused, no media) fails here, so
    // the caller shows the failure instead of waiting for pictures.
    if (!m_player.StartPlay()) {
        CWebWatchBase::StopPlay();
        return 0;
    }
    if (m_hParentWnd) {
        ::SendNotifyMessage(m_hParentWnd, UM_VX_PLAYFILE_NOTIFY, 0, entry.nNotifyValue);
        ::SendNotifyMessage(m_hParentWnd, UM_VX_PLAYFILE_NOTIFY, 1, static_cast<LPARAM>(m_player.GetFileLength()));
    }
    return 1;
}

int CWebWatchBase::PlayNextOrStop(int bMute)
{
    if (!SetPlayNextFile(bMute, 0))
        StopPlayFile();
    return 1;
}

int CWebWatchBase::PausePlayFile()
{
    CStateLock lock(m_hStateLock);
    if (m_player.IsPlaying())
        m_player.Pause();
    return 1;
}

int CWebWatchBase::ContinuePlayFile()
{
    CStateLock lock(m_hStateLock);
    if (m_player.IsPlaying())
        m_player.Resume();
    return 1;
}

int CWebWatchBase::PlayFilePos(int64_t nPosition)
{
    CStateLock lock(m_hStateLock);
    if (!m_player.IsPlaying())
        return 1;
    if (nPosition < m_player.GetFileLength()) {
        m_player.SetPosition(nPosition);
        return 1;
    }
    return PlayNextOrStop(1);
}

int CWebWatchBase::PlayFilePosPercent(double fFraction)
{
    CStateLock lock(m_hStateLock);
    if (!m_player.IsPlaying())
        return 1;
    if (fFraction >= 1.0)
        return PlayNextOrStop(1);
    return 1;
}

int CWebWatchBase::PlayFast(int bFast)
{
    m_bFastPlay = bFast;
    return 1;
}
