#pragma once
// Holds a camera object's state lock (a recursive kernel mutex) for a scope.
// A kernel wait on the GUI thread keeps handling the messages that workers
// send it, so the GUI thread may wait here while a worker holding the lock
// waits for a window call; a critical section's wait would not.

#include "platform/platform.h"

class CStateLock {
public:
    explicit CStateLock(HANDLE hMutex) : m_hMutex(hMutex)
    {
        if (m_hMutex)
            WaitForSingleObject(m_hMutex, INFINITE);
    }
    ~CStateLock()
    {
        if (m_hMutex)
            ReleaseMutex(m_hMutex);
    }
    CStateLock(const CStateLock&) = delete;
    CStateLock& operator=(const CStateLock&) = delete;

private:
    HANDLE m_hMutex;
};

// Holds a critical section for a scope.
class CSectionLock {
public:
    explicit CSectionLock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~CSectionLock() { LeaveCriticalSection(&m_cs); }
    CSectionLock(const CSectionLock&) = delete;
    CSectionLock& operator=(const CSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};
