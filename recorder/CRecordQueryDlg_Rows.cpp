// Row actions of the recording search: open, open folder, delete, cut and
// copy of the row last double-clicked or right-clicked.

#include "recorder/CRecordQueryDlg.h"

#include "resources/VXKSTRes/resource.h"

#include <cstring>
#include <vector>

namespace {

CString Text(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

int RowOf(NMHDR* pNMHDR)
{
    return reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
}

}  // namespace

void CRecordQueryDlg::OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    m_nClickedRow = RowOf(pNMHDR);
    OnOpen();
    *pResult = 0;
}

void CRecordQueryDlg::OnListRClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* item = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR);
    m_nClickedRow = item->iItem;
    if (m_nClickedRow < 0)
        return;
    CMenu menu;
    if (!menu.LoadMenu(IDR_MENU_RECORD))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return;
    // The click's own point: the cursor may have moved since.
    CPoint at = item->ptAction;
    m_list.ClientToScreen(&at);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
}

CString CRecordQueryDlg::ClickedPath() const
{
    if (m_nClickedRow < 0 || m_nClickedRow >= m_list.GetItemCount())
        return CString();
    return m_list.GetItemText(m_nClickedRow, 4);
}

void CRecordQueryDlg::OnOpen()
{
    CString path = ClickedPath();
    if (path.IsEmpty())
        return;
    const auto result = reinterpret_cast<intptr_t>(
        ShellExecute(GetSafeHwnd(), "open", "\"" + path + "\"", nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return;
    // A double-click that does nothing leaves the person guessing: name
    // the file and the reason.
    UINT reason = IDS_OPEN_NO_PROGRAM;
    if (result == SE_ERR_FNF || result == SE_ERR_PNF)
        reason = IDS_OPEN_MISSING;
    else if (result == SE_ERR_ACCESSDENIED)
        reason = IDS_OPEN_REFUSED;
    MessageBox(Text(IDS_OPEN_RECORD_FAILED) + "\n" + path + "\n\n" + Text(reason), Text(IDS_ERROR_CAPTION),
               MB_ICONERROR);
}

void CRecordQueryDlg::OnOpenFolder()
{
    CString path = ClickedPath();
    if (path.IsEmpty())
        return;
    char drive[_MAX_DRIVE] = {}, dir[_MAX_DIR] = {};
    _splitpath(path, drive, dir, nullptr, nullptr);
    CString folder = CString(drive) + dir;
    ShellExecute(GetSafeHwnd(), nullptr, nullptr, nullptr, folder, SW_SHOW);
}

void CRecordQueryDlg::OnDelete()
{
    CString path = ClickedPath();
    if (path.IsEmpty())
        return;
    if (MessageBox(Text(IDS_ASK_DELETE_RECORD), Text(IDS_CAPTION), MB_YESNO) != IDYES)
        return;
    if (!DeleteFileA(path)) {
        MessageBox(Text(IDS_DELETE_RECORD_FAILED), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
        return;
    }
    m_nClickedRow = -1;
    EnableSearch(FALSE);
    RunSearch();
    EnableSearch(TRUE);
}

void CRecordQueryDlg::OnCut()
{
    PlaceOnClipboard(DROPEFFECT_MOVE);
}

void CRecordQueryDlg::OnCopy()
{
    PlaceOnClipboard(DROPEFFECT_COPY);
}

std::string CRecordQueryDlg::DropFilesBlock(const CString& path)
{
    // The converted length, terminator included, sizes the block; the zero
    // fill after it gives the list's second terminator.
    const int chars = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (chars <= 0)
        return std::string();
    std::string block(sizeof(DROPFILES) + (size_t(chars) + 1) * sizeof(WCHAR), '\0');
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);
    MultiByteToWideChar(CP_ACP, 0, path, -1, reinterpret_cast<LPWSTR>(block.data() + sizeof(DROPFILES)), chars);
    return block;
}

void CRecordQueryDlg::PlaceOnClipboard(DWORD effect)
{
    CString path = ClickedPath();
    if (path.IsEmpty())
        return;
    const std::string drop = DropFilesBlock(path);
    if (drop.empty())
        return;
    HGLOBAL files = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, drop.size());
    HGLOBAL value = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, sizeof(DWORD));
    if (!files || !value) {
        if (files)
            GlobalFree(files);
        if (value)
            GlobalFree(value);
        return;
    }
    std::memcpy(GlobalLock(files), drop.data(), drop.size());
    GlobalUnlock(files);
    std::memcpy(GlobalLock(value), &effect, sizeof effect);
    GlobalUnlock(value);
    if (!::OpenClipboard(GetSafeHwnd())) {
        GlobalFree(files);
        GlobalFree(value);
        return;
    }
    EmptyClipboard();
    SetClipboardData(CF_HDROP, files);
    SetClipboardData(RegisterClipboardFormat("Preferred DropEffect"), value);
    CloseClipboard();
}
