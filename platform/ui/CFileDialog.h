#pragma once
// The open and save file dialogs. GUI thread; DoModal runs until the user
// (or the test hook) answers.

#include "platform/base/CObject.h"
#include "platform/base/base.h"
#include "platform/ui/winuser.h"

#define OFN_READONLY         0x00000001
#define OFN_OVERWRITEPROMPT  0x00000002
#define OFN_HIDEREADONLY     0x00000004
#define OFN_NOCHANGEDIR      0x00000008
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_PATHMUSTEXIST    0x00000800
#define OFN_FILEMUSTEXIST    0x00001000
#define OFN_CREATEPROMPT     0x00002000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_EXPLORER         0x00080000
#define OFN_ENABLESIZING     0x00800000

typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;  // the chosen path, nMaxFile characters
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCSTR lpTemplateName;
} OPENFILENAME, *LPOPENFILENAME;

class CWnd;

class CFileDialog : public CObject {
public:
    // lpszFilter: "Name|pattern;pattern|Name|pattern||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    ~CFileDialog() override;

    virtual INT_PTR DoModal();
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

    OPENFILENAME m_ofn{};

private:
    BOOL m_bOpen;
    CString m_defExt;
    CString m_filter;
    CString m_path;
    std::string m_fileBuffer;
    HWND m_owner = nullptr;
};
