#include "platform/kernel/codepage.h"
#include "platform/kernel/errors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const std::string& s)
{
    static const char d[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (!out.empty())
            out += ' ';
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

TEST(CodePage, EveryKnownCodePageHasAWorkingConverter)
{
    int known = 0;
    for (UINT cp = 0; cp < 70000; ++cp) {
        if (!vxk::IconvNameForCodePage(cp))
            continue;
        ++known;
        EXPECT_TRUE(IsValidCodePage(cp));
        std::string bytes;
        std::wstring back;
        ASSERT_TRUE(vxk::EncodeCodePage(cp, L"A1", bytes)) << cp;
        ASSERT_TRUE(vxk::DecodeCodePage(cp, bytes, back)) << cp;
        EXPECT_EQ(L"A1", back) << cp;
    }
    EXPECT_GT(known, 60);
    EXPECT_EQ(nullptr, vxk::IconvNameForCodePage(12345));
    EXPECT_STREQ("UTF-8", vxk::IconvNameForCodePage(0));
    EXPECT_EQ(65001u, GetACP());
    EXPECT_EQ(65001u, UINT(CP_ACP));
}

TEST(CodePage, RoundTripsThroughUtf8WithTheLossFlag)
{
    struct Case {
        UINT cp;
        const char* utf8;
        const char* hex;  // the text in that code page
        bool lost;
    };
    const Case cases[] = {
        {CP_UTF8, "h\xC3\xA9 \xE2\x82\xAC", "68 C3 A9 20 E2 82 AC", false},
        {1252, "\xC3\xA9\xE2\x82\xAC", "E9 80", false},
        {1252,
         "a\xE4\xB8\xAD"
         "b",
         "61 3F 62", true},
        {936, "\xE4\xB8\xAD\xE6\x96\x87", "D6 D0 CE C4", false},
        {936, "\xE0\xB8\x81", "3F", true},  // a Thai letter
        {54936, "\xF0\x9F\x98\x80", "94 39 FC 36", false},
        {1200, "A\xE2\x82\xAC", "41 00 AC 20", false},
        {1201, "A\xE2\x82\xAC", "00 41 20 AC", false},
        {12000, "\xF0\x9F\x98\x80", "00 F6 01 00", false},
        {28591, "\xC3\xBF\xC4\x80", "FF 3F", true},
        {50220, "\xE6\x97\xA5", "1B 24 42 46 7C 1B 28 42", false},
        // Its decoder holds the last character back for a combining mark.
        {1258, "AB", "41 42", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.cp << " " << c.hex);
        std::string bytes;
        bool lost = !c.lost;
        ASSERT_TRUE(vxk::ConvertCodePage(CP_UTF8, c.cp, c.utf8, bytes, &lost));
        EXPECT_EQ(c.hex, Hex(bytes));
        EXPECT_EQ(c.lost, lost);
        if (!c.lost) {
            std::string back;
            ASSERT_TRUE(vxk::ConvertCodePage(c.cp, CP_UTF8, bytes, back, &lost));
            EXPECT_EQ(c.utf8, back);
            EXPECT_FALSE(lost);
        }
    }
}

TEST(CodePage, WideCharToMultiByteReportsTheDefaultCharacter)
{
    BOOL used = TRUE;
    char out[16] = {};
    EXPECT_EQ(3, WideCharToMultiByte(1252, 0, L"a\x20AC", -1, out, sizeof out, nullptr, &used));
    EXPECT_STREQ("a\x80", out);
    EXPECT_FALSE(used);

    EXPECT_EQ(4, WideCharToMultiByte(1252, 0,
                                     L"a\x4E2D"
                                     L"b",
                                     -1, out, sizeof out, "*", &used));
    EXPECT_STREQ("a*b", out);
    EXPECT_TRUE(used);

    // A surrogate pair is one character; a lone surrogate is invalid.
    EXPECT_EQ(4, WideCharToMultiByte(CP_UTF8, 0, L"\xD83D\xDE00", 2, out, sizeof out, nullptr, &used));
    EXPECT_EQ("F0 9F 98 80", Hex(std::string(out, 4)));
    EXPECT_FALSE(used);
    EXPECT_EQ(3, WideCharToMultiByte(CP_UTF8, 0, L"\xD83D", 1, out, sizeof out, nullptr, &used));
    EXPECT_EQ("EF BF BD", Hex(std::string(out, 3)));
    EXPECT_TRUE(used);
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, L"\xD83D", 1, out, sizeof out, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
}

TEST(CodePage, BufferSizesAndBadArguments)
{
    // Size query, exact fit, one too small (left untouched).
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0));
    wchar_t w[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, "abc", -1, w, 3));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(L'x', w[0]);
    EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, w, 4));
    EXPECT_STREQ(L"abc", w);
    EXPECT_EQ(3, MultiByteToWideChar(0, 0, "abc", 3, w, 4));  // 0 is the ANSI code page too

    EXPECT_EQ(3, WideCharToMultiByte(CP_UTF8, 0, L"\x20AC", 1, nullptr, 0, nullptr, nullptr));
    char b[2];
    EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, 0, L"\x20AC", 1, b, 2, nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());

    EXPECT_EQ(0, MultiByteToWideChar(12345, 0, "abc", -1, w, 4));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "abc", 0, w, 4));
    EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, w, 4));
    EXPECT_EQ(0, WideCharToMultiByte(12345, 0, L"a", 1, b, 2, nullptr, nullptr));
}

TEST(CodePage, InvalidUtf8)
{
    struct Case {
        const char* bytes;
        std::wstring wide;
    };
    const Case cases[] = {
        {"\xC3(", L"\xFFFD("},            // missing continuation
        {"\xC0\xAF", L"\xFFFD"},          // overlong '/'
        {"\xED\xA0\x80", L"\xFFFD"},      // an encoded surrogate
        {"\xF4\x90\x80\x80", L"\xFFFD"},  // above U+10FFFF
        {"\x80"
         "a",
         L"\xFFFD"
         L"a"},                            // stray continuation
        {"\xE2\x82", L"\xFFFD"},           // cut at the end
        {"\xF0\x9F\x98\x80", L"\x1F600"},  // valid, one wide character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.bytes));
        wchar_t w[8] = {};
        int n = MultiByteToWideChar(CP_UTF8, 0, c.bytes, -1, w, 8);
        EXPECT_EQ(c.wide, std::wstring(w, n > 0 ? n - 1 : 0));
        bool valid = c.wide.find(L'\xFFFD') == std::wstring::npos;
        EXPECT_EQ(valid ? n : 0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, c.bytes, -1, w, 8));
        if (!valid) {
            EXPECT_EQ(DWORD(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
        }
    }
    // Invalid bytes of another code page too.
    wchar_t w[8] = {};
    EXPECT_EQ(2, MultiByteToWideChar(936, 0, "a\xFF", 2, w, 8));
    EXPECT_EQ(L'\xFFFD', w[1]);
}

// ESC in ISO-2022-KR and -CN text only opens a designation or a single
// shift, and SO needs an SO designation before it: stray ones are errors,
// and a designated text stays good.
TEST(CodePage, StrayShiftsOfIso2022AreInvalid)
{
    struct Case {
        unsigned cp;
        std::string bytes;
        std::wstring wide;
        bool invalid;
    };
    const Case cases[] = {
        {50227, "\x1b\x0e", L"\xFFFD", true},
        {50227, "a\x1b" "A", L"a\xFFFD" L"A", true},
        {50227, "a\x0e\x0f" "b", L"ab", true},  // SO before any SO designation
        {50227, "\x1b$)A\x0e\x30\x21\x0f" "a", L"\x554A" L"a", false},
        {50225, "\x1b$)C\x0e\x30\x21\x0f", L"\xAC00", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.bytes.c_str()));
        std::wstring wide;
        bool invalid = !c.invalid;
        ASSERT_TRUE(vxk::DecodeCodePage(c.cp, c.bytes, wide, &invalid));
        EXPECT_EQ(c.wide, wide);
        EXPECT_EQ(c.invalid, invalid);
    }
}

}  // namespace
