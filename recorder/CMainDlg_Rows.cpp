// Rows and slots: a camera record goes into a slot of the fixed table and a
// row of the list; the row carries its slot index as item data.
#include "recorder/CMainDlg.h"

#include "camera/session/StateLock.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/CameraColumns.h"
#include "recorder/RecordLogic.h"
#include "resources/VXKSTRes/resource.h"

namespace {

CString LoadText(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

}  // namespace

int CMainDlg::SlotOfRow(int row)
{
    if (row < 0 || row >= m_listCamera.GetItemCount())
        return -1;
    auto slot = static_cast<int>(m_listCamera.GetItemData(row));
    return slot >= 0 && slot < MAX_CAMERA ? slot : -1;
}

bool CMainDlg::AnyCameraRunning()
{
    for (const STIPCfgKst& slot : m_arrSlot) {
        if (slot.m_hFinishEvent)
            return true;
    }
    return false;
}

STHDDFreeSpace CMainDlg::GetDriveInfo(const CString& path)
{
    STHDDFreeSpace none;
    CopyTextField(none.szFreeSpace, "-");
    record_logic::DriveId drive;
    if (!m_bLocksReady || !record_logic::DriveOfFolder(path, drive))
        return none;
    CSectionLock lock(m_csHDD);
    for (INT_PTR i = 0; i < m_arrHDDFreeSpace.GetSize(); ++i) {
        if (m_arrHDDFreeSpace[i].ullDevice == drive.device)
            return m_arrHDDFreeSpace[i];
    }
    return none;
}

void CMainDlg::WriteRowColumns(int row, const STIPCfgKst& slot)
{
    CString number;
    number.Format("%d", row + 1);
    m_listCamera.SetItemText(row, 1, number);
    m_listCamera.SetItemText(row, 2, slot.IP);
    m_listCamera.SetItemText(row, 3, slot.NAME);
    m_listCamera.SetItemText(row, 4, LoadText(camera_columns::TypeStringId(slot.TYPE)));
    m_listCamera.SetItemText(row, 5, LoadText(IDS_COL_CHANNEL) + camera_columns::ChannelNumber(slot.CHANNEL));
    m_listCamera.SetItemText(row, 6, LoadText(camera_columns::StreamStringId(slot.STREAM)));
    m_listCamera.SetItemText(row, 7, GetDriveInfo(slot.m_stCameraInfo.REC_PATH).szFreeSpace);
}

int CMainDlg::InsertCameraItem(const STIPCfgKst& record, int row)
{
    int index = -1;
    {
        CSectionLock lock(m_csSlot);
        for (int i = 0; i < MAX_CAMERA; ++i) {
            if (m_arrSlot[i].CAMERAID == record.CAMERAID && record.CAMERAID > 0) {
                index = i;
                break;
            }
        }
        if (index < 0) {
            for (int i = 0; i < MAX_CAMERA; ++i) {
                if (m_arrSlot[i].CAMERAID <= 0) {
                    index = i;
                    break;
                }
            }
        }
        if (index < 0)
            return -1;
        m_arrSlot[index] = record;
        m_arrSlot[index].m_pOwner = this;
    }
    // The list belongs to this (the GUI) thread: no lock needed around it.
    if (row < 0)
        row = m_listCamera.InsertItem(m_listCamera.GetItemCount(), "");
    WriteRowColumns(row, m_arrSlot[index]);
    m_listCamera.SetItemData(row, static_cast<DWORD_PTR>(index));
    return index;
}

int CMainDlg::UpdateButtons()
{
    m_nCameraCount = static_cast<int>(GlobalInfo().m_arrCameras.GetSize());
    const BOOL any = m_nCameraCount > 0;
    for (int id : {IDC_BTN_REC_SCHEDULE, IDC_BTN_REC_QUERY, IDC_BTN_START_ALL, IDC_BTN_STOP_ALL, IDC_BTN_DELETE_ALL})
        Button(id).EnableWindow(any);
    const BOOL full = m_nCameraCount >= MAX_CAMERA;
    m_btnAddCamera.EnableWindow(!full);
    return full ? 1 : 0;
}

void CMainDlg::OnListRClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* item = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR);
    m_nSelItem = item ? item->iItem : -1;
    int slot = SlotOfRow(m_nSelItem);
    if (slot < 0 || m_arrSlot[slot].CAMERAID <= 0)
        return;
    CMenu menu;
    if (!menu.LoadMenu(IDR_MENU_LIST))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return;
    if (m_arrSlot[slot].m_hFinishEvent) {
        popup->EnableMenuItem(ID_MENU_EDIT_CAMERA, MF_BYCOMMAND | MF_GRAYED);
        popup->EnableMenuItem(ID_MENU_DELETE_CAMERA, MF_BYCOMMAND | MF_GRAYED);
        popup->RemoveMenu(ID_MENU_START_CAMERA, MF_BYCOMMAND);
    } else {
        popup->RemoveMenu(ID_MENU_STOP_CAMERA, MF_BYCOMMAND);
    }
    CPoint pt = item->ptAction;
    m_listCamera.ClientToScreen(&pt);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
}
