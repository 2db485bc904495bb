#pragma once
// The one guard around every exported vx_ function: no C++ exception reaches
// a C caller. Running out of memory is VX_ERR_NO_MEMORY (70005) for functions
// that return a result code; anything else unexpected is logged and becomes
// the function's own failure value.

#include "utility/vx_log.h"
#include "utility/vx_result.h"

#include <cerrno>
#include <exception>
#include <new>
#include <system_error>
#include <type_traits>

namespace vxutil {

// `failed` is what a function that returns no result code gives on failure
// (null, 0); result-code functions pass VX_ERR_SYSTEM + ENOTRECOVERABLE.
template <typename R, typename F>
R guarded(const char* what, R failed, F&& f) noexcept
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        if constexpr (std::is_same_v<R, int>)
            failed = VX_ERR_NO_MEMORY;
    } catch (const std::system_error& e) {
        if constexpr (std::is_same_v<R, int>) {
            if (e.code().category() == std::generic_category() || e.code().category() == std::system_category())
                failed = VX_ERR_SYSTEM + e.code().value();
        }
    } catch (...) {
    }
    // Logging may itself be what failed: try it, but nothing may escape.
    try {
        if constexpr (std::is_same_v<R, int>)
            vx_log(VX_LOG_ERROR, "%s failed inside the library: %d", what, failed);
        else
            vx_log(VX_LOG_ERROR, "%s failed inside the library", what);
    } catch (...) {
    }
    return failed;
}

template <typename F>
int guarded(const char* what, F&& f) noexcept
{
    return guarded(what, int(VX_ERR_SYSTEM + ENOTRECOVERABLE), std::forward<F>(f));
}

// For functions without a result.
template <typename F>
void guardedVoid(const char* what, F&& f) noexcept
{
    guarded(what, 0, [&] {
        f();
        return 0;
    });
}

}  // namespace vxutil
