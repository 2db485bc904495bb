#include "platform/kernel/CFileFind.h"

#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/ktime.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

struct CFileFind::Impl {
    struct Entry {
        std::string name;
        struct stat st;
    };
    std::string root;  // the folder as given, with its final '/', or empty
    std::vector<Entry> entries;
    long current = -1;

    const Entry* entry() const
    {
        return current >= 0 && size_t(current) < entries.size() ? &entries[size_t(current)] : nullptr;
    }
};

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Length of the UTF-8 character at p (1 for a stray byte).
size_t CharLength(const char* p)
{
    unsigned char b = static_cast<unsigned char>(*p);
    size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
            return 1;
    return n;
}

bool Glob(const char* p, const char* n)
{
    // Iterative matching with one back-track point for the last '*'.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*p == '*') {
            star = ++p;
            resume = n;
        } else if (*p == '?') {
            ++p;
            n += CharLength(n);
        } else if (*p && Lower(*p) == Lower(*n)) {
            ++p;
            ++n;
        } else if (star) {
            p = star;
            resume += CharLength(resume);
            n = resume;
        } else {
            return false;
        }
    }
    while (*p == '*')
        ++p;
    return *p == 0;
}

FILETIME ToFileTime(const struct timespec& ts)
{
    return vxk::FileTimeFromUnix(ts.tv_sec, ts.tv_nsec);
}

}  // namespace

bool CFileFind::MatchesPattern(const char* pattern, const char* name)
{
    if (!pattern || !name)
        return false;
    if (Glob(pattern, name))
        return true;
    std::string p = pattern;
    if (p.size() >= 2 && p.compare(p.size() - 2, 2, ".*") == 0 && !strchr(name, '.'))
        return Glob(p.substr(0, p.size() - 2).c_str(), name);
    return false;
}

CFileFind::CFileFind() : d(std::make_unique<Impl>()) {}

CFileFind::~CFileFind() = default;

void CFileFind::Close()
{
    d->root.clear();
    d->entries.clear();
    d->current = -1;
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD)
{
    Close();
    std::string searchPath = vxk::NormalizePath(pstrName && *pstrName ? pstrName : "*");
    size_t slash = searchPath.rfind('/');
    std::string pattern = slash == std::string::npos ? searchPath : searchPath.substr(slash + 1);
    d->root = slash == std::string::npos ? std::string() : searchPath.substr(0, slash + 1);
    if (pattern.empty())
        pattern = "*";
    if (d->root.empty() || d->root[0] != '/') {
        // Paths of entries are full paths, also for a relative pattern.
        char* cwd = getcwd(nullptr, 0);
        if (cwd) {
            std::string base = cwd;
            free(cwd);
            if (base.back() != '/')
                base += '/';
            d->root = base + d->root;
        }
    }
    std::string folder = d->root.empty() ? "." : d->root;

    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : vxk::Win32ErrorFromErrno(errno));
        return FALSE;
    }
    while (struct dirent* e = readdir(dir)) {
        if (!MatchesPattern(pattern.c_str(), e->d_name))
            continue;
        Impl::Entry entry;
        entry.name = e->d_name;
        std::string full = folder + (folder.back() == '/' ? "" : "/") + entry.name;
        // A link is seen as what it points to; a dangling one as itself.
        if (stat(full.c_str(), &entry.st) != 0 && lstat(full.c_str(), &entry.st) != 0)
            continue;  // gone since readdir
        d->entries.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(d->entries.begin(), d->entries.end(),
              [](const Impl::Entry& a, const Impl::Entry& b) { return a.name < b.name; });
    if (d->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (d->entries.empty() || size_t(d->current + 1) >= d->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    ++d->current;
    if (size_t(d->current + 1) < d->entries.size())
        return TRUE;
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
}

ULONGLONG CFileFind::GetLength() const
{
    const Impl::Entry* e = d->entry();
    return e ? ULONGLONG(e->st.st_size) : 0;
}

CString CFileFind::GetFileName() const
{
    const Impl::Entry* e = d->entry();
    return e ? CString(e->name) : CString();
}

CString CFileFind::GetFilePath() const
{
    const Impl::Entry* e = d->entry();
    return e ? CString(d->root + e->name) : CString();
}

CString CFileFind::GetFileTitle() const
{
    const Impl::Entry* e = d->entry();
    if (!e)
        return CString();
    size_t dot = e->name.rfind('.');
    return CString(dot == std::string::npos || dot == 0 ? e->name : e->name.substr(0, dot));
}

CString CFileFind::GetFileURL() const
{
    const Impl::Entry* e = d->entry();
    return e ? CString("file://" + d->root + e->name) : CString();
}

CString CFileFind::GetRoot() const
{
    return d->entry() ? CString(d->root) : CString();
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    const Impl::Entry* e = d->entry();
    if (!e || !pTimeStamp)
        return FALSE;
    *pTimeStamp = ToFileTime(e->st.st_mtim);
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const
{
    const Impl::Entry* e = d->entry();
    if (!e || !pTimeStamp)
        return FALSE;
    *pTimeStamp = ToFileTime(e->st.st_atim);
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const
{
    // The file system keeps no birth time we can rely on; the status-change
    // time stands in for it.
    const Impl::Entry* e = d->entry();
    if (!e || !pTimeStamp)
        return FALSE;
    *pTimeStamp = ToFileTime(e->st.st_ctim);
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const
{
    const Impl::Entry* e = d->entry();
    if (!e)
        return FALSE;
    refTime = CTime(e->st.st_mtim.tv_sec);
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(CTime& refTime) const
{
    const Impl::Entry* e = d->entry();
    if (!e)
        return FALSE;
    refTime = CTime(e->st.st_atim.tv_sec);
    return TRUE;
}

BOOL CFileFind::GetCreationTime(CTime& refTime) const
{
    const Impl::Entry* e = d->entry();
    if (!e)
        return FALSE;
    refTime = CTime(e->st.st_ctim.tv_sec);
    return TRUE;
}

BOOL CFileFind::IsDots() const
{
    const Impl::Entry* e = d->entry();
    return e && (e->name == "." || e->name == "..");
}

BOOL CFileFind::IsDirectory() const
{
    const Impl::Entry* e = d->entry();
    return e && S_ISDIR(e->st.st_mode);
}

BOOL CFileFind::IsReadOnly() const
{
    const Impl::Entry* e = d->entry();
    return e && !(e->st.st_mode & S_IWUSR);
}

BOOL CFileFind::IsHidden() const
{
    const Impl::Entry* e = d->entry();
    return e && e->name.size() > 1 && e->name[0] == '.' && e->name != "..";
}

BOOL CFileFind::IsNormal() const
{
    return d->entry() && !IsDirectory() && !IsReadOnly() && !IsHidden();
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    if (!d->entry())
        return FALSE;
    DWORD attrs = 0;
    if (IsDirectory())
        attrs |= FILE_ATTRIBUTE_DIRECTORY;
    if (IsReadOnly())
        attrs |= FILE_ATTRIBUTE_READONLY;
    if (IsHidden())
        attrs |= FILE_ATTRIBUTE_HIDDEN;
    if (!attrs)
        attrs = FILE_ATTRIBUTE_NORMAL;
    return (attrs & dwMask) != 0;
}
