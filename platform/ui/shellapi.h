#pragma once
// The shell: the tray icon, opening files, folders and URLs with the
// desktop's default application, the folder dialog, file-drop lists and the
// beep. GUI thread, except ShellExecute which any thread may call.

#include "platform/ui/winuser.h"

// ---- tray ----
#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004
#define NIF_STATE 0x00000008
#define NIF_INFO 0x00000010
#define NIIF_NONE 0x00000000
#define NIIF_INFO 0x00000001
#define NIIF_WARNING 0x00000002
#define NIIF_ERROR 0x00000003

typedef struct _NOTIFYICONDATAA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    CHAR szInfo[256];
    union {
        UINT uTimeout;
        UINT uVersion;
    };
    CHAR szInfoTitle[64];
    DWORD dwInfoFlags;
} NOTIFYICONDATA, *PNOTIFYICONDATA;

// Adds, changes or removes the icon of (hWnd, uID). Mouse actions on it reach
// hWnd as uCallbackMessage with wParam = uID and lParam = the mouse message
// (WM_LBUTTONDOWN, WM_RBUTTONDOWN, ...). FALSE when the desktop has no tray:
// nothing waits for one.
BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data);
#define Shell_NotifyIconA Shell_NotifyIcon
// Whether the desktop shows tray icons; a window should not hide into a
// tray that is not there.
BOOL IsSystemTrayAvailable();

// ---- opening ----
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31
#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

typedef struct _SHELLEXECUTEINFOA {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
} SHELLEXECUTEINFO, *LPSHELLEXECUTEINFO;

// Opens a file, a folder or a URL (http, https, ftp, rtsp, mailto, file) with
// the desktop's default application. Only the verbs "open", "explore" and
// none are known; a program, a script or a desktop entry is never run, and
// parameters are refused. Without a file, the directory is opened. The
// result is above 32 on success, else an SE_ERR_ value.
HINSTANCE ShellExecute(HWND hwnd, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int show);
#define ShellExecuteA ShellExecute
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info);
#define ShellExecuteExA ShellExecuteEx

// ---- folder dialog ----
#define BIF_RETURNONLYFSDIRS 0x00000001
#define BIF_DONTGOBELOWDOMAIN 0x00000002
#define BIF_STATUSTEXT 0x00000004
#define BIF_EDITBOX 0x00000010
#define BIF_VALIDATE 0x00000020
#define BIF_NEWDIALOGSTYLE 0x00000040
#define BIF_USENEWUI (BIF_NEWDIALOGSTYLE | BIF_EDITBOX)
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_SETSELECTION (WM_USER + 102)
#define BFFM_SETSELECTIONA BFFM_SETSELECTION

typedef struct _ITEMIDLIST ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef int(CALLBACK* BFFCALLBACK)(HWND hwnd, UINT msg, LPARAM lParam, LPARAM lpData);

typedef struct _browseinfoA {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName;  // MAX_PATH characters: the chosen folder's name
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFO, *LPBROWSEINFO;

// Shows the folder dialog; the callback gets BFFM_INITIALIZED with a window
// handle to which it may send BFFM_SETSELECTION (wParam TRUE, lParam the
// path) to preselect a folder. Null when cancelled; free with CoTaskMemFree.
LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO info);
#define SHBrowseForFolderA SHBrowseForFolder
// Copies the path into a buffer of MAX_PATH characters.
BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPSTR path);
#define SHGetPathFromIDListA SHGetPathFromIDList
void CoTaskMemFree(void* p);

// ---- file-drop lists ----
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4

typedef struct _DROPFILES {
    DWORD pFiles;  // offset of the file list from the start of the block
    POINT pt;
    BOOL fNC;
    BOOL fWide;    // the names are WCHAR text, else UTF-8
} DROPFILES, *LPDROPFILES;

// ---- sounds ----
BOOL MessageBeep(UINT type);
