// Messages, message maps and timers of the windowing layer.
#include "ui_test_env.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr UINT UM_RECORD = WM_USER + 1;
constexpr UINT UM_BASE_ONLY = WM_USER + 2;

UINT g_registered = RegisterWindowMessage("vx-test-registered");

// A window that records what reaches it, and on which thread.
class RecordingWnd : public CWnd {
public:
    BOOL CreatePopup() { return CreateEx(0, "VxTestWnd", "rec", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr); }

    std::mutex mutex;
    std::vector<LPARAM> values;
    std::vector<std::thread::id> threads;
    std::vector<UINT_PTR> timers;
    int registered = 0;
    int baseOnly = 0;

protected:
    LRESULT OnRecord(WPARAM wParam, LPARAM lParam)
    {
        std::lock_guard lock(mutex);
        values.push_back(lParam);
        threads.push_back(std::this_thread::get_id());
        return lParam * 2 + static_cast<LRESULT>(wParam);
    }
    LRESULT OnBaseOnly(WPARAM, LPARAM)
    {
        ++baseOnly;
        return 7;
    }
    LRESULT OnRegistered(WPARAM, LPARAM)
    {
        ++registered;
        return 1;
    }
    void OnTimer(UINT_PTR id)
    {
        std::lock_guard lock(mutex);
        timers.push_back(id);
        threads.push_back(std::this_thread::get_id());
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
ON_MESSAGE(UM_RECORD, OnRecord)
ON_MESSAGE(UM_BASE_ONLY, OnBaseOnly)
ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
ON_WM_TIMER()
END_MESSAGE_MAP()

// Overrides one entry; the others must still be found in the base's map.
class DerivedWnd : public RecordingWnd {
public:
    int derived = 0;

protected:
    LRESULT OnRecordDerived(WPARAM, LPARAM)
    {
        ++derived;
        return -1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, RecordingWnd)
ON_MESSAGE(UM_RECORD, OnRecordDerived)
END_MESSAGE_MAP()

size_t Count(RecordingWnd& w)
{
    std::lock_guard lock(w.mutex);
    return w.values.size();
}

TEST(MessageMap, DerivedEntryWinsAndBaseEntriesAreFound)
{
    DerivedWnd w;
    ASSERT_TRUE(w.CreatePopup());
    EXPECT_EQ(w.SendMessage(UM_RECORD, 0, 5), -1);
    EXPECT_EQ(w.derived, 1);
    EXPECT_EQ(w.SendMessage(UM_BASE_ONLY), 7);
    EXPECT_EQ(w.baseOnly, 1);
    EXPECT_TRUE(Count(w) == 0);
    // A message nobody maps goes to the default procedure.
    EXPECT_EQ(w.SendMessage(WM_USER + 99), 0);
}

TEST(Messages, RegisteredNamesGiveOneIdFromBothPlaces)
{
    UINT a = RegisterWindowMessage("vx-test-registered");
    UINT b = RegisterWindowMessage("VX-Test-Registered");
    UINT other = RegisterWindowMessage("vx-test-other");
    EXPECT_EQ(a, g_registered);
    EXPECT_EQ(a, b);
    EXPECT_GE(a, 0xC000u);
    EXPECT_NE(a, other);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);

    RecordingWnd w;
    ASSERT_TRUE(w.CreatePopup());
    EXPECT_TRUE(w.PostMessage(b));
    ASSERT_TRUE(WaitFor([&] { return w.registered == 1; }));
}

TEST(Messages, PostedFromWorkersArriveOnTheGuiThreadInOrder)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreatePopup());
    HWND h = w.GetSafeHwnd();
    constexpr int kPerThread = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([h, t] {
            for (int i = 0; i < kPerThread; ++i)
                ::PostMessage(h, UM_RECORD, 0, t * 1000 + i);
        });
    }
    for (auto& th : workers)
        th.join();
    ASSERT_TRUE(WaitFor([&] { return Count(w) == 4 * kPerThread; }));
    std::lock_guard lock(w.mutex);
    int next[4] = {0, 0, 0, 0};
    for (LPARAM v : w.values) {
        int t = static_cast<int>(v / 1000);
        EXPECT_EQ(v % 1000, next[t]) << "messages of one thread out of order";
        next[t] = static_cast<int>(v % 1000) + 1;
    }
    for (auto id : w.threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(Messages, SendFromWorkerWaitsForTheGuiThread)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreatePopup());
    HWND h = w.GetSafeHwnd();
    std::atomic<LRESULT> result{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = ::SendMessage(h, UM_RECORD, 1, 20);
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result.load(), 41);
    ASSERT_EQ(Count(w), 1u);
    EXPECT_EQ(w.threads[0], std::this_thread::get_id());
    // On the GUI thread the call is direct.
    EXPECT_EQ(w.SendMessage(UM_RECORD, 0, 1), 2);
}

DWORD WINAPI SendingWorker(LPVOID param)
{
    auto* h = static_cast<HWND*>(param);
    return static_cast<DWORD>(::SendMessage(*h, UM_RECORD, 0, 21));
}

TEST(Messages, WorkerSendingWhileTheGuiThreadJoinsItDoesNotDeadlock)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreatePopup());
    HWND h = w.GetSafeHwnd();
    HANDLE worker = CreateThread(nullptr, 0, &SendingWorker, &h, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    // The wait handles the worker's SendMessage while it waits.
    ASSERT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(worker, &code);
    CloseHandle(worker);
    EXPECT_EQ(code, 42u);
    ASSERT_EQ(Count(w), 1u);
    EXPECT_EQ(w.threads[0], std::this_thread::get_id());
}

struct WorkerCalls {
    HWND popup;
    HWND button;
    BOOL disabledSeen = TRUE;
    BOOL visibleSeen = FALSE;
    RECT client{};
    HWND found = nullptr;
};

DWORD WINAPI CallingWorker(LPVOID param)
{
    auto* c = static_cast<WorkerCalls*>(param);
    ::ShowWindow(c->popup, SW_SHOW);
    c->visibleSeen = ::IsWindowVisible(c->popup);
    ::EnableWindow(c->button, FALSE);
    c->disabledSeen = ::IsWindowEnabled(c->button);
    ::GetClientRect(c->popup, &c->client);
    c->found = ::GetDlgItem(c->popup, 7);
    ::SetWindowText(c->button, "Search");
    return 0;
}

TEST(Messages, WindowCallsFromAWorkerActOnTheGuiThread)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreatePopup());
    CButton button;
    ASSERT_TRUE(button.Create("Scan", WS_VISIBLE, CRect(0, 0, 50, 20), &w, 7));
    WorkerCalls calls{w.GetSafeHwnd(), button.GetSafeHwnd()};
    HANDLE worker = CreateThread(nullptr, 0, &CallingWorker, &calls, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    // The GUI thread joins the worker and handles its calls meanwhile.
    ASSERT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    CloseHandle(worker);
    EXPECT_TRUE(calls.visibleSeen);
    EXPECT_FALSE(calls.disabledSeen);
    EXPECT_FALSE(button.IsWindowEnabled());
    EXPECT_EQ(calls.client.right, 100);
    EXPECT_EQ(calls.found, button.GetSafeHwnd());
    CString text;
    button.GetWindowText(text);
    EXPECT_STREQ(text.GetString(), "Search");
}

TEST(Messages, DeadWindowsDropMessagesAndFailCalls)
{
    auto w = std::make_unique<RecordingWnd>();
    ASSERT_TRUE(w->CreatePopup());
    HWND h = w->GetSafeHwnd();
    // Queued before the window dies: dropped when its turn comes.
    ASSERT_TRUE(::PostMessage(h, UM_RECORD, 0, 1));
    ASSERT_TRUE(w->DestroyWindow());
    EXPECT_EQ(w->GetSafeHwnd(), nullptr);
    w.reset();
    vxw::PumpMessages();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_FALSE(::PostMessage(h, UM_RECORD, 0, 2));
    EXPECT_EQ(::SendMessage(h, UM_RECORD, 0, 3), 0);
    EXPECT_FALSE(::ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(::SetWindowText(h, "x"));
    EXPECT_EQ(CWnd::FromHandle(h), nullptr);
    EXPECT_FALSE(::DestroyWindow(h));
    // A worker sending to it returns at once too.
    std::thread([h] { EXPECT_EQ(::SendMessage(h, UM_RECORD, 0, 4), 0); }).join();
}

TEST(Messages, ObjectDeletedWithOpenWindowTakesTheWindowAlong)
{
    HWND h = nullptr;
    {
        RecordingWnd w;
        ASSERT_TRUE(w.CreatePopup());
        h = w.GetSafeHwnd();
        ::PostMessage(h, UM_RECORD, 0, 1);
    }
    EXPECT_FALSE(::IsWindow(h));
    vxw::PumpMessages();
}

TEST(Timers, PeriodReplacementAndKillFromAnotherThread)
{
    RecordingWnd w;
    ASSERT_TRUE(w.CreatePopup());
    auto ticks = [&](UINT_PTR id) {
        std::lock_guard lock(w.mutex);
        return std::count(w.timers.begin(), w.timers.end(), id);
    };
    EXPECT_EQ(w.SetTimer(1, 20), 1u);
    ASSERT_TRUE(WaitFor([&] { return ticks(1) >= 3; }));

    // Setting the same id again replaces the timer: a long period now.
    w.SetTimer(1, 60000);
    vxw::PumpMessages();
    auto before = ticks(1);
    WaitFor([] { return false; }, 150);
    EXPECT_EQ(ticks(1), before);

    // Set from a worker: fires on the GUI thread. Killed from a worker:
    // no tick after KillTimer returned.
    HWND h = w.GetSafeHwnd();
    std::thread([h] { ::SetTimer(h, 2, 10, nullptr); }).join();
    ASSERT_TRUE(WaitFor([&] { return ticks(2) >= 2; }));
    std::thread([h] { EXPECT_TRUE(::KillTimer(h, 2)); }).join();
    auto killedAt = ticks(2);
    WaitFor([] { return false; }, 150);
    EXPECT_EQ(ticks(2), killedAt);
    EXPECT_FALSE(w.KillTimer(2));
    std::lock_guard lock(w.mutex);
    for (auto id : w.threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(Timers, DestroyingTheWindowEndsItsTimers)
{
    auto w = std::make_unique<RecordingWnd>();
    ASSERT_TRUE(w->CreatePopup());
    HWND h = w->GetSafeHwnd();
    w->SetTimer(5, 5);
    w->DestroyWindow();
    EXPECT_FALSE(::KillTimer(h, 5));
    EXPECT_EQ(::SetTimer(h, 6, 5, nullptr), 0u);
    WaitFor([] { return false; }, 50);
}

}  // namespace

VX_UI_TEST_MAIN()
