// Escaping, entity references and the UTF-8 and UTF-16 coders of CXmlDoc.
#include "ui/common/CXmlDoc.h"

#include "ui/common/CXmlDoc_p.h"

#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

using namespace vxxml;

namespace {

struct Entity {
    const char* szName;
    int nCode;
};

// The character entity references of HTML 4.01, and "apos".
const Entity kEntities[] = {
    {"quot", 34},      {"amp", 38},      {"apos", 39},      {"lt", 60},       {"gt", 62},       {"nbsp", 160},
    {"iexcl", 161},    {"cent", 162},    {"pound", 163},    {"curren", 164},  {"yen", 165},     {"brvbar", 166},
    {"sect", 167},     {"uml", 168},     {"copy", 169},     {"ordf", 170},    {"laquo", 171},   {"not", 172},
    {"shy", 173},      {"reg", 174},     {"macr", 175},     {"deg", 176},     {"plusmn", 177},  {"sup2", 178},
    {"sup3", 179},     {"acute", 180},   {"micro", 181},    {"para", 182},    {"middot", 183},  {"cedil", 184},
    {"sup1", 185},     {"ordm", 186},    {"raquo", 187},    {"frac14", 188},  {"frac12", 189},  {"frac34", 190},
    {"iquest", 191},   {"Agrave", 192},  {"Aacute", 193},   {"Acirc", 194},   {"Atilde", 195},  {"Auml", 196},
    {"Aring", 197},    {"AElig", 198},   {"Ccedil", 199},   {"Egrave", 200},  {"Eacute", 201},  {"Ecirc", 202},
    {"Euml", 203},     {"Igrave", 204},  {"Iacute", 205},   {"Icirc", 206},   {"Iuml", 207},    {"ETH", 208},
    {"Ntilde", 209},   {"Ograve", 210},  {"Oacute", 211},   {"Ocirc", 212},   {"Otilde", 213},  {"Ouml", 214},
    {"times", 215},    {"Oslash", 216},  {"Ugrave", 217},   {"Uacute", 218},  {"Ucirc", 219},   {"Uuml", 220},
    {"Yacute", 221},   {"THORN", 222},   {"szlig", 223},    {"agrave", 224},  {"aacute", 225},  {"acirc", 226},
    {"atilde", 227},   {"auml", 228},    {"aring", 229},    {"aelig", 230},   {"ccedil", 231},  {"egrave", 232},
    {"eacute", 233},   {"ecirc", 234},   {"euml", 235},     {"igrave", 236},  {"iacute", 237},  {"icirc", 238},
    {"iuml", 239},     {"eth", 240},     {"ntilde", 241},   {"ograve", 242},  {"oacute", 243},  {"ocirc", 244},
    {"otilde", 245},   {"ouml", 246},    {"divide", 247},   {"oslash", 248},  {"ugrave", 249},  {"uacute", 250},
    {"ucirc", 251},    {"uuml", 252},    {"yacute", 253},   {"thorn", 254},   {"yuml", 255},    {"OElig", 338},
    {"oelig", 339},    {"Scaron", 352},  {"scaron", 353},   {"Yuml", 376},    {"fnof", 402},    {"circ", 710},
    {"tilde", 732},    {"Alpha", 913},   {"Beta", 914},     {"Gamma", 915},   {"Delta", 916},   {"Epsilon", 917},
    {"Zeta", 918},     {"Eta", 919},     {"Theta", 920},    {"Iota", 921},    {"Kappa", 922},   {"Lambda", 923},
    {"Mu", 924},       {"Nu", 925},      {"Xi", 926},       {"Omicron", 927}, {"Pi", 928},      {"Rho", 929},
    {"Sigma", 931},    {"Tau", 932},     {"Upsilon", 933},  {"Phi", 934},     {"Chi", 935},     {"Psi", 936},
    {"Omega", 937},    {"alpha", 945},   {"beta", 946},     {"gamma", 947},   {"delta", 948},   {"epsilon", 949},
    {"zeta", 950},     {"eta", 951},     {"theta", 952},    {"iota", 953},    {"kappa", 954},   {"lambda", 955},
    {"mu", 956},       {"nu", 957},      {"xi", 958},       {"omicron", 959}, {"pi", 960},      {"rho", 961},
    {"sigmaf", 962},   {"sigma", 963},   {"tau", 964},      {"upsilon", 965}, {"phi", 966},     {"chi", 967},
    {"psi", 968},      {"omega", 969},   {"thetasym", 977}, {"upsih", 978},   {"piv", 982},     {"ensp", 8194},
    {"emsp", 8195},    {"thinsp", 8201}, {"zwnj", 8204},    {"zwj", 8205},    {"lrm", 8206},    {"rlm", 8207},
    {"ndash", 8211},   {"mdash", 8212},  {"lsquo", 8216},   {"rsquo", 8217},  {"sbquo", 8218},  {"ldquo", 8220},
    {"rdquo", 8221},   {"bdquo", 8222},  {"dagger", 8224},  {"Dagger", 8225}, {"bull", 8226},   {"hellip", 8230},
    {"permil", 8240},  {"prime", 8242},  {"Prime", 8243},   {"lsaquo", 8249}, {"rsaquo", 8250}, {"oline", 8254},
    {"frasl", 8260},   {"euro", 8364},   {"image", 8465},   {"weierp", 8472}, {"real", 8476},   {"trade", 8482},
    {"alefsym", 8501}, {"larr", 8592},   {"uarr", 8593},    {"rarr", 8594},   {"darr", 8595},   {"harr", 8596},
    {"crarr", 8629},   {"lArr", 8656},   {"uArr", 8657},    {"rArr", 8658},   {"dArr", 8659},   {"hArr", 8660},
    {"forall", 8704},  {"part", 8706},   {"exist", 8707},   {"empty", 8709},  {"nabla", 8711},  {"isin", 8712},
    {"notin", 8713},   {"ni", 8715},     {"prod", 8719},    {"sum", 8721},    {"minus", 8722},  {"lowast", 8727},
    {"radic", 8730},   {"prop", 8733},   {"infin", 8734},   {"ang", 8736},    {"and", 8743},    {"or", 8744},
    {"cap", 8745},     {"cup", 8746},    {"int", 8747},     {"there4", 8756}, {"sim", 8764},    {"cong", 8773},
    {"asymp", 8776},   {"ne", 8800},     {"equiv", 8801},   {"le", 8804},     {"ge", 8805},     {"sub", 8834},
    {"sup", 8835},     {"nsub", 8836},   {"sube", 8838},    {"supe", 8839},   {"oplus", 8853},  {"otimes", 8855},
    {"perp", 8869},    {"sdot", 8901},   {"lceil", 8968},   {"rceil", 8969},  {"lfloor", 8970}, {"rfloor", 8971},
    {"lang", 9001},    {"rang", 9002},   {"loz", 9674},     {"spades", 9824}, {"clubs", 9827},  {"hearts", 9829},
    {"diams", 9830},
};

// Lower-case name to its spellings; a name with an upper-case letter comes
// first, so a reference matching neither spelling exactly takes that one.
const std::unordered_map<std::string, std::vector<Entity>>& EntityTable()
{
    static const auto table = [] {
        std::unordered_map<std::string, std::vector<Entity>> t;
        for (const Entity& e : kEntities) {
            std::string lower(e.szName);
            for (char& c : lower)
                c = LowerAscii(c);
            auto& spellings = t[lower];
            if (lower != e.szName)
                spellings.insert(spellings.begin(), e);
            else
                spellings.push_back(e);
        }
        return t;
    }();
    return table;
}

int LookupEntity(std::string_view name)
{
    std::string lower(name);
    for (char& c : lower)
        c = LowerAscii(c);
    const auto& table = EntityTable();
    const auto it = table.find(lower);
    if (it == table.end())
        return 0;
    for (const Entity& e : it->second)
        if (name == e.szName)
            return e.nCode;
    return it->second.front().nCode;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The code point of a reference name (between "&" and ";"), 0 when none.
int ReferenceCode(std::string_view name)
{
    if (name.empty())
        return 0;
    if (name[0] != '#')
        return LookupEntity(name);
    int nCode = 0;
    if (name.size() > 2 && LowerAscii(name[1]) == 'x') {
        for (size_t i = 2; i < name.size(); ++i) {
            const int v = HexValue(name[i]);
            if (v < 0)
                return 0;
            nCode = nCode * 16 + v;
        }
        return nCode;
    }
    if (name.size() < 2)
        return 0;
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        nCode = nCode * 10 + (name[i] - '0');
    }
    return nCode;
}

bool IsRefStart(unsigned char c)
{
    return c == '#' || c == ':' || c == '_' || c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsRefChar(unsigned char c)
{
    return IsRefStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

}  // namespace

namespace vxxml {

void ApplyWhitespaceFlags(std::string& s, int nFlags)
{
    if (!(nFlags & (CXmlDoc::DF_TRIM_WHITESPACE | CXmlDoc::DF_COLLAPSE_WHITESPACE)))
        return;
    size_t b = 0;
    size_t e = s.size();
    while (b < e && IsSpace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && IsSpace(static_cast<unsigned char>(s[e - 1])))
        --e;
    if (!(nFlags & CXmlDoc::DF_COLLAPSE_WHITESPACE)) {
        s = s.substr(b, e - b);
        return;
    }
    std::string out;
    out.reserve(e - b);
    for (size_t i = b; i < e; ++i) {
        if (IsSpace(static_cast<unsigned char>(s[i]))) {
            while (i + 1 < e && IsSpace(static_cast<unsigned char>(s[i + 1])))
                ++i;
            out += ' ';
        } else {
            out += s[i];
        }
    }
    s = std::move(out);
}

}  // namespace vxxml

CString CXmlDoc::EscapeText(const char* szText, int nFlags)
{
    if (!szText)
        return CString();
    const bool bAttrib = (nFlags & NF_ESCAPE_QUOTES) != 0;
    const bool bKeepRefs = (nFlags & NF_WITH_REFS) != 0;
    const size_t nLen = std::strlen(szText);
    std::string out;
    out.reserve(nLen + nLen / 10 + 7);
    for (size_t i = 0; i < nLen; ++i) {
        const char c = szText[i];
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&': {
            if (bKeepRefs && IsRefStart(static_cast<unsigned char>(szText[i + 1]))) {
                size_t j = i + 2;
                while (j < nLen && IsRefChar(static_cast<unsigned char>(szText[j])))
                    ++j;
                if (j < nLen && szText[j] == ';') {
                    out.append(szText + i, j + 1 - i);
                    i = j;
                    break;
                }
            }
            out += "&amp;";
            break;
        }
        case '"':
            out += bAttrib ? "&quot;" : "\"";
            break;
        case '\'':
            out += bAttrib ? "&apos;" : "'";
            break;
        default:
            out += c;
        }
    }
    return CString(std::move(out));
}

CString CXmlDoc::UnescapeText(const char* szText, int nTextLength, int nFlags)
{
    if (!szText)
        return CString();
    const int nLen = nTextLength < 0 ? static_cast<int>(std::strlen(szText)) : nTextLength;
    const bool bTrim = (nFlags & (DF_TRIM_WHITESPACE | DF_COLLAPSE_WHITESPACE)) != 0;
    const bool bCollapse = (nFlags & DF_COLLAPSE_WHITESPACE) != 0;
    std::string out;
    out.reserve(static_cast<size_t>(nLen));
    for (int i = 0; i < nLen; ++i) {
        const char c = szText[i];
        if (bTrim && IsSpace(static_cast<unsigned char>(c))) {
            int j = i;
            while (j < nLen && IsSpace(static_cast<unsigned char>(szText[j])))
                ++j;
            // leading and trailing runs go; inner ones stay or become one space
            if (!out.empty() && j < nLen) {
                if (bCollapse)
                    out += ' ';
                else
                    out.append(szText + i, static_cast<size_t>(j - i));
            }
            i = j - 1;
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        int j = i + 1;
        while (j < nLen && j - i - 1 <= 9 && szText[j] != ';' && static_cast<unsigned char>(szText[j]) < 0x80)
            ++j;
        int nCode = 0;
        if (j < nLen && szText[j] == ';' && j - i - 1 <= 9)
            nCode = ReferenceCode(std::string_view(szText + i + 1, static_cast<size_t>(j - i - 1)));
        // Code points beyond Unicode and lone surrogates are no characters:
        // the reference stays as written.
        if (nCode <= 0 || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
            out += c;
            continue;
        }
        char buf[4];
        int n = 0;
        EncodeCharUTF8(nCode, buf, n);
        out.append(buf, static_cast<size_t>(n));
        i = j;
    }
    return CString(std::move(out));
}

void CXmlDoc::EncodeCharUTF8(int nUChar, char* pszUTF8, int& nUTF8Len)
{
    if (nUChar < 0 || nUChar > 0x10FFFF || (nUChar >= 0xD800 && nUChar <= 0xDFFF))
        nUChar = '?';
    unsigned char b[4];
    int n;
    const unsigned u = static_cast<unsigned>(nUChar);
    if (u < 0x80) {
        b[0] = static_cast<unsigned char>(u);
        n = 1;
    } else if (u < 0x800) {
        b[0] = static_cast<unsigned char>(0xC0 | (u >> 6));
        b[1] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        n = 2;
    } else if (u < 0x10000) {
        b[0] = static_cast<unsigned char>(0xE0 | (u >> 12));
        b[1] = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
        b[2] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        n = 3;
    } else {
        b[0] = static_cast<unsigned char>(0xF0 | (u >> 18));
        b[1] = static_cast<unsigned char>(0x80 | ((u >> 12) & 0x3F));
        b[2] = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
        b[3] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        n = 4;
    }
    if (pszUTF8)
        std::memcpy(pszUTF8 + nUTF8Len, b, static_cast<size_t>(n));
    nUTF8Len += n;
}

// Only the shortest form of a scalar value is a character: overlong forms,
// surrogates and values beyond U+10FFFF are invalid (-1), as is a sequence
// cut by the end.
int CXmlDoc::DecodeCharUTF8(const char*& pszUTF8, const char* pszUTF8End)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pszUTF8);
    const unsigned char* end = reinterpret_cast<const unsigned char*>(pszUTF8End);
    const auto avail = [&](int n) {
        if (end)
            return end - p >= n;
        for (int k = 1; k < n; ++k)
            if (!p[k])
                return false;
        return true;
    };
    const unsigned c = p[0];
    int n;
    unsigned cp;
    unsigned min;
    if (c < 0x80) {
        ++pszUTF8;
        return static_cast<int>(c);
    } else if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
        min = 0x10000;
    } else {
        ++pszUTF8;
        return -1;
    }
    if (!avail(n)) {
        ++pszUTF8;
        return -1;
    }
    for (int k = 1; k < n; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            ++pszUTF8;
            return -1;
        }
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pszUTF8;
        return -1;
    }
    pszUTF8 += n;
    return static_cast<int>(cp);
}

void CXmlDoc::EncodeCharUTF16(int nUChar, unsigned short* pwszUTF16, int& nUTF16Len)
{
    if (nUChar < 0 || nUChar > 0x10FFFF || (nUChar >= 0xD800 && nUChar <= 0xDFFF))
        nUChar = '?';
    if (nUChar < 0x10000) {
        if (pwszUTF16)
            pwszUTF16[nUTF16Len] = static_cast<unsigned short>(nUChar);
        ++nUTF16Len;
        return;
    }
    const int v = nUChar - 0x10000;
    if (pwszUTF16) {
        pwszUTF16[nUTF16Len] = static_cast<unsigned short>(0xD800 | (v >> 10));
        pwszUTF16[nUTF16Len + 1] = static_cast<unsigned short>(0xDC00 | (v & 0x3FF));
    }
    nUTF16Len += 2;
}

int CXmlDoc::DecodeCharUTF16(const unsigned short*& pwszUTF16, const unsigned short* pszUTF16End)
{
    const unsigned u = *pwszUTF16++;
    if (u < 0xD800 || u > 0xDFFF)
        return static_cast<int>(u);
    if (u >= 0xDC00)
        return -1;
    if ((pszUTF16End && pwszUTF16 >= pszUTF16End) || *pwszUTF16 < 0xDC00 || *pwszUTF16 > 0xDFFF)
        return -1;
    const unsigned low = *pwszUTF16++;
    return static_cast<int>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
}

// nUTF8Count bytes of UTF-8 (-1: up to the NUL) into UTF-16 units; with no
// output only counts. Invalid sequences become "?".
int CXmlDoc::UTF8To16(unsigned short* pwszUTF16, const char* pszUTF8, int nUTF8Count)
{
    if (!pszUTF8)
        return 0;
    const char* p = pszUTF8;
    const char* end = pszUTF8 + (nUTF8Count < 0 ? static_cast<int>(std::strlen(pszUTF8)) : nUTF8Count);
    int nLen = 0;
    while (p < end)
        EncodeCharUTF16(DecodeCharUTF8(p, end), pwszUTF16, nLen);
    return nLen;
}

// A NUL-terminated UTF-16 text into UTF-8; nUTF8Count is the room of the
// output in bytes (ignored when only counting). Lone surrogates become "?".
int CXmlDoc::UTF16To8(char* pszUTF8, const unsigned short* pwszUTF16, int nUTF8Count)
{
    if (!pwszUTF16)
        return 0;
    int nLen = 0;
    const unsigned short* p = pwszUTF16;
    while (*p) {
        const int nChar = DecodeCharUTF16(p);
        int nCharLen = 0;
        EncodeCharUTF8(nChar, nullptr, nCharLen);
        if (pszUTF8 && nLen + nCharLen > nUTF8Count)
            break;
        EncodeCharUTF8(nChar, pszUTF8, nLen);
    }
    return nLen;
}

bool CXmlDoc::DetectUTF8(const char* pText, int nTextLen, int* pnNonASCII, bool* bErrorAtEnd)
{
    int nNonAscii = 0;
    bool bValid = true;
    bool bAtEnd = false;
    if (pText) {
        const char* p = pText;
        const char* end = pText + nTextLen;
        while (p < end && *p) {
            if (static_cast<unsigned char>(*p) < 0x80) {
                ++p;
                continue;
            }
            ++nNonAscii;
            const char* start = p;
            if (DecodeCharUTF8(p, end) < 0) {
                bValid = false;
                // a well-begun sequence cut by the end of the given length
                const unsigned char lead = static_cast<unsigned char>(*start);
                const int nNeed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
                bool bPrefixOk = lead >= 0xC2 && lead <= 0xF4 && end - start < nNeed;
                for (const char* q = start + 1; bPrefixOk && q < end; ++q)
                    bPrefixOk = (static_cast<unsigned char>(*q) & 0xC0) == 0x80;
                bAtEnd = bPrefixOk;
                break;
            }
        }
    }
    if (pnNonASCII)
        *pnNonASCII = nNonAscii;
    if (bErrorAtEnd)
        *bErrorAtEnd = bAtEnd;
    return bValid;
}

namespace vxxml {

std::string Utf16ToAnsi(const unsigned short* p, size_t n, bool* pbLoss)
{
    std::string out;
    out.reserve(n);
    const unsigned short* end = p + n;
    char buf[4];
    while (p < end) {
        const int nChar = CXmlDoc::DecodeCharUTF16(p, end);
        if (nChar < 0 && pbLoss)
            *pbLoss = true;
        int nLen = 0;
        CXmlDoc::EncodeCharUTF8(nChar, buf, nLen);
        out.append(buf, static_cast<size_t>(nLen));
    }
    return out;
}

std::u16string AnsiToUtf16(const char* p, size_t n)
{
    const int nUnits = CXmlDoc::UTF8To16(nullptr, p, static_cast<int>(n));
    std::u16string out(static_cast<size_t>(nUnits), u'\0');
    CXmlDoc::UTF8To16(reinterpret_cast<unsigned short*>(out.data()), p, static_cast<int>(n));
    return out;
}

}  // namespace vxxml

// Our ANSI code page is UTF-8, so these copy; text that is not valid UTF-8
// has its bad bytes replaced and the loss flag set.
CString CXmlDoc::UTF8ToA(const char* pszUTF8, int* pnFailed)
{
    if (pnFailed)
        *pnFailed = 0;
    if (!pszUTF8)
        return CString();
    const int nLen = static_cast<int>(std::strlen(pszUTF8));
    if (DetectUTF8(pszUTF8, nLen))
        return CString(pszUTF8, nLen);
    std::string out;
    const char* p = pszUTF8;
    const char* end = pszUTF8 + nLen;
    char buf[4];
    while (p < end) {
        int n = 0;
        EncodeCharUTF8(DecodeCharUTF8(p, end), buf, n);
        out.append(buf, static_cast<size_t>(n));
    }
    if (pnFailed)
        *pnFailed = 1;
    return CString(std::move(out));
}

CString CXmlDoc::AToUTF8(const char* pszANSI)
{
    return CString(pszANSI ? pszANSI : "");
}
