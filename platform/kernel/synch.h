#pragma once
// Kernel objects behind opaque HANDLEs: threads, events and mutexes, the waits
// on them, and CloseHandle. A handle holds one reference to its object; the
// object lives until its last handle is closed and nothing else uses it (a
// running thread keeps its own object alive, so its handle stays valid after
// it ends, until closed). All functions are safe from any thread.
//
// Waits on the GUI thread keep handling messages that other threads send to
// it (see gui_wait.h), so a GUI thread that joins a worker blocked in
// SendMessage never deadlocks.

#include "platform/base/types.h"
#include "platform/kernel/errors.h"

#ifndef __stdcall
#define __stdcall
#endif

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

#define WAIT_OBJECT_0                     0x00000000u
#define WAIT_ABANDONED                    0x00000080u
#define WAIT_ABANDONED_0                  0x00000080u
#define WAIT_TIMEOUT                      0x00000102u
#define WAIT_FAILED                       0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS              64
#define STILL_ACTIVE                      259u
#define CREATE_SUSPENDED                  0x00000004u
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000u

#define THREAD_PRIORITY_LOWEST       (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL       0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST      2

BOOL CloseHandle(HANDLE hObject);

// Threads. The start routine's result becomes the exit code.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId);
uintptr_t _beginthreadex(void* security, unsigned stack_size, unsigned(__stdcall* start_address)(void*), void* arglist,
                         unsigned initflag, unsigned* thrdaddr);
// Returns the previous suspend count, or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE hThread);
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
// Ends the calling thread: its stack unwinds, so destructors run.
[[noreturn]] void ExitThread(DWORD dwExitCode);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
BOOL SetThreadPriority(HANDLE hThread, int nPriority);

// Events.
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName);
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES a, BOOL manualReset, BOOL initialState, LPCSTR name)
{
    return CreateEventA(a, manualReset, initialState, name);
}
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);

// Mutexes: recursive and owned by a thread. A mutex whose owner ends without
// releasing it is abandoned: the next wait that gets it returns WAIT_ABANDONED.
// A named mutex is shared by every process of the same user: a creator that
// finds the name in use (in this or another process) gets a handle and
// GetLastError() == ERROR_ALREADY_EXISTS. What is shared between processes is
// the name's existence, held by a lock the system drops when the process dies;
// ownership and waits act within each process. A name fails (NULL,
// ERROR_ACCESS_DENIED) where that lock cannot be made: the user's runtime
// folder is missing or not private to the user (see runtime_folder.h).
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName);
inline HANDLE CreateMutex(LPSECURITY_ATTRIBUTES a, BOOL initialOwner, LPCSTR name)
{
    return CreateMutexA(a, initialOwner, name);
}
BOOL ReleaseMutex(HANDLE hMutex);

// Waits. Time-outs are in milliseconds, INFINITE for none.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);

namespace vxk {

// Names the calling thread for debuggers and ps (the system keeps 15 bytes).
void SetCurrentThreadName(const char* name);

}  // namespace vxk
