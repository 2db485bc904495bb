// The recording thread of a started camera and the motion recording that a
// motion alarm starts on the GUI thread.
//
// The slot mutex of the run guards the schedule record, the recording and
// motion flags and every segment start, segment stop and clean-up of the
// camera object, on both threads; Connect and StartPlay run outside it, and
// nothing waits while holding it. The thread reads its schedule record as a
// whole copy taken under the mutex at each check, so a reload on the GUI
// thread never shows it half a folder.
#include "recorder/CMainDlg.h"

#include "camera/session/CWebWatchNB.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/RecordLogic.h"
#include "utility/vx_log.h"

#include <memory>

namespace {

using record_logic::ScheduleKind;

class MutexLock {
public:
    explicit MutexLock(HANDLE mutex) : m_hMutex(mutex)
    {
        if (m_hMutex)
            WaitForSingleObject(m_hMutex, INFINITE);
    }
    ~MutexLock() { Release(); }
    void Release()
    {
        if (m_hMutex)
            ReleaseMutex(m_hMutex);
        m_hMutex = nullptr;
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HANDLE m_hMutex;
};

// What the thread checks against, copied whole under the slot mutex.
STCameraInfoKst Snapshot(STIPCfgKst& rec)
{
    MutexLock lock(rec.m_hMutex);
    rec.m_bScheduleChanged = FALSE;
    return rec.m_stCameraInfo;
}

ScheduleKind KindNow(const STCameraInfoKst& info)
{
    return record_logic::KindNow(info.arrContinuous, info.arrMotion);
}

DWORD RecordLengthMs()
{
    int minutes = GlobalInfo().m_nRecordLength.load(std::memory_order_relaxed);
    if (minutes < 1)
        minutes = 1;
    return static_cast<DWORD>(minutes) * 60000u;
}

enum class Next { MainPass, End };

// A segment that takes no packet in this time holds nothing a file can
// play: the stream has no track a recording can use.
constexpr DWORD kNothingRecordableMs = 15000;

// The record folder may have gone since the rows were loaded (deleted by
// hand, a disk mounted anew): made again before every segment.
bool MakeRecordFolder(const char* folder)
{
    if (!folder[0])
        return false;
    if (PathIsDirectoryA(folder))
        return true;
    CString withSlash = folder;
    if (withSlash.Right(1) != "/")
        withSlash += "/";
    return MakeSureDirectoryPathExists(withSlash) && PathIsDirectoryA(folder);
}

int StatusOfFailure(CWebWatchBase::RecordFailure failure)
{
    switch (failure) {
    case CWebWatchBase::RECORD_FAILURE_DISK_FULL:
        return record_logic::kStatusDiskFull;
    case CWebWatchBase::RECORD_FAILURE_WRITE:
        return record_logic::kStatusWriteFailed;
    case CWebWatchBase::RECORD_FAILURE_NO_PICTURE:
        return record_logic::kStatusNotRecordable;
    default:
        return 18;
    }
}

}  // namespace

const STIPCfgKst* CMainDlg::RunRecord(int slot) const
{
    if (slot < 0 || slot >= MAX_CAMERA || !m_arrRun[slot])
        return nullptr;
    return &m_arrRun[slot]->rec;
}

int CMainDlg::ConnectServer(STIPCfgKst* slot)
{
    if (!slot || !slot->m_pCamera)
        return 18;
    CWebWatchNB* camera = slot->m_pCamera;
    if (!camera->Connect()) {
        vx_log(6, "ConnectServer::Connect err");
        return camera->IsLoginRefused() ? REC_STATE_LOGIN_REFUSED : 17;
    }
    if (!camera->StartPlay()) {
        vx_log(6, "ConnectServer::StartPlay err");
        // Logged in without a stream: the next pass must connect again, not
        // find a session and fail to record on it for ever.
        MutexLock lock(slot->m_hMutex);
        camera->Cleanup();
        return 18;
    }
    return 2;
}

DWORD WINAPI CMainDlg::DoRecord(LPVOID param)
{
    std::unique_ptr<std::shared_ptr<STCameraRun>> holder(static_cast<std::shared_ptr<STCameraRun>*>(param));
    std::shared_ptr<STCameraRun> run = *holder;
    holder.reset();
    CMainDlg* dlg = run->rec.m_pOwner;
    if (dlg)
        dlg->RecordLoop(*run);
    // The window waits for this signal, then releases the run's object.
    SetEvent(run->rec.m_hFinishEvent);
    return 0;
}

void CMainDlg::RecordLoop(STCameraRun& run)
{
    STIPCfgKst& rec = run.rec;
    const int id = rec.CAMERAID;
    auto post = [&](int code) {
        if (!run.bDetached)
            PostRecordMsg(id, code, "");
    };
    auto stopped = [&] { return rec.m_bStop.load(); };
    // A wait that a stop ends at once; true when stopped.
    auto wait = [&](DWORD ms) { return WaitForSingleObject(run.hStopEvent, ms) == WAIT_OBJECT_0 || stopped(); };
    auto cleanUp = [&] {
        if (!run.bDetached && m_hWnd)
            ::KillTimer(m_hWnd, MOTION_TIMER_BASE + id);
        MutexLock lock(rec.m_hMutex);
        if (rec.m_pCamera)
            rec.m_pCamera->Cleanup();
        rec.m_bRecording = FALSE;
        rec.m_bMotion = FALSE;
    };
    auto connected = [&] { return rec.m_pCamera && rec.m_pCamera->IsLogin() && rec.m_pCamera->IsPlaying(); };
    auto low = [&](const STCameraInfoKst& info) { return GetDriveInfo(info.REC_PATH).bLow != FALSE; };
    // The status of the latest segment that could not start or ended by
    // itself: it stays in the list while the thread retries, instead of
    // "Idle" every 3 s.
    int failure = 0;

    if (id <= 0) {
        post(16);
        return;
    }
    for (;;) {
        // ---- main pass ----
        if (stopped())
            return;
        STCameraInfoKst info = Snapshot(rec);
        // A connection left idle by a segment change or the end of a motion
        // hold must not stay open for hours in the states below.
        if (low(info)) {
            if (connected() || rec.m_bRecording)
                cleanUp();
            post(5);
            if (wait(1000))
                return;
            continue;
        }
        if (!info.REC_ENABLE) {
            if (connected() || rec.m_bRecording)
                cleanUp();
            post(4);
            if (wait(1000))
                return;
            continue;
        }
        ScheduleKind kind = KindNow(info);
        if (kind == record_logic::kOffSchedule) {
            if (connected() || rec.m_bRecording)
                cleanUp();
            post(3);
            if (wait(1000))
                return;
            continue;
        }
        if (rec.m_bRecording || !failure)
            post(rec.m_bRecording ? 2 : 1);

        if (kind == record_logic::kMotion) {
            // ---- motion path ----
            rec.m_bVideoFailed = FALSE;
            if (!connected()) {
                int result = ConnectServer(&rec);
                if (result != 2) {
                    if (!stopped())
                        post(result);
                    if (wait(3000))
                        return;
                    rec.m_bRecording = FALSE;
                    continue;
                }
            }
            bool toContinuous = false;
            for (;;) {
                if (stopped()) {
                    vx_log(6, "DoRecord [motion] stop checked");
                    cleanUp();
                    return;
                }
                info = Snapshot(rec);
                kind = KindNow(info);
                if (!info.REC_ENABLE || kind == record_logic::kOffSchedule || low(info)
                    || (rec.TYPE == 2 && rec.m_bVideoFailed) || !connected()) {
                    cleanUp();
                    break;
                }
                if (kind != record_logic::kMotion || rec.m_bMotion) {
                    toContinuous = true;
                    break;
                }
                post(7);
                if (wait(1000)) {
                    vx_log(6, "DoRecord [motion]  stop checked when sleep");
                    cleanUp();
                    return;
                }
            }
            if (!toContinuous)
                continue;
        }

        // ---- continuous path ----
        if (!connected()) {
            rec.m_bVideoFailed = FALSE;
            int result = ConnectServer(&rec);
            if (result != 2) {
                if (!stopped())
                    post(result);
                if (wait(3000))
                    return;
                rec.m_bRecording = FALSE;
                continue;
            }
        }
        {
            MutexLock lock(rec.m_hMutex);
            if (!rec.m_bRecording) {
                bool started = false;
                int why = 18;
                if (rec.m_pCamera) {
                    if (!MakeRecordFolder(rec.m_stCameraInfo.REC_PATH)) {
                        why = record_logic::kStatusFolderFailed;
                        if (failure != why)
                            vx_log(2, "DoRecord cannot create the record folder %s", rec.m_stCameraInfo.REC_PATH);
                    } else {
                        rec.m_pCamera->SetRecordPath(rec.m_stCameraInfo.REC_PATH);
                        started = rec.m_pCamera->StartRecord(1) != 0;
                        if (!started)
                            why = StatusOfFailure(rec.m_pCamera->LastRecordFailure());
                    }
                }
                if (started) {
                    failure = 0;
                    if (!stopped()) {
                        rec.m_bRecording = TRUE;
                        post(2);
                    }
                    rec.m_dwSegmentStart = GetTickCount();
                } else {
                    // Release first: the GUI thread's motion alarm takes the
                    // mutex without a time-out.
                    lock.Release();
                    failure = why;
                    if (!stopped())
                        post(why);
                    if (wait(3000)) {
                        vx_log(6, "DoRecord [continious] stop checked when start record failed");
                        cleanUp();
                        return;
                    }
                    rec.m_bRecording = FALSE;
                    continue;
                }
            }
        }

        // ---- recording loop ----
        const int64_t packetsAtStart = rec.m_pCamera ? rec.m_pCamera->RecordedPackets() : 0;
        bool nothingRecordable = false;
        for (;;) {
            if (stopped()) {
                vx_log(6, "DoRecord [continious] stop checked");
                cleanUp();
                return;
            }
            if (GetTickCount() - rec.m_dwSegmentStart.load() >= RecordLengthMs()) {
                vx_log(6, "DoRecord [continious] record length reached, switch");
                MutexLock lock(rec.m_hMutex);
                if (rec.m_pCamera)
                    rec.m_pCamera->StopRecord();
                rec.m_bRecording = FALSE;
                break;
            }
            if (rec.TYPE == 2 && rec.m_bVideoFailed) {
                cleanUp();
                break;
            }
            if (!rec.m_pCamera || !rec.m_pCamera->IsPlaying()) {
                vx_log(6, "DoRecord [continious] no video checked length reached");
                cleanUp();
                break;
            }
            if (!rec.m_pCamera->IsRecording()) {
                // The player closed the segment by itself: writing it failed
                // (a full disk, a folder gone). What reached the file plays;
                // the next pass starts the next one as soon as it can.
                MutexLock lock(rec.m_hMutex);
                if (rec.m_bRecording && rec.m_pCamera && !rec.m_pCamera->IsRecording()) {
                    failure = StatusOfFailure(rec.m_pCamera->LastRecordFailure());
                    rec.m_pCamera->StopRecord();
                    rec.m_bRecording = FALSE;
                    lock.Release();
                    vx_log(2, "DoRecord the segment of camera %d ended by itself, status %d", id, failure);
                    post(failure);
                    if (wait(3000)) {
                        cleanUp();
                        return;
                    }
                    break;
                }
            }
            // The stream plays but gives the file nothing: say so instead of
            // "Recording" for a file that will be removed empty.
            const bool takesNothing = GetTickCount() - rec.m_dwSegmentStart.load() >= kNothingRecordableMs
                                      && rec.m_pCamera->RecordedPackets() == packetsAtStart;
            if (takesNothing != nothingRecordable) {
                nothingRecordable = takesNothing;
                post(takesNothing ? record_logic::kStatusNotRecordable : 2);
            }
            info = Snapshot(rec);
            if (!info.REC_ENABLE) {
                cleanUp();
                break;
            }
            kind = KindNow(info);
            if (kind == record_logic::kOffSchedule) {
                cleanUp();
                post(3);
                break;
            }
            if (kind == record_logic::kMotion && !rec.m_bMotion) {
                {
                    MutexLock lock(rec.m_hMutex);
                    // A motion alarm may have opened a hold meanwhile.
                    if (rec.m_bMotion)
                        continue;
                    if (rec.m_pCamera && rec.m_pCamera->StopRecord())
                        rec.m_bRecording = FALSE;
                }
                post(7);
                break;
            }
            if (low(info)) {
                cleanUp();
                post(5);
                break;
            }
            if (wait(1000)) {
                vx_log(6, "DoRecord [continious] close checked when sleep");
                cleanUp();
                return;
            }
        }
    }
}

int CMainDlg::DoMotionRecord(STIPCfgKst* slot)
{
    if (!slot || slot->m_bStop || !slot->m_hMutex)
        return 1;
    MutexLock lock(slot->m_hMutex);
    const STCameraInfoKst& info = slot->m_stCameraInfo;
    if (!info.REC_ENABLE || KindNow(info) != record_logic::kMotion)
        return 1;
    const UINT_PTR timer = MOTION_TIMER_BASE + slot->CAMERAID;
    if (!slot->m_bRecording) {
        CWebWatchNB* camera = slot->m_pCamera;
        // Only on a stream that plays: the thread connects, never this one.
        if (!camera || !camera->IsLogin() || !camera->IsPlaying())
            return 0;
        if (!MakeRecordFolder(info.REC_PATH)) {
            PostRecordMsg(slot->CAMERAID, record_logic::kStatusFolderFailed, "");
            return 0;
        }
        camera->SetRecordPath(info.REC_PATH);
        if (!camera->StartRecord(1))
            return 0;
        slot->m_dwSegmentStart = GetTickCount();
        slot->m_bMotion = TRUE;
        slot->m_bRecording = TRUE;
        PostRecordMsg(slot->CAMERAID, 2, "");
        SetTimer(timer, MOTION_HOLD_MS, nullptr);
        return 1;
    }
    KillTimer(timer);
    SetTimer(timer, MOTION_HOLD_MS, nullptr);
    slot->m_bMotion = TRUE;
    return 1;
}
