#pragma once
// The application object of VXKST-HD: start-up in a fixed order, the single
// instance, the modal main window, and shut-down. InitInstance runs the main
// window itself and returns FALSE, so the program ends right after
// ExitInstance.
//
// GUI thread.

#include "platform/platform.h"

#include <cstdio>
#include <mutex>

class CVSClientApp : public CWinApp {
public:
    CVSClientApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // The program directory, ending in '/'.
    static CString GetAppPath();

    HINSTANCE m_hResModule = nullptr;
    CString m_strAppPath;
    HANDLE m_hMutex = nullptr;
    bool m_bCannotStart = false;  // ended at start-up by a fault, not by a forwarded start
    int m_nEarlyExit = -1;        // the exit status of a start its command line ended, else -1

protected:
    DECLARE_MESSAGE_MAP()

private:
    void OpenLog(int level);
    void CloseLog();
};

// Loads both strings of the resource chain ("&&" in the caption becomes
// "&") and shows the box, through the owner when there is one.
int AppMessageBox(CWnd* owner, UINT captionId, UINT textId, UINT type);

// The log sink: one write and a flush per line, under a lock, so lines of
// several threads never mix and closing the file never meets a writer.
void LogToFile(int level, const char* line, int length);
// Installs (file non-null) or removes the log file of LogToFile; the
// previous file is closed.
void SetLogFile(FILE* file);
