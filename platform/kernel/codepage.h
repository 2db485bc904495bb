#pragma once
// Code pages: conversions between 8-bit text of a Windows code page and wide
// text, over iconv.
//
// Wide text (WCHAR, wchar_t) is UTF-32 here: one wchar_t per code point. Wide
// input that holds UTF-16 surrogate pairs (a high unit followed by a low one)
// is taken as the one character the pair stands for; a lone surrogate or a
// value above U+10FFFF is an invalid character.
//
// The ANSI code page of the process is UTF-8: CP_ACP is 65001, and the
// classic values 0 (CP_ACP elsewhere), CP_OEMCP and CP_THREAD_ACP name it too.

#include "platform/base/types.h"

#include <string>
#include <string_view>

#define CP_UTF8       65001u
#define CP_UTF7       65000u
#define CP_ACP        CP_UTF8
#define CP_OEMCP      1u
#define CP_MACCP      2u
#define CP_THREAD_ACP 3u

#define MB_PRECOMPOSED       0x00000001u
#define MB_COMPOSITE         0x00000002u
#define MB_USEGLYPHCHARS     0x00000004u
#define MB_ERR_INVALID_CHARS 0x00000008u

#define WC_COMPOSITECHECK    0x00000200u
#define WC_DISCARDNS         0x00000010u
#define WC_SEPCHARS          0x00000020u
#define WC_DEFAULTCHAR       0x00000040u
#define WC_ERR_INVALID_CHARS 0x00000080u
#define WC_NO_BEST_FIT_CHARS 0x00000400u

UINT GetACP();
UINT GetOEMCP();
BOOL IsValidCodePage(UINT CodePage);

// cbMultiByte -1: the input ends at its NUL, which is converted too. A zero
// output size asks for the size needed. Invalid input becomes U+FFFD, or
// fails with ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS. An
// output buffer too small fails with ERROR_INSUFFICIENT_BUFFER and is left
// untouched.
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);

// A character the code page cannot hold is written as lpDefaultChar (or "?")
// and sets *lpUsedDefaultChar. For the Unicode code pages (UTF-8, UTF-7,
// UTF-16, UTF-32) an invalid wide character becomes U+FFFD and also sets the
// flag; the system we mirror refuses the flag arguments there, we accept them.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

namespace vxk {

// The iconv name of a Windows code page, or null when we have no converter
// for it. The ANSI aliases (0, CP_OEMCP, ...) give "UTF-8".
const char* IconvNameForCodePage(UINT codePage);

// Decodes 8-bit text of a code page. Invalid input becomes U+FFFD and sets
// *invalid. False (and nothing written) for an unknown code page.
bool DecodeCodePage(UINT codePage, std::string_view in, std::wstring& out, bool* invalid = nullptr);

// Encodes wide text into a code page; characters it cannot hold become
// defaultChar ("?" when null; U+FFFD for the Unicode code pages) and set
// *lost. False for an unknown code page.
bool EncodeCodePage(UINT codePage, std::wstring_view in, std::string& out, const char* defaultChar = nullptr,
                    bool* lost = nullptr);

// Converts bytes from one code page to another through Unicode (the bytes are
// copied unchanged when both name the same code page). *lost tells whether any
// character was invalid or could not be represented. False for an unknown
// code page.
bool ConvertCodePage(UINT fromCodePage, UINT toCodePage, std::string_view in, std::string& out, bool* lost = nullptr);

}  // namespace vxk
