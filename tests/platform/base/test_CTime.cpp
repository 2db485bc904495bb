#include "platform/base/CTime.h"

#include "support/TimeZoneGuard.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct UtcTime : ::testing::Test {
    vxtest::TimeZoneGuard zone{"UTC0"};
};
}  // namespace

TEST_F(UtcTime, PartsFormatAndSpans)
{
    CTime t(2024, 1, 5, 8, 30, 15);
    EXPECT_EQ(t.GetTime(), 1704443415);
    EXPECT_EQ(t.GetYear(), 2024);
    EXPECT_EQ(t.GetMonth(), 1);
    EXPECT_EQ(t.GetDay(), 5);
    EXPECT_EQ(t.GetHour(), 8);
    EXPECT_EQ(t.GetMinute(), 30);
    EXPECT_EQ(t.GetSecond(), 15);
    EXPECT_EQ(t.GetDayOfWeek(), 6);  // Friday, Sunday is 1
    EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-01-05 08:30:15");
    EXPECT_STREQ(t.FormatGmt("%H:%M"), "08:30");

    CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalHours(), 26);
    EXPECT_STREQ(span.Format("%D:%H:%M:%S"), "1:02:03:04");
    CTime later = t + span;
    EXPECT_STREQ(later.Format("%Y-%m-%d %H:%M:%S"), "2024-01-06 10:33:19");
    EXPECT_TRUE(later - t == span);
    EXPECT_TRUE(later > t && t < later && t != later);
    later -= span;
    EXPECT_TRUE(later == t);

    SYSTEMTIME st{};
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(st.wDayOfWeek, 5);
    EXPECT_TRUE(CTime(st) == t);

    // Parts that name no day are refused, not carried into the next month.
    CTime bad(2024, 4, 31, 0, 0, 0);
    EXPECT_EQ(bad.GetTime(), -1);
    EXPECT_EQ(bad.GetYear(), -1);
    EXPECT_STREQ(bad.Format("%Y"), "");

    const time_t now = std::time(nullptr);
    EXPECT_LE(CTime::GetCurrentTime().GetTime() - now, 5);
}
