// Escaping, UTF coders, encoding names and declared encodings.
#include "ui/common/CXmlDoc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CXmlDocText, Escape)
{
    struct Case {
        const char* szIn;
        int nFlags;
        const char* szOut;
    };
    const Case cases[] = {
        {"<&>\"'", 0, "&lt;&amp;&gt;\"'"},
        {"<&>\"'", CXmlDoc::NF_ESCAPE_QUOTES, "&lt;&amp;&gt;&quot;&apos;"},
        {"&amp; &#x41; & b &c", CXmlDoc::NF_WITH_REFS, "&amp; &#x41; &amp; b &amp;c"},
        {"&amp;", 0, "&amp;amp;"},
        {"caf\xC3\xA9 <", 0, "caf\xC3\xA9 &lt;"},
        {"", 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CXmlDoc::EscapeText(c.szIn, c.nFlags), c.szOut) << c.szIn;
}

TEST(CXmlDocText, Unescape)
{
    struct Case {
        const char* szIn;
        int nFlags;
        const char* szOut;
    };
    const Case cases[] = {
        {"&#65;&#x42;&lt;", 0, "AB<"},
        {"&AMP;&Amp;", 0, "&&"},
        {"&nosuch; &#0; &#; &#xZ1;", 0, "&nosuch; &#0; &#; &#xZ1;"},
        {"&#x10FFFF;", 0, "\xF4\x8F\xBF\xBF"},
        // beyond Unicode or a surrogate: no character, left as written
        {"&#x110000;&#xD800;&#55296;&#xFFFFFFF;", 0, "&#x110000;&#xD800;&#55296;&#xFFFFFFF;"},
        {"&eacute;&Eacute;&EACUTE;", 0, "\xC3\xA9\xC3\x89\xC3\x89"},  // neither spelling: the capital one
        {"&darr;&dArr;&DARR;", 0, "\xE2\x86\x93\xE2\x87\x93\xE2\x87\x93"},
        {"&thetasym;&toolongname;", 0, "\xCF\x91&toolongname;"},
        {"&apos;&quot;&euro;", 0, "'\"\xE2\x82\xAC"},
        {"a & b", 0, "a & b"},
        {"  a \r\n b  ", CXmlDoc::DF_TRIM_WHITESPACE, "a \r\n b"},
        {"  a \r\n b  ", CXmlDoc::DF_COLLAPSE_WHITESPACE, "a b"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CXmlDoc::UnescapeText(c.szIn, -1, c.nFlags), c.szOut) << c.szIn;
    EXPECT_STREQ(CXmlDoc::UnescapeText("&lt;&gt;", 4), "<");
}

TEST(CXmlDocText, DetectUTF8RejectsWhatIsNotUTF8)
{
    struct Case {
        const char* szBytes;
        bool bValid;
        int nNonAscii;
        bool bErrorAtEnd;
    };
    const Case cases[] = {
        {"plain", true, 0, false},
        {"\xC3\xA9t\xE2\x82\xAC\xF0\x9F\x98\x80", true, 3, false},
        {"\xC0\x80", false, 1, false},          // overlong NUL
        {"\xE0\x80\xAF", false, 1, false},      // overlong "/"
        {"\xF0\x80\x80\xAF", false, 1, false},  // overlong "/"
        {"\xED\xA0\x80", false, 1, false},      // surrogate
        {"\xF4\x90\x80\x80", false, 1, false},  // beyond U+10FFFF
        {"\xF5\x80\x80\x80", false, 1, false},
        {"\xF8\x88\x80\x80\x80", false, 1, false},
        {"a\x80", false, 1, false},
        {"ok\xE2\x82", false, 1, true},  // cut at the end
    };
    for (const Case& c : cases) {
        int nNonAscii = -1;
        bool bAtEnd = false;
        EXPECT_EQ(CXmlDoc::DetectUTF8(c.szBytes, static_cast<int>(std::strlen(c.szBytes)), &nNonAscii, &bAtEnd),
                  c.bValid)
            << c.szBytes;
        EXPECT_EQ(nNonAscii, c.nNonAscii) << c.szBytes;
        EXPECT_EQ(bAtEnd, c.bErrorAtEnd) << c.szBytes;
    }
}

TEST(CXmlDocText, UtfCodersRoundTrip)
{
    const char* utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const int nUnits = CXmlDoc::UTF8To16(nullptr, utf8, -1);
    EXPECT_EQ(nUnits, 5);  // the last one is a surrogate pair
    unsigned short units[8] = {};
    CXmlDoc::UTF8To16(units, utf8, -1);
    EXPECT_EQ(units[3], 0xD83D);
    EXPECT_EQ(units[4], 0xDE00);
    EXPECT_EQ(CXmlDoc::UTF16To8(nullptr, units, 0), 10);
    char back[16] = {};
    EXPECT_EQ(CXmlDoc::UTF16To8(back, units, sizeof back), 10);
    EXPECT_STREQ(back, utf8);

    const unsigned short* p = units + 3;
    EXPECT_EQ(CXmlDoc::DecodeCharUTF16(p, units + 5), 0x1F600);
    const unsigned short lone[] = {0xDC00, 0};
    p = lone;
    EXPECT_EQ(CXmlDoc::DecodeCharUTF16(p), -1);

    const char* q = "\xC3";
    EXPECT_EQ(CXmlDoc::DecodeCharUTF8(q, q + 1), -1);
    int nLen = 0;
    CXmlDoc::EncodeCharUTF8(0x20AC, nullptr, nLen);
    EXPECT_EQ(nLen, 3);

    int nFailed = 0;
    EXPECT_STREQ(CXmlDoc::UTF8ToA("ok\xC3\xA9", &nFailed), "ok\xC3\xA9");
    EXPECT_EQ(nFailed, 0);
    EXPECT_STREQ(CXmlDoc::UTF8ToA("bad\xFF", &nFailed), "bad?");
    EXPECT_EQ(nFailed, 1);
}

TEST(CXmlDocText, EncodingCodePages)
{
    struct Case {
        const char* szName;
        int nCodePage;
    };
    const Case cases[] = {
        {"UTF-8", 65001},
        {"utf8", 65001},
        {"UTF-32", 65005},
        {"utf-32", 12000},
        {"UTF-32BE", 12001},
        {"shifft_jis", 932},
        {"Shift_JIS", 932},
        {"", 0},
        {"no-such", -1},
        {"ISO-8859-1", 28591},
        {"windows-1252", 1252},
        // the EBCDIC names are the EBCDIC code page, not the Baltic DOS one
        {"ebcdic-cp-be", 500},
        {"ebcdic-cp-ch", 500},
        {"CP500", 500},
        {"csibm500", 500},
        {"ibm775", 775},
        {"UTF-16BE", 1201},
        {"unicode", 1200},
        {"GB18030", 54936},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CXmlDoc::GetEncodingCodePage(c.szName), c.nCodePage) << c.szName;
    EXPECT_EQ(CXmlDoc::GetEncodingCodePage(std::string(120, 'a').c_str()), -1);
    EXPECT_EQ(CXmlDoc::GetEncodingCodePage(nullptr), 0);
}

TEST(CXmlDocText, DeclaredEncoding)
{
    struct Case {
        const char* szDoc;
        const char* szEncoding;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", "ISO-8859-1"},
        {"<?xml version='1.0'?><a/>", ""},
        {" <?xml version='1.0' encoding='x'?>", ""},  // not at offset 0
        {"<a/>", ""},
        {"<!DOCTYPE html><html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
         "windows-1251"},
        {"<HTML><META HTTP-EQUIV='content-type' CONTENT='text/html;charset = koi8-r'></HTML>", "koi8-r"},
        {"<html><head></head><meta http-equiv='Content-Type' content='text/html; charset=x'>", ""},
        {"<html><meta name='x' content='charset=y'>", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(CXmlDoc::GetDeclaredEncoding(c.szDoc), c.szEncoding) << c.szDoc;
}

}  // namespace
