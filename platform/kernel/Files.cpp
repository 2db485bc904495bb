// Files and folders by path.

#include "platform/kernel/files.h"

#include "platform/kernel/errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace vxk {

std::string NormalizePath(const char* path)
{
    std::string p = path ? path : "";
    for (char& c : p)
        if (c == '\\')
            c = '/';
    return p;
}

bool IsFileBeingWritten(const char* path)
{
    if (!path || !*path)
        return false;
    std::string p = NormalizePath(path);
    // O_NONBLOCK: a FIFO named like a file must not hold the caller up.
    int fd = ::open(p.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool writing = false;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        // Open-file-description locks, not the classic ones: closing any
        // descriptor of a file drops a process's classic locks, this probe's
        // own close included.
        struct flock lk = {};
        lk.l_type = F_WRLCK;
        lk.l_whence = SEEK_SET;
        if (fcntl(fd, F_OFD_GETLK, &lk) == 0)
            writing = lk.l_type == F_WRLCK;
    }
    ::close(fd);
    return writing;
}

namespace {

std::string ParentOf(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    size_t slash = p.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : p.substr(0, slash);
}

// ENOENT names the file when its folder exists, else the path.
BOOL FailPath(const std::string& path, int err)
{
    if (err == ENOENT) {
        struct stat st;
        bool folderExists = stat(ParentOf(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        SetLastError(folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    SetLastError(Win32ErrorFromErrno(err));
    return FALSE;
}

bool BadArgument(LPCSTR path)
{
    if (!path || !*path) {
        SetLastError(path ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return true;
    }
    return false;
}

ssize_t WriteAll(int fd, const char* p, size_t n)
{
    size_t done = 0;
    while (done < n) {
        ssize_t w = write(fd, p + done, n - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        done += size_t(w);
    }
    return ssize_t(done);
}

// Copies src to a new temporary file beside dst and puts it in place: by
// rename, or by link when an existing dst must not be replaced.
BOOL CopyInto(const std::string& src, const std::string& dst, bool failIfExists)
{
    int in = open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return FailPath(src, errno);
    struct stat sst;
    if (fstat(in, &sst) != 0 || S_ISDIR(sst.st_mode)) {
        close(in);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    struct stat dstSt;
    if (stat(dst.c_str(), &dstSt) == 0) {
        if (dstSt.st_dev == sst.st_dev && dstSt.st_ino == sst.st_ino) {
            // Copying a file onto itself would only destroy it.
            close(in);
            SetLastError(failIfExists ? ERROR_FILE_EXISTS : ERROR_SHARING_VIOLATION);
            return FALSE;
        }
        if (failIfExists || S_ISDIR(dstSt.st_mode)) {
            close(in);
            SetLastError(failIfExists ? ERROR_FILE_EXISTS : ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    std::string dir = ParentOf(dst);
    std::string name = dst.substr(dst.rfind('/') == std::string::npos ? 0 : dst.rfind('/') + 1);
    std::string tmpl = dir + "/." + name + ".vxcopy-XXXXXX";
    int out = mkostemp(tmpl.data(), O_CLOEXEC);
    if (out < 0) {
        int err = errno;
        close(in);
        return FailPath(dst, err);
    }
    int err = 0;
    char buf[1 << 16];
    for (;;) {
        ssize_t r = read(in, buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 || (r > 0 && WriteAll(out, buf, size_t(r)) < 0)) {
            err = errno;
            break;
        }
        if (r == 0)
            break;
    }
    close(in);
    if (!err) {
        fchmod(out, sst.st_mode & 07777);
        struct timespec times[2] = {sst.st_atim, sst.st_mtim};
        futimens(out, times);
        if (fsync(out) != 0)
            err = errno;
    }
    if (close(out) != 0 && !err)
        err = errno;
    if (!err) {
        if (failIfExists) {
            if (link(tmpl.c_str(), dst.c_str()) != 0)
                err = errno;
        } else if (rename(tmpl.c_str(), dst.c_str()) != 0) {
            err = errno;
        }
    }
    unlink(tmpl.c_str());  // after a rename there is nothing left to remove
    if (err) {
        SetLastError(err == EEXIST ? ERROR_FILE_EXISTS : Win32ErrorFromErrno(err));
        return FALSE;
    }
    return TRUE;
}

bool Exists(const std::string& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

}  // namespace
}  // namespace vxk

using vxk::NormalizePath;

BOOL DeleteFileA(LPCSTR lpFileName)
{
    if (vxk::BadArgument(lpFileName))
        return FALSE;
    std::string p = NormalizePath(lpFileName);
    struct stat st;
    if (lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (unlink(p.c_str()) != 0)
        return vxk::FailPath(p, errno);
    return TRUE;
}

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists)
{
    if (vxk::BadArgument(lpExistingFileName) || vxk::BadArgument(lpNewFileName))
        return FALSE;
    return vxk::CopyInto(NormalizePath(lpExistingFileName), NormalizePath(lpNewFileName), bFailIfExists != FALSE);
}

BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags)
{
    if (vxk::BadArgument(lpExistingFileName) || vxk::BadArgument(lpNewFileName))
        return FALSE;
    std::string src = NormalizePath(lpExistingFileName), dst = NormalizePath(lpNewFileName);
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
    struct stat sst;
    if (lstat(src.c_str(), &sst) != 0)
        return vxk::FailPath(src, errno);
    int r;
    if (replace) {
        struct stat dst_st;
        if (stat(dst.c_str(), &dst_st) == 0 && S_ISDIR(dst_st.st_mode)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        r = rename(src.c_str(), dst.c_str());
    } else {
        r = renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE);
        if (r != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the no-replace rename.
            if (vxk::Exists(dst)) {
                SetLastError(ERROR_ALREADY_EXISTS);
                return FALSE;
            }
            r = rename(src.c_str(), dst.c_str());
        }
    }
    if (r == 0)
        return TRUE;
    int err = errno;
    if (err == EEXIST || (!replace && err == ENOTEMPTY)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (err == EXDEV && (dwFlags & MOVEFILE_COPY_ALLOWED) && !S_ISDIR(sst.st_mode)) {
        if (!vxk::CopyInto(src, dst, !replace))
            return FALSE;
        if (unlink(src.c_str()) != 0) {
            // The copy is complete; keep the source rather than lose the move's result.
            SetLastError(vxk::Win32ErrorFromErrno(errno));
            return FALSE;
        }
        return TRUE;
    }
    if (err == EXDEV) {
        SetLastError(ERROR_NOT_SAME_DEVICE);
        return FALSE;
    }
    return vxk::FailPath(err == ENOENT ? dst : src, err);
}

BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName)
{
    return MoveFileExA(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    if (vxk::BadArgument(lpPathName))
        return FALSE;
    std::string p = NormalizePath(lpPathName);
    if (mkdir(p.c_str(), 0777) != 0) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : vxk::Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR lpPathName)
{
    if (vxk::BadArgument(lpPathName))
        return FALSE;
    std::string p = NormalizePath(lpPathName);
    if (rmdir(p.c_str()) != 0) {
        SetLastError(errno == ENOTDIR ? ERROR_DIRECTORY : vxk::Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL MakeSureDirectoryPathExists(LPCSTR DirPath)
{
    if (vxk::BadArgument(DirPath))
        return FALSE;
    std::string p = NormalizePath(DirPath);
    for (size_t slash = p.find('/', 1); slash != std::string::npos; slash = p.find('/', slash + 1)) {
        if (p[slash - 1] == '/')
            continue;  // "a//b"
        std::string folder = p.substr(0, slash);
        if (mkdir(folder.c_str(), 0777) == 0)
            continue;
        int err = errno;
        struct stat st;
        if (err == EEXIST && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            continue;
        SetLastError(err == EEXIST ? ERROR_ALREADY_EXISTS : vxk::Win32ErrorFromErrno(err));
        return FALSE;
    }
    return TRUE;
}

BOOL PathIsDirectoryA(LPCSTR pszPath)
{
    if (!pszPath || !*pszPath)
        return FALSE;
    struct stat st;
    return stat(NormalizePath(pszPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

BOOL PathFileExistsA(LPCSTR pszPath)
{
    if (!pszPath || !*pszPath)
        return FALSE;
    struct stat st;
    return stat(NormalizePath(pszPath).c_str(), &st) == 0;
}

DWORD GetFileAttributesA(LPCSTR lpFileName)
{
    if (vxk::BadArgument(lpFileName))
        return INVALID_FILE_ATTRIBUTES;
    std::string p = NormalizePath(lpFileName);
    struct stat st;
    if (stat(p.c_str(), &st) != 0) {
        vxk::FailPath(p, errno);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attrs = 0;
    if (S_ISDIR(st.st_mode))
        attrs |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & S_IWUSR))
        attrs |= FILE_ATTRIBUTE_READONLY;
    std::string trimmed = p;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (name.size() > 1 && name[0] == '.' && name != "..")
        attrs |= FILE_ATTRIBUTE_HIDDEN;
    return attrs ? attrs : FILE_ATTRIBUTE_NORMAL;
}

BOOL GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                         PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes)
{
    std::string p = (lpDirectoryName && *lpDirectoryName) ? NormalizePath(lpDirectoryName) : ".";
    struct statvfs vfs;
    for (;;) {
        if (statvfs(p.c_str(), &vfs) == 0)
            break;
        if ((errno != ENOENT && errno != ENOTDIR) || p == "/" || p == ".") {
            SetLastError(vxk::Win32ErrorFromErrno(errno));
            return FALSE;
        }
        p = vxk::ParentOf(p);
    }
    ULONGLONG unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    ULONGLONG avail = ULONGLONG(vfs.f_bavail) * unit;
    if (lpFreeBytesAvailableToCaller)
        lpFreeBytesAvailableToCaller->QuadPart = avail;
    if (lpTotalNumberOfBytes)
        lpTotalNumberOfBytes->QuadPart = ULONGLONG(vfs.f_blocks) * unit;
    if (lpTotalNumberOfFreeBytes)
        lpTotalNumberOfFreeBytes->QuadPart = avail;
    return TRUE;
}

DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer)
{
    const char* env = getenv("TMPDIR");
    std::string p = (env && *env == '/') ? env : "/tmp";
    if (p.back() != '/')
        p += '/';
    if (!lpBuffer || nBufferLength <= p.size())
        return DWORD(p.size() + 1);
    memcpy(lpBuffer, p.c_str(), p.size() + 1);
    return DWORD(p.size());
}
