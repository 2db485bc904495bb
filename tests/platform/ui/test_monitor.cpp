// Monitors found by a point and described in screen coordinates, and
// windows moved between a parent and the desktop.
#include "ui_test_env.h"

#include "platform/ui/monitor.h"

#include <atomic>
#include <thread>

namespace {

TEST(Monitor, PointsFindTheirScreenOrTheFallbackAsked)
{
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    HMONITOR primary = ::MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL);
    ASSERT_NE(primary, nullptr);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(::GetMonitorInfo(primary, &mi));
    EXPECT_EQ(CRect(mi.rcMonitor), CRect(0, 0, cx, cy));
    EXPECT_TRUE(CRect(mi.rcMonitor).PtInRect(CRect(mi.rcWork).TopLeft()));
    EXPECT_EQ(mi.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));

    const POINT far{cx + 100000, cy + 100000};
    EXPECT_EQ(::MonitorFromPoint(far, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(::MonitorFromPoint(far, MONITOR_DEFAULTTOPRIMARY), primary);
    EXPECT_EQ(::MonitorFromPoint(far, MONITOR_DEFAULTTONEAREST), primary);

    // Unknown handles and short records are refused; workers get answers too.
    EXPECT_FALSE(::GetMonitorInfo(reinterpret_cast<HMONITOR>(uintptr_t(999)), &mi));
    MONITORINFO shortInfo{};
    shortInfo.cbSize = 4;
    EXPECT_FALSE(::GetMonitorInfo(primary, &shortInfo));
    // The worker's call is answered by the GUI thread, which goes on
    // running its loop meanwhile.
    std::atomic<HMONITOR> fromWorker{nullptr};
    std::thread worker([&] { fromWorker = ::MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTONULL); });
    EXPECT_TRUE(WaitFor([&] { return fromWorker.load() != nullptr; }));
    worker.join();
    EXPECT_EQ(fromWorker.load(), primary);
}

TEST(SetParent, AWindowLeavesItsParentAndComesBackWithItsHandle)
{
    CWnd top, child;
    ASSERT_TRUE(top.CreateEx(0, "VxTop", "top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), &top, 42));
    HWND h = child.GetSafeHwnd();

    EXPECT_EQ(child.SetParent(nullptr), &top);
    EXPECT_EQ(::GetParent(h), nullptr);
    EXPECT_FALSE(::IsChild(top.GetSafeHwnd(), h));
    EXPECT_EQ(::GetDlgItem(top.GetSafeHwnd(), 42), nullptr);
    EXPECT_TRUE(::IsWindow(h));

    EXPECT_EQ(::SetParent(h, top.GetSafeHwnd()), nullptr);
    EXPECT_EQ(::GetParent(h), top.GetSafeHwnd());
    EXPECT_EQ(::GetDlgItem(top.GetSafeHwnd(), 42), h);
    EXPECT_EQ(CWnd::FromHandle(h), &child);

    // Never into itself or its own descendant.
    EXPECT_EQ(::SetParent(top.GetSafeHwnd(), h), nullptr);
    EXPECT_EQ(::GetParent(top.GetSafeHwnd()), nullptr);
}

}  // namespace

VX_UI_TEST_MAIN()
