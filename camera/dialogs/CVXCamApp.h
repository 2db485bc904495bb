#pragma once
// The camera library's application object and the helpers every settings
// page uses: message boxes by string id of the library's own table, the
// program folder, the snapshot file of the motion-area editor and folder
// creation. The object starts once when the library loads and is kept by the
// library's module state, never as the host's AfxGetApp().
//
// Threads: the message boxes on the GUI thread; the folder helpers on any
// thread (GetAppPath fills its text under a lock on first use).

#include "platform/platform.h"

#include <mutex>

// The library's module state: AFX_MANAGE_STATE(VxcamModuleState()) at every
// entry point that loads dialogs or strings.
AFX_MODULE_STATE* VxcamModuleState();

class CVXCamApp : public CWinApp {
public:
    CVXCamApp();

    BOOL InitInstance() override;

    // The program's folder with a final '/' (VX_PROGRAM_DIR, an installed
    // program's user folder, else the executable's folder), fixed on first use.
    CString GetAppPath();
    CString GetTempSnapshotPath();
    // 0 for an empty path; 1 when it is (or now is) a folder.
    int MakeSureFolder(CString strFolder);

private:
    std::mutex m_pathMutex;  // guards m_strAppPath
    CString m_strAppPath;
};

CVXCamApp& VxcamApp();

// The caption's "&&" shows as "&". Owned by `parent`, unowned for null.
int ShowMessageById(CWnd* parent, UINT nCaptionId, UINT nTextId, UINT nType);
int ShowMessageByIdEx(CWnd* parent, UINT nCaptionId, UINT nTextId, CString strExtra, UINT nType);
// The same with a text made by the caller.
int ShowMessageText(CWnd* parent, UINT nCaptionId, const CString& strText, UINT nType);
// A string of the library's own table.
CString VxcamString(UINT nId);
