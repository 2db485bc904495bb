#include "camera/session/VXVideoPlay.h"

#include "camera/session/CameraMessages.h"
#include "camera/session/CgiReply.h"
#include "utility/vx_log.h"

#include <mutex>
#include <set>
#include <string>

namespace {

// Snapshot files that a player has been asked for but not yet written: a
// second snapshot within the same second must not pick the same name.
std::mutex g_pendingMutex;
std::set<std::string> g_pendingSnapshots;

class SessionLock {
public:
    explicit SessionLock(CRITICAL_SECTION* cs) : m_cs(cs)
    {
        if (m_cs)
            EnterCriticalSection(m_cs);
    }
    ~SessionLock()
    {
        if (m_cs)
            LeaveCriticalSection(m_cs);
    }
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

private:
    CRITICAL_SECTION* m_cs;
};

}  // namespace

VXVideoPlay::VXVideoPlay() = default;

VXVideoPlay::~VXVideoPlay()
{
    vx_log(VX_LOG_TRACE, "VXVideoPlay::~VXVideoPlay");
    DestroyPlayInstance();
}

void VXVideoPlay::SetCameraName(const CString& strName)
{
    m_strCameraName = strName;
}

void VXVideoPlay::SetSession(VXNET_HANDLE hSession, CRITICAL_SECTION* pSessionLock)
{
    m_hSession = hSession;
    m_pSessionLock = pSessionLock;
}

void VXVideoPlay::SetMedia(const CString& strPath, int nMode)
{
    m_strMedia = strPath;
    m_nMode = nMode;
}

void VXVideoPlay::SetNotifyWindow(HWND hWnd)
{
    m_hNotifyWnd = hWnd;
}
void VXVideoPlay::SetRenderWindow(HWND hWnd)
{
    m_hRenderWnd = hWnd;
}
void VXVideoPlay::SetMute(int bMute)
{
    m_bSound = bMute ? 0 : 1;
}

void VXVideoPlay::ApplySound(int bSound)
{
    m_bSound = bSound ? 1 : 0;
    vxplay_inst inst = m_inst.load();
    if (inst)
        vxplay_audio_set_enable(inst, m_bSound);
}

void VXVideoPlay::Post(UINT code, LPARAM lParam) const
{
    HWND hWnd = m_hNotifyWnd.load();
    if (hWnd)
        ::PostMessage(hWnd, code, code, lParam);
}

int VXVideoPlay::CreatePlayInstance(int bRecordOnly, int nPreRecLen)
{
    if (m_inst.load())
        return 1;
    vxplay_inst inst = nullptr;
    int rc = vxplay_create_instance(&inst, bRecordOnly ? 0 : 1, nPreRecLen);
    if (rc != 0) {
        vx_log(VX_LOG_ERROR, "vxplay create instance error");
        return 0;
    }
    if (!inst)
        return 0;
    m_inst = inst;
    m_bInstance = 1;
    // Stored before the flag is read, as InterruptFile does the reverse: one
    // of the two always sees the other.
    if (m_bFileInterrupt.load())
        vxplay_file_interrupt(inst, 1);
    return 1;
}

void VXVideoPlay::InterruptFile(int bOn)
{
    m_bFileInterrupt = bOn ? 1 : 0;
    // The registry of the player library answers a stale handle with an
    // error, so an instance going away meanwhile does no harm.
    if (vxplay_inst inst = m_inst.load())
        vxplay_file_interrupt(inst, bOn ? 1 : 0);
}

int VXVideoPlay::StartPlay()
{
    if (m_bPlaying.load())
        return 1;
    vxplay_inst inst = m_inst.load();
    if (!inst)
        return 0;
    m_nFileLength = 0;
    m_bPictureTold = 0;
    if (m_nMode == MODE_STREAM) {
        SessionLock lock(m_pSessionLock);
        if (!m_hSession)
            return 0;
        vx_log(VX_LOG_INFO, "vxnet set describe callback");
        vxnet_set_stream_track_callback(m_hSession, &VXVideoPlay::OnStreamTrack, this);
        vx_log(VX_LOG_INFO, "vxnet set stream callback");
        vxnet_set_stream_callback(m_hSession, &VXVideoPlay::OnStreamData, this);
        vxnet_set_stream_error_callback(m_hSession, &VXVideoPlay::OnStreamError, this);
    }
    if (vxplay_set_hwnd(inst, 0, m_hRenderWnd) != 0) {
        vx_log(VX_LOG_ERROR, "vxplay vxplay_set_hwnd error");
        return 0;
    }
    if (vxplay_play_start(inst) != 0) {
        vx_log(VX_LOG_ERROR, "vxplay_play_start error");
        return 0;
    }
    vxplay_audio_set_enable(inst, m_bSound);
    vxplay_set_decode_callback(inst, &VXVideoPlay::OnDecode, this);
    vxplay_set_event_callback(inst, &VXVideoPlay::OnEvent, this);
    if (m_nMode == MODE_STREAM) {
        vx_log(VX_LOG_INFO, "vxnet open rtsp");
        SessionLock lock(m_pSessionLock);
        if (vxnet_open_stream(m_hSession) != 0) {
            vx_log(VX_LOG_ERROR, "vxnet open rtsp error");
            return 0;
        }
    } else {
        vx_log(VX_LOG_INFO, "vxplay open file audio %s", m_bSound ? "on" : "off");
        int rc = vxplay_file_set(inst, m_strMedia);
        if (rc != 0)
            vx_log(VX_LOG_TRACE, "vxplay_file_set %d", rc);
        if (vxplay_file_open(inst) != 0) {
            vx_log(VX_LOG_ERROR, "vxplay open file error %s",
                   static_cast<const char*>(vxcam::MaskSecrets(m_strMedia, "", "")));
            return 0;
        }
        // The length is known once the file is open; the length event may
        // come later than the "length" notice the camera object sends now.
        int64_t length = vxplay_file_get_length(inst);
        if (length > 0)
            m_nFileLength = length;
    }
    m_bPlaying = 1;
    return 1;
}

void VXVideoPlay::DestroyPlayInstance()
{
    ReleaseInstance(TakeInstance());
}

vxplay_inst VXVideoPlay::TakeInstance()
{
    vx_log(VX_LOG_TRACE, "[%s] VXVideoPlay::DestroyPlayInstance", static_cast<const char*>(m_strCameraName));
    StopBitrateThread();
    vxplay_inst inst = m_inst.exchange(nullptr);
    if (inst && m_bPlaying.load())
        vxplay_set_osd(inst, -1, nullptr);
    m_bPlaying = 0;
    m_nFileLength = 0;
    m_bInstance = 0;
    return inst;
}

void VXVideoPlay::ReleaseInstance(vxplay_inst inst)
{
    const char* name = m_strCameraName;
    vx_log(VX_LOG_TRACE, "[%s] VXVideoPlay::StopPlay Start", name);
    if (inst) {
        if (m_nMode == MODE_STREAM) {
            vx_log(VX_LOG_TRACE, "vxnet_close_rtsp");
            SessionLock lock(m_pSessionLock);
            if (m_hSession)
                vxnet_close_stream(m_hSession);
        } else {
            vx_log(VX_LOG_TRACE, "vxplay_file_close");
            vxplay_file_close(inst);
        }
        vx_log(VX_LOG_TRACE, "vxplay_play_stop");
        vxplay_play_stop(inst);
        vx_log(VX_LOG_TRACE, "vxplay_destroy_instance");
        vxplay_destroy_instance(inst);
    }
    vx_log(VX_LOG_TRACE, "[%s] VXVideoPlay::StopPlay Stopped", name);
}

int VXVideoPlay::IsRecording() const
{
    vxplay_inst inst = m_inst.load();
    return inst && vxplay_record_status(inst) == 1 ? 1 : 0;
}

int VXVideoPlay::StartRecord(const CString& strPath, int bFlag)
{
    vxplay_inst inst = m_inst.load();
    if (!inst)
        return 0;
    if (vxplay_record_status(inst) == 1)
        return 1;
    // The file is made on the stream's thread: a start never waits for the
    // disk (one that cannot be made ends the recording as a failed write).
    int rc = vxplay_record_request(inst, strPath, bFlag ? 1 : 0, &VXVideoPlay::OnRecordResult, this);
    m_nRecordError = rc;
    if (rc != 0) {
        vx_log(VX_LOG_INFO, "record err %d-%s", rc, static_cast<const char*>(strPath));
        return 0;
    }
    return 1;
}

int64_t VXVideoPlay::RecordedPackets() const
{
    vxplay_inst inst = m_inst.load();
    int64_t received = 0, recorded = 0;
    if (!inst || vxplay_record_counts(inst, &received, &recorded) != 0)
        return 0;
    return recorded;
}

void VXVideoPlay::StopRecord()
{
    vxplay_inst inst = m_inst.load();
    if (inst && vxplay_record_status(inst) == 1)
        vxplay_record_stop(inst);
}

int VXVideoPlay::Snapshot(const CString& strPath)
{
    vxplay_inst inst = m_inst.load();
    if (!inst)
        return 0;
    {
        std::lock_guard lock(g_pendingMutex);
        g_pendingSnapshots.insert(std::string(strPath));
    }
    int rc = vxplay_snapshot(inst, strPath, &VXVideoPlay::OnSnapshotResult, this);
    if (rc != 0) {
        vx_log(VX_LOG_INFO, "snapshot err %d-%s", rc, static_cast<const char*>(strPath));
        // A failed request made no callback (or made it already): the name is free again.
        std::lock_guard lock(g_pendingMutex);
        g_pendingSnapshots.erase(std::string(strPath));
        return 0;
    }
    return 1;
}

bool VXVideoPlay::IsSnapshotPending(const CString& strPath)
{
    std::lock_guard lock(g_pendingMutex);
    return g_pendingSnapshots.count(std::string(strPath)) != 0;
}

int VXVideoPlay::SetTransform(int nTransform)
{
    vxplay_inst inst = m_inst.load();
    return inst ? vxplay_set_transform(inst, nTransform) : -1;
}

int VXVideoPlay::SetAspect(float fAspect)
{
    vxplay_inst inst = m_inst.load();
    return inst ? vxplay_set_aspect_ratio(inst, fAspect) : -1;
}

int VXVideoPlay::DisplayLast()
{
    vxplay_inst inst = m_inst.load();
    return inst ? vxplay_display_last(inst) : -1;
}

int64_t VXVideoPlay::GetFilePosition() const
{
    vxplay_inst inst = m_inst.load();
    return inst ? vxplay_file_get_position(inst) : -1;
}

int VXVideoPlay::Pause()
{
    vxplay_inst inst = m_inst.load();
    return inst ? vxplay_file_pause(inst) : -1;
}

int VXVideoPlay::Resume()
{
    vxplay_inst inst = m_inst.load();
    return inst ? vxplay_file_resume(inst) : -1;
}

int VXVideoPlay::SetPosition(int64_t nPosition)
{
    vxplay_inst inst = m_inst.load();
    if (!inst)
        return -1;
    vx_log(VX_LOG_TRACE, "VXVideoPlay SetPosition: %lld / %lld", static_cast<long long>(nPosition),
           static_cast<long long>(m_nFileLength.load()));
    return vxplay_file_set_position(inst, nPosition);
}

// Fast play, seeking by percent and scaling are not offered by the player.
int VXVideoPlay::PlayFast(int)
{
    return m_inst.load() ? 0 : -1;
}
int VXVideoPlay::SetPositionPercent(double)
{
    return m_inst.load() ? 0 : -1;
}
int VXVideoPlay::SetVideoScale(float)
{
    return m_inst.load() ? 0 : -1;
}

// ---- bitrate display ----

void VXVideoPlay::ShowBitrate(int bShow)
{
    vxplay_inst inst = m_inst.load();
    if (bShow) {
        if (!inst || !m_bPlaying.load() || m_hBitrateThread)
            return;
        if (!m_hBitrateWake)
            m_hBitrateWake = CreateEvent(nullptr, TRUE, FALSE, nullptr);
        ResetEvent(m_hBitrateWake);
        m_bBitrateRun = 1;
        m_hBitrateThread = CreateThread(nullptr, 0, &VXVideoPlay::BitrateThread, this, CREATE_SUSPENDED, nullptr);
        if (!m_hBitrateThread) {
            m_bBitrateRun = 0;
            return;
        }
        ResumeThread(m_hBitrateThread);
    } else {
        StopBitrateThread();
        if (inst)
            vxplay_set_osd(inst, -1, nullptr);
    }
}

void VXVideoPlay::StopBitrateThread()
{
    m_bBitrateRun = 0;
    if (m_hBitrateWake)
        SetEvent(m_hBitrateWake);
    if (m_hBitrateThread) {
        // The thread waits on the wake event and takes the session lock for
        // one short call, so it ends promptly; a join keeps its stack ours.
        WaitForSingleObject(m_hBitrateThread, INFINITE);
        CloseHandle(m_hBitrateThread);
        m_hBitrateThread = nullptr;
    }
    if (m_hBitrateWake) {
        CloseHandle(m_hBitrateWake);
        m_hBitrateWake = nullptr;
    }
}

DWORD WINAPI VXVideoPlay::BitrateThread(LPVOID param)
{
    vxk::SetCurrentThreadName("vxcam-bitrate");
    static_cast<VXVideoPlay*>(param)->BitrateLoop();
    return 0;
}

void VXVideoPlay::BitrateLoop()
{
    float lastBitrate = 0;
    while (m_bBitrateRun.load()) {
        vxplay_inst inst = m_inst.load();
        if (inst && m_bPlaying.load()) {
            // A request in flight holds the session lock for seconds: the
            // figure waits for the next second instead of this thread (its
            // stop joins it under the camera object's player lock).
            float bitrate = lastBitrate;
            if (!m_pSessionLock || TryEnterCriticalSection(m_pSessionLock)) {
                if (m_hSession)
                    bitrate = vxnet_get_bitrate(m_hSession);
                if (m_pSessionLock)
                    LeaveCriticalSection(m_pSessionLock);
            }
            lastBitrate = bitrate;
            char text[256];
            snprintf(text, sizeof text, "%6.2f kbps", static_cast<double>(bitrate) / 1024.0);
            vxplay_set_osd(inst, 0, text);
        }
        if (WaitForSingleObject(m_hBitrateWake, 1000) == WAIT_OBJECT_0)
            break;
    }
}

// ---- callbacks (vxnet's and vxplay's threads; no lock) ----

void VXVideoPlay::OnStreamTrack(void* user, const vxstream_track* track)
{
    auto* self = static_cast<VXVideoPlay*>(user);
    vxplay_inst inst = self->m_inst.load();
    if (inst)
        vxplay_init_track(inst, track);
}

void VXVideoPlay::OnStreamData(void* user, int streamIndex, int mediaType, const uint8_t* data, int size, int64_t pts,
                               int64_t dts, int flags)
{
    auto* self = static_cast<VXVideoPlay*>(user);
    vxplay_inst inst = self->m_inst.load();
    if (inst)
        vxplay_input_stream(inst, self, streamIndex, mediaType, data, size, pts, dts, flags);
}

void VXVideoPlay::OnStreamError(void* user, int code)
{
    auto* self = static_cast<VXVideoPlay*>(user);
    vx_log(VX_LOG_INFO, "rtsp_stream_err_func %d", code);
    self->m_bPlaying = 0;
    self->Post(UM_VX_CAMERA_VIDEO_FAILED);
}

void VXVideoPlay::OnDecode(void* user, int a, int b)
{
    if (a != 0 || b != 0)
        return;
    static_cast<VXVideoPlay*>(user)->PostFirstPicture();
}

// The player tells of its first picture twice (decode callback and event):
// the window hears of it once per start.
void VXVideoPlay::PostFirstPicture()
{
    if (m_bPictureTold.exchange(1))
        return;
    vx_log(VX_LOG_INFO, "VXVideoPlay::mediaplayerEventHandle UM_VX_CAMERA_VIDEO_VOUT");
    Post(UM_VX_CAMERA_VIDEO_VOUT);
}

void VXVideoPlay::OnEvent(void* user, int code, int64_t value)
{
    auto* self = static_cast<VXVideoPlay*>(user);
    vx_log(VX_LOG_TRACE, "play_event_func %d-%lld", code, static_cast<long long>(value));
    switch (code) {
    case 1025:
        self->m_nFileLength = value;
        vx_log(VX_LOG_TRACE, "[%s] VXVideoPlay: length changed: %lld", static_cast<const char*>(self->m_strCameraName),
               static_cast<long long>(value));
        // The whole 64-bit value: a file over 35:47 has a length in
        // microseconds beyond 32 bits.
        self->Post(UM_VX_CAMERA_FILE_LENGTH, static_cast<LPARAM>(value));
        break;
    case 1026:
        self->Post(UM_VX_CAMERA_FILE_POSITION, static_cast<LPARAM>(value));
        break;
    case 1027:
    case 1051:
        self->m_bPlaying = 0;
        self->Post(UM_VX_CAMERA_VIDEO_STOPPED);
        break;
    case 1028:
    case 1056:
        self->m_bPlaying = 0;
        self->Post(UM_VX_CAMERA_FILE_END);
        break;
    case 1029:
    case 1049:
        self->m_bPlaying = 0;
        self->Post(UM_VX_CAMERA_VIDEO_FAILED);
        break;
    case 1057:
        self->PostFirstPicture();
        break;
    case 1052:
    case 1030:
    case 1055:
    case 1064:
        self->Post(static_cast<UINT>(code), static_cast<LPARAM>(value));
        break;
    default:
        break;
    }
}

void VXVideoPlay::OnRecordResult(void* user, int result, const char* path)
{
    if (result == 0) {
        vx_log(VX_LOG_INFO, "record ok %s", path);
        return;
    }
    auto* self = static_cast<VXVideoPlay*>(user);
    self->m_nRecordError = result;
    self->Post(UM_VX_CAMERA_RECORD_STOPPED);
    vx_log(VX_LOG_INFO, "record err %d-%s", result, path);
}

void VXVideoPlay::OnSnapshotResult(void*, int result, const char* path)
{
    if (result == 0)
        vx_log(VX_LOG_INFO, "snapshot ok %s", path);
    else
        vx_log(VX_LOG_INFO, "snapshot err %d-%s", result, path);
    std::lock_guard lock(g_pendingMutex);
    g_pendingSnapshots.erase(std::string(path ? path : ""));
}
