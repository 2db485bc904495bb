#pragma once
// The application object: one per program, made as a global; the thread that
// runs it is the GUI thread.

#include "platform/ui/CWnd.h"
#include "platform/ui/ModuleState.h"

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread() = default;

    CWnd* m_pMainWnd = nullptr;
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL InitInstance() { return FALSE; }
    // The default result is the code that PostQuitMessage gave.
    virtual int ExitInstance() { return m_nQuitCode; }
    virtual int Run();
    // Each message of the loop passes here first; the default asks the
    // windows from the message's target up to its top-level window.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    int m_nQuitCode = 0;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)

public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    // A library's application object: kept by the library's module state,
    // it never becomes the program's AfxGetApp() (see ModuleState.h).
    CWinApp(LPCSTR lpszAppName, AFX_MODULE_STATE* libraryState);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    HINSTANCE m_hInstance = nullptr;
    LPCSTR m_pszExeName = nullptr;

    int Run() override;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const;
    void DoWaitCursor(int nCode);

private:
    std::string m_cmdLine;
    AFX_MODULE_STATE* m_pLibraryState = nullptr;
    friend int AfxWinMain(int argc, char** argv);
};

// The program's application object; inside a library's module state that
// has one, the library's.
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
void AfxPostQuitMessage(int nExitCode);

// The program's main: starts the GUI thread, runs InitInstance, then the loop
// when InitInstance returned TRUE (ExitInstance otherwise); returns the exit
// code.
int AfxWinMain(int argc, char** argv);
