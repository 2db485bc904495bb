#pragma once
// The machinery behind kernel handles: one process-wide kernel lock guards the
// state of every waitable object, so a wait for all of several objects can
// test and take them at once. Each waiting thread has its own condition
// variable, registered on the objects it waits for; a state change wakes only
// the threads registered on that object.

#include "platform/base/types.h"
#include "platform/kernel/errors.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace vxk {

struct Waiter {
    std::condition_variable cv;
    bool signalled = false;  // some registered object changed state
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
    bool tryAddRef() {
        int n = m_refs.load(std::memory_order_relaxed);
        while (n > 0)
            if (m_refs.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel))
                return true;
        return false;
    }
    void release() {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

    // The three below run under the kernel lock.
    virtual bool isWaitable() const { return false; }
    // True when a wait by thread `tid` would be satisfied now.
    virtual bool isSignalled(DWORD tid) const { return false; }
    // Takes the object for thread `tid` (resets an auto event, owns a mutex);
    // returns true when it was an abandoned mutex.
    virtual bool acquire(DWORD tid) { return false; }

    // Wakes the waiters registered on this object; under the kernel lock.
    void wakeWaiters();
    void addWaiter(Waiter* w) { m_waiters.push_back(w); }
    void removeWaiter(Waiter* w);

private:
    std::atomic<int> m_refs{1};
    std::vector<Waiter*> m_waiters;
};

// A counted reference, for the handle table and the objects' own links.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : m_p(p) {}  // adopts one reference
    Ref(const Ref& o) : m_p(o.m_p) {
        if (m_p)
            m_p->addRef();
    }
    Ref(Ref&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    Ref& operator=(Ref o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~Ref() {
        if (m_p)
            m_p->release();
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    static Ref share(T* p) {
        if (p)
            p->addRef();
        return Ref(p);
    }

private:
    T* m_p = nullptr;
};

std::mutex& KernelLock();

// Puts an object in the handle table; the table adopts one reference.
HANDLE InsertHandle(KernelObject* obj);
// A new reference to the object behind a handle, or null (last error set to
// ERROR_INVALID_HANDLE).
Ref<KernelObject> LookupHandle(HANDLE h);

template <class T>
Ref<T> LookupHandleAs(HANDLE h) {
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
