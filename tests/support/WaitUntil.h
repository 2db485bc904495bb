#pragma once
// Waits for a condition by polling it every 20 ms, for tests and benchmarks
// whose thread runs no window loop (camsim's state, files, child
// processes); window tests pump their loop instead. The caller's thread.

#include <chrono>
#include <functional>
#include <thread>

namespace vxtest {

// True as soon as cond holds; false when `seconds` passed without it.
inline bool WaitUntil(const std::function<bool()>& cond, double seconds = 20)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (cond())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return cond();
}

}  // namespace vxtest
