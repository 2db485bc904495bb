// WaitForSingleObject, WaitForMultipleObjects and the GUI-thread side of waits.

#include "platform/kernel/KernelObject_p.h"
#include "platform/kernel/gui_wait.h"
#include "platform/kernel/synch.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace vxk {
namespace {

std::atomic<const GuiWaitHooks*> g_hooks{nullptr};

// A wake that arrives while the GUI thread is not waiting stays pending, so
// its next wait dispatches at once. The waker sets the flag before it looks
// for the GUI thread's wait, and a wait registers itself before it reads the
// flag, so one of the two always sees the other.
std::atomic<bool> g_guiWakePending{false};
std::mutex g_guiLock;
Waiter* g_guiWaiter = nullptr;  // g_guiLock

using Clock = std::chrono::steady_clock;

// The object locks of one wait, taken in address order so that two waits on
// overlapping sets never deadlock.
class ObjectLocks {
public:
    explicit ObjectLocks(const std::vector<KernelObject*>& unique) : m_objects(unique) {}
    void lock()
    {
        for (KernelObject* o : m_objects)
            o->lock().lock();
    }
    void unlock()
    {
        for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
            (*it)->lock().unlock();
    }

private:
    const std::vector<KernelObject*>& m_objects;
};

DWORD WaitForObjects(const std::vector<Ref<KernelObject>>& objs, bool waitAll, DWORD ms)
{
    const GuiWaitHooks* hooks = g_hooks.load(std::memory_order_acquire);
    const bool gui = hooks && hooks->isGuiThread && hooks->dispatchSentMessages && hooks->isGuiThread();
    const DWORD tid = GetCurrentThreadId();
    const bool infinite = ms == INFINITE;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(infinite ? 0 : ms);

    // The same object may appear twice in a wait for any: lock and register once.
    std::vector<KernelObject*> unique;
    unique.reserve(objs.size());
    for (const auto& o : objs)
        unique.push_back(o.get());
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    ObjectLocks locks(unique);

    Waiter* self = nullptr;
    Waiter* outerGuiWaiter = nullptr;
    auto finish = [&](DWORD result) {
        // Object locks held.
        if (self) {
            for (KernelObject* o : unique)
                o->removeWaiter(self);
        }
        locks.unlock();
        if (self) {
            if (gui) {
                std::lock_guard<std::mutex> guard(g_guiLock);
                g_guiWaiter = outerGuiWaiter;
            }
            self->release();  // a waker may still hold it for a moment
        }
        return result;
    };

    for (;;) {
        if (self) {
            std::lock_guard<std::mutex> guard(self->lock);
            self->signalled = false;
        }
        locks.lock();
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
                    return finish((objs[i]->acquire(tid) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + DWORD(i));
        }
        if (!infinite && Clock::now() >= deadline)
            return finish(WAIT_TIMEOUT);
        bool firstRound = !self;
        if (firstRound) {
            self = new Waiter;
            for (KernelObject* o : unique)
                o->addWaiter(self);
        }
        locks.unlock();
        if (gui) {
            if (firstRound) {
                std::lock_guard<std::mutex> guard(g_guiLock);
                outerGuiWaiter = g_guiWaiter;
                g_guiWaiter = self;
            }
            if (g_guiWakePending.exchange(false)) {
                hooks->dispatchSentMessages();
                // A wait nested in the dispatch may have taken over; this one
                // is the GUI thread's wait again.
                std::lock_guard<std::mutex> guard(g_guiLock);
                g_guiWaiter = self;
                continue;
            }
        }
        std::unique_lock<std::mutex> lock(self->lock);
        auto woken = [&] { return self->signalled || (gui && g_guiWakePending.load()); };
        if (infinite)
            self->cv.wait(lock, woken);
        else
            self->cv.wait_until(lock, deadline, woken);
    }
}

// Looks up every handle; fails the wait when one is not a waitable object.
bool Resolve(DWORD n, const HANDLE* handles, std::vector<Ref<KernelObject>>& objs)
{
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

void SetGuiWaitHooks(const GuiWaitHooks* hooks)
{
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

void WakeGuiWait()
{
    WakeList wakes;
    g_guiWakePending.store(true);
    std::lock_guard<std::mutex> guard(g_guiLock);
    if (g_guiWaiter)
        wakes.add(g_guiWaiter);
}

}  // namespace vxk

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    std::vector<vxk::Ref<vxk::KernelObject>> objs;
    if (!vxk::Resolve(1, &hHandle, objs))
        return WAIT_FAILED;
    return vxk::WaitForObjects(objs, false, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
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
