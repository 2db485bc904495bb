#include "platform/kernel/crt_number.h"

#include <climits>
#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>

#include "support/german_locale.h"

TEST(CrtNumber, AtoiSaturatesLikeTheWindowsRuntime)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},
        {"  \t-17abc", -17},
        {"+8", 8},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
        // glibc's atoi reads this as a long and truncates it to 1
        {"4294967297", INT_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vxk::AtoiSaturated(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(vxk::AtoiSaturated(nullptr), 0);
}

TEST(CrtNumber, DoublesIgnoreTheProcessLocale)
{
    vxtest::GermanLocale german;
    if (!german.Use())
        GTEST_SKIP() << "no German locale can be made here";
    char native[32];
    snprintf(native, sizeof native, "%f", 1.5);
    ASSERT_STREQ(native, "1,500000");  // the locale is really in force

    EXPECT_EQ(vxk::FormatDoubleClocale("%f", 1.5), "1.500000");
    EXPECT_EQ(vxk::FormatDoubleClocale("%f", -0.25), "-0.250000");
    EXPECT_EQ(vxk::FormatDoubleClocale("%.1f", 1e300).size(), 303u);  // longer than a small buffer
    EXPECT_DOUBLE_EQ(vxk::AtofClocale("2.75"), 2.75);
    EXPECT_DOUBLE_EQ(vxk::AtofClocale("  -3.5e2x"), -350.0);
    EXPECT_DOUBLE_EQ(vxk::AtofClocale("2,75"), 2.0);
    EXPECT_DOUBLE_EQ(vxk::AtofClocale(nullptr), 0.0);
}
