#pragma once
// One INI file, named by its path. Every operation goes to the file through
// the private profile functions; nothing is cached, so values written by
// other programs are seen at the next call. Besides plain strings it reads and
// writes typed values, lists sections, appends, increments, and removes
// entries and sections (which the profile functions cannot do) by rewriting
// the file atomically.
//
// The object holds only its path: any thread may use its own object, and
// several objects may share one file (writes of this process are serialised).

#include "platform/platform.h"

class AFX_EXT_CLASS CIniFile {
public:
    CIniFile();
    CIniFile(const char* lpPathName);  // NOLINT: a path converts, NULL gives an empty one
    CIniFile(const CIniFile& src);
    CIniFile& operator=(const CIniFile& src);
    virtual ~CIniFile();

    int SetPathName(const char* lpPathName);
    const CString& GetPathName() const;

    // Readers: a missing file, section, key or an empty value gives the default.
    CString GetProfileStringA(const char* lpSection, const char* lpKey, const char* lpDefault) const;
    int GetProfileIntA(const char* lpSection, const char* lpKey, int nDefault) const;
    int GetProfileBool(const char* lpSection, const char* lpKey, int bDefault) const;
    double GetProfileDbl(const char* lpSection, const char* lpKey, double dDefault) const;
    // "R G B" separated by spaces; a missing part counts as 255.
    COLORREF GetProfileColor(const char* lpSection, const char* lpKey, COLORREF crDefault);
    // "left top width height" separated by spaces.
    CRect GetProfileRect(const char* lpSection, const char* lpKey);
    DWORD GetProfileSectionA(const char* lpSection, CStringArray& arLines) const;
    DWORD GetProfileSectionNames(CStringArray& arNames) const;

    // Writers return non-zero on success.
    int WriteProfileStringA(const char* lpSection, const char* lpKey, const char* lpText);
    int WriteProfileInt(const char* lpSection, const char* lpKey, int nValue);
    int WriteProfileBool(const char* lpSection, const char* lpKey, int bValue);
    int WriteProfileDbl(const char* lpSection, const char* lpKey, double dValue);
    int AppendProfileString(const char* lpSection, const char* lpKey, const char* lpText);
    int IncreaseProfileInt(const char* lpSection, const char* lpKey, int nIncrease);

    // 1 when something was found, removed and the file rewritten, else 0
    // with the file untouched.
    int RemoveProfileEntry(const char* lpSection, const char* lpKey) const;
    int RemoveProfileSection(const char* lpSection) const;

protected:
    static int FindEntry(const char* lpKey, const char* lpLine);
    static int FindSection(const char* lpSection, const char* lpLine);
    // The out buffers receive the trimmed name; a buffer as long as the line
    // (plus its terminator) is always large enough.
    static int IsEntry(const char* lpLine, char* lpKey);
    static int IsSection(const char* lpLine, char* lpName);

private:
    int GetNextValue(CString& strText);

    CString m_strPathName;
};
