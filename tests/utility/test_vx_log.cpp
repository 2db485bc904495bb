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
        {6, 0, nullptr},       {6, -1, nullptr},  {6, 7, nullptr},    {9, 7, nullptr},
        {4, 5, nullptr},       {4, 6, nullptr},   {4, 1, "FATAL:"},   {4, 2, "ERROR:"},
        {4, 3, "WARN:"},       {4, 4, "INFO:"},   {6, 5, "DEBUG:"},   {6, 6, "TRACE:"},
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
