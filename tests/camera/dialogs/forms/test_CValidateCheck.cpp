#include "camera/dialogs/forms/CValidateCheck.h"

#include <gtest/gtest.h>

namespace {

using Check = int (*)(CString);

struct Case {
    const char* name;
    Check check;
    const char* text;
    int expected;
};

TEST(ValidateCheck, CharacterSetsAndShapes)
{
    const Case cases[] = {
        {"reserved colon", CValidateCheck::HasReservedChar, "a:b", 1},
        {"reserved quote", CValidateCheck::HasReservedChar, "a\"b", 1},
        {"blank is not reserved", CValidateCheck::HasReservedChar, "a b", 0},
        {"blank with space set", CValidateCheck::HasReservedCharOrSpace, "a b", 1},
        {"blanks are empty", CValidateCheck::IsEmpty, " \t ", 1},
        {"text is not empty", CValidateCheck::IsEmpty, " x ", 0},
        {"letters and digits", CValidateCheck::IsLettersAndDigits, "Admin2", 1},
        {"empty is letters", CValidateCheck::IsLettersAndDigits, "", 1},
        {"umlaut is no letter", CValidateCheck::IsLettersAndDigits,
         "K\xc3\xbc"
         "che",
         0},
        {"byte 0xff is no letter", CValidateCheck::IsLettersAndDigits, "\xff", 0},
        {"blank is no letter", CValidateCheck::IsLettersAndDigits, "a b", 0},
        {"minus is no digit", CValidateCheck::IsDigits, "-1", 0},
        {"superscript is no digit", CValidateCheck::IsDigits, "1\xc2\xb2", 0},
        {"five chars with @", CValidateCheck::IsEmailAddress, "a@b.c", 0},
        {"six chars with @", CValidateCheck::IsEmailAddress, "a@b.cd", 1},
        {"six chars without @", CValidateCheck::IsEmailAddress, "ab.cde", 0},
        {"password blank", CValidateCheck::IsValidPassword, "pass word", 0},
        {"password colon", CValidateCheck::IsValidPassword, "pa:ss", 1},
        {"password hash", CValidateCheck::IsValidPassword, "pa#ss", 0},
        {"key backslash", CValidateCheck::IsValidKey, "k\\ey", 0},
        {"key blank", CValidateCheck::IsValidKey, "k ey", 1},
        {"path slash", CValidateCheck::IsValidPath, "a/b", 0},
        {"path semicolon", CValidateCheck::IsValidPath, "a;b", 0},
        {"path plain", CValidateCheck::IsValidPath, "record_01", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.check(c.text), c.expected) << c.name;
}

TEST(ValidateCheck, NumberInRange)
{
    struct {
        const char* text;
        int lo, hi, expected;
    } const cases[] = {
        {"10", 1, 10, 1},         {"1", 1, 10, 1},
        {"11", 1, 10, 0},         {"", 1, 10, 0},
        {"", 0, 10, 0},                                               // an empty text is no number, not 0
        {"0", 0, 10, 1},          {"99999999999", 0, 2147483647, 0},  // would wrap through int
        {"4294967297", 0, 10, 0}, {"-5", -10, 10, 0},
        {"5 ", 1, 10, 0},         {"\xd9\xa5", 0, 10, 0},  // a non-ASCII digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(CValidateCheck::IsNumberInRange(c.text, c.lo, c.hi), c.expected) << '"' << c.text << '"';
}

}  // namespace
