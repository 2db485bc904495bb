#include "camera/dialogs/pages/CDlgSysLog.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/forms/SystemLogForm.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

#include <cstring>

BEGIN_MESSAGE_MAP(CDlgSysLog, CSettingsPage)
ON_BN_CLICKED(IDC_LOG_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_LOG_RESET, OnReset)
ON_NOTIFY(LVN_GETDISPINFO, IDC_LOG_LIST, OnGetDispInfo)
END_MESSAGE_MAP()

// "Reset" writes to the camera: it waits for a load like an apply button.
CDlgSysLog::CDlgSysLog(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_SYSTEM_LOG, IDS_PAGE_SYSTEM_LOG, pOwner, IDC_LOG_RESET)
{}

BOOL CDlgSysLog::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    if (auto* list = static_cast<CListCtrl*>(GetDlgItem(IDC_LOG_LIST))) {
        list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        const std::pair<UINT, int> columns[] = {{IDS_LOG_NO, 50}, {IDS_LOG_TIME, 120}, {IDS_LOG_DESCRIPTION, 380}};
        int i = 0;
        for (const auto& [text, width] : columns)
            list->InsertColumn(i++, VxcamString(text), LVCFMT_LEFT, width);
    }
    return TRUE;
}

CString CDlgSysLog::LoadPath()
{
    return syslog_form::kSyncPath;
}

void CDlgSysLog::ShowLoaded(const CString& reply)
{
    m_lines = syslog_form::SplitLog(reply);
    if (auto* list = static_cast<CListCtrl*>(GetDlgItem(IDC_LOG_LIST))) {
        list->SetItemCount(static_cast<int>(m_lines.size()));
        list->Invalidate();
    }
}

bool CDlgSysLog::JobDone(Request kind, const RequestJob& job)
{
    if (kind == Request::Load) {
        if (!job.called || !syslog_form::SyncSucceeded(job.reply)) {
            ShowError(IDS_LOG_QUERY_FAILED);
            return true;
        }
        vx_log(6, "vxnet_get_cgi_command get %s start", syslog_form::kFilePath);
        m_step = Step::Fetch;
        if (!StartRequest(Request::Sync, syslog_form::kFilePath, false, 5000))
            ShowError(IDS_LOG_QUERY_FAILED);
        return true;
    }
    if (kind != Request::Sync)
        return false;
    if (m_step == Step::Fetch) {
        vx_log(6, "vxnet_get_cgi_command get %s finish", syslog_form::kFilePath);
        // The file is the camera's text: a line saying "[Error]" is a line.
        if (!job.called) {
            ShowError(IDS_LOG_QUERY_FAILED);
            return true;
        }
        m_bLoaded = true;
        CWaitCursor wait;
        ShowLoaded(job.reply);
        return true;
    }
    if (job.called && syslog_form::ResetSucceeded(job.reply))
        Load();
    else
        ShowError(IDS_LOG_RESET_FAILED);
    return true;
}

void CDlgSysLog::OnReset()
{
    if (IsRequestPending() || !IsLoaded())
        return;
    if (!Confirm(IDS_PAGE_SYSTEM_LOG, IDS_LOG_RESET_ASK))
        return;
    m_step = Step::Reset;
    if (!StartRequest(Request::Sync, syslog_form::kResetPath, false, 3000))
        ShowError(IDS_LOG_RESET_FAILED);
}

void CDlgSysLog::OnGetDispInfo(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
    LVITEM& item = info->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    item.pszText[0] = '\0';
    if (item.iItem < 0 || item.iItem >= static_cast<int>(m_lines.size()))
        return;
    const std::string& line = m_lines[static_cast<size_t>(item.iItem)];
    vx_log(6, "GetListDispInfo %d, %s", item.iItem, line.c_str());
    std::string text = syslog_form::CellText(line, item.iItem, item.iSubItem);
    size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::memcpy(item.pszText, text.data(), n);
    item.pszText[n] = '\0';
}
