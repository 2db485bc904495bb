// File handles: a file descriptor behind a kernel handle.

#include "platform/kernel/KernelObject_p.h"
#include "platform/kernel/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxk {
namespace {

class FileObject final : public KernelObject {
public:
    explicit FileObject(int fd) : m_fd(fd) {}
    ~FileObject() override { close(m_fd); }
    int fd() const { return m_fd; }

private:
    const int m_fd;
};

int Open(const std::string& path, int flags, mode_t mode)
{
    int fd;
    do
        fd = open(path.c_str(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace
}  // namespace vxk

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE)
{
    if (!lpFileName || !*lpFileName) {
        SetLastError(lpFileName ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string path = vxk::NormalizePath(lpFileName);
    const bool rd = dwDesiredAccess & GENERIC_READ, wr = dwDesiredAccess & GENERIC_WRITE;
    int flags = wr ? (rd ? O_RDWR : O_WRONLY) : O_RDONLY;
    if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH)
        flags |= O_DSYNC;
    mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    bool existed = false;
    int fd = -1;
    switch (dwCreationDisposition) {
    case CREATE_NEW:
        fd = vxk::Open(path, flags | O_CREAT | O_EXCL, mode);
        if (fd < 0 && errno == EEXIST) {
            SetLastError(ERROR_FILE_EXISTS);
            return INVALID_HANDLE_VALUE;
        }
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        // Try to create first, so we know whether the file was there.
        fd = vxk::Open(path, flags | O_CREAT | O_EXCL, mode);
        if (fd < 0 && errno == EEXIST) {
            existed = true;
            fd = vxk::Open(path, flags | (dwCreationDisposition == CREATE_ALWAYS ? O_TRUNC : 0), mode);
        }
        break;
    case OPEN_EXISTING:
        fd = vxk::Open(path, flags, 0);
        break;
    case TRUNCATE_EXISTING:
        if (!wr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        fd = vxk::Open(path, flags | O_TRUNC, 0);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (fd < 0) {
        int err = errno;
        if (err == ENOENT) {
            // Opening names the file when its folder exists; creating can
            // only miss the folder.
            bool opening = dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING;
            size_t slash = path.rfind('/');
            std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
            struct stat st;
            bool folderExists = stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            SetLastError(opening && folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        } else {
            SetLastError(err == EISDIR ? ERROR_ACCESS_DENIED : vxk::Win32ErrorFromErrno(err));
        }
        return INVALID_HANDLE_VALUE;
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = vxk::InsertHandle(new vxk::FileObject(fd));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD n, LPDWORD lpRead, LPOVERLAPPED lpOverlapped)
{
    if (lpRead)
        *lpRead = 0;
    auto f = vxk::LookupHandleAs<vxk::FileObject>(hFile);
    if (!f)
        return FALSE;
    if (lpOverlapped || (n && !lpBuffer)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD done = 0;
    while (done < n) {
        ssize_t r = read(f->fd(), static_cast<char*>(lpBuffer) + done, n - done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            if (lpRead)
                *lpRead = done;
            return vxk::FailFromErrno();
        }
        if (r == 0)
            break;
        done += DWORD(r);
    }
    if (lpRead)
        *lpRead = done;
    return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD n, LPDWORD lpWritten, LPOVERLAPPED lpOverlapped)
{
    if (lpWritten)
        *lpWritten = 0;
    auto f = vxk::LookupHandleAs<vxk::FileObject>(hFile);
    if (!f)
        return FALSE;
    if (lpOverlapped || (n && !lpBuffer)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD done = 0;
    while (done < n) {
        ssize_t w = write(f->fd(), static_cast<const char*>(lpBuffer) + done, n - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0) {
            if (lpWritten)
                *lpWritten = done;
            return vxk::FailFromErrno();
        }
        done += DWORD(w);
    }
    if (lpWritten)
        *lpWritten = done;
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE hFile, LARGE_INTEGER* lpFileSize)
{
    auto f = vxk::LookupHandleAs<vxk::FileObject>(hFile);
    if (!f)
        return FALSE;
    struct stat st;
    if (fstat(f->fd(), &st) != 0)
        return vxk::FailFromErrno();
    if (lpFileSize)
        lpFileSize->QuadPart = st.st_size;
    return TRUE;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size))
        return INVALID_FILE_SIZE;
    if (lpFileSizeHigh)
        *lpFileSizeHigh = DWORD(uint64_t(size.QuadPart) >> 32);
    SetLastError(ERROR_SUCCESS);  // a low part of all ones is then not an error
    return DWORD(uint64_t(size.QuadPart));
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    auto f = vxk::LookupHandleAs<vxk::FileObject>(hFile);
    if (!f)
        return INVALID_SET_FILE_POINTER;
    int64_t distance = lpDistanceToMoveHigh
                           ? int64_t((uint64_t(uint32_t(*lpDistanceToMoveHigh)) << 32) | uint32_t(lDistanceToMove))
                           : int64_t(lDistanceToMove);
    int whence = dwMoveMethod == FILE_BEGIN     ? SEEK_SET
                 : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
                 : dwMoveMethod == FILE_END     ? SEEK_END
                                                : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    off_t pos = lseek(f->fd(), off_t(distance), whence);
    if (pos < 0) {
        vxk::FailFromErrno();
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh)
        *lpDistanceToMoveHigh = LONG(uint64_t(pos) >> 32);
    SetLastError(ERROR_SUCCESS);
    return DWORD(uint64_t(pos));
}

BOOL SetEndOfFile(HANDLE hFile)
{
    auto f = vxk::LookupHandleAs<vxk::FileObject>(hFile);
    if (!f)
        return FALSE;
    off_t pos = lseek(f->fd(), 0, SEEK_CUR);
    if (pos < 0 || ftruncate(f->fd(), pos) != 0)
        return vxk::FailFromErrno();
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile)
{
    auto f = vxk::LookupHandleAs<vxk::FileObject>(hFile);
    if (!f)
        return FALSE;
    if (fsync(f->fd()) != 0)
        return vxk::FailFromErrno();
    return TRUE;
}
