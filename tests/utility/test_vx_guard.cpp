// No C++ exception leaves a vx_ function: the guard's mapping of what may be
// thrown inside, and a host's log sink that throws while the library logs.

#include "utility/vx_guard_p.h"
#include "utility/vxutil.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <system_error>

namespace {

TEST(VxGuard, WhatIsThrownInsideBecomesAResult)
{
    struct Case {
        const char* name;
        void (*thrower)();
        int result;
    };
    const Case cases[] = {
        {"out of memory", [] { throw std::bad_alloc(); }, VX_ERR_NO_MEMORY},
        {"no thread left", [] { throw std::system_error(EAGAIN, std::generic_category()); }, VX_ERR_NO_MEMORY},
        {"other system error", [] { throw std::system_error(EPERM, std::generic_category()); },
         VX_ERR_SYSTEM + ENOTRECOVERABLE},
        {"any other", [] { throw std::runtime_error("x"); }, VX_ERR_SYSTEM + ENOTRECOVERABLE},
        {"not even an exception", [] { throw 42; }, VX_ERR_SYSTEM + ENOTRECOVERABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(vxutil::guarded("test",
                                  [&]() -> int {
                                      c.thrower();
                                      return VX_OK;
                                  }),
                  c.result);
        // Functions that hand out a pointer give null.
        EXPECT_EQ(vxutil::guarded("test", static_cast<char*>(nullptr),
                                  [&]() -> char* {
                                      c.thrower();
                                      return const_cast<char*>("x");
                                  }),
                  nullptr);
    }
}

void throwingSink(int, const char*, int)
{
    throw std::runtime_error("sink refused the line");
}

unsigned quickThread(void*)
{
    return 7;
}

TEST(VxGuard, ASinkThatThrowsDoesNotReachTheCaller)
{
    const int level = vx_log_get_level();
    vx_log_set_level(VX_LOG_TRACE);
    vx_log_set_log_func(throwingSink);
    vx_log(VX_LOG_ERROR, "dropped");
    // The thread functions log at TRACE; they still work.
    vx_thread* t = nullptr;
    EXPECT_EQ(vx_thread_create("guarded", quickThread, nullptr, 0, &t), VX_OK);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(vx_thread_join(t), VX_OK);
    EXPECT_EQ(vx_thread_destroy(t), VX_OK);
    vx_log_set_log_func(vx_log_default_sink);
    vx_log_set_level(level);
}

}  // namespace
