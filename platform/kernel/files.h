#pragma once
// Files and folders by path, and file handles (CreateFile / ReadFile /
// WriteFile, closed with CloseHandle).
//
// Paths use '/'. The system's code builds some paths with '\\' as the
// separator, so every path given to these functions has its '\\' read as
// '/': a file whose name holds a backslash cannot be reached through them.

#include "platform/base/types.h"
#include "platform/kernel/synch.h"

#include <string>

#define FILE_ATTRIBUTE_READONLY  0x00000001u
#define FILE_ATTRIBUTE_HIDDEN    0x00000002u
#define FILE_ATTRIBUTE_SYSTEM    0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE   0x00000020u
#define FILE_ATTRIBUTE_NORMAL    0x00000080u
#define INVALID_FILE_ATTRIBUTES  ((DWORD)-1)

#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_COPY_ALLOWED     0x00000002u
#define MOVEFILE_WRITE_THROUGH    0x00000008u

BOOL DeleteFileA(LPCSTR lpFileName);
// Copies through a temporary file in the target's folder, renamed into place
// when complete, so the target is never left half-written. The copy keeps the
// source's permissions and last-write time.
BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
// Fails with ERROR_ALREADY_EXISTS when the target exists; files move between
// file systems by copy and delete.
BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);
BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags);
BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryA(LPCSTR lpPathName);
// Creates every folder of the path up to its last separator; the part after
// it is taken for a file name and not created.
BOOL MakeSureDirectoryPathExists(LPCSTR DirPath);
BOOL PathIsDirectoryA(LPCSTR pszPath);
BOOL PathFileExistsA(LPCSTR pszPath);
// DIRECTORY, READONLY (no write permission for the owner), HIDDEN (a name
// starting with '.'), or NORMAL for a plain file without either.
DWORD GetFileAttributesA(LPCSTR lpFileName);
// Free bytes count only what an ordinary user may write (the blocks kept
// for the superuser are left out), in both free results. A path that does
// not exist yet is measured at its nearest existing parent.
BOOL GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                         PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes);
// $TMPDIR or /tmp, with a final '/'.
DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer);

inline BOOL DeleteFile(LPCSTR f)
{
    return DeleteFileA(f);
}
inline BOOL CopyFile(LPCSTR a, LPCSTR b, BOOL failIfExists)
{
    return CopyFileA(a, b, failIfExists);
}
inline BOOL MoveFile(LPCSTR a, LPCSTR b)
{
    return MoveFileA(a, b);
}
inline BOOL MoveFileEx(LPCSTR a, LPCSTR b, DWORD flags)
{
    return MoveFileExA(a, b, flags);
}
inline BOOL CreateDirectory(LPCSTR p, LPSECURITY_ATTRIBUTES sa)
{
    return CreateDirectoryA(p, sa);
}
inline BOOL RemoveDirectory(LPCSTR p)
{
    return RemoveDirectoryA(p);
}
inline BOOL PathIsDirectory(LPCSTR p)
{
    return PathIsDirectoryA(p);
}
inline BOOL PathFileExists(LPCSTR p)
{
    return PathFileExistsA(p);
}
inline DWORD GetFileAttributes(LPCSTR p)
{
    return GetFileAttributesA(p);
}
inline BOOL GetDiskFreeSpaceEx(LPCSTR p, PULARGE_INTEGER a, PULARGE_INTEGER b, PULARGE_INTEGER c)
{
    return GetDiskFreeSpaceExA(p, a, b, c);
}
inline DWORD GetTempPath(DWORD n, LPSTR b)
{
    return GetTempPathA(n, b);
}

// File handles.
#define GENERIC_READ              0x80000000u
#define GENERIC_WRITE             0x40000000u
#define FILE_SHARE_READ           0x00000001u
#define FILE_SHARE_WRITE          0x00000002u
#define FILE_SHARE_DELETE         0x00000004u
#define CREATE_NEW                1u
#define CREATE_ALWAYS             2u
#define OPEN_EXISTING             3u
#define OPEN_ALWAYS               4u
#define TRUNCATE_EXISTING         5u
#define FILE_BEGIN                0u
#define FILE_CURRENT              1u
#define FILE_END                  2u
#define INVALID_SET_FILE_POINTER  ((DWORD)-1)
#define INVALID_FILE_SIZE         ((DWORD)0xFFFFFFFF)
#define FILE_FLAG_WRITE_THROUGH   0x80000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u

typedef struct _OVERLAPPED* LPOVERLAPPED;

// Sharing modes are not enforced. CREATE_ALWAYS and OPEN_ALWAYS on an
// existing file succeed with ERROR_ALREADY_EXISTS as the last error.
HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                   HANDLE hTemplateFile);
inline HANDLE CreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                         DWORD flags, HANDLE templ)
{
    return CreateFileA(name, access, share, sa, disposition, flags, templ);
}
// Synchronous only: lpOverlapped must be null.
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL GetFileSizeEx(HANDLE hFile, LARGE_INTEGER* lpFileSize);
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod);
BOOL SetEndOfFile(HANDLE hFile);
BOOL FlushFileBuffers(HANDLE hFile);

namespace vxk {

// The path with each '\\' read as '/'.
std::string NormalizePath(const char* path);

// Whether a writer holds an open-file-description write lock on the regular
// file at `path` (writers of recordings take one for as long as they write).
// Probes without blocking, following no symbolic link and never opening for
// writing; false for anything that is not a regular file or cannot be read.
bool IsFileBeingWritten(const char* path);

}  // namespace vxk
