#include "platform/kernel/profile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/AtomicFile_p.h"
#include "platform/kernel/crt_number.h"

namespace vxk {

namespace {

// Line breaks never reach these: lines are split before they are trimmed.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

bool HasLineBreak(const char* s)
{
    return s && strpbrk(s, "\r\n") != nullptr;
}

// The name of a section header line, or false when the line is none.
bool HeaderName(std::string_view line, std::string_view* name)
{
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[')
        return false;
    size_t close = t.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return false;
    if (name)
        *name = Trim(t.substr(1, close - 1));
    return true;
}

// Key and value of an entry line ("key = value"), or false when the line has
// no "=". Headers must be ruled out first.
bool EntryParts(std::string_view line, std::string_view* key, std::string_view* value)
{
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    if (key)
        *key = Trim(line.substr(0, eq));
    if (value)
        *value = Trim(line.substr(eq + 1));
    return true;
}

// A parsed INI text: the lines with what each one is.
struct ProfileText {
    enum Kind { Other, Header, Entry };
    struct Item {
        ProfileLine line;
        Kind kind;
        std::string_view name;   // section name of a header, key of an entry
        std::string_view value;  // value of an entry
    };
    std::string_view text;
    std::vector<Item> items;

    explicit ProfileText(std::string_view t) : text(t)
    {
        for (const ProfileLine& l : SplitProfileLines(t)) {
            Item it{l, Other, {}, {}};
            std::string_view s = t.substr(l.begin, l.length);
            if (HeaderName(s, &it.name))
                it.kind = Header;
            else if (EntryParts(s, &it.name, &it.value))
                it.kind = Entry;
            items.push_back(it);
        }
    }

    // Index of the first header of the section, or -1.
    int FindSection(std::string_view section) const
    {
        section = Trim(section);
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].kind == Header && EqualNoCase(items[i].name, section))
                return static_cast<int>(i);
        return -1;
    }

    // One past the last line of the section that starts at header.
    size_t SectionEnd(int header) const
    {
        size_t i = static_cast<size_t>(header) + 1;
        while (i < items.size() && items[i].kind != Header)
            ++i;
        return i;
    }

    // Index of the section's first entry with the key, or -1.
    int FindKey(int header, std::string_view key) const
    {
        key = Trim(key);
        size_t end = SectionEnd(header);
        for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i)
            if (items[i].kind == Entry && EqualNoCase(items[i].name, key))
                return static_cast<int>(i);
        return -1;
    }

    size_t LineStart(size_t i) const { return items[i].line.begin; }
    size_t LineEnd(size_t i) const { return items[i].line.begin + items[i].line.length + items[i].line.terminator; }
};

// Quotes around a value are the writer's way of keeping its outer blanks.
std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadProfileFile(const char* path, std::string& out)
{
    int err = ReadWholeFile(path, out);
    return err == 0 ? ReadResult::Ok : err == ENOENT ? ReadResult::Missing : ReadResult::Failed;
}

// The reader's view of a file: missing, unreadable and empty files all read
// as empty text, so every look-up falls back to its default.
std::string ReadForLookup(const char* path)
{
    std::string text;
    if (!path || !*path || ReadProfileFile(path, text) != ReadResult::Ok)
        text.clear();
    return text;
}

DWORD CopyValue(LPSTR buf, DWORD size, std::string_view value)
{
    size_t n = value.size() < size - 1 ? value.size() : size - 1;
    memcpy(buf, value.data(), n);
    buf[n] = '\0';
    return static_cast<DWORD>(n);
}

// NUL-separated strings with a final extra NUL. When they do not fit, the
// last string that fits is cut and two NULs end the buffer; the result is
// then size - 2, which callers take as the sign to grow the buffer.
DWORD CopyList(LPSTR buf, DWORD size, const std::vector<std::string_view>& list)
{
    std::string all;
    for (std::string_view s : list) {
        all.append(s);
        all.push_back('\0');
    }
    if (all.size() + 1 <= size) {
        memcpy(buf, all.data(), all.size());
        buf[all.size()] = '\0';
        if (all.empty() && size >= 2)
            buf[1] = '\0';
        return static_cast<DWORD>(all.size());
    }
    if (size < 2) {
        buf[0] = '\0';
        return 0;
    }
    memcpy(buf, all.data(), size - 2);
    buf[size - 2] = '\0';
    buf[size - 1] = '\0';
    return size - 2;
}

void AddUnique(std::vector<std::string_view>& list, std::string_view s)
{
    for (std::string_view have : list)
        if (EqualNoCase(have, s))
            return;
    list.push_back(s);
}

ProfileEdit EditForWrite(std::string& text, LPCSTR section, LPCSTR key, LPCSTR value)
{
    ProfileText doc(text);
    int sec = doc.FindSection(section);
    if (!key) {
        if (sec < 0)
            return ProfileEdit::Keep;
        // Every section of the name: were a later one kept, the reader would
        // find it in place of the deleted one.
        std::string kept(text, 0, ProfileBomLength(text));
        bool dropping = false;
        for (const ProfileText::Item& it : doc.items) {
            if (it.kind == ProfileText::Header)
                dropping = EqualNoCase(it.name, Trim(section));
            if (!dropping)
                kept.append(text, it.line.begin, it.line.length + it.line.terminator);
        }
        text = std::move(kept);
        return ProfileEdit::Replace;
    }
    int k = sec < 0 ? -1 : doc.FindKey(sec, key);
    if (!value) {
        if (k < 0)
            return ProfileEdit::Keep;
        size_t from = doc.LineStart(static_cast<size_t>(k));
        text.erase(from, doc.LineEnd(static_cast<size_t>(k)) - from);
        return ProfileEdit::Replace;
    }
    if (k >= 0) {
        const ProfileText::Item& it = doc.items[static_cast<size_t>(k)];
        std::string line(it.name);
        line += '=';
        line += value;
        text.replace(it.line.begin, it.line.length, line);
        return ProfileEdit::Replace;
    }
    std::string entry(Trim(key));
    entry += '=';
    entry += value;
    entry += "\r\n";
    if (sec >= 0) {
        // After the section's last non-blank line, so the blank lines that
        // part it from the next section stay where they are.
        size_t last = static_cast<size_t>(sec);
        for (size_t i = last + 1; i < doc.SectionEnd(sec); ++i)
            if (!Trim(std::string_view(text).substr(doc.items[i].line.begin, doc.items[i].line.length)).empty())
                last = i;
        size_t at = doc.LineEnd(last);
        if (doc.items[last].line.terminator == 0)
            entry.insert(0, "\r\n");
        text.insert(at, entry);
        return ProfileEdit::Replace;
    }
    if (text.size() > ProfileBomLength(text) && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
    text += '[';
    text += Trim(section);
    text += "]\r\n";
    text += entry;
    return ProfileEdit::Replace;
}

// Whether "key=value" written for the key reads back as that key.
bool KeyIsWritable(LPCSTR key)
{
    if (HasLineBreak(key) || strchr(key, '='))
        return false;
    return !HeaderName(key, nullptr);
}

}  // namespace

size_t ProfileBomLength(std::string_view text)
{
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

std::vector<ProfileLine> SplitProfileLines(std::string_view text)
{
    std::vector<ProfileLine> lines;
    size_t i = ProfileBomLength(text);
    while (i < text.size()) {
        size_t start = i;
        while (i < text.size() && text[i] != '\r' && text[i] != '\n')
            ++i;
        size_t length = i - start;
        size_t term = 0;
        if (i < text.size()) {
            term = (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            i += term;
        }
        lines.push_back({start, length, term});
    }
    return lines;
}

bool IsProfileSectionHeader(std::string_view line)
{
    return HeaderName(line, nullptr);
}

std::recursive_mutex& ProfileWritersLock()
{
    static std::recursive_mutex m;
    return m;
}

bool EditProfileFile(const char* path, const std::function<ProfileEdit(std::string& text)>& edit, bool* existed)
{
    if (existed)
        *existed = false;
    if (!path || !*path)
        return false;
    std::lock_guard<std::recursive_mutex> lock(ProfileWritersLock());
    // Through a symbolic link the file it points at is replaced, not the link.
    std::string target = path;
    if (char* real = realpath(path, nullptr)) {
        target = real;
        free(real);
    }
    std::string text;
    ReadResult r = ReadProfileFile(target.c_str(), text);
    if (r == ReadResult::Failed)
        return false;
    if (existed)
        *existed = r == ReadResult::Ok;
    std::string before = text;
    if (edit(text) == ProfileEdit::Keep)
        return true;
    if (r == ReadResult::Ok && text == before)
        return true;
    // The file keeps its mode; a new one gets what the umask leaves.
    return WriteFileAtomically(target, text, kModeOfOldFile) == 0;
}

}  // namespace vxk

using vxk::ProfileText;

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    std::string text = vxk::ReadForLookup(lpFileName);
    ProfileText doc(text);
    if (!lpAppName) {
        std::vector<std::string_view> names;
        for (const ProfileText::Item& it : doc.items)
            if (it.kind == ProfileText::Header)
                vxk::AddUnique(names, it.name);
        return vxk::CopyList(lpReturnedString, nSize, names);
    }
    int sec = doc.FindSection(lpAppName);
    if (!lpKeyName) {
        std::vector<std::string_view> keys;
        if (sec >= 0)
            for (size_t i = static_cast<size_t>(sec) + 1; i < doc.SectionEnd(sec); ++i)
                if (doc.items[i].kind == ProfileText::Entry)
                    vxk::AddUnique(keys, doc.items[i].name);
        return vxk::CopyList(lpReturnedString, nSize, keys);
    }
    int k = sec < 0 ? -1 : doc.FindKey(sec, lpKeyName);
    if (k >= 0)
        return vxk::CopyValue(lpReturnedString, nSize, vxk::Unquote(doc.items[static_cast<size_t>(k)].value));
    std::string_view def = lpDefault ? lpDefault : "";
    while (!def.empty() && (def.back() == ' ' || def.back() == '\t'))
        def.remove_suffix(1);
    return vxk::CopyValue(lpReturnedString, nSize, def);
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName)
{
    if (!lpAppName || !lpKeyName)
        return static_cast<UINT>(nDefault);
    std::string text = vxk::ReadForLookup(lpFileName);
    ProfileText doc(text);
    int sec = doc.FindSection(lpAppName);
    int k = sec < 0 ? -1 : doc.FindKey(sec, lpKeyName);
    if (k < 0)
        return static_cast<UINT>(nDefault);
    std::string value(vxk::Unquote(doc.items[static_cast<size_t>(k)].value));
    if (value.empty())
        return static_cast<UINT>(nDefault);
    return static_cast<UINT>(vxk::AtoiSaturated(value.c_str()));
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    std::string text = vxk::ReadForLookup(lpFileName);
    ProfileText doc(text);
    std::vector<std::string_view> lines;
    int sec = lpAppName ? doc.FindSection(lpAppName) : -1;
    if (sec >= 0)
        for (size_t i = static_cast<size_t>(sec) + 1; i < doc.SectionEnd(sec); ++i) {
            const vxk::ProfileLine& l = doc.items[i].line;
            std::string_view s = vxk::Trim(std::string_view(text).substr(l.begin, l.length));
            if (!s.empty())
                lines.push_back(s);
        }
    return vxk::CopyList(lpReturnedString, nSize, lines);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    return GetPrivateProfileStringA(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpAppName || !lpFileName || !*lpFileName)
        return FALSE;
    // A line break in any of them would write lines of its own into the file.
    if (vxk::HasLineBreak(lpAppName) || vxk::HasLineBreak(lpKeyName) || vxk::HasLineBreak(lpString))
        return FALSE;
    if (lpKeyName && !vxk::KeyIsWritable(lpKeyName))
        return FALSE;
    return vxk::EditProfileFile(
               lpFileName, [&](std::string& text) { return vxk::EditForWrite(text, lpAppName, lpKeyName, lpString); })
               ? TRUE
               : FALSE;
}
