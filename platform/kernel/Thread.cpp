// Threads over pthreads. A thread object is signalled when its thread ends;
// the running thread holds its own reference, so the handle stays valid until
// it is closed, before or after the end.

#include "platform/kernel/KernelObject_p.h"
#include "platform/kernel/Mutex_p.h"
#include "platform/kernel/synch.h"

#include <cstring>
#include <limits.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vxk {
namespace {

class Thread final : public KernelObject {
public:
    Thread(LPTHREAD_START_ROUTINE start, LPVOID param, bool suspended)
        : m_suspendCount(suspended ? 1 : 0), m_start(start), m_param(param)
    {}

    bool isWaitable() const override { return true; }
    bool isSignalled(DWORD) const override { return m_finished; }

    // Thread start-up (the id, for a creator that asks for it) and
    // suspension, guarded by m_lock (not the object's lock, which waits take).
    std::mutex m_lock;
    std::condition_variable m_cv;
    bool m_started = false;
    DWORD m_tid = 0;
    DWORD m_suspendCount;

    const LPTHREAD_START_ROUTINE m_start;
    const LPVOID m_param;
    DWORD m_exitCode = STILL_ACTIVE;  // lock()
    bool m_finished = false;          // lock()
};

thread_local DWORD t_exitCode = 0;

// Marks the thread object ended, also when the thread leaves by ExitThread
// (the stack unwinds through this guard).
struct FinishGuard {
    Thread* t;
    ~FinishGuard()
    {
        AbandonOwnedMutexes();
        {
            WakeList wakes;
            std::lock_guard<std::mutex> guard(t->lock());
            t->m_exitCode = t_exitCode;
            t->m_finished = true;
            t->wakeWaiters(wakes);
        }
        t->release();
    }
};

void* Trampoline(void* arg)
{
    Thread* t = static_cast<Thread*>(arg);
    {
        std::unique_lock<std::mutex> lock(t->m_lock);
        t->m_tid = GetCurrentThreadId();
        t->m_started = true;
        t->m_cv.notify_all();
        t->m_cv.wait(lock, [t] { return t->m_suspendCount == 0; });
    }
    FinishGuard guard{t};
    t_exitCode = t->m_start(t->m_param);
    return nullptr;
}

HANDLE StartThread(SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags, LPDWORD threadId)
{
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* t = new Thread(start, param, (flags & CREATE_SUSPENDED) != 0);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    if (stackSize) {
        SIZE_T minimum = SIZE_T(PTHREAD_STACK_MIN);
        SIZE_T size = stackSize < minimum ? minimum : stackSize;
        pthread_attr_setstacksize(&attr, size);
    }
    t->addRef();  // the running thread's reference
    pthread_t pt;
    int err = pthread_create(&pt, &attr, Trampoline, t);
    pthread_attr_destroy(&attr);
    if (err != 0) {
        t->release();
        t->release();
        SetLastError(err == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : Win32ErrorFromErrno(err));
        return nullptr;
    }
    // The id is the new thread's own (gettid), known once it runs: only a
    // caller that asks for it waits for that. The others go on at once, so
    // starting many threads on a busy machine never waits for each to get
    // a core.
    if (threadId) {
        std::unique_lock<std::mutex> lock(t->m_lock);
        t->m_cv.wait(lock, [t] { return t->m_started; });
        *threadId = t->m_tid;
    }
    return InsertHandle(t);
}

struct BeginThreadExCall {
    unsigned(__stdcall* start)(void*);
    void* arg;
};

DWORD WINAPI BeginThreadExTrampoline(LPVOID p)
{
    BeginThreadExCall call = *static_cast<BeginThreadExCall*>(p);
    delete static_cast<BeginThreadExCall*>(p);
    return call.start(call.arg);
}

}  // namespace

void SetCurrentThreadName(const char* name)
{
    if (!name)
        return;
    char shortName[16];
    strncpy(shortName, name, sizeof shortName - 1);
    shortName[sizeof shortName - 1] = 0;
    pthread_setname_np(pthread_self(), shortName);
}

}  // namespace vxk

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId)
{
    return vxk::StartThread(dwStackSize, lpStartAddress, lpParameter, dwCreationFlags, lpThreadId);
}

uintptr_t _beginthreadex(void*, unsigned stack_size, unsigned(__stdcall* start_address)(void*), void* arglist,
                         unsigned initflag, unsigned* thrdaddr)
{
    if (!start_address) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto* call = new vxk::BeginThreadExCall{start_address, arglist};
    DWORD tid = 0;
    HANDLE h = vxk::StartThread(stack_size, vxk::BeginThreadExTrampoline, call, initflag, &tid);
    if (!h) {
        delete call;
        return 0;
    }
    if (thrdaddr)
        *thrdaddr = tid;
    return reinterpret_cast<uintptr_t>(h);
}

DWORD ResumeThread(HANDLE hThread)
{
    vxk::Ref<vxk::Thread> t = vxk::LookupHandleAs<vxk::Thread>(hThread);
    if (!t)
        return DWORD(-1);
    std::lock_guard<std::mutex> lock(t->m_lock);
    DWORD previous = t->m_suspendCount;
    if (previous > 0 && --t->m_suspendCount == 0)
        t->m_cv.notify_all();
    return previous;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
    vxk::Ref<vxk::Thread> t = vxk::LookupHandleAs<vxk::Thread>(hThread);
    if (!t)
        return FALSE;
    if (!lpExitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(t->lock());
    *lpExitCode = t->m_finished ? t->m_exitCode : STILL_ACTIVE;
    return TRUE;
}

void ExitThread(DWORD dwExitCode)
{
    vxk::t_exitCode = dwExitCode;
    pthread_exit(nullptr);
}

namespace {
// Bumped in the child of a fork, whose one thread must not keep the id its
// parent's thread had cached.
std::atomic<unsigned> g_forkGeneration{0};
const int g_atfork = pthread_atfork(nullptr, nullptr, [] { g_forkGeneration.fetch_add(1); });
}  // namespace

DWORD GetCurrentThreadId()
{
    thread_local DWORD tid = 0;
    thread_local unsigned generation = ~0u;
    unsigned now = g_forkGeneration.load(std::memory_order_relaxed);
    if (generation != now) {
        tid = DWORD(syscall(SYS_gettid));
        generation = now;
    }
    return tid;
}

DWORD GetCurrentProcessId()
{
    return DWORD(getpid());
}

BOOL SetThreadPriority(HANDLE hThread, int)
{
    // Priorities are left to the scheduler: raising one needs privileges an
    // ordinary user does not have. The handle is still checked.
    return vxk::LookupHandleAs<vxk::Thread>(hThread) ? TRUE : FALSE;
}
