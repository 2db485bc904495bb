#pragma once
// A name held by the processes of one user: each holder keeps a shared lock on
// a file in the user's private lock folder, and the system drops it when the
// holder's file is closed or the process dies.

#include <memory>
#include <string>

namespace vxk {

class NamedLock {
public:
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    // Holds `name` (of the given kind) for this process. `heldElsewhere` tells
    // whether another process held it already. Null when the lock folder
    // cannot be used; the name then acts within this process only.
    static std::unique_ptr<NamedLock> Acquire(const char* kind, const std::string& name, bool& heldElsewhere);

    // The user's private folder for lock files (created with mode 0700), or
    // empty when none can be had safely.
    static std::string LockFolder();

private:
    explicit NamedLock(int fd) : m_fd(fd) {}
    int m_fd;
};

}  // namespace vxk
