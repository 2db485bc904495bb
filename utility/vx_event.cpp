#include "utility/vx_event.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_result.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

struct Event {
    std::mutex lock;
    std::condition_variable changed;
    bool manualReset = false;
    bool signalled = false;
};

Event* eventOf(vx_event* record)
{
    return record ? static_cast<Event*>(record->handle) : nullptr;
}

// Waits up to `ms` (negative: without limit); an auto-reset event is consumed
// by the waiter it releases.
int waitEvent(vx_event* record, long long ms)
{
    Event* e = eventOf(record);
    if (!e)
        return VX_ERR_INVALID_ARG;
    std::unique_lock<std::mutex> guard(e->lock);
    auto ready = [e] { return e->signalled; };
    if (ms < 0)
        e->changed.wait(guard, ready);
    else if (!e->changed.wait_for(guard, std::chrono::milliseconds(ms), ready))
        return VX_ERR_TIMEOUT;
    if (!e->manualReset)
        e->signalled = false;
    return VX_OK;
}

}  // namespace

extern "C" int vx_event_create(vx_event** out, int manual_reset, int initial_state)
{
    return vxutil::guarded("vx_event_create", [&]() -> int {
        if (!out)
            return VX_ERR_INVALID_ARG;
        auto* record = static_cast<vx_event*>(calloc(1, sizeof(vx_event)));
        auto* e = new (std::nothrow) Event;
        if (!record || !e) {
            free(record);
            delete e;
            return VX_ERR_NO_MEMORY;
        }
        e->manualReset = manual_reset == 1;
        e->signalled = initial_state == 1;
        record->handle = e;
        snprintf(record->name, sizeof record->name, "evt%p", static_cast<void*>(record));
        *out = record;  // only a complete event is handed out
        return VX_OK;
    });
}

extern "C" int vx_event_destroy(vx_event* record)
{
    return vxutil::guarded("vx_event_destroy", [&]() -> int {
        Event* e = eventOf(record);
        if (!e)
            return VX_ERR_INVALID_ARG;
        delete e;  // the event goes first, then the record that points at it
        free(record);
        return VX_OK;
    });
}

extern "C" int vx_event_set(vx_event* record)
{
    return vxutil::guarded("vx_event_set", [&]() -> int {
        Event* e = eventOf(record);
        if (!e)
            return VX_ERR_INVALID_ARG;
        {
            std::lock_guard<std::mutex> guard(e->lock);
            e->signalled = true;
        }
        if (e->manualReset)
            e->changed.notify_all();
        else
            e->changed.notify_one();
        return VX_OK;
    });
}

extern "C" int vx_event_reset(vx_event* record)
{
    return vxutil::guarded("vx_event_reset", [&]() -> int {
        Event* e = eventOf(record);
        if (!e)
            return VX_ERR_INVALID_ARG;
        std::lock_guard<std::mutex> guard(e->lock);
        e->signalled = false;
        return VX_OK;
    });
}

extern "C" int vx_event_wait(vx_event* record)
{
    return vxutil::guarded("vx_event_wait", [&] { return waitEvent(record, -1); });
}

extern "C" int vx_event_trywait(vx_event* record)
{
    return vxutil::guarded("vx_event_trywait", [&] { return waitEvent(record, 0); });
}

extern "C" int vx_event_wait_for(vx_event* record, unsigned milliseconds)
{
    return vxutil::guarded("vx_event_wait_for",
                           [&]() -> int { return waitEvent(record, static_cast<long long>(milliseconds)); });
}
