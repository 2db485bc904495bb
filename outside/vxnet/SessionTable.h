#pragma once
// The sessions behind the C handles. A handle is an id from a counter that
// never repeats, so a stale or made-up handle finds nothing instead of freed
// memory. A call holds its session through a Lease; vxnet_disconnect takes the
// session out of the table, interrupts the calls in flight and waits for
// their leases before it frees it.
//
// Threads: any. Locks: the table's mutex, then (never the other way round)
// one entry's mutex; neither is held while a session works.

#include "outside/vxnet/Session.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace vxnet {

class SessionTable {
    struct Entry {
        std::unique_ptr<Session> session;
        std::mutex mutex;  // guards users
        std::condition_variable idle;
        int users = 0;
    };

public:
    // A session in use by one call; empty when the handle is unknown.
    class Lease {
    public:
        Lease() = default;
        explicit Lease(std::shared_ptr<Entry> e) : m_entry(std::move(e)) {}
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;
        Lease(const Lease&) = delete;
        ~Lease()
        {
            if (!m_entry)
                return;
            std::lock_guard lock(m_entry->mutex);
            if (--m_entry->users == 0)
                m_entry->idle.notify_all();
        }
        Session* operator->() const { return m_entry->session.get(); }
        Session& operator*() const { return *m_entry->session; }
        explicit operator bool() const { return m_entry != nullptr; }

    private:
        std::shared_ptr<Entry> m_entry;
    };

    static SessionTable& instance()
    {
        static SessionTable* table = new SessionTable;  // outlives every static user
        return *table;
    }

    uint64_t add(std::unique_ptr<Session> session)
    {
        auto e = std::make_shared<Entry>();
        e->session = std::move(session);
        std::lock_guard lock(m_mutex);
        const uint64_t id = m_next++;
        m_entries.emplace(id, std::move(e));
        return id;
    }

    Lease find(uint64_t id)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_entries.find(id);
        if (it == m_entries.end())
            return Lease();
        std::lock_guard entryLock(it->second->mutex);
        ++it->second->users;
        return Lease(it->second);
    }

    // Takes the session out; later look-ups fail at once. The calls in
    // flight are interrupted and waited for; then the session is returned
    // for its owner to free. Null when the id is unknown.
    std::unique_ptr<Session> remove(uint64_t id)
    {
        std::shared_ptr<Entry> e;
        {
            std::lock_guard lock(m_mutex);
            auto it = m_entries.find(id);
            if (it == m_entries.end())
                return nullptr;
            e = std::move(it->second);
            m_entries.erase(it);
        }
        e->session->interrupt(true);
        std::unique_lock entryLock(e->mutex);
        e->idle.wait(entryLock, [&] { return e->users == 0; });
        return std::move(e->session);
    }

private:
    SessionTable() = default;

    std::mutex m_mutex;  // guards m_entries and m_next
    std::unordered_map<uint64_t, std::shared_ptr<Entry>> m_entries;
    uint64_t m_next = 1;  // 0 is "no session"
};

}  // namespace vxnet
