#include "platform/kernel/KernelObject_p.h"

#include "platform/kernel/synch.h"

#include <algorithm>
#include <cerrno>
#include <unordered_map>

namespace vxk {

void KernelObject::wakeWaiters(WakeList& wakes)
{
    for (Waiter* w : m_waiters)
        wakes.add(w);
}

void KernelObject::removeWaiter(Waiter* w)
{
    auto it = std::find(m_waiters.begin(), m_waiters.end(), w);
    if (it != m_waiters.end())
        m_waiters.erase(it);
}

namespace {

// Handle values count up from 4 in steps of 4 and are never reused, so a
// stale handle fails cleanly instead of reaching another object. Objects are
// released outside the table's lock: a destructor may take other locks.
struct HandleTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, KernelObject*> objects;
    uintptr_t next = 4;
};

HandleTable& Handles()
{
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace

HANDLE InsertHandle(KernelObject* obj)
{
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.lock);
    uintptr_t value = t.next;
    t.next += 4;
    t.objects.emplace(value, obj);
    return reinterpret_cast<HANDLE>(value);
}

Ref<KernelObject> LookupHandle(HANDLE h)
{
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(h));
    if (it == t.objects.end()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return Ref<KernelObject>();
    }
    return Ref<KernelObject>::share(it->second);
}

DWORD Win32ErrorFromErrno(int err)
{
    switch (err) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EISDIR:
        return ERROR_DIRECTORY;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
        return ERROR_BUSY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    case EWOULDBLOCK:
        return ERROR_LOCK_VIOLATION;
    case ETIMEDOUT:
        return ERROR_TIMEOUT;
    case ENOSYS:
    case ENOTSUP:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

BOOL FailFromErrno()
{
    ::SetLastError(Win32ErrorFromErrno(errno));
    return FALSE;
}

}  // namespace vxk

namespace {
thread_local DWORD t_lastError = 0;
}

DWORD GetLastError()
{
    return t_lastError;
}

void SetLastError(DWORD dwErrCode)
{
    t_lastError = dwErrCode;
}

BOOL CloseHandle(HANDLE hObject)
{
    vxk::KernelObject* obj = nullptr;
    {
        vxk::HandleTable& t = vxk::Handles();
        std::lock_guard<std::mutex> guard(t.lock);
        auto it = t.objects.find(reinterpret_cast<uintptr_t>(hObject));
        if (it != t.objects.end()) {
            obj = it->second;
            t.objects.erase(it);
        }
    }
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    obj->release();
    return TRUE;
}
