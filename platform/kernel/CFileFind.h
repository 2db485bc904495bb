#pragma once
// CFileFind: the entries of one folder that match a name pattern.
//
// FindFile takes "folder/pattern" ('\\' is read as '/'; no folder: the
// current one; no pattern given: every entry); GetFilePath and GetRoot are
// full paths, also for a relative pattern. '*' matches any run of
// characters, '?' exactly one, and a final ".*" also matches names without an
// extension, so "*.*" is every entry. Matching ignores ASCII case. The
// folder is read when FindFile is called; entries come in name order, "." and
// ".." included. As usual, FindNextFile steps to the next entry and returns
// FALSE when the entry it stepped to is the last one.
//
// One thread at a time per object.

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/types.h"

#include <memory>

class CFileFind {
public:
    CFileFind();
    virtual ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    virtual BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
    virtual BOOL FindNextFile();
    void Close();

    ULONGLONG GetLength() const;
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFileURL() const;
    virtual CString GetRoot() const;

    virtual BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    virtual BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;
    virtual BOOL GetCreationTime(FILETIME* pTimeStamp) const;
    virtual BOOL GetLastWriteTime(CTime& refTime) const;
    virtual BOOL GetLastAccessTime(CTime& refTime) const;
    virtual BOOL GetCreationTime(CTime& refTime) const;

    virtual BOOL IsDots() const;
    BOOL IsReadOnly() const;
    BOOL IsDirectory() const;
    BOOL IsCompressed() const { return FALSE; }
    BOOL IsSystem() const { return FALSE; }
    BOOL IsHidden() const;
    BOOL IsTemporary() const { return FALSE; }
    BOOL IsNormal() const;
    BOOL IsArchived() const { return FALSE; }
    virtual BOOL MatchesMask(DWORD dwMask) const;

    // True when `name` matches `pattern` by the rules above.
    static bool MatchesPattern(const char* pattern, const char* name);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
