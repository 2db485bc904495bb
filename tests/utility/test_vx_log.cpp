#include "utility/vx_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_lines;
std::vector<int> g_levels;

void captureSink(int level, const char* line, int length)
{
    g_levels.push_back(level);
    g_lines.emplace_back(line, static_cast<size_t>(length));
}

struct LogCapture : ::testing::Test {
    void SetUp() override
    {
        g_lines.clear();
        g_levels.clear();
        previousLevel = vx_log_get_level();
        vx_log_set_log_func(captureSink);
    }
    void TearDown() override
    {
        vx_log_set_log_func(vx_log_default_sink);
        vx_log_set_level(previousLevel);
    }
    int previousLevel = 6;
};

}  // namespace

TEST_F(LogCapture, LevelFilterAndTags)
{
    struct Case {
        int current, call;
        const char* tag;  // nullptr: no line
    } cases[] = {
        {6, 0, nullptr},  {6, -1, nullptr}, {6, 7, nullptr}, {9, 7, nullptr}, {4, 5, nullptr},  {4, 6, nullptr},
        {4, 1, "FATAL:"}, {4, 2, "ERROR:"}, {4, 3, "WARN:"}, {4, 4, "INFO:"}, {6, 5, "DEBUG:"}, {6, 6, "TRACE:"},
    };
    for (const Case& c : cases) {
        g_lines.clear();
        vx_log_set_level(c.current);
        vx_log(c.call, "hello");
        if (!c.tag) {
            EXPECT_TRUE(g_lines.empty()) << c.current << "/" << c.call;
            continue;
        }
        ASSERT_EQ(g_lines.size(), 1u) << c.current << "/" << c.call;
        EXPECT_EQ(g_lines[0].rfind(c.tag, 0), 0u) << g_lines[0];
        EXPECT_EQ(g_lines[0].substr(g_lines[0].size() - 7), " hello\n");
    }
}

TEST_F(LogCapture, LongMessageIsCutToOneFullLine)
{
    std::string msg(5000, 'x');
    vx_log(4, "%s", msg.c_str());
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_EQ(g_lines[0].size(), 4000u);
    EXPECT_EQ(g_lines[0].back(), '\n');
}

#include "utility/vx_log_p.h"

#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// 1 March 2025 08:15:02.047 local time.
void fixedClock(timespec* now)
{
    tm local{};
    local.tm_year = 125;
    local.tm_mon = 2;
    local.tm_mday = 1;
    local.tm_hour = 8;
    local.tm_min = 15;
    local.tm_sec = 2;
    local.tm_isdst = -1;
    now->tv_sec = mktime(&local);
    now->tv_nsec = 47 * 1000000L + 999999;
}

}  // namespace

TEST_F(LogCapture, LineFormWithFixedClock)
{
    vx_log_set_clock(fixedClock);
    vx_log(4, "Thread created %s", "worker");
    vx_log(4, "%s", "");
    vx_log(4, "ends in newline\n");
    vx_log_set_clock(nullptr);
    ASSERT_EQ(g_lines.size(), 3u);
    EXPECT_EQ(g_lines[0], "INFO:2025-03-01 08:15:02.047 Thread created worker\n");
    EXPECT_EQ(g_lines[1], "INFO:2025-03-01 08:15:02.047 \n");
    EXPECT_EQ(g_lines[2], "INFO:2025-03-01 08:15:02.047 ends in newline\n");
    EXPECT_EQ(g_levels[0], 4);
}

TEST_F(LogCapture, SetLevelIsNotClampedAndNullSinkDropsLines)
{
    EXPECT_EQ(vx_log_set_level(9), 9);
    EXPECT_EQ(vx_log_get_level(), 9);
    EXPECT_EQ(vx_log_set_log_func(nullptr), nullptr);
    EXPECT_EQ(vx_log_get_log_func(), nullptr);
    vx_log(1, "nobody hears this");
    EXPECT_TRUE(g_lines.empty());
}

namespace {
std::mutex g_threadLinesLock;
std::vector<std::string> g_threadLines;
void lockedSink(int, const char* line, int length)
{
    std::lock_guard<std::mutex> guard(g_threadLinesLock);
    g_threadLines.emplace_back(line, static_cast<size_t>(length));
}
}  // namespace

TEST_F(LogCapture, LinesFromManyThreadsArriveWhole)
{
    vx_log_set_log_func(lockedSink);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t] {
            std::string payload(100 + t * 300, static_cast<char>('a' + t));
            for (int i = 0; i < 200; ++i)
                vx_log(6, "%d %s", t, payload.c_str());
        });
    for (auto& th : threads)
        th.join();
    ASSERT_EQ(g_threadLines.size(), 8u * 200u);
    for (const std::string& line : g_threadLines) {
        size_t blank = line.find(' ', line.find('.'));
        int t = line[blank + 1] - '0';
        ASSERT_GE(t, 0);
        ASSERT_LT(t, 8);
        EXPECT_EQ(line.substr(blank + 3), std::string(100 + t * 300, static_cast<char>('a' + t)) + "\n");
    }
}
