#include "camera/dialogs/pages/CDlgUpgrade.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/forms/UpgradeForm.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kCommandTimeoutMs = 3000;
// The camera writes its firmware and restarts within this countdown.
constexpr int kUpgradeSeconds = 150;

struct SystemCommand {
    const char* path;
    UINT ask;
    UINT done;
    UINT failed;
};

const SystemCommand kReboot = {"/cgi-bin/hi3510/sysreboot.cgi", IDS_REBOOT_ASK, IDS_REBOOT_DONE, IDS_REBOOT_FAILED};
const SystemCommand kReset = {"/cgi-bin/hi3510/sysreset.cgi", IDS_RESET_ASK, IDS_RESET_DONE, IDS_RESET_FAILED};

bool IsRegularFile(const CString& path)
{
    struct stat st = {};
    return !path.IsEmpty() && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool IsReadable(const CString& path)
{
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgUpgrade, CSettingsPage)
ON_BN_CLICKED(IDC_UPGRADE_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_UPGRADE_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_UPGRADE_START, OnUpgrade)
ON_BN_CLICKED(IDC_UPGRADE_REBOOT, OnReboot)
ON_BN_CLICKED(IDC_UPGRADE_RESET, OnReset)
END_MESSAGE_MAP()

// No apply button: "Reboot" stands in its place, the other writing buttons
// follow it.
CDlgUpgrade::CDlgUpgrade(CCameraSetupDlg* pOwner)
    : CSettingsPage(IDD_UPGRADE, IDS_PAGE_UPGRADE, pOwner, IDC_UPGRADE_REBOOT)
{}

BOOL CDlgUpgrade::OnInitDialog()
{
    m_writeButtons.push_back(IDC_UPGRADE_RESET);
    if (IsP2P()) {
        if (CWnd* upgrade = GetDlgItem(IDC_UPGRADE_START))
            upgrade->EnableWindow(FALSE);
    } else {
        m_writeButtons.push_back(IDC_UPGRADE_START);
    }
    CSettingsPage::OnInitDialog();
    return TRUE;
}

bool CDlgUpgrade::IsP2P() const
{
    return m_pOwner && m_pOwner->CameraInfo().nEntryType == WATCH_ENTRY_P2P_ID;
}

CString CDlgUpgrade::LoadPath()
{
    return upgrade_form::kLoadPath;
}

void CDlgUpgrade::ShowLoaded(const CString& reply)
{
    upgrade_form::DeviceInfo d = upgrade_form::Parse(reply);
    m_strModel = d.modelKey;
    SetDlgItemText(IDC_UPGRADE_MODEL, d.modelKey);
    SetDlgItemText(IDC_UPGRADE_VERSION, d.webVersion);
    CString camId, pin;
    if (upgrade_form::SplitIdentity(d.identity, camId, pin)) {
        SetDlgItemText(IDC_UPGRADE_CAMID, camId);
        SetDlgItemText(IDC_UPGRADE_PIN, pin);
    }
}

void CDlgUpgrade::OnBrowse()
{
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "All Files (*.*)|*.*|Update Files (*.bin)|*.bin||", this);
    if (dlg.DoModal() != IDOK)
        return;
    CString path = dlg.GetPathName();
    if (IsRegularFile(path))
        SetDlgItemText(IDC_UPGRADE_FILE, path);
}

void CDlgUpgrade::OnReboot()
{
    RunCommand(Command::Reboot);
}

void CDlgUpgrade::OnReset()
{
    RunCommand(Command::Reset);
}

void CDlgUpgrade::RunCommand(Command command)
{
    if (IsRequestPending() || !IsLoaded())
        return;
    const SystemCommand& c = command == Command::Reboot ? kReboot : kReset;
    if (!Confirm(IDS_PAGE_UPGRADE, c.ask))
        return;
    m_command = command;
    if (!StartRequest(Request::Sync, c.path, false, kCommandTimeoutMs))
        ShowError(c.failed);
}

bool CDlgUpgrade::JobDone(Request kind, const RequestJob& job)
{
    if (kind != Request::Sync)
        return false;
    const SystemCommand& c = m_command == Command::Reboot ? kReboot : kReset;
    if (job.Succeeded())
        ShowInfo(c.done);
    else
        ShowError(c.failed);
    return true;
}

void CDlgUpgrade::OnUpgrade()
{
    if (IsRequestPending() || !IsLoaded() || IsP2P())
        return;
    CString path = CheckedPackage();
    if (!path.IsEmpty())
        Upload(path);
}

CString CDlgUpgrade::CheckedPackage()
{
    CString path;
    GetDlgItemText(IDC_UPGRADE_FILE, path);
    if (!IsRegularFile(path)) {
        ShowError(IDS_UPGRADE_INVALID_FILE);
        return CString();
    }
    if (!Confirm(IDS_PAGE_UPGRADE, IDS_UPGRADE_ASK))
        return CString();
    if (CWebWatchNB::CheckUpgradeFile(path, m_strModel) != 0) {
        ShowError(IDS_UPGRADE_MODEL_MISMATCH);
        return CString();
    }
    CWebWatchNB* camera = Camera();
    if (!camera || !camera->IsLogin()) {
        ShowError(IDS_UPGRADE_NOT_LOGGED_IN);
        return CString();
    }
    if (!IsReadable(path)) {
        ShowError(IDS_UPGRADE_INVALID_FILE);
        return CString();
    }
    return path;
}

void CDlgUpgrade::Upload(const CString& strPath)
{
    if (!m_pOwner)
        return;
    // The link check would find the camera gone while it restarts and
    // reconnect in the middle of the transfer.
    m_pOwner->StopWatchdog();
    m_pOwner->SetDlgItemText(IDC_SETUP_STATUS, VxcamString(IDS_UPGRADE_STATUS));
    const STWatchCameraInfo& info = m_pOwner->CameraInfo();
    vx_log(4, "CDlgUpgrade::Upload to %s:%d", info.strIP.GetString(), info.nHttpPort);
    bool ok;
    std::weak_ptr<int> alive = LifeToken();
    {
        // A host name is looked up by the upload's worker, not here.
        CProgressDlg dlg(m_pOwner);
        dlg.m_bUpgrade = 1;
        dlg.m_strPath = strPath;
        dlg.m_strHost = info.strIP;
        dlg.m_nPort = info.nHttpPort;
        dlg.m_strUser = info.strUser;
        dlg.m_strPwd = info.strPwd;
        dlg.SetTextId(IDS_PROGRESS_UPGRADE);
        dlg.SetDuration(kUpgradeSeconds);
        dlg.DoModal();
        ok = dlg.m_strResult.IsEmpty();
    }
    // The window may have been closed meanwhile: then the page is gone.
    if (alive.expired())
        return;
    m_pOwner->StartWatchdog();
    if (ok)
        ShowInfo(IDS_UPGRADE_DONE);
    else
        ShowError(IDS_UPGRADE_FAILED);
}
