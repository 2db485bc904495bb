// WaitForSingleObject, WaitForMultipleObjects and the GUI-thread side of waits.

#include "platform/kernel/KernelObject_p.h"
#include "platform/kernel/gui_wait.h"
#include "platform/kernel/synch.h"

#include <chrono>
#include <memory>

namespace vxk {
namespace {

std::atomic<const GuiWaitHooks*> g_hooks{nullptr};

// Guarded by the kernel lock: a wake that arrives while the GUI thread is not
// waiting stays pending, so its next wait dispatches at once.
bool g_guiWakePending = false;
Waiter* g_guiWaiter = nullptr;

using Clock = std::chrono::steady_clock;

DWORD WaitForObjects(const std::vector<Ref<KernelObject>>& objs, bool waitAll, DWORD ms) {
    const GuiWaitHooks* hooks = g_hooks.load(std::memory_order_acquire);
    const bool gui = hooks && hooks->isGuiThread && hooks->dispatchSentMessages &&
                     hooks->isGuiThread();
    const DWORD tid = GetCurrentThreadId();
    const bool infinite = ms == INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(infinite ? 0 : ms);

    Waiter self;
    Waiter* outerGuiWaiter = nullptr;
    bool registered = false;
    std::unique_lock<std::mutex> lock(KernelLock());

    auto finish = [&](DWORD result) {
        if (registered) {
            for (const auto& o : objs)
                o->removeWaiter(&self);
            if (gui)
                g_guiWaiter = outerGuiWaiter;
        }
        return result;
    };

    for (;;) {
        if (waitAll) {
            bool all = true;
            for (const auto& o : objs)
                if (!o->isSignalled(tid)) {
                    all = false;
                    break;
                }
            if (all) {
                DWORD result = WAIT_OBJECT_0;
                for (size_t i = 0; i < objs.size(); ++i)
                    if (objs[i]->acquire(tid) && result == WAIT_OBJECT_0)
                        result = WAIT_ABANDONED_0 + DWORD(i);
                return finish(result);
            }
        } else {
            for (size_t i = 0; i < objs.size(); ++i)
                if (objs[i]->isSignalled(tid))
                    return finish((objs[i]->acquire(tid) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) +
                                  DWORD(i));
        }
        if (!infinite && Clock::now() >= deadline)
            return finish(WAIT_TIMEOUT);

        if (!registered) {
            // The same object may appear twice in a wait for any: register once.
            for (size_t i = 0; i < objs.size(); ++i) {
                bool seen = false;
                for (size_t j = 0; j < i && !seen; ++j)
                    seen = objs[j].get() == objs[i].get();
                if (!seen)
                    objs[i]->addWaiter(&self);
            }
            if (gui) {
                outerGuiWaiter = g_guiWaiter;
                g_guiWaiter = &self;
            }
            registered = true;
        }
        if (gui && g_guiWakePending) {
            g_guiWakePending = false;
            lock.unlock();
            hooks->dispatchSentMessages();
            lock.lock();
            // A wait nested in the dispatch may have taken over; we are the
            // GUI thread's waiter again.
            g_guiWaiter = &self;
            continue;
        }
        self.signalled = false;
        auto woken = [&] { return self.signalled || (gui && g_guiWakePending); };
        if (infinite)
            self.cv.wait(lock, woken);
        else
            self.cv.wait_until(lock, deadline, woken);
    }
}

// Looks up every handle; fails the wait when one is not a waitable object.
bool Resolve(DWORD n, const HANDLE* handles, std::vector<Ref<KernelObject>>& objs) {
    objs.reserve(n);
    for (DWORD i = 0; i < n; ++i) {
        Ref<KernelObject> o = LookupHandle(handles[i]);
        if (!o)
            return false;
        if (!o->isWaitable()) {
            ::SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        objs.push_back(std::move(o));
    }
    return true;
}

}  // namespace

void SetGuiWaitHooks(const GuiWaitHooks* hooks) {
    // Keep our own copy: the caller's structure may be a temporary. Copies are
    // kept for the life of the process, since a wait in progress may still
    // read the previous one.
    static std::mutex lock;
    static std::vector<std::unique_ptr<GuiWaitHooks>> copies;
    if (!hooks) {
        g_hooks.store(nullptr, std::memory_order_release);
        return;
    }
    std::lock_guard<std::mutex> guard(lock);
    copies.push_back(std::make_unique<GuiWaitHooks>(*hooks));
    g_hooks.store(copies.back().get(), std::memory_order_release);
}

void WakeGuiWait() {
    std::lock_guard<std::mutex> guard(KernelLock());
    g_guiWakePending = true;
    if (g_guiWaiter)
        g_guiWaiter->cv.notify_one();
}

}  // namespace vxk

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    std::vector<vxk::Ref<vxk::KernelObject>> objs;
    if (!vxk::Resolve(1, &hHandle, objs))
        return WAIT_FAILED;
    return vxk::WaitForObjects(objs, false, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                             DWORD dwMilliseconds) {
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<vxk::Ref<vxk::KernelObject>> objs;
    if (!vxk::Resolve(nCount, lpHandles, objs))
        return WAIT_FAILED;
    if (bWaitAll) {
        // Taking one object twice at once has no meaning.
        for (size_t i = 0; i < objs.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                if (objs[i].get() == objs[j].get()) {
                    SetLastError(ERROR_INVALID_PARAMETER);
                    return WAIT_FAILED;
                }
    }
    return vxk::WaitForObjects(objs, bWaitAll != FALSE, dwMilliseconds);
}
