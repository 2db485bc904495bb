// Camera commands of the main window: start, stop, add, edit, delete, the
// schedule reload, and the camera objects' motion alarms, hold timers and
// notices. All of them run on the GUI thread.
#include "recorder/CMainDlg.h"

#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "camera/session/StateLock.h"
#include "recorder/CDlgSetIP.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/CVSClientApp.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

int CMainDlg::DoStartCamera(int row)
{
    const int index = SlotOfRow(row);
    if (index < 0 || m_bExit)
        return 1;
    STIPCfgKst& slot = m_arrSlot[index];
    if (slot.CAMERAID <= 0 || slot.m_hFinishEvent)
        return 1;
    ReapEndingRuns(false);

    auto run = std::make_shared<STCameraRun>();
    {
        CSectionLock lock(m_csSlot);
        slot.m_bRecording = FALSE;
        slot.m_bStop = FALSE;
        slot.m_bMotion = FALSE;
        slot.m_bVideoFailed = FALSE;
        slot.m_hFinishEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        slot.m_hMutex = CreateMutexA(nullptr, FALSE, nullptr);
        if (!slot.m_pCamera) {
            vx_log(4, "DoStartCamera new %d-%s-%p", slot.CAMERAID, slot.IP, static_cast<void*>(m_hWnd));
            slot.m_pCamera = new CWebWatchNB(1, slot.CAMERAID, 0, this);
        } else {
            vx_log(4, "DoStartCamera %s", slot.IP);
        }
        slot.m_pCamera->SetCameraInfo(slot.IP, slot.PORT, slot.RTSP, slot.STREAM, slot.CHANNEL, slot.UID, slot.PWD);
        slot.m_pCamera->SetRecordOnly(1);
        slot.m_pOwner = this;
        run->rec = slot;
        run->hStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_arrRun[index] = run;
    }
    auto* param = new std::shared_ptr<STCameraRun>(run);
    run->hThread = CreateThread(nullptr, 0, DoRecord, param, 0, nullptr);
    if (!run->hThread) {
        delete param;
        vx_log(2, "DoStartCamera %d: the recording thread could not be started", slot.CAMERAID);
    }
    return 1;
}

void CMainDlg::SetRunStop(STCameraRun& run)
{
    run.rec.m_bStop = TRUE;
    if (run.hStopEvent)
        SetEvent(run.hStopEvent);
    // The thread may wait on a camera that does not answer: its calls end
    // now, so the wait for it below is short. The object goes with the run.
    if (run.rec.m_pCamera)
        run.rec.m_pCamera->InterruptSession(1);
}

void CMainDlg::FinishRun(STCameraRun& run)
{
    if (run.hThread) {
        WaitForSingleObject(run.hThread, INFINITE);
        CloseHandle(run.hThread);
        run.hThread = nullptr;
    }
    if (run.rec.m_pCamera) {
        vx_log(6, "DoStopCamera delete instance");
        delete run.rec.m_pCamera;
        run.rec.m_pCamera = nullptr;
    }
    for (HANDLE* h : {&run.rec.m_hFinishEvent, &run.rec.m_hMutex, &run.hStopEvent}) {
        if (*h) {
            CloseHandle(*h);
            *h = nullptr;
        }
    }
}

void CMainDlg::ReapEndingRuns(bool wait)
{
    for (size_t i = 0; i < m_vecEnding.size();) {
        STCameraRun& run = *m_vecEnding[i];
        if (wait || !run.hThread || WaitForSingleObject(run.hThread, 0) == WAIT_OBJECT_0) {
            FinishRun(run);
            m_vecEnding.erase(m_vecEnding.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

int CMainDlg::DoStopCamera(int row)
{
    const int index = SlotOfRow(row);
    if (index < 0)
        return 1;
    STIPCfgKst& slot = m_arrSlot[index];
    KillTimer(MOTION_TIMER_BASE + slot.CAMERAID);
    if (slot.CAMERAID <= 0 || !slot.m_hFinishEvent)
        return 1;
    std::shared_ptr<STCameraRun> run = m_arrRun[index];
    if (run) {
        SetRunStop(*run);
        vx_log(6, "DoStopCamera waiting");
        DWORD result = run->hThread ? WaitForSingleObject(run->rec.m_hFinishEvent, s_dwStopWaitMs) : WAIT_TIMEOUT;
        vx_log(6, "DoStopCamera finish signal got");
        if (result == WAIT_OBJECT_0) {
            FinishRun(*run);
        } else {
            // The thread is still inside a camera library call: the run's
            // object, mutex and events stay its own until it ends, and are
            // released here afterwards. The slot is free for a new start.
            vx_log(3, "DoStopCamera %d: the recording thread has not ended yet", slot.CAMERAID);
            run->bDetached = true;
            m_vecEnding.push_back(run);
        }
    }
    {
        CSectionLock lock(m_csSlot);
        m_arrRun[index].reset();
        slot.m_hFinishEvent = nullptr;
        slot.m_hMutex = nullptr;
        slot.m_pCamera = nullptr;
        slot.m_bStop = FALSE;
        slot.m_bRecording = FALSE;
        slot.m_bMotion = FALSE;
    }
    PostRecordMsg(slot.CAMERAID, 0, "");
    return 1;
}

void CMainDlg::DoStopAll()
{
    vx_log(6, "DoStopAll set flag");
    {
        CSectionLock lock(m_csSlot);
        for (auto& run : m_arrRun) {
            if (run)
                SetRunStop(*run);
        }
    }
    vx_log(6, "DoStopAll wait finish");
    for (int row = 0; row < m_listCamera.GetItemCount(); ++row) {
        DoStopCamera(row);
        Sleep(0);
    }
    vx_log(6, "DoStopAll finish");
}

void CMainDlg::ReloadSchedules()
{
    CGlobalInfo& global = GlobalInfo();
    CSectionLock lock(m_csSlot);
    for (int i = 0; i < MAX_CAMERA; ++i) {
        STIPCfgKst& slot = m_arrSlot[i];
        if (slot.CAMERAID <= 0)
            continue;
        STCameraInfoKst info;
        info.CAMERAID = slot.CAMERAID;
        // A row that cannot be read now keeps the schedule the camera has.
        if (!global.m_db.LoadSchedule(info, TRUE))
            continue;
        slot.m_stCameraInfo = info;
        slot.m_bScheduleChanged = TRUE;
        if (m_arrRun[i]) {
            STIPCfgKst& rec = m_arrRun[i]->rec;
            WaitForSingleObject(rec.m_hMutex, INFINITE);
            rec.m_stCameraInfo = info;
            rec.m_bScheduleChanged = TRUE;
            ReleaseMutex(rec.m_hMutex);
        }
        for (INT_PTR k = 0; k < global.m_arrCameras.GetSize(); ++k) {
            if (global.m_arrCameras[k].CAMERAID == slot.CAMERAID) {
                global.m_arrCameras[k].m_stCameraInfo = info;
                break;
            }
        }
    }
}

void CMainDlg::EditCamera(int cameraId, int row)
{
    CGlobalInfo& global = GlobalInfo();
    CDlgSetIP dlg(nullptr);
    dlg.m_nCameraID = cameraId;
    if (dlg.DoModal() != IDOK || !dlg.m_bChanged || dlg.m_nCameraID < 0)
        return;
    for (INT_PTR i = 0; i < global.m_arrCameras.GetSize(); ++i) {
        if (global.m_arrCameras[i].CAMERAID != dlg.m_nCameraID)
            continue;
        STIPCfgKst entry = global.m_arrCameras[i];
        if (dlg.m_bNew) {
            InsertCameraItem(entry, -1);
            if (global.m_nStartRecord == 1)
                DoStartCamera(m_listCamera.GetItemCount() - 1);
        } else {
            InsertCameraItem(entry, row);
        }
        return;
    }
}

void CMainDlg::DeleteCamera(int row)
{
    const int index = SlotOfRow(row);
    if (index < 0)
        return;
    STIPCfgKst& slot = m_arrSlot[index];
    if (slot.CAMERAID <= 0 || slot.m_hFinishEvent)
        return;
    CGlobalInfo& global = GlobalInfo();
    {
        CSectionLock lock(m_csSlot);
        const int id = slot.CAMERAID;
        int listIndex = -1;
        for (INT_PTR i = 0; i < global.m_arrCameras.GetSize(); ++i) {
            if (global.m_arrCameras[i].CAMERAID == id) {
                listIndex = static_cast<int>(i);
                break;
            }
        }
        global.m_db.DeleteCamera(id);
        delete slot.m_pCamera;
        slot.Clear();
        if (listIndex >= 0) {
            global.m_arrCameras.RemoveAt(listIndex);
            m_nCameraCount = static_cast<int>(global.m_arrCameras.GetSize());
            m_listCamera.DeleteItem(listIndex);
            for (int r = listIndex; r < m_listCamera.GetItemCount(); ++r) {
                CString number;
                number.Format("%d", r + 1);
                m_listCamera.SetItemText(r, 1, number);
            }
        }
    }
    UpdateButtons();
}

void CMainDlg::OnBtnAddCamera()
{
    if (UpdateButtons())
        return;
    EditCamera(-1, -1);
    UpdateButtons();
}

void CMainDlg::OnMenuEditCamera()
{
    const int index = SlotOfRow(m_nSelItem);
    if (index < 0 || m_arrSlot[index].CAMERAID <= 0 || m_arrSlot[index].m_hFinishEvent)
        return;
    EditCamera(m_arrSlot[index].CAMERAID, m_nSelItem);
    UpdateButtons();
}

void CMainDlg::OnMenuDeleteCamera()
{
    if (AppMessageBox(this, IDS_CAPTION, IDS_ASK_DELETE_CAMERA, MB_YESNO) != IDYES)
        return;
    DeleteCamera(m_nSelItem);
}

void CMainDlg::OnBtnDeleteAll()
{
    UINT question = AnyCameraRunning() ? IDS_ASK_DELETE_ALL_RUNNING : IDS_ASK_DELETE_ALL;
    if (AppMessageBox(this, IDS_CAPTION, question, MB_YESNO) != IDYES)
        return;
    CWaitCursor wait;
    DoStopAll();
    for (int row = m_listCamera.GetItemCount() - 1; row >= 0; --row)
        DeleteCamera(row);
    UpdateButtons();
}

void CMainDlg::OnMenuStartCamera()
{
    DoStartCamera(m_nSelItem);
}

void CMainDlg::OnMenuStopCamera()
{
    CWaitCursor wait;
    DoStopCamera(m_nSelItem);
}

void CMainDlg::OnBtnStartAll()
{
    if (AppMessageBox(this, IDS_CAPTION, IDS_ASK_START_ALL, MB_YESNO) != IDYES)
        return;
    CWaitCursor wait;
    for (int row = 0; row < m_listCamera.GetItemCount(); ++row) {
        DoStartCamera(row);
        Sleep(0);
    }
}

void CMainDlg::OnBtnStopAll()
{
    if (AppMessageBox(this, IDS_CAPTION, IDS_ASK_STOP_ALL, MB_YESNO) != IDYES)
        return;
    CWaitCursor wait;
    DoStopAll();
}

LRESULT CMainDlg::OnStartRecMsg(WPARAM, LPARAM)
{
    if (m_bExit)
        return 0;
    vx_log(4, "CMainDlg::OnStartRecMsg a second start asks to record");
    CWaitCursor wait;
    for (int row = 0; row < m_listCamera.GetItemCount(); ++row) {
        DoStartCamera(row);
        Sleep(0);
    }
    return 0;
}

LRESULT CMainDlg::OnStopRecMsg(WPARAM, LPARAM)
{
    if (m_bExit)
        return 0;
    vx_log(4, "CMainDlg::OnStopRecMsg a second start asks to stop recording");
    CWaitCursor wait;
    DoStopAll();
    return 0;
}

LRESULT CMainDlg::OnMotionDetected(WPARAM wParam, LPARAM)
{
    const int id = static_cast<int>(wParam);
    vx_log(6, "OnMotionDetected %d", id);
    if (id <= 0 || m_bExit)
        return 0;
    for (int i = 0; i < MAX_CAMERA; ++i) {
        if (m_arrSlot[i].CAMERAID == id) {
            if (m_arrRun[i])
                DoMotionRecord(&m_arrRun[i]->rec);
            break;
        }
    }
    return 0;
}

void CMainDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent <= static_cast<UINT_PTR>(MOTION_TIMER_BASE)) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    const int id = static_cast<int>(nIDEvent - MOTION_TIMER_BASE);
    for (int i = 0; i < MAX_CAMERA; ++i) {
        if (m_arrSlot[i].CAMERAID == id) {
            if (m_arrRun[i])
                m_arrRun[i]->rec.m_bMotion = FALSE;
            m_arrSlot[i].m_bMotion = FALSE;
            break;
        }
    }
    KillTimer(nIDEvent);
}

LRESULT CMainDlg::OnMessage(WPARAM wParam, LPARAM)
{
    const UINT code = LOWORD(wParam);
    const int id = HIWORD(wParam);
    if (code != UM_VX_CAMERA_VIDEO_FAILED)
        return 0;
    vx_log(6, "OnMessage UM_VX_CAMERA_VIDEO_FAILED %d", id);
    for (int i = 0; i < MAX_CAMERA; ++i) {
        if (m_arrSlot[i].CAMERAID == id && id > 0) {
            if (m_arrRun[i])
                m_arrRun[i]->rec.m_bVideoFailed = TRUE;
            break;
        }
    }
    return 0;
}
