#pragma once
// The thread's last-error value and the Win32 error numbers the system's code
// compares it with. Every kernel call that fails sets it; calls that succeed
// leave it alone unless they say otherwise (CreateMutex sets 0 or
// ERROR_ALREADY_EXISTS).

#include "platform/base/types.h"

#define ERROR_SUCCESS                 0L
#define NO_ERROR                      0L
#define ERROR_INVALID_FUNCTION        1L
#define ERROR_FILE_NOT_FOUND          2L
#define ERROR_PATH_NOT_FOUND          3L
#define ERROR_TOO_MANY_OPEN_FILES     4L
#define ERROR_ACCESS_DENIED           5L
#define ERROR_INVALID_HANDLE          6L
#define ERROR_NOT_ENOUGH_MEMORY       8L
#define ERROR_INVALID_DATA            13L
#define ERROR_OUTOFMEMORY             14L
#define ERROR_NOT_SAME_DEVICE         17L
#define ERROR_NO_MORE_FILES           18L
#define ERROR_WRITE_PROTECT           19L
#define ERROR_NOT_READY               21L
#define ERROR_SHARING_VIOLATION       32L
#define ERROR_LOCK_VIOLATION          33L
#define ERROR_HANDLE_EOF              38L
#define ERROR_NOT_SUPPORTED           50L
#define ERROR_FILE_EXISTS             80L
#define ERROR_INVALID_PARAMETER       87L
#define ERROR_BROKEN_PIPE             109L
#define ERROR_DISK_FULL               112L
#define ERROR_INSUFFICIENT_BUFFER     122L
#define ERROR_INVALID_NAME            123L
#define ERROR_MOD_NOT_FOUND           126L
#define ERROR_PROC_NOT_FOUND          127L
#define ERROR_DIR_NOT_EMPTY           145L
#define ERROR_BUSY                    170L
#define ERROR_ALREADY_EXISTS          183L
#define ERROR_FILENAME_EXCED_RANGE    206L
#define ERROR_MORE_DATA               234L
#define ERROR_NO_MORE_ITEMS           259L
#define ERROR_DIRECTORY               267L
#define ERROR_NOT_OWNER               288L
#define ERROR_TOO_MANY_POSTS          298L
#define ERROR_NO_UNICODE_TRANSLATION  1113L
#define ERROR_INVALID_FLAGS           1004L
#define ERROR_BADKEY                  1010L
#define ERROR_CANTOPEN                1011L
#define ERROR_CANTREAD                1012L
#define ERROR_CANTWRITE               1013L
#define ERROR_TIMEOUT                 1460L
#define ERROR_INVALID_WINDOW_HANDLE   1400L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L

DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

namespace vxk {

// The Win32 error number closest to a POSIX errno value.
DWORD Win32ErrorFromErrno(int err);

// Sets the last error from errno and returns FALSE, for the common failure path.
BOOL FailFromErrno();

}  // namespace vxk
