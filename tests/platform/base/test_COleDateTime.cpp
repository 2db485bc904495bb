#include "platform/base/COleDateTime.h"

#include "support/TimeZoneGuard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::string Text(const COleDateTime& t)
{
    return t.GetStatus() == COleDateTime::valid ? t.Format("%Y-%m-%d %H:%M:%S").str() : "invalid";
}

// A zone with daylight saving, given as a rule so no zone files are needed.
struct BerlinTime : ::testing::Test {
    vxtest::TimeZoneGuard zone{"CET-1CEST,M3.5.0,M10.5.0/3"};
};

}  // namespace

TEST(COleDateTime, PartsAndValidity)
{
    struct Case {
        int y, mo, d, h, mi, s;
        bool ok;
        int dow, doy;
    } cases[] = {
        {2024, 1, 5, 8, 30, 0, true, 6, 5},                                             // a Friday
        {2024, 2, 29, 23, 59, 59, true, 5, 60},                                         // leap day
        {2023, 2, 29, 0, 0, 0, false, 0, 0},    {1900, 2, 29, 0, 0, 0, false, 0, 0},    // 1900 was no leap year
        {2000, 2, 29, 0, 0, 0, true, 3, 60},                                            // 2000 was
        {2024, 12, 31, 0, 0, 0, true, 3, 366},  {1899, 12, 30, 0, 0, 0, true, 7, 364},  // day zero, a Saturday
        {100, 1, 1, 0, 0, 0, true, 6, 1},       {9999, 12, 31, 23, 59, 59, true, 6, 365},
        {99, 12, 31, 0, 0, 0, false, 0, 0},     {10000, 1, 1, 0, 0, 0, false, 0, 0},
        {2024, 13, 1, 0, 0, 0, false, 0, 0},    {2024, 0, 1, 0, 0, 0, false, 0, 0},
        {2024, 4, 31, 0, 0, 0, false, 0, 0},    {2024, 1, 1, 24, 0, 0, false, 0, 0},
        {2024, 1, 1, 0, 60, 0, false, 0, 0},    {2024, 1, 1, 0, 0, 60, false, 0, 0},
        {2024, 1, 1, -1, 0, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        COleDateTime t;
        // 0 means success, as in the classic class.
        EXPECT_EQ(t.SetDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s), c.ok ? 0 : 1) << c.y << "-" << c.mo << "-" << c.d;
        EXPECT_EQ(t.GetStatus(), c.ok ? COleDateTime::valid : COleDateTime::invalid);
        if (!c.ok) {
            EXPECT_EQ(t.GetYear(), -1);
            EXPECT_EQ(t.GetDayOfWeek(), -1);
            continue;
        }
        EXPECT_EQ(t.GetYear(), c.y);
        EXPECT_EQ(t.GetMonth(), c.mo);
        EXPECT_EQ(t.GetDay(), c.d);
        EXPECT_EQ(t.GetHour(), c.h);
        EXPECT_EQ(t.GetMinute(), c.mi);
        EXPECT_EQ(t.GetSecond(), c.s);
        EXPECT_EQ(t.GetDayOfWeek(), c.dow) << c.y << "-" << c.mo << "-" << c.d;
        EXPECT_EQ(t.GetDayOfYear(), c.doy) << c.y << "-" << c.mo << "-" << c.d;
    }

    COleDateTime t;
    EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(Text(t), "1899-12-30 00:00:00");
    EXPECT_EQ(t.SetDate(2024, 3, 1), 0);
    EXPECT_EQ(Text(t), "2024-03-01 00:00:00");
    EXPECT_EQ(t.SetTime(23, 59, 59), 0);  // a time alone lies on day zero
    EXPECT_EQ(Text(t), "1899-12-30 23:59:59");
}

TEST(COleDateTime, ParseDateTime)
{
    struct Case {
        const char* text;
        DWORD flags;
        const char* expected;
    } cases[] = {
        {"2024-01-05 08:30:00", 0, "2024-01-05 08:30:00"},
        {"  2024-01-05 08:30:00  ", 0, "2024-01-05 08:30:00"},
        {"2024-01-05 8:30", 0, "2024-01-05 08:30:00"},
        {"2024-01-05", 0, "2024-01-05 00:00:00"},
        {"2024/1/5 23:59:59", 0, "2024-01-05 23:59:59"},
        {"2024-01-05T08:30:00", 0, "2024-01-05 08:30:00"},
        {"2024.01.05", 0, "2024-01-05 00:00:00"},
        {"08:30:15", 0, "1899-12-30 08:30:15"},
        {"8:30", 0, "1899-12-30 08:30:00"},
        {"01/05/2024 08:30:00", 0, "2024-01-05 08:30:00"},  // US: month first
        {"1/5/2024 8:30:00 PM", 0, "2024-01-05 20:30:00"},
        {"12/31/2024 12:00:00 AM", 0, "2024-12-31 00:00:00"},
        {"12/31/2024 12:15 pm", 0, "2024-12-31 12:15:00"},
        {"01-05-2024", 0, "2024-01-05 00:00:00"},
        {"05.01.2024", 0, "2024-01-05 00:00:00"},  // dotted: day first
        {"1/5/24", 0, "2024-01-05 00:00:00"},
        {"1/5/95", 0, "1995-01-05 00:00:00"},
        {"Jan 05 2024", 0, "2024-01-05 00:00:00"},
        {"Jan 5, 2024 08:30:00", 0, "2024-01-05 08:30:00"},
        {"05 Jan 2024 08:30:00", 0, "2024-01-05 08:30:00"},
        {"05-JAN-2024 08:30", 0, "2024-01-05 08:30:00"},
        {"January 5, 2024", 0, "2024-01-05 00:00:00"},
        {"Sept 9 2024", 0, "2024-09-09 00:00:00"},
        {"Fri, 05 Jan 2024 08:30:00", 0, "2024-01-05 08:30:00"},
        {"08:30:00 2024-01-05", 0, "2024-01-05 08:30:00"},
        {"2024-01-05 08:30:00.750", 0, "2024-01-05 08:30:00"},  // fraction dropped
        // Flags keep one part.
        {"2024-01-05 08:30:00", VAR_DATEVALUEONLY, "2024-01-05 00:00:00"},
        {"2024-01-05 08:30:00", VAR_TIMEVALUEONLY, "1899-12-30 08:30:00"},
        // Refused.
        {"", 0, "invalid"},
        {"   ", 0, "invalid"},
        {"2024-02-30", 0, "invalid"},
        {"2023-02-29 00:00:00", 0, "invalid"},
        {"2024-01-05 24:00:00", 0, "invalid"},
        {"2024-01-05 08:60", 0, "invalid"},
        {"2024-13-01", 0, "invalid"},
        {"13/01/2024", 0, "invalid"},  // no month 13 in the US order
        {"2024-01-05 08:30:00 GMT", 0, "invalid"},
        {"2024-01-05 08:30:00 08:30:00", 0, "invalid"},
        {"2024-01", 0, "invalid"},
        {"2024", 0, "invalid"},
        {"20240105083000", 0, "invalid"},
        {"2024-01/05", 0, "invalid"},
        {"13:00 PM", 0, "invalid"},
        {"8:30:1", 0, "invalid"},
        {"Foo 05 2024", 0, "invalid"},
        {"Jan Feb 2024", 0, "invalid"},
        {"2024-01-05 08:30:00;", 0, "invalid"},
        {"0099-01-01", 0, "invalid"},
        {"524-01-20", 0, "524-01-20 00:00:00"},
        // A recording's name cut into date form; a short name yields junk.
        {"2024-01-05 12:.m:p4", 0, "invalid"},
        {"\xe4\xb8\xad 2024-01-05", 0, "invalid"},
    };
    for (const auto& c : cases) {
        COleDateTime t(2000, 1, 1, 1, 1, 1);
        bool ok = t.ParseDateTime(c.text, c.flags);
        EXPECT_EQ(Text(t), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(ok, std::string(c.expected) != "invalid") << '"' << c.text << '"';
    }
    COleDateTime t;
    EXPECT_TRUE(t.ParseDateTime("Jan 5 2024 08:30:00", 0, 1033));  // English (United States)
    EXPECT_EQ(Text(t), "2024-01-05 08:30:00");
    EXPECT_FALSE(t.ParseDateTime(nullptr));
    EXPECT_EQ(t.GetStatus(), COleDateTime::invalid);
}

TEST(COleDateTime, Format)
{
    COleDateTime t(2024, 1, 5, 8, 3, 9);
    EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-01-05 08:03:09");
    EXPECT_STREQ(t.Format("%m/%d/%Y %H:%M"), "01/05/2024 08:03");
    EXPECT_STREQ(t.Format("%a %b %d %j %I%p %y %%"), "Fri Jan 05 005 08AM 24 %");
    // Letters after a field stay as they are.
    EXPECT_STREQ(t.Format("%Y-%m-%d %HH:%MM:%SS"), "2024-01-05 08H:03M:09S");
    EXPECT_STREQ(t.Format(""), "");
    EXPECT_STREQ(t.Format(static_cast<const char*>(nullptr)), "");

    // Format() without a pattern: date and time, the time alone on day zero,
    // the date alone at midnight; each text parses back to the same value.
    struct Case {
        COleDateTime value;
        const char* expected;
    } cases[] = {
        {COleDateTime(2024, 1, 5, 8, 3, 9), "2024-01-05 08:03:09"},
        {COleDateTime(2024, 1, 5, 0, 0, 0), "2024-01-05"},
        {COleDateTime(1899, 12, 30, 23, 59, 59), "23:59:59"},
        {COleDateTime(1899, 12, 30, 0, 0, 0), "00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.value.Format(), c.expected);
        COleDateTime back;
        EXPECT_TRUE(back.ParseDateTime(c.value.Format()));
        EXPECT_TRUE(back == c.value) << c.expected;
    }
    EXPECT_STREQ(t.Format(VAR_DATEVALUEONLY), "2024-01-05");
    EXPECT_STREQ(t.Format(VAR_TIMEVALUEONLY), "08:03:09");

    COleDateTime bad(2024, 2, 30, 0, 0, 0);
    EXPECT_STREQ(bad.Format("%Y"), "Invalid DateTime");
    EXPECT_STREQ(bad.Format(), "Invalid DateTime");
    bad.SetStatus(COleDateTime::null);
    EXPECT_STREQ(bad.Format("%Y"), "");
}

TEST(COleDateTime, ComparisonsWithinHalfASecond)
{
    const COleDateTime a(2024, 1, 5, 8, 30, 0);
    const COleDateTime b(2024, 1, 5, 8, 30, 1);
    EXPECT_TRUE(a == COleDateTime(2024, 1, 5, 8, 30, 0));
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b && a <= b && b > a && b >= a);
    EXPECT_FALSE(b < a || a > b || a == b);

    // 0.4 s apart: equal; 0.6 s apart: not, and ordered.
    const COleDateTime nearA = a + COleDateTimeSpan(0.4 / 86400);
    const COleDateTime farA = a + COleDateTimeSpan(0.6 / 86400);
    EXPECT_TRUE(a == nearA && a <= nearA && a >= nearA);
    EXPECT_FALSE(a < nearA || nearA < a);
    EXPECT_TRUE(a != farA && a < farA);

    // A date that is not valid never falls in a range.
    const COleDateTime bad(2024, 2, 30, 0, 0, 0);
    EXPECT_FALSE(bad == bad);
    EXPECT_TRUE(bad != a);
    EXPECT_FALSE(bad < a || bad > a || bad <= a || bad >= a);
    EXPECT_FALSE(a <= bad && bad <= b);
}

TEST(COleDateTime, SpanArithmetic)
{
    COleDateTime t(2024, 2, 28, 23, 0, 0);
    EXPECT_EQ(Text(t + COleDateTimeSpan(0, 1, 0, 0)), "2024-02-29 00:00:00");
    EXPECT_EQ(Text(t + COleDateTimeSpan(1, 1, 0, 0)), "2024-03-01 00:00:00");
    EXPECT_EQ(Text(COleDateTime(2024, 12, 31, 23, 59, 59) + COleDateTimeSpan(0, 0, 0, 1)), "2025-01-01 00:00:00");
    EXPECT_EQ(Text(COleDateTime(2024, 3, 1, 0, 0, 0) - COleDateTimeSpan(1, 0, 0, 0)), "2024-02-29 00:00:00");
    EXPECT_EQ(Text(COleDateTime(1899, 12, 30, 0, 0, 0) - COleDateTimeSpan(0, 0, 0, 1)), "1899-12-29 23:59:59");
    t += COleDateTimeSpan(0.5);
    EXPECT_EQ(Text(t), "2024-02-29 11:00:00");
    t -= COleDateTimeSpan(0, 0, 90, 0);  // parts may exceed their unit
    EXPECT_EQ(Text(t), "2024-02-29 09:30:00");
    // Leaving years 100..9999 makes the result invalid.
    EXPECT_EQ((COleDateTime(9999, 12, 31, 23, 59, 59) + COleDateTimeSpan(0, 0, 0, 1)).GetStatus(),
              COleDateTime::invalid);

    // Differences: whole seconds, with signed parts.
    COleDateTimeSpan d = COleDateTime(2024, 1, 6, 10, 33, 4) - COleDateTime(2024, 1, 5, 8, 30, 0);
    EXPECT_EQ(d.GetDays(), 1);
    EXPECT_EQ(d.GetHours(), 2);
    EXPECT_EQ(d.GetMinutes(), 3);
    EXPECT_EQ(d.GetSeconds(), 4);
    EXPECT_DOUBLE_EQ(d.GetTotalSeconds(), 93784.0);
    EXPECT_DOUBLE_EQ(d.GetTotalMinutes(), 93784.0 / 60);
    EXPECT_DOUBLE_EQ(d.GetTotalHours(), 93784.0 / 3600);
    EXPECT_DOUBLE_EQ(d.GetTotalDays(), 93784.0 / 86400);
    COleDateTimeSpan neg = -d;
    EXPECT_EQ(neg.GetDays(), -1);
    EXPECT_EQ(neg.GetHours(), -2);
    EXPECT_EQ(neg.GetSeconds(), -4);
    EXPECT_STREQ(d.Format("%D days %H:%M:%S"), "1 days 02:03:04");
    EXPECT_TRUE(d > neg && neg < COleDateTimeSpan());
    EXPECT_TRUE(d == COleDateTimeSpan(1, 2, 3, 4));
    COleDateTimeSpan sum = d + neg;
    EXPECT_DOUBLE_EQ(sum.GetTotalSeconds(), 0.0);

    // An invalid operand poisons the result.
    COleDateTime bad(2024, 2, 30, 0, 0, 0);
    EXPECT_EQ((bad - COleDateTime(2024, 1, 1, 0, 0, 0)).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((bad + d).GetStatus(), COleDateTime::invalid);
    COleDateTimeSpan badSpan;
    badSpan.SetStatus(COleDateTimeSpan::invalid);
    EXPECT_EQ((COleDateTime(2024, 1, 1, 0, 0, 0) + badSpan).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTimeSpan(1.0 / 0.0).GetStatus(), COleDateTimeSpan::invalid);

    // Adding a second 86400 times lands exactly one day later: no drift.
    COleDateTime walk(2024, 1, 5, 0, 0, 0);
    for (int i = 0; i < 86400; ++i)
        walk += COleDateTimeSpan(0, 0, 0, 1);
    EXPECT_EQ(Text(walk), "2024-01-06 00:00:00");
}

TEST(COleDateTime, AutomationDates)
{
    struct Case {
        double date;
        const char* expected;
    } cases[] = {
        {0.0, "1899-12-30 00:00:00"},     {2.0, "1900-01-01 00:00:00"},   {45296.0, "2024-01-05 00:00:00"},
        {45296.5, "2024-01-05 12:00:00"}, {-1.25, "1899-12-29 06:00:00"}, {-1.0, "1899-12-29 00:00:00"},
        {0.75, "1899-12-30 18:00:00"},
    };
    for (const auto& c : cases) {
        COleDateTime t(c.date);
        EXPECT_EQ(Text(t), c.expected) << c.date;
        EXPECT_DOUBLE_EQ(t.GetAsDATE(), c.date) << c.date;
    }
    EXPECT_EQ(COleDateTime(1e12).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(0.0 / 0.0).GetStatus(), COleDateTime::invalid);

    // Every second of a day survives a trip through the double.
    for (int s = 0; s < 86400; s += 7) {
        COleDateTime t(2024, 1, 5, s / 3600, s / 60 % 60, s % 60);
        COleDateTime back(t.GetAsDATE());
        ASSERT_EQ(Text(back), Text(t));
    }
}

TEST(COleDateTime, SystemTime)
{
    SYSTEMTIME st{};
    st.wYear = 2024;
    st.wMonth = 1;
    st.wDay = 5;
    st.wHour = 8;
    st.wMinute = 30;
    st.wSecond = 59;
    st.wMilliseconds = 999;  // ignored, never rounded up into the next second
    COleDateTime t(st);
    EXPECT_EQ(Text(t), "2024-01-05 08:30:59");
    SYSTEMTIME out{};
    ASSERT_TRUE(t.GetAsSystemTime(out));
    EXPECT_EQ(out.wYear, 2024);
    EXPECT_EQ(out.wSecond, 59);
    EXPECT_EQ(out.wMilliseconds, 0);
    EXPECT_EQ(out.wDayOfWeek, 5);  // Friday; 0 is Sunday in SYSTEMTIME
    st.wMonth = 2;
    st.wDay = 30;
    EXPECT_EQ(COleDateTime(st).GetStatus(), COleDateTime::invalid);
    EXPECT_FALSE(COleDateTime(st).GetAsSystemTime(out));
}

TEST_F(BerlinTime, LocalTimeRoundTrips)
{
    // 2024-01-05 08:30:00 in Berlin is 07:30:00 UTC.
    const time_t winter = 1704439800;
    COleDateTime t(winter);
    EXPECT_EQ(Text(t), "2024-01-05 08:30:00");
    time_t back = 0;
    ASSERT_TRUE(t.GetAsTime(back));
    EXPECT_EQ(back, winter);

    // Across the spring change: each second of the day comes back as itself.
    const time_t springDay = 1711843200 - 3600;  // 2024-03-31 00:00:00 local
    for (time_t s = springDay; s < springDay + 86400 - 3600; s += 61) {
        ASSERT_TRUE(COleDateTime(s).GetAsTime(back));
        ASSERT_EQ(back, s) << Text(COleDateTime(s));
    }

    EXPECT_EQ(COleDateTime(static_cast<time_t>(-1)).GetStatus(), COleDateTime::invalid);

    // A file time is UTC; the date shows it in local time.
    const ULONGLONG ticks = (static_cast<ULONGLONG>(winter) + 11644473600ULL) * 10000000ULL + 1234567;
    FILETIME ft{static_cast<DWORD>(ticks & 0xffffffffu), static_cast<DWORD>(ticks >> 32)};
    EXPECT_EQ(Text(COleDateTime(ft)), "2024-01-05 08:30:00");
    time_t unused = 0;
    EXPECT_FALSE(COleDateTime(2024, 2, 30, 0, 0, 0).GetAsTime(unused));

    const time_t now = std::time(nullptr);
    time_t current = 0;
    ASSERT_TRUE(COleDateTime::GetCurrentTime().GetAsTime(current));
    EXPECT_LE(current - now, 5);
    EXPECT_GE(current - now, 0);
}
