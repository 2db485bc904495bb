// Window calls from worker threads: questions and posts never wait for the
// GUI thread, so a worker holding a lock the GUI thread is waiting for still
// gets its answer; calls that send run on the GUI thread while it waits on
// a kernel object. Calls only the GUI thread may make are refused elsewhere.
#include "ui_test_env.h"

#include <strings.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT UM_PING = WM_USER + 40;

class CountingWnd : public CWnd {
public:
    BOOL CreatePopup()
    {
        return CreateEx(0, "VxWorkerWnd", "worker", WS_POPUP | WS_VISIBLE, 10, 20, 200, 120, nullptr, nullptr);
    }
    std::atomic<int> paints{0};
    std::atomic<int> pings{0};
    std::atomic<int> timers{0};

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_PAINT)
            ++paints;
        if (msg == UM_PING)
            ++pings;
        if (msg == WM_TIMER)
            ++timers;
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

// A shown pop-up with one child button, and what the GUI thread itself
// answers about them.
struct Fixture {
    CountingWnd popup;
    CButton button;
    HWND p = nullptr;
    HWND b = nullptr;
    RECT buttonRect{};
    POINT buttonOrigin{};

    Fixture()
    {
        EXPECT_TRUE(popup.CreatePopup());
        EXPECT_TRUE(button.Create("Scan", WS_VISIBLE | WS_TABSTOP, CRect(5, 6, 65, 30), &popup, 7));
        p = popup.GetSafeHwnd();
        b = button.GetSafeHwnd();
        PumpMessages();
        ::GetWindowRect(b, &buttonRect);
        ::ClientToScreen(b, &buttonOrigin);
    }
    static void PumpMessages() { vxw::PumpMessages(); }
};

struct Case {
    const char* name;
    std::function<bool(Fixture&)> call;  // true when the worker got the right answer
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const std::vector<Case>& QuestionsAndPosts()
{
    static const std::vector<Case> cases = {
        {"IsWindow", [](Fixture& f) { return ::IsWindow(f.b) && !::IsWindow(nullptr); }},
        {"GetParent", [](Fixture& f) { return ::GetParent(f.b) == f.p; }},
        {"GetDlgItem", [](Fixture& f) { return ::GetDlgItem(f.p, 7) == f.b && !::GetDlgItem(f.p, 8); }},
        {"GetDlgCtrlID", [](Fixture& f) { return ::GetDlgCtrlID(f.b) == 7; }},
        {"GetWindow", [](Fixture& f) { return ::GetWindow(f.p, GW_CHILD) == f.b && !::GetWindow(f.b, GW_HWNDNEXT); }},
        {"IsChild", [](Fixture& f) { return ::IsChild(f.p, f.b) && !::IsChild(f.b, f.p); }},
        {"IsWindowVisible", [](Fixture& f) { return ::IsWindowVisible(f.b) == TRUE; }},
        {"IsWindowEnabled", [](Fixture& f) { return ::IsWindowEnabled(f.b) == TRUE; }},
        {"IsIconic", [](Fixture& f) { return !::IsIconic(f.p); }},
        {"IsZoomed", [](Fixture& f) { return !::IsZoomed(f.p); }},
        {"GetClientRect",
         [](Fixture& f) {
             RECT r{};
             return ::GetClientRect(f.p, &r) && SameRect(r, RECT{0, 0, 200, 120});
         }},
        {"GetWindowRect",
         [](Fixture& f) {
             RECT r{};
             return ::GetWindowRect(f.b, &r) && SameRect(r, f.buttonRect);
         }},
        {"ClientToScreen",
         [](Fixture& f) {
             POINT pt{0, 0};
             return ::ClientToScreen(f.b, &pt) && pt.x == f.buttonOrigin.x && pt.y == f.buttonOrigin.y;
         }},
        {"ScreenToClient",
         [](Fixture& f) {
             POINT pt = f.buttonOrigin;
             return ::ScreenToClient(f.b, &pt) && pt.x == 0 && pt.y == 0;
         }},
        {"GetWindowLong",
         [](Fixture& f) {
             LONG s = ::GetWindowLong(f.b, GWL_STYLE);
             return (s & WS_CHILD) && (s & WS_VISIBLE) && (s & WS_TABSTOP) && ::GetWindowLong(f.b, GWL_ID) == 7;
         }},
        {"SetWindowLongPtr of user data",
         [](Fixture& f) {
             ::SetWindowLongPtr(f.p, GWLP_USERDATA, 41);
             return ::SetWindowLongPtr(f.p, GWLP_USERDATA, 42) == 41 && ::GetWindowLongPtr(f.p, GWLP_USERDATA) == 42;
         }},
        {"GetClassName",
         [](Fixture& f) {
             char name[32];
             return ::GetClassName(f.b, name, sizeof name) > 0 && strcasecmp(name, "button") == 0;
         }},
        {"WindowFromPoint",
         [](Fixture& f) {
             return ::WindowFromPoint(POINT{f.buttonOrigin.x + 2, f.buttonOrigin.y + 2}) == f.b;
         }},
        {"FindWindow", [](Fixture& f) { return ::FindWindow("VxWorkerWnd", "worker") == f.p; }},
        {"FromHandle", [](Fixture& f) { return CWnd::FromHandle(f.b)->GetParent()->GetSafeHwnd() == f.p; }},
        {"GetFocus, GetCapture", [](Fixture&) { return !::GetFocus() && !::GetCapture(); }},
        {"GetCursorPos",
         [](Fixture&) {
             POINT pt{};
             return ::GetCursorPos(&pt) == TRUE;
         }},
        {"GetSystemMetrics", [](Fixture&) { return ::GetSystemMetrics(SM_CXSCREEN) > 0; }},
        {"InvalidateRect",
         [](Fixture& f) {
             RECT r{1, 1, 20, 20};
             return ::InvalidateRect(f.p, &r, TRUE) && ::InvalidateRect(f.p, nullptr, FALSE);
         }},
        {"InvalidateRgn",
         [](Fixture& f) {
             HRGN rgn = CreateRectRgn(0, 0, 10, 10);
             BOOL ok = ::InvalidateRgn(f.p, rgn, TRUE);
             DeleteObject(rgn);
             return ok == TRUE;
         }},
        {"RedrawWindow",
         [](Fixture& f) { return ::RedrawWindow(f.p, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN); }},
        {"PostMessage", [](Fixture& f) { return ::PostMessage(f.p, UM_PING, 0, 0) == TRUE; }},
        {"SetTimer, KillTimer", [](Fixture& f) { return ::SetTimer(f.p, 3, 5000, nullptr) && ::KillTimer(f.p, 3); }},
    };
    return cases;
}

// The worker takes the lock, then makes the call while the GUI thread waits
// to take the same lock (without handling anything meanwhile). Returns the
// call's duration; the GUI thread gives up waiting after a few seconds so a
// call that waits for it shows as slow instead of hanging the test.
Clock::duration CallHoldingALockTheGuiThreadWants(Fixture& f, const Case& c, bool& right)
{
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    std::atomic<bool> held{false};
    std::atomic<bool> guiWaiting{false};
    std::atomic<bool> done{false};
    Clock::duration took{};
    std::thread worker([&] {
        EnterCriticalSection(&cs);
        held = true;
        while (!guiWaiting)
            std::this_thread::yield();
        // Let the GUI thread settle into its wait.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        auto t0 = Clock::now();
        right = c.call(f);
        took = Clock::now() - t0;
        LeaveCriticalSection(&cs);
        done = true;
    });
    while (!held)
        std::this_thread::yield();
    guiWaiting = true;
    auto deadline = Clock::now() + std::chrono::seconds(3);
    bool entered = false;
    while (!(entered = TryEnterCriticalSection(&cs)) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (entered)
        LeaveCriticalSection(&cs);
    // A call that waited for the GUI thread gets its turn now.
    WaitFor([&] { return done.load(); }, 10000);
    worker.join();
    DeleteCriticalSection(&cs);
    return took;
}

TEST(WorkerCalls, QuestionsAndPostsReturnWhileTheGuiThreadWaitsForTheWorkersLock)
{
    Fixture f;
    for (const Case& c : QuestionsAndPosts()) {
        SCOPED_TRACE(c.name);
        bool right = false;
        auto took = CallHoldingALockTheGuiThreadWants(f, c, right);
        EXPECT_LT(took, std::chrono::milliseconds(100));
        EXPECT_TRUE(right);
    }
    // What was posted or invalidated arrives once the GUI thread runs.
    int paintsBefore = f.popup.paints;
    EXPECT_TRUE(WaitFor([&] { return f.popup.pings == 1; }));
    RECT r{0, 0, 30, 30};
    std::thread([&] { ::InvalidateRect(f.p, &r, FALSE); }).join();
    EXPECT_TRUE(WaitFor([&] { return f.popup.paints > paintsBefore; }));
    EXPECT_EQ(f.popup.timers, 0);
}

// The calls that send, made by a worker while the GUI thread waits for it
// in WaitForSingleObject; the worker's answers reflect what the GUI thread
// did.
struct Sends {
    HWND p;
    HWND b;
    std::vector<const char*> wrong;
};

DWORD WINAPI SendingWorker(LPVOID param)
{
    auto* s = static_cast<Sends*>(param);
    auto check = [s](const char* name, bool ok) {
        if (!ok)
            s->wrong.push_back(name);
    };
    ::SetWindowPos(s->b, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT r{};
    ::GetClientRect(s->b, &r);
    check("SetWindowPos", r.right == 80 && r.bottom == 40);
    ::MoveWindow(s->b, 3, 4, 50, 22, TRUE);
    ::GetClientRect(s->b, &r);
    check("MoveWindow", r.right == 50 && r.bottom == 22);
    ::ShowWindow(s->b, SW_HIDE);
    check("ShowWindow hide", !::IsWindowVisible(s->b) && !(::GetWindowLong(s->b, GWL_STYLE) & WS_VISIBLE));
    ::ShowWindow(s->b, SW_SHOW);
    check("ShowWindow show", ::IsWindowVisible(s->b) == TRUE);
    ::EnableWindow(s->b, FALSE);
    check("EnableWindow", !::IsWindowEnabled(s->b));
    ::EnableWindow(s->b, TRUE);
    ::SetWindowText(s->b, "Search");
    char text[32] = {};
    ::GetWindowText(s->b, text, sizeof text);
    check("SetWindowText, GetWindowText", strcmp(text, "Search") == 0 && ::GetWindowTextLength(s->b) == 6);
    check("SendMessage", ::SendMessage(s->p, UM_PING, 0, 0) == 0);
    check("UpdateWindow", ::UpdateWindow(s->p) == TRUE);
    check("RedrawWindow now", ::RedrawWindow(s->p, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW) == TRUE);
    ::SetWindowLong(s->b, GWL_STYLE, ::GetWindowLong(s->b, GWL_STYLE) | WS_DISABLED);
    check("SetWindowLong style", !::IsWindowEnabled(s->b));
    ::ShowWindow(s->p, SW_SHOWMINIMIZED);
    check("IsIconic", ::IsIconic(s->p) == TRUE);
    ::ShowWindow(s->p, SW_RESTORE);
    return 0;
}

TEST(WorkerCalls, SendingCallsRunOnTheGuiThreadWhileItWaitsOnAKernelObject)
{
    Fixture f;
    Sends s{f.p, f.b, {}};
    HANDLE worker = CreateThread(nullptr, 0, &SendingWorker, &s, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    ASSERT_EQ(WaitForSingleObject(worker, 10000), WAIT_OBJECT_0);
    CloseHandle(worker);
    for (const char* name : s.wrong)
        ADD_FAILURE() << name;
    EXPECT_EQ(f.popup.pings, 1);
    EXPECT_FALSE(f.button.IsWindowEnabled());
    EXPECT_FALSE(f.popup.IsIconic());
}

TEST(WorkerCalls, MovesMadeOnTheGuiThreadReachTheWorkersAnswers)
{
    Fixture f;
    f.popup.SetWindowPos(nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    f.button.ShowWindow(SW_HIDE);
    POINT origin{0, 0};
    ::ClientToScreen(f.b, &origin);
    POINT seen{0, 0};
    BOOL visible = TRUE;
    std::thread([&] {
        ::ClientToScreen(f.b, &seen);
        visible = ::IsWindowVisible(f.b);
    }).join();
    EXPECT_EQ(seen.x, origin.x);
    EXPECT_EQ(seen.y, origin.y);
    EXPECT_FALSE(visible);
}

TEST(WorkerCalls, UserDataKeepsAWholePointer)
{
    Fixture f;
    const auto far = static_cast<LONG_PTR>(0x7ABC12345678LL);  // above 4 GiB
    EXPECT_EQ(::SetWindowLongPtr(f.p, GWLP_USERDATA, far), 0);
    EXPECT_EQ(::GetWindowLongPtr(f.p, GWLP_USERDATA), far);
    LONG_PTR seen = 0;
    std::thread([&] { seen = ::GetWindowLongPtr(f.p, GWLP_USERDATA); }).join();
    EXPECT_EQ(seen, far);
}

// Calls only the GUI thread may make.
#if VX_GUI_THREAD_ASSERTS

TEST(WorkerCallsDeathTest, GuiOnlyCallsStopTheProgramElsewhere)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Fixture f;
    EXPECT_DEATH(std::thread([] {
                     CWnd w;
                     w.CreateEx(0, "VxWorkerWnd", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
                 }).join(),
                 "off the GUI thread");
    EXPECT_DEATH(std::thread([&] { ::DestroyWindow(f.p); }).join(), "off the GUI thread");
    EXPECT_DEATH(
        {
            auto* w = new CountingWnd;
            w->CreatePopup();
            std::thread([w] { delete w; }).join();
        },
        "off the GUI thread");
}

#else

TEST(WorkerCalls, GuiOnlyCallsFailElsewhere)
{
    Fixture f;
    BOOL created = TRUE;
    BOOL destroyed = TRUE;
    std::thread([&] {
        CWnd w;
        created = w.CreateEx(0, "VxWorkerWnd", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
        destroyed = ::DestroyWindow(f.p);
    }).join();
    EXPECT_FALSE(created);
    EXPECT_FALSE(destroyed);
    EXPECT_TRUE(::IsWindow(f.p));
}

TEST(WorkerCalls, AWindowObjectDeletedElsewhereLeavesNoDanglingRecord)
{
    auto* w = new CountingWnd;
    ASSERT_TRUE(w->CreatePopup());
    HWND h = w->GetSafeHwnd();
    std::thread([w] { delete w; }).join();
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    // The GUI thread destroys the orphaned window when it runs.
    EXPECT_TRUE(WaitFor([h] { return !::IsWindow(h); }));
}

#endif

}  // namespace

VX_UI_TEST_MAIN()
