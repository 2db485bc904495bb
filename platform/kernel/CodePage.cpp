#include "platform/kernel/codepage.h"

#include "platform/kernel/errors.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <map>

namespace vxk {
namespace {

struct CodePageName {
    UINT cp;
    const char* iconv;
};

// Windows code page numbers and the glibc converter for each. Code pages
// without a converter here (720, 52936, the ISCII pages, ...) are unknown.
const CodePageName kCodePages[] = {
    {154, "PT154"},          {437, "CP437"},         {500, "IBM500"},
    {708, "ASMO-708"},       {737, "CP737"},         {775, "CP775"},
    {850, "CP850"},          {852, "CP852"},         {855, "CP855"},
    {857, "CP857"},          {858, "CP858"},         {860, "CP860"},
    {861, "CP861"},          {862, "CP862"},         {863, "CP863"},
    {864, "CP864"},          {865, "CP865"},         {866, "CP866"},
    {869, "CP869"},          {874, "CP874"},         {932, "CP932"},
    {936, "CP936"},          {949, "CP949"},         {950, "CP950"},
    {1125, "CP1125"},        {1133, "CP1133"},       {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},      {1250, "CP1250"},       {1251, "CP1251"},
    {1252, "CP1252"},        {1253, "CP1253"},       {1254, "CP1254"},
    {1255, "CP1255"},        {1256, "CP1256"},       {1257, "CP1257"},
    {1258, "CP1258"},        {1361, "JOHAB"},        {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"}, {10017, "MAC-UK"},      {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},       {12000, "UTF-32LE"},    {12001, "UTF-32BE"},
    {20127, "ASCII"},        {20866, "KOI8-R"},      {20932, "EUC-JP"},
    {21866, "KOI8-U"},       {28591, "ISO-8859-1"},  {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},   {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},   {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},   {28600, "ISO-8859-10"}, {28601, "ISO-8859-11"},
    {28603, "ISO-8859-13"},  {28604, "ISO-8859-14"}, {28605, "ISO-8859-15"},
    {28606, "ISO-8859-16"},  {38598, "ISO-8859-8"},  {50220, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"},  {50227, "ISO-2022-CN"}, {51932, "EUC-JP"},
    {51936, "EUC-CN"},       {51949, "EUC-KR"},      {54936, "GB18030"},
    {65000, "UTF-7"},        {65001, "UTF-8"},
};

UINT Normalize(UINT cp)
{
    return (cp == 0 || cp == CP_OEMCP || cp == CP_MACCP || cp == CP_THREAD_ACP) ? CP_UTF8 : cp;
}

bool IsUnicodeCodePage(UINT cp)
{
    return cp == 65001 || cp == 65000 || cp == 1200 || cp == 1201 || cp == 12000 || cp == 12001;
}

bool IsValidScalar(uint32_t c)
{
    return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

// Hand-written UTF-8, the process's own code page and the common case.
void DecodeUtf8(std::string_view in, std::wstring& out, bool& invalid)
{
    out.reserve(out.size() + in.size());
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* end = p + in.size();
    while (p < end) {
        unsigned char b = *p;
        if (b < 0x80) {
            out += wchar_t(b);
            ++p;
            continue;
        }
        int n = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
        uint32_t c = n == 3 ? (b & 0x07u) : n == 2 ? (b & 0x0Fu) : (b & 0x1Fu);
        int got = 0;
        if (n > 0 && b < 0xF8) {
            while (got < n && p + 1 + got < end && (p[1 + got] & 0xC0) == 0x80) {
                c = (c << 6) | (p[1 + got] & 0x3Fu);
                ++got;
            }
        }
        static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (n <= 0 || b >= 0xF8 || got < n || c < minimum[n] || !IsValidScalar(c)) {
            // One replacement for the lead byte and what followed it validly.
            out += wchar_t(0xFFFD);
            invalid = true;
            p += 1 + got;
            continue;
        }
        out += wchar_t(c);
        p += 1 + n;
    }
}

void AppendUtf8(uint32_t c, std::string& out)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Joins surrogate pairs and marks what is not a character: U+FFFD (-1 in the
// returned flag) stands for each invalid unit.
std::u32string Scalars(std::wstring_view in, bool& invalid)
{
    std::u32string s;
    s.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        uint32_t c = uint32_t(in[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size()) {
            uint32_t low = uint32_t(in[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                s += char32_t(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (!IsValidScalar(c)) {
            invalid = true;
            s += char32_t(0xFFFD);
            continue;
        }
        s += char32_t(c);
    }
    return s;
}

// One converter per direction and code page, per thread (iconv descriptors
// carry state and must not be shared between threads).
class Converters {
public:
    ~Converters()
    {
        for (auto& [key, cd] : m_open)
            iconv_close(cd);
    }
    iconv_t get(UINT cp, bool decode)
    {
        auto key = std::make_pair(cp, decode);
        auto it = m_open.find(key);
        if (it != m_open.end()) {
            iconv(it->second, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
            return it->second;
        }
        const char* name = IconvNameForCodePage(cp);
        if (!name)
            return iconv_t(-1);
        iconv_t cd = decode ? iconv_open("WCHAR_T", name) : iconv_open(name, "WCHAR_T");
        if (cd != iconv_t(-1))
            m_open.emplace(key, cd);
        return cd;
    }

private:
    std::map<std::pair<UINT, bool>, iconv_t> m_open;
};

thread_local Converters t_converters;

bool DecodeIconv(UINT cp, std::string_view in, std::wstring& out, bool& invalid)
{
    iconv_t cd = t_converters.get(cp, true);
    if (cd == iconv_t(-1))
        return false;
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    std::wstring buf(in.size() + 16, L'\0');
    size_t done = 0;
    while (srcLeft > 0) {
        char* dst = reinterpret_cast<char*>(&buf[done]);
        size_t dstLeft = (buf.size() - done) * sizeof(wchar_t);
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        done = buf.size() - dstLeft / sizeof(wchar_t);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG) {
            buf.resize(buf.size() * 2);
        } else {
            // An invalid or cut sequence: one replacement per byte skipped.
            if (done == buf.size())
                buf.resize(buf.size() * 2);
            buf[done++] = wchar_t(0xFFFD);
            invalid = true;
            ++src;
            --srcLeft;
        }
    }
    // Some decoders hold the last character back (CP1258 waits for a
    // combining mark that may follow): flush it out.
    for (;;) {
        char* dst = reinterpret_cast<char*>(&buf[done]);
        size_t dstLeft = (buf.size() - done) * sizeof(wchar_t);
        size_t r = iconv(cd, nullptr, nullptr, &dst, &dstLeft);
        done = buf.size() - dstLeft / sizeof(wchar_t);
        if (r != size_t(-1) || errno != E2BIG)
            break;
        buf.resize(buf.size() * 2);
    }
    buf.resize(done);
    out += buf;
    return true;
}

bool EncodeIconv(UINT cp, const std::u32string& in, std::string& out, std::string_view defaultChar, bool& lost)
{
    iconv_t cd = t_converters.get(cp, false);
    if (cd == iconv_t(-1))
        return false;
    static_assert(sizeof(wchar_t) == sizeof(char32_t));
    char* src = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
    size_t srcLeft = in.size() * sizeof(char32_t);
    std::string buf(in.size() * 2 + 16, '\0');
    size_t done = 0;
    auto flush = [&] {
        for (;;) {
            char* dst = &buf[done];
            size_t dstLeft = buf.size() - done;
            size_t r = iconv(cd, nullptr, nullptr, &dst, &dstLeft);
            done = buf.size() - dstLeft;
            if (r != size_t(-1) || errno != E2BIG)
                return;
            buf.resize(buf.size() * 2);
        }
    };
    while (srcLeft > 0) {
        char* dst = &buf[done];
        size_t dstLeft = buf.size() - done;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        done = buf.size() - dstLeft;
        if (r != size_t(-1))
            break;
        if (errno == E2BIG) {
            buf.resize(buf.size() * 2);
            continue;
        }
        // A character the code page cannot hold: leave any shift state, then
        // write the default character in its place.
        flush();
        if (buf.size() - done < defaultChar.size())
            buf.resize(buf.size() * 2 + defaultChar.size());
        memcpy(&buf[done], defaultChar.data(), defaultChar.size());
        done += defaultChar.size();
        lost = true;
        src += sizeof(char32_t);
        srcLeft -= sizeof(char32_t);
    }
    flush();
    buf.resize(done);
    out += buf;
    return true;
}

// ISO-2022 text (the Japanese forms 50220-50222, Korean 50225, Chinese
// 50227) holds ESC only to begin a designation or a single shift, and the
// Korean and Chinese forms hold SO only after an SO designation
// ("ESC $ ) F"). glibc passes a stray ESC on as a character and drops a
// stray SO, so a broken text would read as good and fail to come back the
// same: both are marked invalid, the ESC replaced.
void MarkStrayIso2022Controls(UINT cp, std::string_view in, std::wstring& out, bool& invalid)
{
    const bool japanese = cp >= 50220 && cp <= 50222;
    if (!japanese && cp != 50225 && cp != 50227)
        return;
    for (wchar_t& c : out) {
        if (c == 0x1B) {
            c = wchar_t(0xFFFD);
            invalid = true;
        }
    }
    if (japanese)
        return;
    bool designated = false;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in.substr(i, 3) == "\x1b$)")
            designated = true;
        else if (in[i] == '\x0e' && !designated)
            invalid = true;
    }
}

}  // namespace

const char* IconvNameForCodePage(UINT codePage)
{
    UINT cp = Normalize(codePage);
    for (const CodePageName& e : kCodePages)
        if (e.cp == cp)
            return e.iconv;
    return nullptr;
}

bool DecodeCodePage(UINT codePage, std::string_view in, std::wstring& out, bool* invalid)
{
    UINT cp = Normalize(codePage);
    bool bad = false;
    std::wstring result;
    bool ok;
    if (cp == CP_UTF8) {
        DecodeUtf8(in, result, bad);
        ok = true;
    } else {
        ok = DecodeIconv(cp, in, result, bad);
        if (ok)
            MarkStrayIso2022Controls(cp, in, result, bad);
    }
    if (!ok)
        return false;
    out = std::move(result);
    if (invalid)
        *invalid = bad;
    return true;
}

bool EncodeCodePage(UINT codePage, std::wstring_view in, std::string& out, const char* defaultChar, bool* lost)
{
    UINT cp = Normalize(codePage);
    bool bad = false;
    std::u32string scalars = Scalars(in, bad);
    std::string result;
    if (cp == CP_UTF8) {
        result.reserve(scalars.size());
        for (char32_t c : scalars)
            AppendUtf8(uint32_t(c), result);
    } else {
        std::string fallback;
        if (IsUnicodeCodePage(cp))
            fallback.clear();  // these hold every character; U+FFFD is already in place
        else
            fallback = (defaultChar && *defaultChar) ? defaultChar : "?";
        if (!EncodeIconv(cp, scalars, result, fallback, bad))
            return false;
    }
    out = std::move(result);
    if (lost)
        *lost = bad;
    return true;
}

bool ConvertCodePage(UINT fromCodePage, UINT toCodePage, std::string_view in, std::string& out, bool* lost)
{
    UINT from = Normalize(fromCodePage), to = Normalize(toCodePage);
    if (!IconvNameForCodePage(from) || !IconvNameForCodePage(to))
        return false;
    if (from == to) {
        out.assign(in.data(), in.size());
        if (lost)
            *lost = false;
        return true;
    }
    std::wstring wide;
    bool invalid = false, unrepresented = false;
    if (!DecodeCodePage(from, in, wide, &invalid) || !EncodeCodePage(to, wide, out, nullptr, &unrepresented))
        return false;
    if (lost)
        *lost = invalid || unrepresented;
    return true;
}

}  // namespace vxk

UINT GetACP()
{
    return CP_UTF8;
}

UINT GetOEMCP()
{
    return CP_UTF8;
}

BOOL IsValidCodePage(UINT CodePage)
{
    return vxk::IconvNameForCodePage(CodePage) ? TRUE : FALSE;
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar)
{
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0
        || (cchWideChar > 0 && !lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = cbMultiByte == -1 ? strlen(lpMultiByteStr) + 1 : size_t(cbMultiByte);
    std::wstring wide;
    bool invalid = false;
    if (!vxk::DecodeCodePage(CodePage, std::string_view(lpMultiByteStr, n), wide, &invalid)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (invalid && (dwFlags & MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (wide.size() > size_t(INT32_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (cchWideChar == 0)
        return int(wide.size());
    if (wide.size() > size_t(cchWideChar)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(lpWideCharStr, wide.data(), wide.size() * sizeof(wchar_t));
    return int(wide.size());
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar)
{
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0
        || (cbMultiByte > 0 && !lpMultiByteStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = cchWideChar == -1 ? wcslen(lpWideCharStr) + 1 : size_t(cchWideChar);
    std::string bytes;
    bool lost = false;
    if (!vxk::EncodeCodePage(CodePage, std::wstring_view(lpWideCharStr, n), bytes, lpDefaultChar, &lost)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (lost && (dwFlags & WC_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (bytes.size() > size_t(INT32_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = lost ? TRUE : FALSE;
    if (cbMultiByte == 0)
        return int(bytes.size());
    if (bytes.size() > size_t(cbMultiByte)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(lpMultiByteStr, bytes.data(), bytes.size());
    return int(bytes.size());
}
