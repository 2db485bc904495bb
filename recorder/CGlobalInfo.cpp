#include "recorder/CGlobalInfo.h"

#include "platform/kernel/program_folder.h"
#include "recorder/AppPath.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kDefaultPreRecLen = 5000;
constexpr uint64_t kDefaultFreeSpace = 500;

// "FreeSpace" as unsigned 64-bit megabytes; anything that is not a plain
// unsigned number gives the default.
uint64_t ParseMegabytes(const CString& text)
{
    CString t = text;
    t.Trim();
    if (t.IsEmpty() || t[0] < '0' || t[0] > '9')
        return kDefaultFreeSpace;
    errno = 0;
    char* end = nullptr;
    unsigned long long v = std::strtoull(t.GetString(), &end, 10);
    if (errno != 0 || !end || *end != '\0')
        return kDefaultFreeSpace;
    return v;
}

}  // namespace

CGlobalInfo& GlobalInfo()
{
    static CGlobalInfo info;
    return info;
}

CGlobalInfo::CGlobalInfo() = default;

CGlobalInfo::~CGlobalInfo()
{
    FreeAll();
    FreeScheduleSkin();
}

void CGlobalInfo::LoadConfig()
{
    LoadConfig(GetRecorderAppPath());
}

void CGlobalInfo::LoadConfig(const CString& appPath)
{
    ReadConfig(appPath);
    m_db.InitDatabase();
}

void CGlobalInfo::ReadConfig(const CString& appPath)
{
    m_strAppPath = appPath;
    m_iniSkin.SetPathName(SkinFile(appPath));
    m_iniConfig.SetPathName(appPath + "config/vxkstcfg.ini");
    m_iniHoliday.SetPathName(appPath + "config/vxkstholiday.ini");

    m_nLogLevel = m_iniConfig.GetProfileIntA("Config", "log_level", 0);
    m_nPreRecLen = m_iniConfig.GetProfileIntA("Config", "preRecordlen", kDefaultPreRecLen);
    if (m_nPreRecLen < 0 || m_nPreRecLen > 30000)
        m_nPreRecLen = kDefaultPreRecLen;
    m_db.m_nKind = m_iniConfig.GetProfileIntA("Config", "DataType", 0);
    m_strDaoPath = appPath + m_iniConfig.GetProfileStringA("Config", "Data", "VXKST.dat");
    m_strSqlitePath = appPath + m_iniConfig.GetProfileStringA("Config", "DataSqlite", "VXKST.sqlite");
    m_strVersion = GetFileVersion();
    SettleMoviePath(appPath, m_iniConfig.GetProfileStringA("Config", "moviepath", ""));
    LoadSysParam();

    m_db.m_strSqlitePath = m_strSqlitePath;
    m_db.m_strLegacyPath = m_strDaoPath;
    m_db.m_strMoviePath = m_strMoviePath;
}

CString CGlobalInfo::SkinFile(const CString& appPath)
{
    // Without its skin the main window has no size and never shows, so a
    // program folder that lost the file takes the one installed with the
    // program.
    CString own = appPath + "config/vxkstskin.ini";
    m_strConfigProblem.Empty();
    if (PathFileExistsA(own))
        return own;
    CString installed = (vxk::InstalledFilesFolder() + "/config/vxkstskin.ini").c_str();
    if (installed != own && PathFileExistsA(installed)) {
        m_strConfigProblem.Format("CGlobalInfo::ReadConfig skin file %s is missing; using %s", own.GetString(),
                                  installed.GetString());
        return installed;
    }
    m_strConfigProblem.Format("CGlobalInfo::ReadConfig skin file %s is missing, and no skin was installed with the "
                              "program: the main window cannot be laid out",
                              own.GetString());
    return own;
}

void CGlobalInfo::SettleMoviePath(const CString& appPath, const CString& typed)
{
    CString configured = typed;
    if (configured.GetLength() >= 2 && std::isalpha(static_cast<unsigned char>(configured[0]))
        && configured[1] == ':') {
        // A drive letter names nothing here: it would become a folder "D:"
        // under whatever the working directory is.
        vx_log(3, "CGlobalInfo::LoadConfig moviepath %s names a drive letter, using the program's", typed.GetString());
        configured.Empty();
    } else if (!configured.IsEmpty() && configured[0] != '/') {
        // Relative to the program, never to the folder it was started from.
        configured = appPath + configured;
    }
    if (!configured.IsEmpty()) {
        // A path without a final '/' names its last folder as a file for
        // the creation, so a missing last folder is not made: the program's
        // own folder is taken then, as before.
        if (!PathIsDirectoryA(configured))
            MakeSureDirectoryPathExists(configured);
        if (PathIsDirectoryA(configured)) {
            m_strMoviePath = configured;
            if (m_strMoviePath.Right(1) != "/")
                m_strMoviePath += "/";
            return;
        }
        vx_log(3, "CGlobalInfo::LoadConfig moviepath %s is no folder, using the program's", configured.GetString());
    }
    m_strMoviePath = appPath + "movies/";
    if (!PathIsDirectoryA(m_strMoviePath))
        MakeSureDirectoryPathExists(m_strMoviePath);
}

void CGlobalInfo::LoadSysParam()
{
    m_nRecordType = m_iniConfig.GetProfileIntA("SysParam", "RecordType", 1);
    // A hand-edited length outside the dialog's range would overflow the
    // segment time in milliseconds.
    m_nRecordLength = std::clamp(m_iniConfig.GetProfileIntA("SysParam", "RecordLength", 30), 1, 30);
    m_ullFreeSpace = ParseMegabytes(m_iniConfig.GetProfileStringA("SysParam", "FreeSpace", "500"));
    m_nStartRecord = m_iniConfig.GetProfileBool("SysParam", "StartRecord", 0);
    m_nStartMin = m_iniConfig.GetProfileBool("SysParam", "StartMin", 0);
    m_nMinHide = m_iniConfig.GetProfileBool("SysParam", "MinHide", 0);
    m_nAutoRun = m_iniConfig.GetProfileBool("SysParam", "AutoRun", 0);
}

CString CGlobalInfo::GetFileVersion()
{
    CString path = vxk::ModuleFileName(nullptr).c_str();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0)
        return CString();
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, handle, size, block.data()))
        return CString();
    LPVOID p = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &p, &len) || len < 4)
        return CString();
    WORD pair[2];
    std::memcpy(pair, p, sizeof pair);
    CString query;
    query.Format("\\StringFileInfo\\%08lx\\FileVersion",
                 static_cast<unsigned long>((static_cast<DWORD>(pair[0]) << 16) | pair[1]));
    if (!VerQueryValueA(block.data(), query, &p, &len) || !p)
        return CString();
    return CString(static_cast<const char*>(p));
}
