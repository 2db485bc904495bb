#pragma once
// vxutil's own use of the guard: 70005 when out of memory, and
// VX_ERR_SYSTEM + ENOTRECOVERABLE for anything else a result-code function
// did not expect; null (or the given value) from the others.

#include "utility/vx_guard.h"
#include "utility/vx_result.h"

#include <cerrno>
#include <utility>

namespace vxutil {

template <typename F>
int guarded(const char* what, F&& f) noexcept
{
    return guardedCall(what, int(VX_ERR_NO_MEMORY), int(VX_ERR_SYSTEM + ENOTRECOVERABLE), std::forward<F>(f));
}

template <typename R, typename F>
R guarded(const char* what, R failed, F&& f) noexcept
{
    return guardedCall(what, failed, failed, std::forward<F>(f));
}

template <typename F>
void guardedVoid(const char* what, F&& f) noexcept
{
    guardedCall(what, 0, 0, [&] {
        f();
        return 0;
    });
}

}  // namespace vxutil
