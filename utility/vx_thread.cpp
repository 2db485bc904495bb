#include "utility/vx_thread.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_log.h"
#include "utility/vx_result.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <pthread.h>
#include <string>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace {

// Shared by the record and the running thread, so destroying the record of a
// thread that still runs frees nothing that thread uses.
struct ThreadControl {
    std::atomic<int> refs{2};
    std::mutex lock;
    std::condition_variable changed;
    bool resumed = false;
    bool finished = false;
    unsigned exitCode = 0;
    pthread_t thread{};
    char name[32] = {};
    vx_thread_func func = nullptr;
    void* arg = nullptr;
};

void release(ThreadControl* ctl)
{
    if (ctl->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete ctl;
}

void* startRoutine(void* param)
{
    auto* ctl = static_cast<ThreadControl*>(param);
    {
        std::unique_lock<std::mutex> guard(ctl->lock);
        ctl->changed.wait(guard, [ctl] { return ctl->resumed; });
    }
    char kernelName[16] = {};  // the kernel keeps 15 characters of a name
    memcpy(kernelName, ctl->name, sizeof kernelName - 1);
    pthread_setname_np(pthread_self(), kernelName);

    vx_log(VX_LOG_TRACE, "Thread started %s", ctl->name);
    unsigned result = ctl->func(ctl->arg);
    vx_log(VX_LOG_TRACE, "Thread quitting %s, result %u", ctl->name, result);
    {
        std::lock_guard<std::mutex> guard(ctl->lock);
        ctl->exitCode = result;
        ctl->finished = true;
    }
    ctl->changed.notify_all();
    release(ctl);
    return nullptr;
}

// The name rule: null gives "thr" and the record's address; "%p" in a name
// stands for that address. Nothing else of a caller's name is a format.
void makeName(char (&dest)[32], const char* name, const void* record)
{
    char address[32];
    snprintf(address, sizeof address, "%p", record);
    std::string text;
    if (!name) {
        text = std::string("thr") + address;
    } else {
        for (const char* p = name; *p; ++p) {
            if (p[0] == '%' && p[1] == 'p') {
                text += address;
                ++p;
            } else {
                text += *p;
            }
        }
    }
    snprintf(dest, sizeof dest, "%s", text.c_str());
}

ThreadControl* control(const vx_thread* thread)
{
    return thread ? static_cast<ThreadControl*>(thread->handle) : nullptr;
}

}  // namespace

extern "C" int vx_thread_create(const char* name, vx_thread_func func, void* arg, int flags, vx_thread** out)
{
    return vxutil::guarded("vx_thread_create", [&]() -> int {
        if (!func || !out)
            return VX_ERR_INVALID_ARG;
        auto* record = static_cast<vx_thread*>(calloc(1, sizeof(vx_thread)));
        auto* ctl = new (std::nothrow) ThreadControl;
        if (!record || !ctl) {
            free(record);
            delete ctl;
            return VX_ERR_NO_MEMORY;
        }
        makeName(record->name, name, record);
        memcpy(ctl->name, record->name, sizeof ctl->name);
        ctl->func = record->func = func;
        ctl->arg = record->arg = arg;
        ctl->resumed = !(flags & VX_THREAD_SUSPENDED);

        vx_log(VX_LOG_TRACE, "Thread created %s", record->name);

        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
        int rc = pthread_create(&ctl->thread, &attr, startRoutine, ctl);
        pthread_attr_destroy(&attr);
        if (rc != 0) {
            delete ctl;
            free(record);
            return VX_ERR_SYSTEM + rc;
        }
        record->handle = ctl;
        record->id = static_cast<unsigned long>(ctl->thread);
        *out = record;
        return VX_OK;
    });
}

extern "C" int vx_thread_resume(vx_thread* thread)
{
    return vxutil::guarded("vx_thread_resume", [&]() -> int {
        ThreadControl* ctl = control(thread);
        if (!ctl)
            return VX_ERR_INVALID_ARG;
        {
            std::lock_guard<std::mutex> guard(ctl->lock);
            ctl->resumed = true;
        }
        ctl->changed.notify_all();
        return VX_OK;
    });
}

extern "C" int vx_thread_join(vx_thread* thread)
{
    return vxutil::guarded("vx_thread_join", [&]() -> int {
        ThreadControl* ctl = control(thread);
        if (!ctl)
            return VX_ERR_INVALID_ARG;
        vx_log(VX_LOG_TRACE, "Joining thread %s", thread->name);
        std::unique_lock<std::mutex> guard(ctl->lock);
        if (!ctl->finished && pthread_equal(ctl->thread, pthread_self()))
            return VX_ERR_SYSTEM + EDEADLK;
        ctl->changed.wait(guard, [ctl] { return ctl->finished; });
        return VX_OK;
    });
}

extern "C" int vx_thread_destroy(vx_thread* thread)
{
    return vxutil::guarded("vx_thread_destroy", [&]() -> int {
        if (!thread)
            return VX_ERR_INVALID_ARG;
        if (ThreadControl* ctl = control(thread))
            release(ctl);
        free(thread);
        return VX_OK;
    });
}

extern "C" const char* vx_thread_get_name(const vx_thread* thread)
{
    return vxutil::guarded("vx_thread_get_name", "", [&]() -> const char* { return thread ? thread->name : ""; });
}

extern "C" int vx_thread_sleep(unsigned milliseconds)
{
    return vxutil::guarded("vx_thread_sleep", [&]() -> int {
        timespec left{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {}
        return VX_OK;
    });
}
