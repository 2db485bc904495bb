#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

TEST(CString, ConstructionAndConversion)
{
    EXPECT_STREQ(CString(), "");
    EXPECT_STREQ(CString(static_cast<const char*>(nullptr)), "");
    EXPECT_STREQ(CString("abcdef", 3), "abc");
    EXPECT_STREQ(CString("abc", -1), "");
    EXPECT_STREQ(CString('x', 3), "xxx");
    EXPECT_STREQ(CString('x', 0), "");
    EXPECT_STREQ(CString('x', -2), "");
    EXPECT_EQ(CString(std::string("s")).str(), "s");

    CString s("hello");
    const char* p = s;  // LPCTSTR conversion
    EXPECT_STREQ(p, "hello");
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_FALSE(s.IsEmpty());
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, IndexAccessOutsideTheTextIsHarmless)
{
    CString s("abc");
    EXPECT_EQ(s.GetAt(0), 'a');
    EXPECT_EQ(s[2], 'c');
    EXPECT_EQ(s[size_t{1}], 'b');
    EXPECT_EQ(s.GetAt(3), '\0');
    EXPECT_EQ(s.GetAt(-1), '\0');
    s.SetAt(1, 'X');
    s.SetAt(3, 'Y');
    s.SetAt(-1, 'Y');
    EXPECT_STREQ(s, "aXc");
}

TEST(CString, Find)
{
    struct Case {
        const char* text;
        const char* sub;
        int start;
        int expected;
    } cases[] = {
        {"hello world", "o", 0, 4},
        {"hello world", "o", 5, 7},
        {"hello world", "world", 0, 6},
        {"hello world", "xyz", 0, -1},
        {"hello world", "", 0, 0},
        {"hello world", "", 3, 3},
        {"hello world", "", 11, 11},  // empty needle at the very end
        {"hello world", "d", 11, -1},
        {"hello world", "o", 12, -1},  // start past the end
        {"hello world", "o", -1, -1},
        {"", "", 0, 0},
        {"", "a", 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.text).Find(c.sub, c.start), c.expected) << c.text << " / " << c.sub << " @" << c.start;

    CString s("a,b,,c");
    EXPECT_EQ(s.Find(','), 1);
    EXPECT_EQ(s.Find(',', 2), 3);
    EXPECT_EQ(s.Find(',', 6), -1);  // a character search from the end finds nothing
    EXPECT_EQ(s.Find(',', -1), -1);
    EXPECT_EQ(s.ReverseFind(','), 4);
    EXPECT_EQ(s.ReverseFind('z'), -1);
    EXPECT_EQ(s.FindOneOf("cb"), 2);
    EXPECT_EQ(s.FindOneOf("xyz"), -1);
    EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(CString, Extraction)
{
    const CString s("abcdef");
    struct Case {
        int first, count;
        const char* expected;
    } mids[] = {
        {0, 3, "abc"}, {2, 2, "cd"}, {4, 10, "ef"},          {6, 1, ""}, {7, 1, ""}, {-3, 2, "ab"},
        {2, -1, ""},   {0, 0, ""},   {3, 0x7fffffff, "def"},
    };
    for (const auto& c : mids)
        EXPECT_STREQ(s.Mid(c.first, c.count), c.expected) << c.first << "," << c.count;
    EXPECT_STREQ(s.Mid(3), "def");
    EXPECT_STREQ(s.Mid(-1), "abcdef");
    EXPECT_STREQ(s.Mid(6), "");
    EXPECT_STREQ(s.Mid(100), "");

    struct Side {
        int count;
        const char* left;
        const char* right;
    } sides[] = {{0, "", ""}, {2, "ab", "ef"}, {6, "abcdef", "abcdef"}, {9, "abcdef", "abcdef"}, {-1, "", ""}};
    for (const auto& c : sides) {
        EXPECT_STREQ(s.Left(c.count), c.left) << c.count;
        EXPECT_STREQ(s.Right(c.count), c.right) << c.count;
    }

    EXPECT_STREQ(CString("123abc").SpanIncluding("0123456789"), "123");
    EXPECT_STREQ(CString("abc123").SpanIncluding("0123456789"), "");
    EXPECT_STREQ(CString("key=value").SpanExcluding("=;"), "key");
    EXPECT_STREQ(CString("novalue").SpanExcluding("=;"), "novalue");
}

TEST(CString, Tokenize)
{
    auto tokens = [](const char* text, const char* delims) {
        std::vector<std::string> out;
        CString s(text);
        int pos = 0;
        for (int guard = 0; guard < 100; ++guard) {
            CString t = s.Tokenize(delims, pos);
            if (pos == -1) {
                EXPECT_TRUE(t.IsEmpty());
                break;
            }
            out.push_back(t.str());
        }
        EXPECT_EQ(pos, -1) << "tokenizing never ended";
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(tokens("a,b,c", ","), (V{"a", "b", "c"}));
    EXPECT_EQ(tokens(",,a,,b,", ","), (V{"a", "b"}));  // empty tokens are skipped
    EXPECT_EQ(tokens("a b;c", " ;"), (V{"a", "b", "c"}));
    EXPECT_EQ(tokens("", ","), V{});
    EXPECT_EQ(tokens(",,,", ","), V{});
    EXPECT_EQ(tokens("whole", ""), V{"whole"});  // no delimiters: one token, then the end
    EXPECT_EQ(tokens("whole", nullptr), V{"whole"});

    CString s("a,b");
    int pos = 5;
    EXPECT_STREQ(s.Tokenize(",", pos), "");
    EXPECT_EQ(pos, -1);
    pos = -3;
    EXPECT_STREQ(s.Tokenize(",", pos), "");
    EXPECT_EQ(pos, -1);
}

TEST(CString, Trim)
{
    struct Case {
        const char* text;
        const char* both;
        const char* left;
        const char* right;
    } cases[] = {
        {"  a b  ", "a b", "a b  ", "  a b"},
        {"\t\r\n x \v\f", "x", "x \v\f", "\t\r\n x"},
        {"   ", "", "", ""},
        {"", "", "", ""},
        {"x", "x", "x", "x"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(CString(c.text).Trim(), c.both) << '"' << c.text << '"';
        EXPECT_STREQ(CString(c.text).TrimLeft(), c.left) << '"' << c.text << '"';
        EXPECT_STREQ(CString(c.text).TrimRight(), c.right) << '"' << c.text << '"';
    }
    EXPECT_STREQ(CString("xxaxx").Trim('x'), "a");
    EXPECT_STREQ(CString("xxaxx").TrimLeft('x'), "axx");
    EXPECT_STREQ(CString("xxaxx").TrimRight('x'), "xxa");
    EXPECT_STREQ(CString("\"/path/\"").Trim("\"/"), "path");
    EXPECT_STREQ(CString("-+a+-").TrimLeft("+-"), "a+-");
    EXPECT_STREQ(CString("-+a+-").TrimRight("+-"), "-+a");
    EXPECT_STREQ(CString("+-+").Trim("+-"), "");
    EXPECT_STREQ(CString(" a ").Trim(""), " a ");  // an empty set trims nothing
}

TEST(CString, CaseAndComparison)
{
    // ASCII only: the bytes of a multi-byte character pass through.
    EXPECT_STREQ(CString("AbC-\xc3\x84").MakeLower(), "abc-\xc3\x84");
    EXPECT_STREQ(CString("aBc-\xc3\xa4").MakeUpper(), "ABC-\xc3\xa4");
    EXPECT_STREQ(CString("abc").MakeReverse(), "cba");

    struct Case {
        const char* a;
        const char* b;
        int cmp, nocase;
    } cases[] = {
        {"abc", "abc", 0, 0},  {"abc", "ABC", 1, 0}, {"abc", "abd", -1, -1},
        {"ab", "abc", -1, -1}, {"b", "A", 1, 1},     {"", "", 0, 0},
        {"a", "", 1, 1},       {"\xe4", "a", 1, 1},  {"HTTP/1.1 200", "http/1.1 200", -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CString(c.a).Compare(c.b), c.cmp) << c.a << " vs " << c.b;
        EXPECT_EQ(CString(c.a).CompareNoCase(c.b), c.nocase) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(CString("a").Compare(nullptr), 1);
    EXPECT_EQ(CString("").CompareNoCase(nullptr), 0);

    CString a("abc");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_TRUE(a == CString("abc"));
    EXPECT_TRUE(a != "abd");
    EXPECT_TRUE(a < "abd");
    EXPECT_TRUE("abb" < a);
    EXPECT_TRUE(a >= "abc");
    EXPECT_TRUE(CString("x") == 'x');
    EXPECT_FALSE(CString("xy") == 'x');
    EXPECT_TRUE(CString("") == static_cast<const char*>(nullptr));
}

TEST(CString, ReplaceRemoveInsertDelete)
{
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        int count;
        const char* expected;
    } cases[] = {
        {"a.b.c", ".", "::", 2, "a::b::c"}, {"aaaa", "aa", "a", 2, "aa"},  // left to right, no overlap
        {"abc", "x", "y", 0, "abc"},        {"abc", "", "y", 0, "abc"},    // an empty pattern replaces nothing
        {"abc", "b", "", 1, "ac"},          {"abc", "b", nullptr, 1, "ac"}, {"", "a", "b", 0, ""},
        {"%20%20", "%20", " ", 2, "  "},
    };
    for (const auto& c : cases) {
        CString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
        EXPECT_STREQ(s, c.expected) << c.text;
    }
    CString s("a\\b\\c");
    EXPECT_EQ(s.Replace('b', 'b'), 0);  // a character by itself counts nothing
    EXPECT_EQ(s.Replace('\\', '/'), 2);
    EXPECT_STREQ(s, "a/b/c");
    EXPECT_EQ(s.Remove('/'), 2);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(s.Remove('z'), 0);

    struct Ins {
        int index;
        const char* ins;
        const char* expected;
    } inserts[] = {{0, "<", "<abc"}, {1, "-", "a-bc"}, {3, ">", "abc>"}, {10, ">", "abc>"}, {-5, "<", "<abc"}};
    for (const auto& c : inserts) {
        CString t("abc");
        EXPECT_EQ(t.Insert(c.index, c.ins), static_cast<int>(std::strlen(c.expected)));
        EXPECT_STREQ(t, c.expected) << c.index;
    }
    CString t("abc");
    t.Insert(1, 'X');
    EXPECT_STREQ(t, "aXbc");
    // Inserting a string's own text into itself.
    t.Insert(0, t.GetString());
    EXPECT_STREQ(t, "aXbcaXbc");

    struct Del {
        int index, count;
        const char* expected;
    } deletes[] = {{0, 1, "bcdef"},  {2, 2, "abef"},  {4, 10, "abcd"},  {6, 1, "abcdef"},
                   {9, 1, "abcdef"}, {-2, 2, "cdef"}, {1, 0, "abcdef"}, {1, -1, "abcdef"}};
    for (const auto& c : deletes) {
        CString d("abcdef");
        EXPECT_EQ(d.Delete(c.index, c.count), static_cast<int>(std::strlen(c.expected)));
        EXPECT_STREQ(d, c.expected) << c.index << "," << c.count;
    }
}

TEST(CString, Format)
{
    CString s;
    s.Format("%d-%05.1f-%s-%c-%x", 42, 3.14159, "txt", 'z', 255);
    EXPECT_STREQ(s, "42-003.1-txt-z-ff");
    // A CString argument is passed as its text.
    CString name("cam1");
    s.Format("[%s] %s", name, std::string("std"));
    EXPECT_STREQ(s, "[cam1] std");
    // Formatting a string with itself as an argument.
    s.Format("%s+%s", s, s);
    EXPECT_STREQ(s, "[cam1] std+[cam1] std");
    s.Format("%%");
    EXPECT_STREQ(s, "%");
    s.Format("%lld %u %ld", 1LL << 40, 4000000000u, -7L);
    EXPECT_STREQ(s, "1099511627776 4000000000 -7");

    // "%n" would write through an argument: refused, the text left empty.
    int written = 0;
    s.Format("abc%n", &written);
    EXPECT_STREQ(s, "");
    EXPECT_EQ(written, 0);
    s.Format("%5.2ln%d", &written, 1);
    EXPECT_STREQ(s, "");
    s.Format("100%% %s", "n");  // an escaped percent before 'n' text is fine
    EXPECT_STREQ(s, "100% n");

    CString big;
    big.Format("%s", std::string(10000, 'x').c_str());
    EXPECT_EQ(big.GetLength(), 10000);

    CString a("a");
    a.AppendFormat("%02d", 7);
    a.AppendFormat("|%s", name);
    EXPECT_STREQ(a, "a07|cam1");
}

namespace {
BOOL FakeLoadString(UINT nID, CString& out)
{
    if (nID != 77)
        return FALSE;
    out = "id %d";
    return TRUE;
}
}  // namespace

TEST(CString, LoadStringUsesTheInstalledHook)
{
    CString s("kept");
    ASSERT_EQ(vxbase::g_pfnLoadString, nullptr);
    EXPECT_FALSE(s.LoadString(77));
    EXPECT_STREQ(s, "kept");

    vxbase::g_pfnLoadString = FakeLoadString;
    EXPECT_TRUE(s.LoadString(77));
    EXPECT_STREQ(s, "id %d");
    EXPECT_FALSE(s.LoadString(78));
    s.Format(77u, 5);
    EXPECT_STREQ(s, "id 5");
    // A MAKEINTRESOURCE id in place of text loads the string, never reads
    // the address.
    EXPECT_STREQ(CString(reinterpret_cast<const char*>(uintptr_t{77})), "id %d");
    s = reinterpret_cast<const char*>(uintptr_t{78});
    EXPECT_STREQ(s, "");
    vxbase::g_pfnLoadString = nullptr;
}

TEST(CString, Buffers)
{
    CString s("abc");
    char* p = s.GetBuffer(16);
    std::strcpy(p, "0123456789");
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "0123456789");
    EXPECT_EQ(s.GetLength(), 10);

    // GetBuffer keeps the text; ReleaseBuffer(n) takes exactly n characters.
    p = s.GetBuffer(4);
    EXPECT_EQ(std::string(p, 4), "0123");
    s.ReleaseBuffer(4);
    EXPECT_STREQ(s, "0123");

    p = s.GetBufferSetLength(3);
    p[0] = 'x';
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "x12");

    // A buffer filled to the brim without a terminator keeps its whole length.
    p = s.GetBufferSetLength(5);
    std::memcpy(p, "ABCDE", 5);
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "ABCDE");

    // A length larger than the buffer is ignored rather than read past it.
    s.GetBuffer(2);
    s.ReleaseBuffer(1000);
    EXPECT_EQ(s.GetLength(), 5);

    CString e;
    e.GetBuffer(0);
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CString, ConcatenationAndKeys)
{
    CString a("a");
    EXPECT_STREQ(a + "b", "ab");
    EXPECT_STREQ("b" + a, "ba");
    EXPECT_STREQ(a + 'c', "ac");
    EXPECT_STREQ('c' + a, "ca");
    EXPECT_STREQ(a + a, "aa");
    a += "b";
    a += 'c';
    a += CString("d");
    a += std::string("e");
    a += static_cast<const char*>(nullptr);
    EXPECT_STREQ(a, "abcde");

    std::map<CString, int> ordered{{"b", 2}, {"a", 1}, {"c", 3}};
    EXPECT_STREQ(ordered.begin()->first, "a");
    std::unordered_map<CString, int> hashed;
    hashed["x"] = 1;
    hashed[CString("x")] += 1;
    EXPECT_EQ(hashed.size(), 1u);
    EXPECT_EQ(hashed["x"], 2);
}

TEST(CString, NumbersAreFormattedInTheCLocale)
{
    // The GUI toolkit sets the process locale from the environment; numbers
    // in settings and camera requests must keep their "." all the same.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
        GTEST_SKIP() << "no German locale on this machine";
    CString s;
    s.Format("%.1f", 1.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_STREQ(s, "1.5");
}
