#include "recorder/CVSClientApp.h"

#include "camera/session/CWebWatchBase.h"
#include "recorder/AppPath.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/CMainDlg.h"
#include "recorder/CommandLine.h"
#include "recorder/CrashReport.h"
#include "recorder/RegisteredMessages.h"
#include "resources/VXKSTRes/resource.h"
#include "resources/recorder/resource.h"
#include "utility/vx_log.h"

#include <cstdio>
#include <cstring>

namespace {

std::mutex g_logMutex;  // guards g_logFile
FILE* g_logFile = nullptr;

}  // namespace

void LogToFile(int, const char* line, int length)
{
    std::lock_guard lock(g_logMutex);
    if (!g_logFile || !line || length <= 0)
        return;
    if (std::fwrite(line, static_cast<size_t>(length), 1, g_logFile) == 1)
        std::fflush(g_logFile);
}

void SetLogFile(FILE* file)
{
    std::lock_guard lock(g_logMutex);
    if (g_logFile)
        std::fclose(g_logFile);
    g_logFile = file;
}

const char* SelectForwardedMessage(const char* commandLine)
{
    const char* cmd = commandLine ? commandLine : "";
    if (std::strstr(cmd, "-exit"))
        return kMsgExitName;
    if (std::strstr(cmd, "-stop_rec"))
        return kMsgStopRecName;
    if (std::strstr(cmd, "-start_rec"))
        return kMsgStartRecName;
    return kMsgShowName;
}

int AppMessageBox(CWnd* owner, UINT captionId, UINT textId, UINT type)
{
    CString caption, text;
    caption.LoadString(captionId);
    text.LoadString(textId);
    caption.Replace("&&", "&");
    if (owner && owner->GetSafeHwnd())
        return owner->MessageBox(text, caption, type);
    return MessageBoxA(nullptr, text, caption, type);
}

BEGIN_MESSAGE_MAP(CVSClientApp, CWinApp)
END_MESSAGE_MAP()

CVSClientApp::CVSClientApp() : CWinApp("VXKST-HD") {}

CString CVSClientApp::GetAppPath()
{
    return GetRecorderAppPath();
}

void CVSClientApp::OpenLog(int level)
{
    CString path = m_strAppPath + "vxkst.log";
    FILE* file = level > 0 ? std::fopen(path, "w+") : nullptr;
    if (file) {
        SetLogFile(file);
        vx_log_set_level(level);
        vx_log_set_log_func(&LogToFile);
    } else {
        vx_log_set_level(0);
        vx_log_set_log_func(nullptr);
    }
}

void CVSClientApp::CloseLog()
{
    vx_log_set_log_func(nullptr);
    SetLogFile(nullptr);
}

BOOL CVSClientApp::InitInstance()
{
    m_hInstance = ProgramResourceHandle();
    if (WantsHelp(m_lpCmdLine)) {
        std::fputs(UsageText(), stdout);
        m_nEarlyExit = 0;
        return FALSE;
    }

    SetLastError(0);
    m_hMutex = CreateMutexA(nullptr, TRUE, VXKST_INSTANCE_ID);
    if (!m_hMutex) {
        // Without the instance lock a second start could not find this one
        // and would record the same cameras into the same folders.
        const char* text =
            "The recorder cannot start: its runtime folder (VX_RUNTIME_DIR, else $XDG_RUNTIME_DIR/vxkst, else "
            "/tmp/vxkst-<uid>) must be a folder that only this user can open.";
        std::fprintf(stderr, "%s\n", text);
        MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
        m_bCannotStart = true;
        return FALSE;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // A second start loads nothing and makes no window: it forwards its
        // command line to the running program and ends.
        UINT msg = RegisterWindowMessageA(SelectForwardedMessage(m_lpCmdLine));
        DWORD recipients = BSM_APPLICATIONS;
        BroadcastSystemMessageA(BSF_POSTMESSAGE, &recipients, msg, 0, 0);
        return FALSE;
    }
    // Nobody else runs: a request meant for a running recorder ends here,
    // before a database, a log or a movie folder is made.
    std::string unknown;
    switch (FirstStartAction(m_lpCmdLine, unknown)) {
    case FirstStart::NotRunning:
        std::fputs("VXKST-HD is not running\n", stderr);
        m_nEarlyExit = 1;
        return FALSE;
    case FirstStart::BadOption:
        std::fprintf(stderr, "VXKST-HD: unknown option \"%s\"\n%s", unknown.c_str(), UsageText());
        m_nEarlyExit = 2;
        return FALSE;
    case FirstStart::Run:
        break;
    }
    // A fatal signal leaves a report that the next start offers; pure
    // virtual calls and std::terminate end in SIGABRT, which it covers too.
    InstallRecorderCrashHandler(GetAppPath());
    m_hResModule = LoadLibraryA("VXKSTRes.dll");
    if (m_hResModule)
        AfxSetResourceHandle(m_hResModule);
    else
        MessageBoxA(nullptr, "Failed when loading VXKSTRes.dll!", "Error!", MB_ICONERROR);

    m_strAppPath = GetAppPath();
    CGlobalInfo& global = GlobalInfo();
    global.m_hSkinModule = AfxGetResourceHandle();
    // The settings first, then the log, then the database: what the
    // database has to say at start-up (a legacy file it cannot read) is
    // logged as well as shown.
    global.ReadConfig(m_strAppPath);
    OpenLog(global.m_nLogLevel);
    vx_log(4, "log level %d, pre-record %d", global.m_nLogLevel, global.m_nPreRecLen);
    if (!global.m_strConfigProblem.IsEmpty()) {
        vx_log(VX_LOG_ERROR, "%s", global.m_strConfigProblem.GetString());
        std::fprintf(stderr, "VXKST-HD: %s\n", global.m_strConfigProblem.GetString());
    }
    global.m_db.InitDatabase();

    if (!CWebWatchBase::InitLib()) {
        MessageBoxA(nullptr, "Failed when initializing vxcam lib!", "Error!", MB_ICONERROR);
        return FALSE;
    }
    // The recorder cuts its segments itself.
    CWebWatchBase::SetPreRecLen(global.m_nPreRecLen);
    CWebWatchBase::SetRecLenSwitch(0);
    global.LoadMainSkin();

    CMainDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CVSClientApp::ExitInstance()
{
    // The skin bitmaps go while the windowing layer still runs.
    GlobalInfo().FreeScheduleSkin();
    GlobalInfo().FreeAll();
    if (m_hResModule) {
        AfxSetResourceHandle(ProgramResourceHandle());
        FreeLibrary(m_hResModule);
        m_hResModule = nullptr;
    }
    if (m_hMutex) {
        ReleaseMutex(m_hMutex);
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    CWebWatchBase::DeinitLib();
    CloseLog();
    const int code = CWinApp::ExitInstance();
    if (m_nEarlyExit >= 0)
        return m_nEarlyExit;
    return m_bCannotStart ? 1 : code;
}
