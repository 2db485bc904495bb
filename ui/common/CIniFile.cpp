#include "ui/common/CIniFile.h"

#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The readers hand back at most this many characters of a value.
constexpr DWORD kValueBuffer = 1024;

// Line recognition of this class counts only the space as blank.
std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" with a name that is not blank.
bool SectionName(std::string_view line, std::string_view* name)
{
    std::string_view t = TrimSpaces(line);
    if (t.size() < 3 || t.front() != '[' || t.back() != ']')
        return false;
    std::string_view n = TrimSpaces(t.substr(1, t.size() - 2));
    if (n.empty())
        return false;
    if (name)
        *name = n;
    return true;
}

// "key=..." with a key that is not blank, on a line that is no header.
bool EntryKey(std::string_view line, std::string_view* key)
{
    if (SectionName(line, nullptr))
        return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    std::string_view k = TrimSpaces(line.substr(0, eq));
    if (k.empty())
        return false;
    if (key)
        *key = k;
    return true;
}

bool IsSectionNamed(std::string_view section, std::string_view line)
{
    std::string_view name;
    return SectionName(line, &name) && EqualNoCase(name, TrimSpaces(section));
}

bool IsEntryNamed(std::string_view key, std::string_view line)
{
    std::string_view k;
    return EntryKey(line, &k) && EqualNoCase(k, TrimSpaces(key));
}

void CopyOut(std::string_view s, char* out)
{
    if (!out)
        return;
    memcpy(out, s.data(), s.size());
    out[s.size()] = '\0';
}

// The whole value, however long; the profile function cuts to its buffer.
CString ReadWholeValue(const char* section, const char* key, const char* path)
{
    std::vector<char> buf(kValueBuffer + 1, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, key, "", buf.data(), static_cast<DWORD>(buf.size()), path);
        if (n + 1 < buf.size())
            return CString(buf.data());
        buf.assign(buf.size() * 2, '\0');
    }
}

// Lists come back NUL-separated; grow the buffer while the function says it
// was too small (count near the buffer size).
void ReadList(CStringArray& out, DWORD slack,
              DWORD (*read)(const char* section, LPSTR buf, DWORD size, const char* path), const char* section,
              const char* path)
{
    DWORD size = 1025;
    std::vector<char> buf(size, '\0');
    DWORD count = read(section, buf.data(), size, path);
    while (count + slack >= size) {
        size += 1024;
        buf.assign(size, '\0');
        count = read(section, buf.data(), size, path);
    }
    for (DWORD i = 0; i < count; ++i)
        if (buf[i] == '\0')
            buf[i] = '\n';
    std::string_view text(buf.data(), count);
    out.RemoveAll();
    size_t start = 0;
    while (start <= text.size()) {
        size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            lf = text.size();
        CString piece(text.substr(start, lf - start));
        piece.Trim();
        if (!piece.IsEmpty())
            out.Add(piece);
        start = lf + 1;
    }
}

DWORD ReadSection(const char* section, LPSTR buf, DWORD size, const char* path)
{
    return GetPrivateProfileSectionA(section, buf, size, path);
}

DWORD ReadNames(const char*, LPSTR buf, DWORD size, const char* path)
{
    return GetPrivateProfileSectionNamesA(buf, size, path);
}

// Rewrites the file without the lines that drop() picks, each line with its
// own terminator; true when a line was dropped and the file was replaced.
template <typename Drop>
int RewriteWithout(const CString& path, Drop drop)
{
    bool found = false;
    bool existed = false;
    bool ok = vxk::EditProfileFile(
        path,
        [&](std::string& text) {
            std::string kept(text, 0, vxk::ProfileBomLength(text));
            for (const vxk::ProfileLine& l : vxk::SplitProfileLines(text)) {
                std::string_view line(text.data() + l.begin, l.length);
                if (drop(line))
                    found = true;
                else
                    kept.append(text, l.begin, l.length + l.terminator);
            }
            if (!found)
                return vxk::ProfileEdit::Keep;
            text = std::move(kept);
            return vxk::ProfileEdit::Replace;
        },
        &existed);
    return ok && existed && found ? 1 : 0;
}

}  // namespace

CIniFile::CIniFile() = default;

CIniFile::CIniFile(const char* lpPathName) : m_strPathName(lpPathName ? lpPathName : "") {}

CIniFile::CIniFile(const CIniFile& src) = default;

CIniFile& CIniFile::operator=(const CIniFile& src) = default;

CIniFile::~CIniFile() = default;

int CIniFile::SetPathName(const char* lpPathName)
{
    if (!lpPathName)
        return 0;
    m_strPathName = lpPathName;
    return 1;
}

const CString& CIniFile::GetPathName() const
{
    return m_strPathName;
}

CString CIniFile::GetProfileStringA(const char* lpSection, const char* lpKey, const char* lpDefault) const
{
    char buf[kValueBuffer + 1] = {};
    GetPrivateProfileStringA(lpSection, lpKey, lpDefault, buf, kValueBuffer, m_strPathName);
    // Up to the first NUL: a NULL section or key gives a NUL-separated list.
    return CString(buf);
}

int CIniFile::GetProfileIntA(const char* lpSection, const char* lpKey, int nDefault) const
{
    CString value = GetProfileStringA(lpSection, lpKey, "");
    return value.IsEmpty() ? nDefault : vxk::AtoiSaturated(value);
}

int CIniFile::GetProfileBool(const char* lpSection, const char* lpKey, int bDefault) const
{
    return GetProfileIntA(lpSection, lpKey, bDefault ? 1 : 0) ? 1 : 0;
}

double CIniFile::GetProfileDbl(const char* lpSection, const char* lpKey, double dDefault) const
{
    CString value = GetProfileStringA(lpSection, lpKey, "");
    return value.IsEmpty() ? dDefault : vxk::AtofClocale(value);
}

COLORREF CIniFile::GetProfileColor(const char* lpSection, const char* lpKey, COLORREF crDefault)
{
    CString value = GetProfileStringA(lpSection, lpKey, "");
    if (value.IsEmpty())
        return crDefault;
    int red = GetNextValue(value);
    int green = GetNextValue(value);
    int blue = GetNextValue(value);
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

CRect CIniFile::GetProfileRect(const char* lpSection, const char* lpKey)
{
    CString value = GetProfileStringA(lpSection, lpKey, "");
    if (value.IsEmpty())
        return CRect(0, 0, 0, 0);
    int left = GetNextValue(value);
    int top = GetNextValue(value);
    int width = GetNextValue(value);
    int height = GetNextValue(value);
    // Wrapping instead of overflowing on absurd numbers.
    auto add = [](int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); };
    return CRect(left, top, add(left, width), add(top, height));
}

DWORD CIniFile::GetProfileSectionA(const char* lpSection, CStringArray& arLines) const
{
    ReadList(arLines, 3, ReadSection, lpSection, m_strPathName);
    return static_cast<DWORD>(arLines.GetSize());
}

DWORD CIniFile::GetProfileSectionNames(CStringArray& arNames) const
{
    ReadList(arNames, 5, ReadNames, nullptr, m_strPathName);
    return static_cast<DWORD>(arNames.GetSize());
}

int CIniFile::WriteProfileStringA(const char* lpSection, const char* lpKey, const char* lpText)
{
    return WritePrivateProfileStringA(lpSection, lpKey, lpText, m_strPathName);
}

int CIniFile::WriteProfileInt(const char* lpSection, const char* lpKey, int nValue)
{
    CString text;
    text.Format("%d", nValue);
    return WriteProfileStringA(lpSection, lpKey, text);
}

int CIniFile::WriteProfileBool(const char* lpSection, const char* lpKey, int bValue)
{
    return WriteProfileInt(lpSection, lpKey, bValue ? 1 : 0);
}

int CIniFile::WriteProfileDbl(const char* lpSection, const char* lpKey, double dValue)
{
    // "%f" in the C locale: the file reads the same under every locale.
    std::string text = vxk::FormatDoubleClocale("%f", dValue);
    return WriteProfileStringA(lpSection, lpKey, text.c_str());
}

int CIniFile::AppendProfileString(const char* lpSection, const char* lpKey, const char* lpText)
{
    // Held across the read and the write, so appends of this process
    // never lose each other's text.
    std::lock_guard<std::recursive_mutex> lock(vxk::ProfileWritersLock());
    CString value = ReadWholeValue(lpSection, lpKey, m_strPathName);
    value += lpText ? lpText : "";
    return WriteProfileStringA(lpSection, lpKey, value);
}

int CIniFile::IncreaseProfileInt(const char* lpSection, const char* lpKey, int nIncrease)
{
    std::lock_guard<std::recursive_mutex> lock(vxk::ProfileWritersLock());
    long long sum = static_cast<long long>(GetProfileIntA(lpSection, lpKey, 0)) + nIncrease;
    if (sum > INT_MAX)
        sum = INT_MAX;
    if (sum < INT_MIN)
        sum = INT_MIN;
    return WriteProfileInt(lpSection, lpKey, static_cast<int>(sum));
}

int CIniFile::RemoveProfileEntry(const char* lpSection, const char* lpKey) const
{
    if (!lpSection || !lpKey || m_strPathName.IsEmpty())
        return 0;
    // The first matching entry of every section of the name goes. A section
    // ends at any line the profile reader takes for a header, so an entry of
    // the next section is never reached.
    bool searching = false;
    return RewriteWithout(m_strPathName, [&](std::string_view line) {
        if (vxk::IsProfileSectionHeader(line)) {
            searching = IsSectionNamed(lpSection, line);
            return false;
        }
        if (searching && IsEntryNamed(lpKey, line)) {
            searching = false;
            return true;
        }
        return false;
    });
}

int CIniFile::RemoveProfileSection(const char* lpSection) const
{
    if (!lpSection || m_strPathName.IsEmpty())
        return 0;
    // Every section of the name goes, with its lines up to the next header.
    bool dropping = false;
    return RewriteWithout(m_strPathName, [&](std::string_view line) {
        if (vxk::IsProfileSectionHeader(line))
            dropping = IsSectionNamed(lpSection, line);
        return dropping;
    });
}

int CIniFile::FindEntry(const char* lpKey, const char* lpLine)
{
    return lpKey && lpLine && IsEntryNamed(lpKey, lpLine) ? 1 : 0;
}

int CIniFile::FindSection(const char* lpSection, const char* lpLine)
{
    return lpSection && lpLine && IsSectionNamed(lpSection, lpLine) ? 1 : 0;
}

int CIniFile::IsEntry(const char* lpLine, char* lpKey)
{
    std::string_view key;
    if (!lpLine || !EntryKey(lpLine, &key))
        return 0;
    CopyOut(key, lpKey);
    return 1;
}

int CIniFile::IsSection(const char* lpLine, char* lpName)
{
    std::string_view name;
    if (!lpLine || !SectionName(lpLine, &name))
        return 0;
    CopyOut(name, lpName);
    return 1;
}

int CIniFile::GetNextValue(CString& strText)
{
    if (strText.IsEmpty())
        return -1;
    strText.Trim(' ');
    int space = strText.Find(' ');
    if (space < 0) {
        int value = vxk::AtoiSaturated(strText);
        strText.Empty();
        return value;
    }
    int value = vxk::AtoiSaturated(strText.Left(space));
    strText = strText.Mid(space + 1);
    strText.Trim(' ');
    return value;
}
