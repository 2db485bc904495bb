// Encoding names, the declared encoding of a document and conversions
// between code pages for CXmlDoc.
#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include "platform/kernel/codepage.h"

#include <cstring>
#include <string>
#include <unordered_map>

using namespace vxxml;

namespace {

struct CodePageNames {
    int nCodePage;
    const char* szNames;  // space-separated, lower case
};

// Encoding names as documents write them, with their Windows code pages.
const CodePageNames kEncodingNames[] = {
    {154, "csptcp154 cyrillic-asian cp154 pt154 ptcp154"},
    {437, "ibm437 cspc8 codepage437 cp437 cspc8codepage437"},
    {500, "ebcdic-cp-be ebcdic-cp-ch cp500 csibm500"},
    {708, "asmo-708"},
    {720, "dos-720"},
    {737, "ibm737 cp737"},
    {775, "ibm775 cp775 cspc775baltic"},
    {850, "ibm850 cspc850multilingual cp850"},
    {852, "ibm852 cp852 cspcp852"},
    {853, "cp853"},
    {855, "ibm855 cp855 csibm855"},
    {857, "ibm857 cp857 csibm857"},
    {858, "ccsid00858 cp00858 cp858 pc-multilingual-850+euro ibm00858"},
    {860, "ibm860 cp860 csibm860"},
    {861, "ibm861 cp-is cp861 csibm861"},
    {862, "ibm862 cspc862latinhebrew cp862 dos-862"},
    {863, "ibm863 cp863 csibm863"},
    {864, "ibm864 cp864 csibm864"},
    {865, "ibm865 cp865 csibm865"},
    {866, "ibm866 cp866 csibm866"},
    {869, "cp-gr ibm869 cp869 csibm869"},
    {874, "windows-874 cp874 tis-620 dos-874 iso-8859-11"},
    {932, "x-ms-cp932 shift_jis sjis-win windows-932 cp932 ms_kanji ms932 sjis-ms shifft_jis-ms windows-31j "
          "cswindows31j sjis shifft_jis shift-jis x-sjis sjis-open csshiftjis"},
    {936, "gb_2312-80 gb231280 windows-936 cp936 csiso58gb231280 ms936 gb2312-80 gb2312 csgb231280 chinese "
          "iso-ir-58 cn-gb csgb2312 gbk"},
    {949, "ksc_5601 uhc korean iso-ir-149 csksc56011987 ks_c_5601-1987 ks_c_5601-1989 ksc5601 cp949 ks_c_5601 "
          "ks_c_5601_1987 ks-c5601 ks-c-5601"},
    {950, "big5-hkscs big5 cp950 x-x-big5 csbig5 cn-big5"},
    {1125, "cp1125"},
    {1133, "cp1133 ibm-cp1133"},
    {1200, "ucs-2le utf-16 utf16le utf-16le cp1200 ucs-2 unicode utf16"},
    {1201, "ucs-2be utf16be utf-16be unicodefffe cp1201"},
    {1250, "ms-ee windows-1250 cp1250 x-cp1250"},
    {1251, "ms-cyrl windows-1251 cp1251 x-cp1251"},
    {1252, "ms-ansi windows-1252 cp1252 x-ansi"},
    {1253, "ms-greek windows-1253 cp1253"},
    {1254, "windows-1254 ms-turk cp1254"},
    {1255, "ms-hebr windows-1255 cp1255"},
    {1256, "ms-arab windows-1256 cp1256"},
    {1257, "windows-1257 cp1257 winbaltrim"},
    {1258, "windows-1258 cp1258"},
    {1361, "johab cp1361"},
    {10000, "macintosh csmacintosh mac"},
    {10001, "x-mac-japanese"},
    {10002, "x-mac-chinesetrad"},
    {10003, "x-mac-korean"},
    {10004, "x-mac-arabic"},
    {10005, "x-mac-hebrew"},
    {10006, "x-mac-greek"},
    {10007, "x-mac-cyrillic"},
    {10008, "x-mac-chinesesimp"},
    {10010, "x-mac-romanian"},
    {10017, "x-mac-ukrainian"},
    {10021, "x-mac-thai"},
    {10029, "x-mac-ce"},
    {10079, "x-mac-icelandic"},
    {10081, "x-mac-turkish"},
    {10082, "x-mac-croatian"},
    {12000, "utf-32 utf32le utf-32le utf32 cp12000"},
    {12001, "utf32be utf-32be cp12001"},
    {20000, "x-chinese-cns x-chinese_cns"},
    {20001, "x-cp20001"},
    {20002, "x_chinese-eten x-chinese-eten"},
    {20003, "x-cp20003"},
    {20004, "x-cp20004"},
    {20005, "x-cp20005"},
    {20105, "x-ia5"},
    {20106, "x-ia5-german"},
    {20107, "x-ia5-swedish"},
    {20108, "x-ia5-norwegian"},
    {20127, "ibm367 us-ascii ascii cp367 iso-ir-6 us csascii ansi_x3.4-1968 ansi_x3.4-1986 iso646-us "
            "iso-ir-6us iso_646.irv:1991"},
    {20261, "x-cp20261"},
    {20269, "x-cp20269"},
    {20866, "koi koi8r koi8 koi8-r cskoi8r"},
    {20932, "cseucpkdfmtjapanese extended_unix_code_packed_format_for_japanese euc-jp"},
    {20936, "x-cp20936"},
    {20949, "x-cp20949"},
    {21866, "koi8-ru koi8-u"},
    {28591, "l1 ibm819 iso-ir-100 iso8859-1 csisolatin1 cp819 iso-8859-1 iso_8859-1:1987 latin1 iso_8859-1"},
    {28592, "l2 iso-ir-101 iso8859-2 csisolatin2 iso-8859-2 iso_8859-2:1987 latin2 iso_8859-2"},
    {28593, "l3 iso-ir-109 iso8859-3 csisolatin3 iso-8859-3 iso_8859-3:1988 latin3 iso_8859-3"},
    {28594, "l4 iso-ir-110 iso8859-4 csisolatin4 iso-8859-4 iso_8859-4:1988 latin4 iso_8859-4"},
    {28595, "iso-ir-144 iso8859-5 csisolatin5 iso-8859-5 csisolatincyrillic cyrillic iso_8859-5:1988 iso_8859-5"},
    {28596, "iso-ir-127 iso8859-6 iso-8859-6 iso_8859-6:1987 iso_8859-6 ecma-114 csisolatinarabic arabic"},
    {28597, "iso-ir-126 iso8859-7 csisolatingreek greek elot_928 iso-8859-7 iso_8859-7:1987 greek8 iso_8859-7 "
            "ecma-118"},
    {28598, "csisolatinhebrew hebrew iso-ir-138 iso8859-8 visual iso-8859-8 iso_8859-8:1988 iso_8859-8"},
    {28599, "l5 iso-ir-148 iso8859-9 iso-8859-9 iso_8859-9:1989 latin5 iso_8859-9"},
    {28603, "iso8859-13 iso-8859-13"},
    {28605, "l9 latin-9 iso_8859-15 iso8859-15 iso-8859-15 latin9"},
    {29001, "x-europa"},
    {38598, "iso8859-8-i iso-8859-8-i logical"},
    {50220, "iso-2022-jp"},
    {50221, "_iso-2022-jp ms50221 iso-2022-jp-ms csiso2022jp iso2022-jp-ms windows-50221 cp50221"},
    {50222, "_iso-2022-jp$sio"},
    {50225, "iso2022-kr csiso2022kr iso-2022-kr"},
    {50227, "x-cp50227"},
    {51932, "cp51932 x-euc ms51932 x-euc-jp windows-51932"},
    {51936, "euc-cn x-euc-cn"},
    {51949, "euc-kr cseuckr"},
    {52936, "hz-gb-2312"},
    {54936, "iso-4873:1986 gb18030"},
    {57002, "x-iscii-de"},
    {57003, "x-iscii-be"},
    {57004, "x-iscii-ta"},
    {57005, "x-iscii-te"},
    {57006, "x-iscii-as"},
    {57007, "x-iscii-or"},
    {57008, "x-iscii-ka"},
    {57009, "x-iscii-ma"},
    {57010, "x-iscii-gu"},
    {57011, "x-iscii-pa"},
    {65000, "unicode-1-1-utf-7 x-unicode-2-0-utf-7 csunicode11utf7 utf-7"},
    {65001, "unicode-1-1-utf-8 unicode-2-0-utf-8 x-unicode-2-0-utf-8 utf8 utf-8 cp65001"},
};

const std::unordered_map<std::string, int>& EncodingTable()
{
    static const auto table = [] {
        std::unordered_map<std::string, int> t;
        for (const CodePageNames& entry : kEncodingNames) {
            const char* p = entry.szNames;
            while (*p) {
                const char* e = std::strchr(p, ' ');
                if (!e)
                    e = p + std::strlen(p);
                t.emplace(std::string(p, e), entry.nCodePage);
                p = *e ? e + 1 : e;
            }
        }
        return t;
    }();
    return table;
}

// The code page that iconv should be handed: UTF-32 of our own naming
// (65005) is little-endian.
UINT IconvCodePage(int nCodePage)
{
    if (nCodePage == 65005)
        return 12000;
    return nCodePage <= 0 ? CP_UTF8 : static_cast<UINT>(nCodePage);
}

}  // namespace

int CXmlDoc::GetEncodingCodePage(XML_CSTR pszEncoding)
{
    const char* s = pszEncoding.pcsz;
    if (!s || !*s)
        return 0;
    if (std::strncmp(s, "UTF-32", 6) == 0) {
        // "UTF-32BE" names big-endian text; taking it as our little-endian
        // UTF-32 would swap every character.
        if (std::strcmp(s + 6, "BE") == 0)
            return 12001;
        return 65005;
    }
    const size_t nLen = std::strlen(s);
    if (nLen >= 100)
        return -1;
    std::string lower(s, nLen);
    for (char& c : lower)
        c = LowerAscii(c);
    const auto& table = EncodingTable();
    const auto it = table.find(lower);
    return it == table.end() ? -1 : it->second;
}

namespace vxxml {

bool ConvertText(const std::string& in, int nFromCP, int nToCP, std::string& out, bool* pbLoss)
{
    bool bLost = false;
    if (!vxk::ConvertCodePage(IconvCodePage(nFromCP), IconvCodePage(nToCP), in, out, &bLost))
        return false;
    if (bLost && pbLoss)
        *pbLoss = true;
    return true;
}

}  // namespace vxxml

CString CXmlDoc::GetDeclaredEncoding(XML_CSTR szDoc)
{
    if (!szDoc.pcsz)
        return CString();
    TokenCursor c;
    c.pDoc = szDoc.pcsz;
    c.nEnd = static_cast<int>(std::strlen(szDoc.pcsz));
    const char* d = c.pDoc;
    bool bHtml = false;
    const auto nameIs = [&](const char* szName) {
        const int n = static_cast<int>(std::strlen(szName));
        return c.nNameR - c.nNameL == n && NamesEqual(d + c.nNameL, szName, n, true);
    };
    const auto attrib = [&](int nFrom, int nTo, const char* szName) {
        AttribSpan span;
        if (!FindAttrib(d, nFrom, nTo, szName, true, span))
            return std::string();
        return std::string(d + span.nValueL, static_cast<size_t>(span.nValueR - span.nValueL));
    };
    for (;;) {
        const int nType = NextToken(c);
        if (nType == kTokEnd || nType == kTokError)
            return CString();
        if (nType == NT_PROCESSING_INSTRUCTION && c.nOffset == 0 && nameIs("xml"))
            return CString(attrib(c.nNameR, c.nOffset + c.nLength - 2, "encoding"));
        if (nType == kTokEndTag && bHtml && nameIs("head"))
            return CString();
        if (nType != kTokStartTag)
            continue;
        if (!bHtml) {
            if (!nameIs("html"))
                return CString();
            bHtml = true;
            continue;
        }
        if (!nameIs("meta"))
            continue;
        const int nTo = c.nOffset + c.nLength - 1;
        std::string equiv = attrib(c.nNameR, nTo, "http-equiv");
        for (char& ch : equiv)
            ch = LowerAscii(ch);
        if (equiv != "content-type")
            continue;
        const std::string content = attrib(c.nNameR, nTo, "content");
        std::string lower = content;
        for (char& ch : lower)
            ch = LowerAscii(ch);
        const size_t at = lower.find("charset");
        if (at == std::string::npos)
            continue;
        size_t i = at + 7;
        while (i < content.size() && IsSpace(static_cast<unsigned char>(content[i])))
            ++i;
        if (i >= content.size() || content[i] != '=')
            continue;
        ++i;
        while (i < content.size() && IsSpace(static_cast<unsigned char>(content[i])))
            ++i;
        size_t e = i;
        while (e < content.size() && !IsSpace(static_cast<unsigned char>(content[e])) && content[e] != ';'
               && content[e] != '"' && content[e] != '\'' && content[e] != ',')
            ++e;
        return CString(content.substr(i, e - i));
    }
}
