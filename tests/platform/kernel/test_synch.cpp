#include "platform/kernel/critical_section.h"
#include "platform/kernel/gui_wait.h"
#include "platform/kernel/ktime.h"
#include "platform/kernel/synch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Closes a handle at the end of a test, also when an assertion fails.
struct Handle {
    HANDLE h;
    explicit Handle(HANDLE v) : h(v) {}
    ~Handle()
    {
        if (h)
            CloseHandle(h);
    }
    operator HANDLE() const { return h; }
};

DWORD WINAPI ReturnSeven(LPVOID flag)
{
    static_cast<std::atomic<bool>*>(flag)->store(true);
    return 7;
}

TEST(Synch, EventResetModes)
{
    struct Case {
        BOOL manual;
        BOOL initial;
        DWORD first, second;  // results of two waits of 0 ms in a row
    };
    const Case cases[] = {
        {TRUE, TRUE, WAIT_OBJECT_0, WAIT_OBJECT_0},
        {FALSE, TRUE, WAIT_OBJECT_0, WAIT_TIMEOUT},
        {TRUE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
        {FALSE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "manual " << c.manual << " initial " << c.initial);
        Handle e(CreateEvent(nullptr, c.manual, c.initial, nullptr));
        ASSERT_TRUE(e.h);
        EXPECT_EQ(c.first, WaitForSingleObject(e, 0));
        EXPECT_EQ(c.second, WaitForSingleObject(e, 0));
        ASSERT_TRUE(SetEvent(e));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(e, 0));
        EXPECT_EQ(c.manual ? WAIT_OBJECT_0 : WAIT_TIMEOUT, WaitForSingleObject(e, 0));
        ASSERT_TRUE(ResetEvent(e));
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(e, 0));
    }
}

TEST(Synch, TimedWaitLastsAtLeastItsTimeOut)
{
    Handle e(CreateEvent(nullptr, TRUE, FALSE, nullptr));
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(e, 50));
    EXPECT_GE(GetTickCount64() - start, 50u);
}

TEST(Synch, SetEventWakesWaiterOnAnotherThread)
{
    Handle e(CreateEvent(nullptr, FALSE, FALSE, nullptr));
    std::thread setter([&] {
        Sleep(20);
        SetEvent(e);
    });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(e, 10000));
    setter.join();
}

TEST(Synch, AutoResetEventReleasesOneWaiterPerSet)
{
    Handle e(CreateEvent(nullptr, FALSE, FALSE, nullptr));
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i)
        waiters.emplace_back([&] {
            if (WaitForSingleObject(e, 5000) == WAIT_OBJECT_0)
                ++woken;
        });
    for (int i = 0; i < 4; ++i) {
        SetEvent(e);
        // Wait until the set has been taken before the next one.
        for (int spin = 0; spin < 1000 && woken.load() <= i; ++spin)
            Sleep(5);
        EXPECT_EQ(i + 1, woken.load());
    }
    for (auto& t : waiters)
        t.join();
}

TEST(Synch, WaitForAnyGivesTheLowestSignalledIndex)
{
    Handle a(CreateEvent(nullptr, TRUE, FALSE, nullptr));
    Handle b(CreateEvent(nullptr, TRUE, TRUE, nullptr));
    Handle c(CreateEvent(nullptr, TRUE, TRUE, nullptr));
    HANDLE hs[] = {a, b, c};
    EXPECT_EQ(WAIT_OBJECT_0 + 1, WaitForMultipleObjects(3, hs, FALSE, 0));
    ResetEvent(b);
    EXPECT_EQ(WAIT_OBJECT_0 + 2, WaitForMultipleObjects(3, hs, FALSE, 0));
    ResetEvent(c);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForMultipleObjects(3, hs, FALSE, 20));
}

TEST(Synch, WaitForAllTakesNothingUntilEverythingIsReady)
{
    Handle autoEvent(CreateEvent(nullptr, FALSE, TRUE, nullptr));
    Handle manual(CreateEvent(nullptr, TRUE, FALSE, nullptr));
    HANDLE hs[] = {autoEvent, manual};
    EXPECT_EQ(WAIT_TIMEOUT, WaitForMultipleObjects(2, hs, TRUE, 20));
    // The auto-reset event was not consumed by the failed wait.
    std::thread setter([&] {
        Sleep(20);
        SetEvent(manual);
    });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, hs, TRUE, 10000));
    setter.join();
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(autoEvent, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(manual, 0));
}

// Auto-reset events as tokens: threads take two of three at once, in
// different orders, and give them back. A wait for all that took one token
// without the other, or two waits locking in opposite orders, would hang.
TEST(Synch, OverlappingWaitsForAllNeitherDeadlockNorLoseTokens)
{
    HANDLE e[3];
    for (HANDLE& h : e)
        h = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            HANDLE pair[2] = {e[t % 3], e[(t + 1 + t / 3) % 3]};
            if (pair[0] == pair[1])
                pair[1] = e[(t + 2) % 3];
            for (int i = 0; i < 300; ++i) {
                if (WaitForMultipleObjects(2, pair, TRUE, 10000) != WAIT_OBJECT_0) {
                    ++failures;
                    return;
                }
                SetEvent(pair[1]);
                SetEvent(pair[0]);
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(0, failures.load());
    // Every token is back.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(3, e, TRUE, 0));
    for (HANDLE h : e)
        CloseHandle(h);
}

TEST(Synch, BadWaitsFail)
{
    Handle e(CreateEvent(nullptr, TRUE, TRUE, nullptr));
    HANDLE closed = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(closed));
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());

    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(closed, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(nullptr, 0));
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(INVALID_HANDLE_VALUE, 0));

    std::vector<HANDLE> many(MAXIMUM_WAIT_OBJECTS + 1, e.h);
    EXPECT_EQ(WAIT_FAILED, WaitForMultipleObjects(0, many.data(), FALSE, 0));
    EXPECT_EQ(WAIT_FAILED, WaitForMultipleObjects(DWORD(many.size()), many.data(), FALSE, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, many.data(), FALSE, 0));
    // The same object twice in a wait for all is refused.
    EXPECT_EQ(WAIT_FAILED, WaitForMultipleObjects(2, many.data(), TRUE, 0));
}

TEST(Synch, SuspendedThreadRunsOnlyAfterResume)
{
    std::atomic<bool> ran{false};
    DWORD tid = 0;
    Handle t(CreateThread(nullptr, 0, ReturnSeven, &ran, CREATE_SUSPENDED, &tid));
    ASSERT_TRUE(t.h);
    EXPECT_NE(0u, tid);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(t, 50));
    EXPECT_FALSE(ran.load());
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(STILL_ACTIVE, code);

    EXPECT_EQ(1u, ResumeThread(t));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t, 10000));
    EXPECT_TRUE(ran.load());
    ASSERT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(7u, code);
    // Still valid and signalled after the end, until closed.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t, 0));
    EXPECT_EQ(0u, ResumeThread(t));
}

DWORD WINAPI StoreOwnId(LPVOID p)
{
    static_cast<std::atomic<DWORD>*>(p)->store(GetCurrentThreadId());
    return 0;
}

TEST(Synch, ThreadIdIsTheThreadsOwnAndAResumeBeforeItRunsIsKept)
{
    // The id handed back is the one the thread sees as its own.
    std::atomic<DWORD> seen{0};
    DWORD tid = 0;
    Handle t(CreateThread(nullptr, 0, StoreOwnId, &seen, 0, &tid));
    ASSERT_TRUE(t.h);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t, 10000));
    EXPECT_EQ(tid, seen.load());
    // Without the id the creator does not wait for the thread to run: a
    // resume that comes before it does still lets it go, every time.
    for (int i = 0; i < 50; ++i) {
        std::atomic<bool> ran{false};
        Handle s(CreateThread(nullptr, 0, ReturnSeven, &ran, CREATE_SUSPENDED, nullptr));
        ASSERT_TRUE(s.h);
        EXPECT_EQ(1u, ResumeThread(s));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(s, 10000));
        EXPECT_TRUE(ran.load());
    }
}

unsigned __stdcall ExitThroughExitThread(void* arg)
{
    struct Flag {
        std::atomic<bool>* f;
        ~Flag() { f->store(true); }
    } unwound{static_cast<std::atomic<bool>*>(arg)};
    ExitThread(42);
}

TEST(Synch, BeginThreadExAndExitThread)
{
    std::atomic<bool> unwound{false};
    unsigned tid = 0;
    Handle t(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ExitThroughExitThread, &unwound, 0, &tid)));
    ASSERT_TRUE(t.h);
    EXPECT_NE(0u, tid);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t, 10000));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(42u, code);
    EXPECT_TRUE(unwound.load());  // destructors ran on the way out
}

TEST(Synch, ClosingAThreadHandleEarlyIsHarmless)
{
    std::atomic<bool> ran{false};
    HANDLE t = CreateThread(nullptr, 0, ReturnSeven, &ran, 0, nullptr);
    ASSERT_TRUE(t);
    EXPECT_TRUE(CloseHandle(t));
    for (int i = 0; i < 2000 && !ran.load(); ++i)
        Sleep(5);
    EXPECT_TRUE(ran.load());
}

TEST(Synch, MutexIsRecursiveAndOwnedByItsThread)
{
    Handle m(CreateMutex(nullptr, FALSE, nullptr));
    ASSERT_TRUE(m.h);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0));

    auto otherThreadGets = [&] {
        DWORD r = 0;
        std::thread other([&] {
            r = WaitForSingleObject(m, 0);
            if (r == WAIT_OBJECT_0)
                ReleaseMutex(m);
        });
        other.join();
        return r == WAIT_OBJECT_0;
    };
    EXPECT_FALSE(otherThreadGets());
    std::thread stranger([&] {
        EXPECT_FALSE(ReleaseMutex(m));
        EXPECT_EQ(DWORD(ERROR_NOT_OWNER), GetLastError());
    });
    stranger.join();
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(otherThreadGets());  // one level still held
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_TRUE(otherThreadGets());
    EXPECT_FALSE(ReleaseMutex(m));
}

TEST(Synch, MutexOfAnEndedThreadIsAbandonedOnce)
{
    Handle m(CreateMutex(nullptr, FALSE, nullptr));
    std::thread owner([&] { EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0)); });
    owner.join();
    HANDLE hs[] = {m};
    EXPECT_EQ(WAIT_ABANDONED_0, WaitForMultipleObjects(1, hs, FALSE, 5000));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0));
    EXPECT_TRUE(ReleaseMutex(m));
}

DWORD WINAPI TakeMutexAndEnd(LPVOID m)
{
    return WaitForSingleObject(static_cast<HANDLE>(m), 0);
}

TEST(Synch, ThreadHandleSignalsOnlyAfterItsMutexesAreAbandoned)
{
    Handle m(CreateMutex(nullptr, FALSE, nullptr));
    Handle t(CreateThread(nullptr, 0, TakeMutexAndEnd, m.h, 0, nullptr));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(t, 10000));
    EXPECT_EQ(WAIT_ABANDONED, WaitForSingleObject(m, 0));
    ReleaseMutex(m);
}

TEST(Synch, NamedMutexInOneProcess)
{
    SetLastError(1234);
    Handle first(CreateMutex(nullptr, TRUE, "vx-test-synch-in-process"));
    ASSERT_TRUE(first.h);
    EXPECT_EQ(DWORD(ERROR_SUCCESS), GetLastError());
    DWORD err = 0, r = 0;
    std::thread other([&] {
        HANDLE second = CreateMutex(nullptr, TRUE, "vx-test-synch-in-process");
        err = GetLastError();
        r = WaitForSingleObject(second, 0);  // the same mutex, owned by the first thread
        EXPECT_FALSE(ReleaseMutex(second));
        CloseHandle(second);
    });
    other.join();
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), err);
    EXPECT_EQ(WAIT_TIMEOUT, r);
    EXPECT_TRUE(ReleaseMutex(first));
}

TEST(Synch, CriticalSectionIsRecursive)
{
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    BOOL otherGot = TRUE;
    std::thread other([&] {
        otherGot = TryEnterCriticalSection(&cs);
        if (otherGot)
            LeaveCriticalSection(&cs);
    });
    other.join();
    EXPECT_FALSE(otherGot);
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    std::thread again([&] {
        otherGot = TryEnterCriticalSection(&cs);
        if (otherGot)
            LeaveCriticalSection(&cs);
    });
    again.join();
    EXPECT_TRUE(otherGot);
    DeleteCriticalSection(&cs);
}

// A stand-in for the windowing layer: a "GUI thread" with a queue of sent
// calls, and SendMessage that queues a call, wakes the GUI thread's wait and
// blocks until the call has run.
class FakeGui {
public:
    static FakeGui* current;

    FakeGui()
    {
        current = this;
        static const vxk::GuiWaitHooks hooks{
            [] { return current && std::this_thread::get_id() == current->m_guiThread; }, [] { current->dispatch(); }};
        vxk::SetGuiWaitHooks(&hooks);
    }
    ~FakeGui()
    {
        vxk::SetGuiWaitHooks(nullptr);
        current = nullptr;
    }

    void becomeGuiThread() { m_guiThread = std::this_thread::get_id(); }

    void send(std::function<void()> call)
    {
        std::atomic<bool> done{false};
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_queue.push_back([&] {
                call();
                done = true;
            });
        }
        vxk::WakeGuiWait();
        while (!done.load())
            Sleep(1);
    }

    std::atomic<int> dispatched{0};

private:
    void dispatch()
    {
        for (;;) {
            std::function<void()> call;
            {
                std::lock_guard<std::mutex> g(m_lock);
                if (m_queue.empty())
                    return;
                call = std::move(m_queue.front());
                m_queue.pop_front();
            }
            call();
            ++dispatched;
        }
    }

    std::thread::id m_guiThread;
    std::mutex m_lock;
    std::deque<std::function<void()>> m_queue;
};
FakeGui* FakeGui::current = nullptr;

DWORD WINAPI SendTwiceToGui(LPVOID arg)
{
    auto* gui = static_cast<FakeGui*>(arg);
    int value = 0;
    gui->send([&] { value = 1; });
    gui->send([&] { value += 1; });
    return DWORD(value);
}

TEST(Synch, GuiThreadJoiningAWorkerInsideSendDoesNotDeadlock)
{
    FakeGui gui;
    gui.becomeGuiThread();
    Handle worker(CreateThread(nullptr, 0, SendTwiceToGui, &gui, 0, nullptr));
    // Generous bound: a deadlock shows as a time-out, not a hung test.
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker, 20000));
    DWORD code = 0;
    GetExitCodeThread(worker, &code);
    EXPECT_EQ(2u, code);
    EXPECT_EQ(2, gui.dispatched.load());
}

TEST(Synch, GuiWaitForMultipleAlsoDispatchesAndOtherThreadsDoNot)
{
    FakeGui gui;
    gui.becomeGuiThread();
    Handle never(CreateEvent(nullptr, TRUE, FALSE, nullptr));
    Handle worker(CreateThread(nullptr, 0, SendTwiceToGui, &gui, 0, nullptr));
    HANDLE hs[] = {never, worker};
    EXPECT_EQ(WAIT_OBJECT_0 + 1, WaitForMultipleObjects(2, hs, FALSE, 20000));

    // A wait on a thread that is not the GUI thread never dispatches.
    std::thread notGui([&] { EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(never, 10)); });
    notGui.join();
    EXPECT_EQ(2, gui.dispatched.load());
}

}  // namespace

namespace {

TEST(Synch, ThreadIdIsFreshInAForkedChild)
{
    DWORD parent = GetCurrentThreadId();
    EXPECT_NE(0u, parent);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
        _exit(GetCurrentThreadId() == DWORD(getpid()) && GetCurrentThreadId() != parent ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
