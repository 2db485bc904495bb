#pragma once
// Shared set-up of the windowing tests: one GUI thread (the test's main
// thread) for the whole program, under the offscreen platform.

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <functional>

class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(vxw::InitGuiThread()); }
    void TearDown() override { vxw::ShutdownGuiThread(); }
};

// Runs the loop until cond holds, at most ms (generous: machines are busy).
inline bool WaitFor(const std::function<bool()>& cond, DWORD ms = 5000)
{
    return vxw::PumpUntil(cond, ms);
}

#define VX_UI_TEST_MAIN()                                                                                              \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        ::testing::InitGoogleTest(&argc, argv);                                                                        \
        ::testing::AddGlobalTestEnvironment(new UiEnvironment());                                                      \
        return RUN_ALL_TESTS();                                                                                        \
    }
