#include "platform/kernel/ktime.h"

#include "support/TimeZoneGuard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

TEST(KTime, FileTimeAndSystemTimeRoundTrip)
{
    struct Case {
        SYSTEMTIME st;
        ULONGLONG fileTime;
    };
    const Case cases[] = {
        {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
        {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ULL},
        {{2024, 2, 4, 29, 23, 59, 58, 999}, 133537247989990000ULL},
    };
    for (const Case& c : cases) {
        FILETIME ft{};
        ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft));
        EXPECT_EQ(c.fileTime, (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
        SYSTEMTIME back{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        EXPECT_EQ(0, memcmp(&c.st, &back, sizeof back)) << c.st.wYear;
    }
    const SYSTEMTIME bad[] = {
        {2023, 2, 0, 29, 0, 0, 0, 0},  // not a leap year
        {2023, 13, 0, 1, 0, 0, 0, 0}, {2023, 4, 0, 31, 0, 0, 0, 0},
        {1600, 1, 0, 1, 0, 0, 0, 0},  {2023, 1, 0, 1, 24, 0, 0, 0},
    };
    for (const SYSTEMTIME& st : bad) {
        FILETIME ft{};
        EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wMonth << "/" << st.wDay;
    }
}

TEST(KTime, TickCountIsMonotonicMilliseconds)
{
    ULONGLONG a = GetTickCount64();
    Sleep(30);
    ULONGLONG b = GetTickCount64();
    EXPECT_GE(b - a, 30u);
    EXPECT_LT(b - a, 30000u);
    EXPECT_LE(GetTickCount() - DWORD(a), 30000u);  // the same clock, cut to 32 bits
}

TEST(KTime, LocalAndSystemTimeAgreeWithTheZone)
{
    vxtest::TimeZoneGuard zone("<+0530>-5:30");
    SYSTEMTIME utc{}, local{};
    GetSystemTime(&utc);
    GetLocalTime(&local);
    FILETIME fu{}, fl{}, converted{};
    SystemTimeToFileTime(&utc, &fu);
    SystemTimeToFileTime(&local, &fl);
    ASSERT_TRUE(FileTimeToLocalFileTime(&fu, &converted));
    auto ns = [](const FILETIME& f) { return double(vxk::UnixTicksFromFileTime(f)) * 100; };
    // Taken a moment apart: allow a second.
    EXPECT_NEAR(ns(fl) - ns(fu), 5.5 * 3600e9, 1e9);
    EXPECT_EQ(5.5 * 3600e9, ns(converted) - ns(fu));
    FILETIME backToUtc{};
    ASSERT_TRUE(LocalFileTimeToFileTime(&converted, &backToUtc));
    EXPECT_EQ(ns(fu), ns(backToUtc));
}

TEST(KTime, TimeZoneBiasInMinutes)
{
    struct Case {
        const char* tz;
        LONG bias;
        LONG daylightBias;
        bool hasDaylight;
    };
    const Case cases[] = {
        {"UTC0", 0, 0, false},
        {"<+0530>-5:30", -330, 0, false},
        {"EST5EDT,M3.2.0,M11.1.0", 300, -60, true},
        {"CET-1CEST,M3.5.0,M10.5.0/3", -60, -60, true},
        {"<-03>3", 180, 0, false},
        // Southern hemisphere: daylight time in January.
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600, -60, true},
    };
    vxtest::TimeZoneGuard zone;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tz);
        setenv("TZ", c.tz, 1);
        TIME_ZONE_INFORMATION tzi;
        DWORD r = GetTimeZoneInformation(&tzi);
        EXPECT_EQ(c.bias, tzi.Bias);
        EXPECT_EQ(c.daylightBias, tzi.DaylightBias);
        if (c.hasDaylight)
            EXPECT_TRUE(r == TIME_ZONE_ID_STANDARD || r == TIME_ZONE_ID_DAYLIGHT);
        else
            EXPECT_EQ(TIME_ZONE_ID_UNKNOWN, r);
    }
}

}  // namespace
