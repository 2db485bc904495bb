#include "utility/vx_mutex.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_result.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>

namespace {

// Recursive and owned by a thread, so that only the owner unlocks it and a
// held mutex is never torn down.
struct Mutex {
    std::mutex lock;
    std::condition_variable released;
    std::thread::id owner;
    int count = 0;
};

Mutex* mutexOf(vx_mutex* record)
{
    return record ? static_cast<Mutex*>(record->handle) : nullptr;
}

}  // namespace

extern "C" int vx_mutex_create(vx_mutex** out)
{
    return vxutil::guarded("vx_mutex_create", [&]() -> int {
        if (!out)
            return VX_ERR_INVALID_ARG;
        auto* record = static_cast<vx_mutex*>(calloc(1, sizeof(vx_mutex)));
        auto* m = new (std::nothrow) Mutex;
        if (!record || !m) {
            free(record);
            delete m;
            return VX_ERR_NO_MEMORY;
        }
        record->handle = m;
        snprintf(record->name, sizeof record->name, "mtx%p", static_cast<void*>(record));
        *out = record;
        return VX_OK;
    });
}

extern "C" int vx_mutex_destroy(vx_mutex* record)
{
    return vxutil::guarded("vx_mutex_destroy", [&]() -> int {
        Mutex* m = mutexOf(record);
        if (!m)
            return VX_ERR_INVALID_ARG;
        {
            std::lock_guard<std::mutex> guard(m->lock);
            if (m->count > 0)
                return VX_ERR_TIMEOUT;
        }
        delete m;
        free(record);
        return VX_OK;
    });
}

extern "C" int vx_mutex_lock(vx_mutex* record)
{
    return vxutil::guarded("vx_mutex_lock", [&]() -> int {
        Mutex* m = mutexOf(record);
        if (!m)
            return VX_ERR_INVALID_ARG;
        auto self = std::this_thread::get_id();
        std::unique_lock<std::mutex> guard(m->lock);
        m->released.wait(guard, [&] { return m->count == 0 || m->owner == self; });
        m->owner = self;
        ++m->count;
        return VX_OK;
    });
}

extern "C" int vx_mutex_trylock(vx_mutex* record)
{
    return vxutil::guarded("vx_mutex_trylock", [&]() -> int {
        Mutex* m = mutexOf(record);
        if (!m)
            return VX_ERR_INVALID_ARG;
        auto self = std::this_thread::get_id();
        std::lock_guard<std::mutex> guard(m->lock);
        if (m->count > 0 && m->owner != self)
            return VX_ERR_TIMEOUT;
        m->owner = self;
        ++m->count;
        return VX_OK;
    });
}

extern "C" int vx_mutex_unlock(vx_mutex* record)
{
    return vxutil::guarded("vx_mutex_unlock", [&]() -> int {
        Mutex* m = mutexOf(record);
        if (!m)
            return VX_ERR_INVALID_ARG;
        {
            std::lock_guard<std::mutex> guard(m->lock);
            if (m->count == 0 || m->owner != std::this_thread::get_id())
                return VX_ERR_SYSTEM + EPERM;
            if (--m->count > 0)
                return VX_OK;
            m->owner = std::thread::id();
        }
        m->released.notify_one();
        return VX_OK;
    });
}
