#pragma once
// Lets callbacks through until it is closed; close() waits for a callback in
// progress on another thread, so none runs after it returns. A callback may
// call back into the library (the lock is recursive for its own thread).

#include <mutex>

namespace vxplay {

class CallbackGate {
public:
    template <class F>
    void call(F&& f)
    {
        std::lock_guard lock(m_mutex);
        if (m_open)
            f();
    }
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
    }

private:
    std::recursive_mutex m_mutex;  // held while a callback runs
    bool m_open = true;
};

}  // namespace vxplay
