#pragma once
// The one guard around every exported C function of the system's libraries
// (vxutil, vxnet, vxplay): no C++ exception reaches a C caller. Each library
// passes its own results: what running out of memory (or of threads) gives,
// and what any other unexpected failure gives; both are logged.
// C++ only; header-only.

#include "utility/vx_log.h"

#include <exception>
#include <new>
#include <system_error>

namespace vxutil {

template <typename R, typename F>
R guardedCall(const char* what, R outOfMemory, R failed, F&& f) noexcept
{
    R result = failed;
    try {
        return f();
    } catch (const std::bad_alloc&) {
        result = outOfMemory;
    } catch (const std::system_error& e) {
        if (e.code() == std::errc::not_enough_memory || e.code() == std::errc::resource_unavailable_try_again)
            result = outOfMemory;
    } catch (...) {}
    // Logging may itself be what failed: try it, but nothing may escape.
    try {
        vx_log(VX_LOG_ERROR, "%s failed inside the library%s", what, result == outOfMemory ? ": out of memory" : "");
    } catch (...) {}
    return result;
}

}  // namespace vxutil
