#include "platform/base/CString.h"

#include "platform/base/clocale_p.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace vxbase {

PfnLoadString g_pfnLoadString = nullptr;

bool FormatWritesMemory(const char* pszFormat)
{
    for (const char* p = pszFormat; p && *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        // Flags, width, precision, argument positions and length modifiers.
        while (*p && std::strchr("-+ #0123456789.*$'hljztLqI", *p))
            ++p;
        if (*p == 'n')
            return true;
        if (!*p)
            break;
    }
    return false;
}

}  // namespace vxbase

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

const char* Safe(const char* psz)
{
    return psz ? psz : "";
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

// Lengths in this class are ints; text longer than that is cut at the limit
// rather than wrapping into a negative length.
int ClampLength(size_t n)
{
    return n > static_cast<size_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                    : static_cast<int>(n);
}

// printf into a std::string, sized by a first measuring pass. A format the C
// library rejects (vsnprintf < 0) leaves the output empty. Numbers are
// written in the C locale ("1.5"), whatever locale the process runs in.
bool FormatInto(std::string& out, const char* pszFormat, va_list args)
{
    out.clear();
    if (!pszFormat || vxbase::FormatWritesMemory(pszFormat))
        return false;
    vxbase::ScopedCLocale cLocale;
    va_list measure;
    va_copy(measure, args);
    int n = std::vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (n < 0)
        return false;
    out.resize(static_cast<size_t>(n) + 1);
    va_list write;
    va_copy(write, args);
    std::vsnprintf(out.data(), out.size(), pszFormat, write);
    va_end(write);
    out.resize(static_cast<size_t>(n));
    return true;
}

}  // namespace

// A "pointer" below 64 Ki is a string id made with MAKEINTRESOURCE, as the
// classic class accepted; reading it as text would crash.
static bool IsIntResource(const char* psz)
{
    return psz && reinterpret_cast<uintptr_t>(psz) < 0x10000;
}

CString::CString(const char* psz)
{
    if (IsIntResource(psz))
        LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(psz)));
    else
        m_str = Safe(psz);
}

CString::CString(const char* pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(const unsigned char* psz) : m_str(Safe(reinterpret_cast<const char*>(psz))) {}

CString& CString::operator=(const char* psz)
{
    if (IsIntResource(psz)) {
        m_str.clear();
        LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(psz)));
    } else {
        m_str = Safe(psz);
    }
    return *this;
}

CString& CString::operator=(char ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator=(const std::string& str)
{
    m_str = str;
    return *this;
}

char CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<size_t>(nIndex)] = ch;
}

char* CString::GetBuffer()
{
    return m_str.data();
}

char* CString::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufferLength), '\0');
    return m_str.data();
}

char* CString::GetBufferSetLength(int nLength)
{
    m_str.resize(static_cast<size_t>(std::max(nLength, 0)), '\0');
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    // The buffer is the string's own storage, so the text can never run
    // past it: -1 looks for the terminator inside the buffer only.
    if (nNewLength < 0) {
        const void* end = std::memchr(m_str.data(), '\0', m_str.size());
        if (end)
            m_str.resize(static_cast<size_t>(static_cast<const char*>(end) - m_str.data()));
    } else if (static_cast<size_t>(nNewLength) <= m_str.size()) {
        m_str.resize(static_cast<size_t>(nNewLength));
    }
}

void CString::Preallocate(int nLength)
{
    if (nLength > 0)
        m_str.reserve(static_cast<size_t>(nLength));
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength >= 0 && nNewLength < GetLength())
        m_str.resize(static_cast<size_t>(nNewLength));
}

void CString::SetString(const char* psz)
{
    m_str = Safe(psz);
}

void CString::SetString(const char* pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
    else
        m_str.clear();
}

void CString::FormatV(const char* pszFormat, va_list args)
{
    std::string out;
    FormatInto(out, pszFormat, args);
    m_str = std::move(out);
}

void CString::AppendFormatV(const char* pszFormat, va_list args)
{
    std::string out;
    if (FormatInto(out, pszFormat, args))
        m_str += out;
}

void CString::FormatImpl(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatImpl(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

void CString::Append(const char* psz)
{
    m_str += Safe(psz);
}

void CString::Append(const char* pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.append(pch, static_cast<size_t>(nLength));
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(const char* psz)
{
    m_str += Safe(psz);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

CString& CString::operator+=(const std::string& str)
{
    m_str += str;
    return *this;
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* pszSub, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(Safe(pszSub), static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const char* pszCharSet) const
{
    const char* set = Safe(pszCharSet);
    if (!*set)
        return -1;
    size_t pos = m_str.find_first_of(set);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    const long long len = GetLength();
    long long first = std::max(nFirst, 0);
    long long count = std::max(nCount, 0);
    if (first > len)
        return CString();
    count = std::min(count, len - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0)
        return CString();
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const
{
    if (nCount <= 0)
        return CString();
    if (nCount >= GetLength())
        return *this;
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(nCount)));
}

CString CString::SpanIncluding(const char* pszCharSet) const
{
    size_t n = std::strspn(m_str.c_str(), Safe(pszCharSet));
    return Left(ClampLength(n));
}

CString CString::SpanExcluding(const char* pszCharSet) const
{
    size_t n = std::strcspn(m_str.c_str(), Safe(pszCharSet));
    return Left(ClampLength(n));
}

CString CString::Tokenize(const char* pszTokens, int& iStart) const
{
    const int len = GetLength();
    if (iStart < 0 || iStart > len) {
        iStart = -1;
        return CString();
    }
    const char* tokens = Safe(pszTokens);
    if (!*tokens) {
        // No delimiters: the rest is one token. The classic class left
        // iStart where it was, so a caller looping until -1 never ended;
        // moving it past the end makes the next call report the end.
        if (iStart < len) {
            CString rest = Mid(iStart);
            iStart = len + 1;
            return rest;
        }
        iStart = -1;
        return CString();
    }
    const size_t from = static_cast<size_t>(iStart);
    size_t begin = m_str.find_first_not_of(tokens, from);
    if (begin == std::string::npos) {
        iStart = -1;
        return CString();
    }
    size_t end = m_str.find_first_of(tokens, begin);
    if (end == std::string::npos)
        end = m_str.size();
    iStart = static_cast<int>(end) + 1;
    return CString(m_str.substr(begin, end - begin));
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(const char* pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char chTarget)
{
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == chTarget)
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(const char* pszTargets)
{
    const char* set = Safe(pszTargets);
    if (!*set)
        return *this;
    size_t i = m_str.find_first_not_of(set);
    m_str.erase(0, i == std::string::npos ? m_str.size() : i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsSpace(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(char chTarget)
{
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == chTarget)
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(const char* pszTargets)
{
    const char* set = Safe(pszTargets);
    if (!*set)
        return *this;
    size_t i = m_str.find_last_not_of(set);
    m_str.resize(i == std::string::npos ? 0 : i + 1);
    return *this;
}

CString& CString::MakeLower()
{
    for (char& c : m_str)
        c = ToLowerAscii(c);
    return *this;
}

CString& CString::MakeUpper()
{
    for (char& c : m_str)
        c = ToUpperAscii(c);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    // Replacing a character by itself changes nothing and counts nothing.
    int count = 0;
    if (chOld == chNew)
        return 0;
    for (char& c : m_str) {
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* pszOld, const char* pszNew)
{
    const std::string_view from = Safe(pszOld);
    if (from.empty())
        return 0;
    const std::string_view to = Safe(pszNew);
    std::string out;
    int count = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_str.find(from, pos);
        if (hit == std::string::npos)
            break;
        if (count == 0)
            out.reserve(m_str.size());
        out.append(m_str, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        out.append(m_str, pos, std::string::npos);
        m_str = std::move(out);
    }
    return count;
}

int CString::Remove(char ch)
{
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, char ch)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, const char* psz)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    // Copy first: psz may point into this string.
    std::string ins = Safe(psz);
    m_str.insert(static_cast<size_t>(nIndex), ins);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    const int len = GetLength();
    nIndex = std::max(nIndex, 0);
    if (nIndex < len && nCount > 0) {
        int n = std::min(nCount, len - nIndex);
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(n));
    }
    return GetLength();
}

int CString::Compare(const char* psz) const
{
    return Sign(std::strcmp(m_str.c_str(), Safe(psz)));
}

int CString::CompareNoCase(const char* psz) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_str.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(Safe(psz));
    for (;; ++a, ++b) {
        int ca = static_cast<unsigned char>(ToLowerAscii(static_cast<char>(*a)));
        int cb = static_cast<unsigned char>(ToLowerAscii(static_cast<char>(*b)));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

BOOL CString::LoadString(UINT nID)
{
    if (!vxbase::g_pfnLoadString)
        return FALSE;
    CString text;
    if (!vxbase::g_pfnLoadString(nID, text))
        return FALSE;
    *this = std::move(text);
    return TRUE;
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.str() + b.str());
}

CString operator+(const CString& a, const char* b)
{
    return CString(a.str() + Safe(b));
}

CString operator+(const char* a, const CString& b)
{
    return CString(Safe(a) + b.str());
}

CString operator+(const CString& a, char b)
{
    return CString(a.str() + b);
}

CString operator+(char a, const CString& b)
{
    return CString(a + b.str());
}

bool operator==(const CString& a, const CString& b)
{
    return a.str() == b.str();
}
bool operator==(const CString& a, const char* b)
{
    return a.Compare(b) == 0;
}
bool operator==(const char* a, const CString& b)
{
    return b.Compare(a) == 0;
}
bool operator==(const CString& a, char b)
{
    return a.GetLength() == 1 && a.GetAt(0) == b;
}
bool operator==(char a, const CString& b)
{
    return b == a;
}
bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}
bool operator!=(const CString& a, const char* b)
{
    return !(a == b);
}
bool operator!=(const char* a, const CString& b)
{
    return !(b == a);
}
bool operator!=(const CString& a, char b)
{
    return !(a == b);
}
bool operator!=(char a, const CString& b)
{
    return !(b == a);
}
bool operator<(const CString& a, const CString& b)
{
    // Byte-wise over the whole text, consistent with == for map keys.
    return a.str() < b.str();
}
bool operator<(const CString& a, const char* b)
{
    return a.Compare(b) < 0;
}
bool operator<(const char* a, const CString& b)
{
    return b.Compare(a) > 0;
}
bool operator>(const CString& a, const CString& b)
{
    return b.str() < a.str();
}
bool operator>(const CString& a, const char* b)
{
    return a.Compare(b) > 0;
}
bool operator>(const char* a, const CString& b)
{
    return b.Compare(a) < 0;
}
bool operator<=(const CString& a, const CString& b)
{
    return !(b.str() < a.str());
}
bool operator<=(const CString& a, const char* b)
{
    return a.Compare(b) <= 0;
}
bool operator<=(const char* a, const CString& b)
{
    return b.Compare(a) >= 0;
}
bool operator>=(const CString& a, const CString& b)
{
    return !(a.str() < b.str());
}
bool operator>=(const CString& a, const char* b)
{
    return a.Compare(b) >= 0;
}
bool operator>=(const char* a, const CString& b)
{
    return b.Compare(a) <= 0;
}

bool operator==(const CString& a, const std::string& b)
{
    return a.str() == b;
}
bool operator==(const std::string& a, const CString& b)
{
    return a == b.str();
}
bool operator!=(const CString& a, const std::string& b)
{
    return a.str() != b;
}
bool operator!=(const std::string& a, const CString& b)
{
    return a != b.str();
}
