#pragma once
// Module states: which library's resources come first and which application
// object AfxGetApp() answers while code of that library runs. A library that
// keeps resources of its own enters its state at each of its entry points:
//
//   void vxcam_interface::ShowDialog(...) {
//       AFX_MANAGE_STATE(VxcamModuleState());
//       ...  // dialog templates and strings are looked up in vxcam first
//   }
//
// The scope belongs to the thread that entered it (scopes nest); other
// threads keep the search chain of AfxSetResourceHandle.

#include "platform/ui/winuser.h"

class CWinApp;

struct AFX_MODULE_STATE {
    explicit AFX_MODULE_STATE(HINSTANCE resources) : m_hCurrentResourceHandle(resources) {}
    HINSTANCE m_hCurrentResourceHandle;
    CWinApp* m_pCurrentWinApp = nullptr;  // the library's application object, if any
};

// Enters a module state for the life of the object.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevious;
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

// The innermost state the calling thread entered, or null.
AFX_MODULE_STATE* AfxGetModuleState();

// Starts a library's application object once, when the library loads: made
// as a global right after the application object, in the same file, so the
// object is complete. Runs InitInstance inside the library's state.
class AfxLibraryStart {
public:
    explicit AfxLibraryStart(AFX_MODULE_STATE* state);
};
