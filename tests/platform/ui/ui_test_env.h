#pragma once
// Shared set-up of the windowing tests: one GUI thread (the test's main
// thread) for the whole program, under the offscreen platform.

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <chrono>
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

// Lets the loop run for a while (posted messages, repaints).
inline void PumpFor(int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    vxw::PumpUntil([&] { return std::chrono::steady_clock::now() >= end; }, static_cast<DWORD>(ms + 1000));
}

#define VX_UI_TEST_MAIN()                                                                                              \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        ::testing::InitGoogleTest(&argc, argv);                                                                        \
        ::testing::AddGlobalTestEnvironment(new UiEnvironment());                                                      \
        return RUN_ALL_TESTS();                                                                                        \
    }
