#include "utility/vx_event.h"
#include "utility/vx_log.h"
#include "utility/vx_mutex.h"
#include "utility/vx_result.h"
#include "utility/vx_thread.h"
#include "utility/vx_time.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::mutex g_linesLock;
std::vector<std::string> g_lines;
void captureSink(int, const char* line, int length)
{
    std::lock_guard<std::mutex> guard(g_linesLock);
    g_lines.emplace_back(line, static_cast<size_t>(length));
}
bool logged(const std::string& text)
{
    std::lock_guard<std::mutex> guard(g_linesLock);
    for (auto& l : g_lines)
        if (l.find(text) != std::string::npos)
            return true;
    return false;
}

std::atomic<int> g_ran{0};
unsigned returnSeven(void*)
{
    g_ran = 1;
    return 7;
}

}  // namespace

TEST(VxThread, SuspendedThreadRunsOnlyAfterResume)
{
    vx_log_set_log_func(captureSink);
    g_ran = 0;
    vx_thread* t = nullptr;
    ASSERT_EQ(vx_thread_create("worker", returnSeven, nullptr, VX_THREAD_SUSPENDED, &t), 0);
    vx_thread_sleep(50);
    EXPECT_EQ(g_ran.load(), 0);
    EXPECT_EQ(vx_thread_resume(t), 0);
    EXPECT_EQ(vx_thread_join(t), 0);
    EXPECT_EQ(g_ran.load(), 1);
    EXPECT_TRUE(logged("Thread created worker"));
    EXPECT_TRUE(logged("Thread started worker"));
    EXPECT_TRUE(logged("Thread quitting worker, result 7"));
    EXPECT_TRUE(logged("Joining thread worker"));
    EXPECT_EQ(vx_thread_join(t), 0);  // joining an ended thread returns at once
    EXPECT_EQ(vx_thread_destroy(t), 0);
    vx_log_set_log_func(vx_log_default_sink);
}

TEST(VxThread, Names)
{
    vx_thread* t = nullptr;
    ASSERT_EQ(vx_thread_create("cam-%p-%d", returnSeven, nullptr, 0, &t), 0);
    char expected[64];
    snprintf(expected, sizeof expected, "cam-%p-%%d", static_cast<void*>(t));
    EXPECT_EQ(std::string(vx_thread_get_name(t)), std::string(expected).substr(0, 31));
    vx_thread_join(t);
    vx_thread_destroy(t);

    ASSERT_EQ(vx_thread_create(std::string(40, 'n').c_str(), returnSeven, nullptr, 0, &t), 0);
    EXPECT_EQ(std::string(vx_thread_get_name(t)), std::string(31, 'n'));
    vx_thread_destroy(t);  // still running perhaps: it goes on by itself

    ASSERT_EQ(vx_thread_create(nullptr, returnSeven, nullptr, 0, &t), 0);
    EXPECT_EQ(std::string(vx_thread_get_name(t)).rfind("thr", 0), 0u);
    vx_thread_join(t);
    vx_thread_destroy(t);

    EXPECT_STREQ(vx_thread_get_name(nullptr), "");
}

TEST(VxThread, NullRecords)
{
    vx_thread empty{};
    EXPECT_EQ(vx_thread_destroy(nullptr), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_thread_join(nullptr), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_thread_join(&empty), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_thread_resume(&empty), VX_ERR_INVALID_ARG);
    vx_event noEvent{};
    EXPECT_EQ(vx_event_set(&noEvent), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_event_wait(nullptr), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_event_destroy(nullptr), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_event_create(nullptr, 0, 0), VX_ERR_INVALID_ARG);
    vx_mutex noMutex{};
    EXPECT_EQ(vx_mutex_lock(&noMutex), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_mutex_destroy(nullptr), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_mutex_create(nullptr), VX_ERR_INVALID_ARG);
}

TEST(VxEvent, ManualAndAutoReset)
{
    vx_event* manual = nullptr;
    vx_event* automatic = nullptr;
    ASSERT_EQ(vx_event_create(&manual, 1, 0), 0);
    ASSERT_EQ(vx_event_create(&automatic, 0, 1), 0);
    EXPECT_EQ(std::string(manual->name).rfind("evt", 0), 0u);

    EXPECT_EQ(vx_event_trywait(manual), VX_ERR_TIMEOUT);
    vx_event_set(manual);
    EXPECT_EQ(vx_event_trywait(manual), 0);
    EXPECT_EQ(vx_event_trywait(manual), 0);  // stays signalled
    vx_event_reset(manual);
    EXPECT_EQ(vx_event_trywait(manual), VX_ERR_TIMEOUT);

    EXPECT_EQ(vx_event_trywait(automatic), 0);  // initially signalled, consumed
    EXPECT_EQ(vx_event_trywait(automatic), VX_ERR_TIMEOUT);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(vx_event_wait_for(automatic, 10), VX_ERR_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(9));

    std::thread setter([automatic] {
        vx_thread_sleep(20);
        vx_event_set(automatic);
    });
    EXPECT_EQ(vx_event_wait(automatic), 0);
    setter.join();

    EXPECT_EQ(vx_event_destroy(manual), 0);
    EXPECT_EQ(vx_event_destroy(automatic), 0);
}

TEST(VxMutex, RecursiveOwnershipAndTrylock)
{
    vx_mutex* m = nullptr;
    ASSERT_EQ(vx_mutex_create(&m), 0);
    EXPECT_EQ(std::string(m->name).rfind("mtx", 0), 0u);
    ASSERT_EQ(vx_mutex_lock(m), 0);
    EXPECT_EQ(vx_mutex_trylock(m), 0);  // the owner may lock again

    int fromOther = -1;
    int unlockFromOther = -1;
    std::thread other([&] {
        fromOther = vx_mutex_trylock(m);
        unlockFromOther = vx_mutex_unlock(m);
    });
    other.join();
    EXPECT_EQ(fromOther, VX_ERR_TIMEOUT);
    EXPECT_GT(unlockFromOther, VX_ERR_SYSTEM);  // not the owner

    EXPECT_EQ(vx_mutex_destroy(m), VX_ERR_TIMEOUT);  // still held: stays usable
    EXPECT_EQ(vx_mutex_unlock(m), 0);
    EXPECT_EQ(vx_mutex_unlock(m), 0);
    EXPECT_EQ(vx_mutex_destroy(m), 0);
}

TEST(VxTime, ClocksAgreeWithTheSystemClock)
{
    timeval tv{};
    EXPECT_EQ(vx_gettimeofday(&tv, nullptr), 0);
    EXPECT_EQ(tv.tv_usec % 1000, 0);
    int64_t us = vx_gettime();
    int64_t sys =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    EXPECT_LT(std::llabs(sys - us), 2000000);
    EXPECT_LE(static_cast<int64_t>(tv.tv_sec), us / 1000000);
    EXPECT_EQ(vx_gettimeofday(nullptr, nullptr), VX_ERR_INVALID_ARG);

    std::string path = vx_get_current_path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '/');
    EXPECT_EQ(path, std::string(VX_BIN_DIR) + "/");
}
