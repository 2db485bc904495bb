#include "camera/dialogs/forms/CValidateCheck.h"

#include <charconv>

namespace {

int HasAnyOf(const CString& text, const char* set)
{
    for (const char* c = set; *c; ++c) {
        if (text.Find(*c) >= 0)
            return 1;
    }
    return 0;
}

// ASCII ranges on purpose: bytes of UTF-8 sequences (0x80 and up) are
// neither letters nor digits, whatever the locale says.
bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

int CValidateCheck::HasReservedChar(CString text)
{
    return HasAnyOf(text, ":&=\"");
}

int CValidateCheck::HasReservedCharOrSpace(CString text)
{
    return HasAnyOf(text, ":&=\" ");
}

int CValidateCheck::IsEmpty(CString text)
{
    text.Trim();
    return text.IsEmpty() ? 1 : 0;
}

int CValidateCheck::IsLettersAndDigits(CString text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        if (!IsAsciiLetter(text[i]) && !IsAsciiDigit(text[i]))
            return 0;
    }
    return 1;
}

int CValidateCheck::IsDigits(CString text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        if (!IsAsciiDigit(text[i]))
            return 0;
    }
    return 1;
}

int CValidateCheck::IsNumberInRange(CString text, int nMin, int nMax)
{
    if (text.IsEmpty() || !IsDigits(text))
        return 0;
    const char* begin = text.GetString();
    const char* end = begin + text.GetLength();
    long long value = 0;
    auto [stop, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || stop != end)
        return 0;  // too long for any int range
    return value >= nMin && value <= nMax ? 1 : 0;
}

int CValidateCheck::IsEmailAddress(CString text)
{
    return text.GetLength() >= 6 && text.Find('@') >= 0 ? 1 : 0;
}

int CValidateCheck::IsValidPassword(CString text)
{
    return HasAnyOf(text, "&=\"\\ #%+?") ? 0 : 1;
}

int CValidateCheck::IsValidKey(CString text)
{
    return HasAnyOf(text, "&=\"\\") ? 0 : 1;
}

int CValidateCheck::IsValidPath(CString text)
{
    return HasAnyOf(text, ":&=\"'\\/+;") ? 0 : 1;
}
