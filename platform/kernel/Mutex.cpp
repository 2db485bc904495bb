// Mutexes: recursive, owned by a thread, abandoned when the owner ends.
// A named mutex is found again by name within the process, and its name is
// held across the processes of the user by a lock file.

#include "platform/kernel/Mutex_p.h"

#include "platform/kernel/KernelObject_p.h"
#include "platform/kernel/NamedLock_p.h"
#include "platform/kernel/synch.h"

#include <map>
#include <memory>
#include <string>

namespace vxk {
namespace {

class Mutex;

// The mutexes the current thread owns; each entry holds a reference.
struct OwnedMutexes {
    std::vector<Mutex*> list;
    ~OwnedMutexes() { AbandonOwnedMutexes(); }
};
thread_local OwnedMutexes t_owned;

class Mutex final : public KernelObject {
public:
    explicit Mutex(std::string name = {}) : m_name(std::move(name)) {}
    ~Mutex() override;

    bool isWaitable() const override { return true; }
    bool isSignalled(DWORD tid) const override { return m_owner == 0 || m_owner == tid; }
    bool acquire(DWORD tid) override
    {
        // Always called on the acquiring thread itself.
        if (m_owner == tid) {
            ++m_count;
            return false;
        }
        m_owner = tid;
        m_count = 1;
        addRef();
        t_owned.list.push_back(this);
        bool abandoned = m_abandoned;
        m_abandoned = false;
        return abandoned;
    }

    // Under lock(); false when the caller does not own it. When the last
    // recursion ends, the caller must drop the owner's reference (after the
    // lock is released).
    bool releaseBy(DWORD tid, bool& lastRelease, WakeList& wakes)
    {
        lastRelease = false;
        if (m_owner != tid || m_count == 0)
            return false;
        if (--m_count == 0) {
            m_owner = 0;
            forgetOwned();
            lastRelease = true;
            wakeWaiters(wakes);
        }
        return true;
    }

    void abandon(WakeList& wakes)
    {
        m_owner = 0;
        m_count = 0;
        m_abandoned = true;
        wakeWaiters(wakes);
    }

    void setCrossProcessLock(std::unique_ptr<NamedLock> lock) { m_lock = std::move(lock); }

private:
    void forgetOwned()
    {
        auto& l = t_owned.list;
        for (auto it = l.begin(); it != l.end(); ++it)
            if (*it == this) {
                l.erase(it);
                break;
            }
    }

    const std::string m_name;
    DWORD m_owner = 0;
    unsigned m_count = 0;
    bool m_abandoned = false;
    std::unique_ptr<NamedLock> m_lock;
};

// Named mutexes of this process, held without a reference; an entry leaves
// with its object.
std::mutex g_namesLock;
std::map<std::string, Mutex*>& Names()
{
    static auto* names = new std::map<std::string, Mutex*>;
    return *names;
}

Mutex::~Mutex()
{
    if (m_name.empty())
        return;
    std::lock_guard<std::mutex> guard(g_namesLock);
    auto it = Names().find(m_name);
    if (it != Names().end() && it->second == this)
        Names().erase(it);
}

}  // namespace

void AbandonOwnedMutexes()
{
    std::vector<Mutex*> owned;
    {
        WakeList wakes;
        owned.swap(t_owned.list);
        for (Mutex* m : owned) {
            std::lock_guard<std::mutex> guard(m->lock());
            m->abandon(wakes);
        }
    }
    for (Mutex* m : owned)
        m->release();
}

}  // namespace vxk

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName)
{
    using namespace vxk;
    Ref<Mutex> mutex;
    bool exists = false;
    if (lpName && *lpName) {
        std::lock_guard<std::mutex> guard(g_namesLock);
        auto it = Names().find(lpName);
        if (it != Names().end() && it->second->tryAddRef()) {
            mutex = Ref<Mutex>(it->second);
            exists = true;
        } else {
            // The lock is taken under the names lock, so two threads of this
            // process never both try to create the name.
            std::unique_ptr<NamedLock> lock = NamedLock::Acquire("mutex", lpName, exists);
            if (!lock) {
                // No lock file (no private runtime folder): other processes
                // could not see the name, so it is not created at all rather
                // than handed out as if it were unique.
                SetLastError(ERROR_ACCESS_DENIED);
                return nullptr;
            }
            mutex = Ref<Mutex>(new Mutex(lpName));
            Names()[lpName] = mutex.get();
            mutex->setCrossProcessLock(std::move(lock));
        }
    } else {
        mutex = Ref<Mutex>(new Mutex);
    }
    // A second creator does not take ownership, as on the system we mirror.
    if (bInitialOwner && !exists) {
        std::lock_guard<std::mutex> guard(mutex->lock());
        mutex->acquire(GetCurrentThreadId());
    }
    mutex->addRef();
    HANDLE h = InsertHandle(mutex.get());
    SetLastError(exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

BOOL ReleaseMutex(HANDLE hMutex)
{
    using namespace vxk;
    Ref<Mutex> m = LookupHandleAs<Mutex>(hMutex);
    if (!m)
        return FALSE;
    bool ok, last;
    {
        WakeList wakes;
        std::lock_guard<std::mutex> guard(m->lock());
        ok = m->releaseBy(GetCurrentThreadId(), last, wakes);
    }
    if (!ok) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    if (last)
        m->release();
    return TRUE;
}
