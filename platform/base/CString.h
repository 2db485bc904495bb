#pragma once
// 8-bit text with the members the system's code is written against. The
// bytes are UTF-8, our code page; case mapping and white space are ASCII only,
// so multi-byte characters pass through untouched.
//
// Index rules follow the classic ones exactly: counts below zero clamp to
// zero, positions past the end clamp to the end, searches that find nothing
// return -1. Nothing here throws for a bad index; a read outside the text
// gives '\0' and a write outside it is ignored.
//
// A CString is a plain value: one thread at a time per object, like a
// std::string.

#include "platform/base/format_arg.h"
#include "platform/base/types.h"

#include <compare>
#include <concepts>
#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

class CString;

namespace vxbase {

// The windowing layer installs the string-table lookup here; until then
// LoadString finds nothing. Returns FALSE when the id has no string.
using PfnLoadString = BOOL (*)(UINT nID, CString& strOut);
extern PfnLoadString g_pfnLoadString;

}  // namespace vxbase

class CString {
public:
    CString() = default;
    // A null pointer gives ""; a MAKEINTRESOURCE id loads that string.
    CString(const char* psz);  // NOLINT: implicit like the classic class
    CString(const char* pch, int nLength);
    CString(char ch, int nRepeat = 1);
    CString(const unsigned char* psz);
    CString(const std::string& str) : m_str(str) {}        // NOLINT
    CString(std::string&& str) : m_str(std::move(str)) {}  // NOLINT
    explicit CString(std::string_view sv) : m_str(sv) {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* psz);
    CString& operator=(char ch);
    CString& operator=(const std::string& str);

    // Size and access.
    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const char* GetString() const { return m_str.c_str(); }
    operator const char*() const { return m_str.c_str(); }  // NOLINT: LPCTSTR
    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    // A template so that every integral index type picks this member over the
    // built-in subscript of the converted pointer.
    template <std::integral I>
    char operator[](I nIndex) const
    {
        return (nIndex < 0 || static_cast<unsigned long long>(nIndex) >= m_str.size())
                   ? '\0'
                   : m_str[static_cast<size_t>(nIndex)];
    }

    // Raw buffer. GetBuffer hands out at least nMinBufferLength writable
    // characters plus the terminator, keeping the current text; after
    // writing, ReleaseBuffer(-1) takes the text up to the first '\0' (or the
    // whole buffer), ReleaseBuffer(n) takes exactly n characters.
    char* GetBuffer();
    char* GetBuffer(int nMinBufferLength);
    char* GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void Preallocate(int nLength);
    void FreeExtra() { m_str.shrink_to_fit(); }
    void Truncate(int nNewLength);
    void SetString(const char* psz);
    void SetString(const char* pch, int nLength);

    // Formatting with printf semantics.
    template <typename... Args>
    void Format(const char* pszFormat, const Args&... args)
    {
        FormatImpl(pszFormat, vxbase::FormatArg(args)...);
    }
    // The format text is string nFormatID of the resource chain; an id with
    // no string leaves the text empty.
    template <typename... Args>
    void Format(UINT nFormatID, const Args&... args)
    {
        CString fmt;
        if (!fmt.LoadString(nFormatID)) {
            Empty();
            return;
        }
        FormatImpl(fmt.GetString(), vxbase::FormatArg(args)...);
    }
    template <typename... Args>
    void AppendFormat(const char* pszFormat, const Args&... args)
    {
        AppendFormatImpl(pszFormat, vxbase::FormatArg(args)...);
    }
    void FormatV(const char* pszFormat, va_list args);
    void AppendFormatV(const char* pszFormat, va_list args);

    // Appending.
    void Append(const char* psz);
    void Append(const char* pch, int nLength);
    void Append(const CString& str) { m_str += str.m_str; }
    void AppendChar(char ch) { m_str += ch; }
    CString& operator+=(const CString& str);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);
    CString& operator+=(const std::string& str);

    // Searching. Find starts at nStart; a start past the end finds nothing,
    // an empty needle is found at nStart.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* pszCharSet) const;

    // Extraction.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(const char* pszCharSet) const;
    CString SpanExcluding(const char* pszCharSet) const;
    // Returns the next token after skipping delimiters from iStart and moves
    // iStart past it; when no token is left it returns "" and sets iStart to
    // -1. With no delimiters the rest of the text is one token.
    CString Tokenize(const char* pszTokens, int& iStart) const;

    // Changing in place; the counts returned are those of the classic class.
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(const char* pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(const char* pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(const char* pszTargets);
    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();
    int Replace(char chOld, char chNew);
    int Replace(const char* pszOld, const char* pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, const char* psz);
    int Delete(int nIndex, int nCount = 1);

    // Comparing: byte-wise, and ASCII case-insensitive for the NoCase forms.
    // The sign is the result; the value is -1, 0 or 1.
    int Compare(const char* psz) const;
    int CompareNoCase(const char* psz) const;
    int Collate(const char* psz) const { return Compare(psz); }
    int CollateNoCase(const char* psz) const { return CompareNoCase(psz); }

    // String id from the resource chain (see vxbase::g_pfnLoadString).
    BOOL LoadString(UINT nID);

    // Interop with the standard library.
    const std::string& str() const { return m_str; }
    std::string& str() { return m_str; }
    std::string_view view() const { return m_str; }

private:
    void FormatImpl(const char* pszFormat, ...);
    void AppendFormatImpl(const char* pszFormat, ...);

    std::string m_str;
};

typedef CString CStringA;

// Concatenation.
CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

// Comparison with CString, text and single characters. A null pointer
// compares as "".
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator==(const CString& a, char b);
bool operator==(char a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator!=(const CString& a, char b);
bool operator!=(char a, const CString& b);
bool operator==(const CString& a, const std::string& b);
bool operator==(const std::string& a, const CString& b);
bool operator!=(const CString& a, const std::string& b);
bool operator!=(const std::string& a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);

template <>
struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};
