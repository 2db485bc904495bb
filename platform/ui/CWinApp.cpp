#include "platform/ui/CWinApp.h"

#include "platform/gdi/wingdi.h"
#include "platform/ui/GuiRuntime.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/session_end.h"

#include <QApplication>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp* g_app = nullptr;

BOOL AppPreTranslate(MSG* msg)
{
    return g_app ? g_app->PreTranslateMessage(msg) : CWnd::WalkPreTranslateTree(nullptr, msg);
}

}  // namespace

int CWinThread::Run()
{
    m_nQuitCode = vxw::RunMessageLoop();
    return ExitInstance();
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* main = GetMainWnd();
    HWND stop = main ? CWnd::SafeHwnd(main) : nullptr;
    return CWnd::WalkPreTranslateTree(stop, pMsg);
}

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    g_app = this;
    vxw::SetPreTranslateHook(&AppPreTranslate);
}

CWinApp::CWinApp(LPCSTR lpszAppName, AFX_MODULE_STATE* libraryState) : m_pszAppName(lpszAppName)
{
    if (libraryState) {
        m_pLibraryState = libraryState;
        libraryState->m_pCurrentWinApp = this;
        m_hInstance = libraryState->m_hCurrentResourceHandle;
    }
}

CWinApp::~CWinApp()
{
    if (g_app == this) {
        vxw::SetPreTranslateHook(nullptr);
        g_app = nullptr;
    }
    if (m_pLibraryState && m_pLibraryState->m_pCurrentWinApp == this)
        m_pLibraryState->m_pCurrentWinApp = nullptr;
}

int CWinApp::Run()
{
    return CWinThread::Run();
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const
{
    return ::LoadCursor(nullptr, lpszCursorName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursor(m_hInstance, MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIcon(m_hInstance, MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const
{
    return ::LoadIcon(nullptr, lpszIconName);
}

void CWinApp::DoWaitCursor(int nCode)
{
    if (nCode > 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (nCode < 0 && QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

CWinApp* AfxGetApp()
{
    if (AFX_MODULE_STATE* state = AfxGetModuleState(); state && state->m_pCurrentWinApp)
        return state->m_pCurrentWinApp;
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app ? g_app->m_hInstance : nullptr;
}

void AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* app = g_app;
    if (!app || !vxw::InitGuiThread(argc, argv))
        return -1;
    vxw::WatchSessionEnd();
    std::string cmd;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            cmd += ' ';
        cmd += argv[i];
    }
    app->m_cmdLine = cmd;
    app->m_lpCmdLine = app->m_cmdLine.data();
    if (!app->m_pszExeName && argc > 0)
        app->m_pszExeName = argv[0];
    int code = 0;
    if (!app->InitInstance())
        code = app->ExitInstance();
    else
        code = app->Run();
    vxw::ShutdownGuiThread();
    return code;
}
