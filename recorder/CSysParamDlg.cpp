#include "recorder/CSysParamDlg.h"

#include "recorder/AppPath.h"
#include "recorder/CGlobalInfo.h"
#include "resources/VXKSTRes/resource.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

enum {
    IDC_RECORD_LENGTH = 428,
    IDC_FREE_SPACE = 429,
    IDC_START_RECORD = 5180,
    IDC_MIN_HIDE = 5181,
    IDC_AUTO_RUN = 5182,
    IDC_START_MIN = 5183,
    IDC_RECORD_TYPE = 5248,
};

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The executable's file name without its extension.
std::string ApplicationName(const std::string& exe)
{
    size_t slash = exe.find_last_of('/');
    std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

std::string RealExecutable()
{
    std::string buf(PATH_MAX, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0 || static_cast<size_t>(n) >= buf.size())
        return std::string();
    buf.resize(static_cast<size_t>(n));
    return buf;
}

// The program folder is the one whose "config/vxkstcfg.ini" the settings
// object reads.
CString ProgramFolderOf(const CString& configFile)
{
    CString dir = configFile;
    for (int i = 0; i < 2; ++i) {
        int slash = dir.ReverseFind('/');
        dir = slash < 0 ? CString() : dir.Left(slash);
    }
    return dir.IsEmpty() ? CString("/") : dir + "/";
}

// A run command line: the words in double quotes where they need them, a
// quote escaped with a backslash, and backslashes doubled only before a
// quote (the rules the run entry is read back by).
std::string RunCommandLine(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& w : words) {
        if (!out.empty())
            out += ' ';
        if (!w.empty() && w.find_first_of(" \t\"") == std::string::npos) {
            out += w;
            continue;
        }
        out += '"';
        size_t backslashes = 0;
        for (char c : w) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            out += c;
        }
        out.append(backslashes * 2, '\\');
        out += '"';
    }
    return out;
}

}  // namespace

CSysParamDlg::CSysParamDlg(CWnd* pParent) : CDialog(IDD_SYS_PARAM, pParent) {}

void CSysParamDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_RECORD_TYPE, m_nRecordType);
    DDX_Text(pDX, IDC_RECORD_LENGTH, m_nRecordLength);
    DDV_MinMaxUInt(pDX, m_nRecordLength, 1, 30);
    DDX_Text(pDX, IDC_FREE_SPACE, m_nFreeSpace);
    DDV_MinMaxUInt(pDX, m_nFreeSpace, 200, UINT_MAX);
    DDX_Check(pDX, IDC_START_RECORD, m_bStartRecord);
    DDX_Check(pDX, IDC_START_MIN, m_bStartMin);
    DDX_Check(pDX, IDC_MIN_HIDE, m_bMinHide);
    DDX_Check(pDX, IDC_AUTO_RUN, m_bAutoRun);
}

BOOL CSysParamDlg::OnInitDialog()
{
    CGlobalInfo& info = GlobalInfo();
    m_nRecordType = 1;
    const uint64_t freeSpace = info.m_ullFreeSpace;
    m_nFreeSpace = freeSpace > UINT_MAX ? UINT_MAX : static_cast<UINT>(freeSpace);
    m_nRecordLength = static_cast<UINT>(std::max(info.m_nRecordLength.load(), 0));
    m_bStartRecord = info.m_nStartRecord ? 1 : 0;
    m_bStartMin = info.m_nStartMin ? 1 : 0;
    m_bMinHide = info.m_nMinHide ? 1 : 0;
    m_bAutoRun = info.m_nAutoRun ? 1 : 0;
    CDialog::OnInitDialog();
    if (CWnd* list = GetDlgItem(IDC_RECORD_TYPE))
        list->EnableWindow(FALSE);
    return TRUE;
}

void CSysParamDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CGlobalInfo& info = GlobalInfo();
    CIniFile& ini = info.m_iniConfig;
    ini.WriteProfileInt("SysParam", "RecordType", m_nRecordType);
    CString number;
    number.Format("%u", m_nRecordLength);
    ini.WriteProfileStringA("SysParam", "RecordLength", number);
    // Unsigned text: the limit reaches 4294967295, which a signed integer
    // would write as -1.
    number.Format("%u", m_nFreeSpace);
    ini.WriteProfileStringA("SysParam", "FreeSpace", number);
    ini.WriteProfileInt("SysParam", "StartRecord", m_bStartRecord ? 1 : 0);
    ini.WriteProfileInt("SysParam", "StartMin", m_bStartMin ? 1 : 0);
    ini.WriteProfileInt("SysParam", "MinHide", m_bMinHide ? 1 : 0);
    ini.WriteProfileInt("SysParam", "AutoRun", m_bAutoRun ? 1 : 0);
    info.LoadSysParam();
    SetRunAtLogon(info.m_nAutoRun != 0, ProgramFolderOf(info.m_iniConfig.GetPathName()));
    EndDialog(IDOK);
}

bool CSysParamDlg::SetRunAtLogon(bool on, const CString& programDir)
{
    // The executable itself, not its name under the program folder: the
    // folder may be redirected away from the executable (or be the per-user
    // folder of an installed program), and a logon start must find both.
    const std::string exe = RealExecutable();
    const std::string name = ApplicationName(exe);
    if (exe.empty() || name.empty()) {
        vx_log(2, "CSysParamDlg::SetRunAtLogon: the program's path is unknown");
        return false;
    }
    const std::string command =
        RunCommandLine({exe, kProgramDirOption, std::string(static_cast<const char*>(programDir))});
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
    if (rc != ERROR_SUCCESS) {
        vx_log(2, "CSysParamDlg::SetRunAtLogon: the run key cannot be opened (%ld)", static_cast<long>(rc));
        return false;
    }
    if (on) {
        rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>(command.size() + 1));
    } else {
        rc = RegDeleteValueA(key, name.c_str());
        if (rc == ERROR_FILE_NOT_FOUND)
            rc = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) {
        vx_log(2, "CSysParamDlg::SetRunAtLogon %s %s failed (%ld)", on ? "set" : "delete", name.c_str(),
               static_cast<long>(rc));
        return false;
    }
    return true;
}
