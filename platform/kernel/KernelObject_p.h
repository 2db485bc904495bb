#pragma once
// The machinery behind kernel handles. Each waitable object has its own lock
// over its state and the list of waits registered on it; a wait for several
// objects takes their locks together (in address order), so a wait for all
// of them tests and takes them at once. Each wait has its own condition
// variable: a state change wakes only the waits registered on that object,
// and wakes them after the object's lock is released, so a woken thread does
// not block at once on a lock its waker still holds.

#include "platform/base/types.h"
#include "platform/kernel/errors.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace vxk {

// One wait in progress, on the heap with a count of references, so a waker
// may still notify it when the wait has just ended.
struct Waiter {
    std::mutex lock;  // taken after any object lock, never before one
    std::condition_variable cv;
    bool signalled = false;  // guarded by `lock`

    void addRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void release()
    {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

private:
    std::atomic<int> m_refs{1};
};

// Waits to wake once the object locks are released: declare it before the
// lock guard, so it goes out of scope after the guard.
class WakeList {
public:
    WakeList() = default;
    WakeList(const WakeList&) = delete;
    WakeList& operator=(const WakeList&) = delete;
    ~WakeList()
    {
        for (Waiter* w : m_waiters) {
            {
                std::lock_guard<std::mutex> guard(w->lock);
                w->signalled = true;
            }
            w->cv.notify_one();
            w->release();
        }
    }
    void add(Waiter* w)
    {
        w->addRef();
        m_waiters.push_back(w);
    }

private:
    std::vector<Waiter*> m_waiters;
};

class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject() = default;

    void addRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    // Adds a reference unless the object is already on its way out (for
    // registries that hold objects without owning them).
    bool tryAddRef()
    {
        int n = m_refs.load(std::memory_order_relaxed);
        while (n > 0)
            if (m_refs.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel))
                return true;
        return false;
    }
    void release()
    {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

    // Guards the object's state and its registered waits.
    std::mutex& lock() const { return m_lock; }

    // The three below run under lock().
    virtual bool isWaitable() const { return false; }
    // True when a wait by thread `tid` would be satisfied now.
    virtual bool isSignalled(DWORD tid) const { return false; }
    // Takes the object for thread `tid` (resets an auto event, owns a mutex);
    // returns true when it was an abandoned mutex.
    virtual bool acquire(DWORD tid) { return false; }

    // Queues the waits registered on this object to be woken; under lock().
    void wakeWaiters(WakeList& wakes);
    void addWaiter(Waiter* w) { m_waiters.push_back(w); }
    void removeWaiter(Waiter* w);

private:
    std::atomic<int> m_refs{1};
    mutable std::mutex m_lock;
    std::vector<Waiter*> m_waiters;
};

// A counted reference, for the handle table and the objects' own links.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : m_p(p) {}  // adopts one reference
    Ref(const Ref& o) : m_p(o.m_p)
    {
        if (m_p)
            m_p->addRef();
    }
    Ref(Ref&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    Ref& operator=(Ref o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~Ref()
    {
        if (m_p)
            m_p->release();
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    static Ref share(T* p)
    {
        if (p)
            p->addRef();
        return Ref(p);
    }

private:
    T* m_p = nullptr;
};

// Puts an object in the handle table; the table adopts one reference.
HANDLE InsertHandle(KernelObject* obj);
// A new reference to the object behind a handle, or null (last error set to
// ERROR_INVALID_HANDLE).
Ref<KernelObject> LookupHandle(HANDLE h);

template <class T>
Ref<T> LookupHandleAs(HANDLE h)
{
    Ref<KernelObject> obj = LookupHandle(h);
    T* p = dynamic_cast<T*>(obj.get());
    if (!p) {
        if (obj)
            ::SetLastError(ERROR_INVALID_HANDLE);
        return Ref<T>();
    }
    return Ref<T>::share(p);
}

}  // namespace vxk
