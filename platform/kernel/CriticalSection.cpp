#include "platform/kernel/critical_section.h"

#include <pthread.h>

static_assert(sizeof(pthread_mutex_t) <= sizeof(CRITICAL_SECTION::opaque));
static_assert(alignof(pthread_mutex_t) <= 8);

namespace {
pthread_mutex_t* Lock(LPCRITICAL_SECTION cs)
{
    return reinterpret_cast<pthread_mutex_t*>(cs->opaque);
}
}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION cs)
{
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(Lock(cs), &attr);
    pthread_mutexattr_destroy(&attr);
}

void DeleteCriticalSection(LPCRITICAL_SECTION cs)
{
    pthread_mutex_destroy(Lock(cs));
}

void EnterCriticalSection(LPCRITICAL_SECTION cs)
{
    pthread_mutex_lock(Lock(cs));
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs)
{
    return pthread_mutex_trylock(Lock(cs)) == 0 ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs)
{
    // A recursive mutex refuses an unlock by a thread that does not hold it,
    // so a stray Leave does no harm.
    pthread_mutex_unlock(Lock(cs));
}
