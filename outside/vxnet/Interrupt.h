#pragma once
// The interrupt of one session's calls in flight: every wait on the camera
// (a CGI request, a download, opening the stream, the family probe) asks it
// and gives up with a time-out once it is on.
//
// Threads: set and watch from any thread; requested() is read by the threads
// that wait on the camera (curl's loop, FFmpeg's interrupt callback). Lock-free.

#include <atomic>

namespace vxnet {

class Interrupt {
public:
    void set(bool on) { m_on.store(on, std::memory_order_release); }

    // A flag owned by the caller of one call, read atomically while it is
    // watched; null stops watching. The caller keeps it alive meanwhile.
    void watch(const int* flag) { m_external.store(flag, std::memory_order_release); }

    bool requested() const
    {
        if (m_on.load(std::memory_order_acquire))
            return true;
        const int* flag = m_external.load(std::memory_order_acquire);
        return flag && __atomic_load_n(flag, __ATOMIC_ACQUIRE) != 0;
    }

    // How often a wait looks at the interrupt: well inside the tenth of a
    // second callers are promised.
    static constexpr int kPollMs = 40;

private:
    std::atomic<bool> m_on{false};
    std::atomic<const int*> m_external{nullptr};
};

}  // namespace vxnet
