// The service threads of the main window: retention, status and disk. None
// of them calls a window function: the status thread hands its batches to
// the GUI thread by one post per pass, the disk thread only fills the drive
// table and queues free-space texts.
#include "recorder/CMainDlg.h"

#include "camera/session/StateLock.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/RecordLogic.h"
#include "recorder/StatusLook.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

#include <string>
#include <vector>

namespace {

bool HasAnyHour(const STCameraInfoKst& plan)
{
    for (int d = 0; d < 7; ++d)
        for (int h = 0; h < 24; ++h)
            if (plan.arrContinuous[d][h] == 1 || plan.arrMotion[d][h] == 1)
                return true;
    return false;
}

}  // namespace

void CMainDlg::StartServiceThreads()
{
    m_hServiceStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hCleanThread = CreateThread(nullptr, 0, DoCleanOldRecords, this, 0, nullptr);
    m_hStatusThread = CreateThread(nullptr, 0, DoUpdateStatus, this, 0, nullptr);
    m_hDiskThread = CreateThread(nullptr, 0, DoCheckDiskSpace, this, 0, nullptr);
    if (!m_hCleanThread || !m_hStatusThread || !m_hDiskThread)
        vx_log(2, "CMainDlg: a service thread could not be started");
}

void CMainDlg::StopServiceThreads()
{
    if (m_hServiceStop)
        SetEvent(m_hServiceStop);
    // The request holds for the running and every later retention pass.
    GlobalInfo().RequestAbortDelete();
    for (HANDLE* thread : {&m_hCleanThread, &m_hStatusThread, &m_hDiskThread}) {
        if (*thread) {
            WaitForSingleObject(*thread, INFINITE);
            CloseHandle(*thread);
            *thread = nullptr;
        }
    }
    if (m_hServiceStop) {
        CloseHandle(m_hServiceStop);
        m_hServiceStop = nullptr;
    }
}

void CMainDlg::PostRecordMsg(int cameraId, int code, const CString& text)
{
    if (m_bExit || !m_bLocksReady)
        return;
    STRecordMsg msg;
    msg.nCameraID = cameraId;
    msg.nState = code;
    CopyTextField(msg.szText, text);
    CSectionLock lock(m_csRecordMsg);
    m_arrRecordMsg.Add(msg);
}

DWORD WINAPI CMainDlg::DoCleanOldRecords(LPVOID window)
{
    auto* dlg = static_cast<CMainDlg*>(window);
    if (!dlg)
        return 0;
    while (!dlg->m_bExit) {
        for (int i = 0; i < MAX_CAMERA && !dlg->m_bExit; ++i) {
            CString folder;
            int days = 0;
            {
                CSectionLock lock(dlg->m_csSlot);
                const STIPCfgKst& slot = dlg->m_arrSlot[i];
                if (slot.CAMERAID > 0) {
                    folder = slot.m_stCameraInfo.REC_PATH;
                    days = slot.m_stCameraInfo.REC_DAYS;
                }
            }
            if (!folder.IsEmpty())
                GlobalInfo().DeleteOldRecordFiles(folder, days);
            Sleep(0);
        }
        // One wait that the exit ends, not 60,000 wake-ups.
        if (WaitForSingleObject(dlg->m_hServiceStop, 600 * 1000) == WAIT_OBJECT_0)
            break;
    }
    return 0;
}

DWORD WINAPI CMainDlg::DoUpdateStatus(LPVOID window)
{
    auto* dlg = static_cast<CMainDlg*>(window);
    if (!dlg)
        return 0;
    CArray<STRecordMsg> batch;
    while (!dlg->m_bExit) {
        {
            CSectionLock lock(dlg->m_csRecordMsg);
            batch.Copy(dlg->m_arrRecordMsg);
            dlg->m_arrRecordMsg.RemoveAll();
        }
        if (batch.GetSize() > 0 && !dlg->m_bExit) {
            bool post = false;
            {
                CSectionLock lock(dlg->m_csPosted);
                dlg->m_arrPostedMsg.Append(batch);
                post = !dlg->m_bStatusPosted;
                dlg->m_bStatusPosted = TRUE;
            }
            // The list belongs to the GUI thread: it applies the batch.
            if (post)
                ::PostMessage(dlg->m_hWnd, UM_RECORD_STATUS, 0, 0);
        }
        batch.RemoveAll();
        if (WaitForSingleObject(dlg->m_hServiceStop, 100) == WAIT_OBJECT_0)
            break;
    }
    return 0;
}

LRESULT CMainDlg::OnRecordStatus(WPARAM, LPARAM)
{
    CArray<STRecordMsg> batch;
    {
        CSectionLock lock(m_csPosted);
        batch.Copy(m_arrPostedMsg);
        m_arrPostedMsg.RemoveAll();
        m_bStatusPosted = FALSE;
    }
    for (INT_PTR i = 0; i < batch.GetSize() && !m_bExit; ++i)
        ApplyStatus(batch[i]);
    // Runs let go by a stop that timed out end some time later.
    ReapEndingRuns(false);
    return 0;
}

void CMainDlg::ApplyStatus(const STRecordMsg& msg)
{
    UINT textId = 0;
    int image = 0;
    const bool column0 = StatusLook(msg.nState, textId, image);
    if (!column0 && msg.nState != 6)
        return;
    int row = -1;
    bool noSchedule = false;
    {
        CSectionLock lock(m_csSlot);
        for (int r = 0; r < m_listCamera.GetItemCount(); ++r) {
            int slot = SlotOfRow(r);
            if (slot >= 0 && m_arrSlot[slot].CAMERAID == msg.nCameraID && msg.nCameraID > 0) {
                row = r;
                noSchedule = !HasAnyHour(m_arrSlot[slot].m_stCameraInfo);
                break;
            }
        }
    }
    if (row < 0)
        return;
    // A camera that was never given a schedule (a new one, until the
    // schedule dialog saves) is off with an empty week: say that it has no
    // schedule rather than that recording was switched off.
    if (msg.nState == 4 && noSchedule)
        textId = IDS_STATE_NO_SCHEDULE;
    if (m_fnStatusApplied)
        m_fnStatusApplied(msg);
    if (column0) {
        CString text;
        text.LoadString(textId);
        m_listCamera.SetItem(row, 0, LVIF_TEXT | LVIF_IMAGE, text, image, 0, 0, 0);
    } else {
        m_listCamera.SetItemText(row, 7, msg.szText);
    }
}

uint64_t CMainDlg::GetDiskFreeBytes(const CString& root)
{
    ULARGE_INTEGER available{}, total{}, free{};
    // What this user may still write: the space reserved for the system
    // does not take recordings.
    if (!GetDiskFreeSpaceExA(root, &available, &total, &free))
        return 0;
    return available.QuadPart;
}

DWORD WINAPI CMainDlg::DoCheckDiskSpace(LPVOID window)
{
    auto* dlg = static_cast<CMainDlg*>(window);
    if (!dlg)
        return 0;
    while (!dlg->m_bExit) {
        dlg->RefreshDriveTable();
        if (WaitForSingleObject(dlg->m_hServiceStop, 10 * 1000) == WAIT_OBJECT_0)
            break;
    }
    return 0;
}

void CMainDlg::RefreshDriveTable()
{
    std::vector<std::string> folders;
    {
        CSectionLock lock(m_csSlot);
        for (const STIPCfgKst& slot : m_arrSlot) {
            if (m_bExit)
                return;
            if (slot.CAMERAID > 0 && slot.m_stCameraInfo.REC_PATH[0])
                folders.emplace_back(slot.m_stCameraInfo.REC_PATH);
        }
    }
    const CGlobalInfo& global = GlobalInfo();
    CArray<STHDDFreeSpace> table;
    for (const record_logic::DriveId& drive : record_logic::DistinctDrives(folders)) {
        if (m_bExit)
            return;
        STHDDFreeSpace entry;
        CopyTextField(entry.szDrive, drive.mountPoint.c_str());
        entry.ullDevice = drive.device;
        entry.ullFreeBytes = GetDiskFreeBytes(drive.mountPoint.c_str());
        CopyTextField(entry.szFreeSpace, record_logic::FormatSize(entry.ullFreeBytes));
        entry.bLow = global.IsLowSpace(entry.ullFreeBytes);
        table.Add(entry);
    }
    if (m_bExit)
        return;
    {
        CSectionLock lock(m_csHDD);
        m_arrHDDFreeSpace.Copy(table);
    }
    PostFreeSpaceMsgs();
}

void CMainDlg::PostFreeSpaceMsgs()
{
    CSectionLock lock(m_csSlot);
    for (const STIPCfgKst& slot : m_arrSlot) {
        if (slot.CAMERAID > 0)
            PostRecordMsg(slot.CAMERAID, 6, GetDriveInfo(slot.m_stCameraInfo.REC_PATH).szFreeSpace);
    }
}
