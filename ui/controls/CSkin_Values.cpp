#include "ui/controls/CSkin_p.h"

#include "utility/vx_log.h"

#include <algorithm>
#include <cstring>

namespace vxskin {

int ParseFlag(const CString& text)
{
    return text.CompareNoCase("true") == 0 ? 1 : 0;
}

COLORREF ParseColour(const CString& text)
{
    if (text.GetLength() != 7 || text[0] != '#')
        return 0;
    unsigned value = 0;
    for (int i = 1; i < 7; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return 0;
        value = (value << 4) | digit;
    }
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

namespace {

// 0: a number in range; 1 above it, -1 below it.
int ReadNumber(const char* p, int& value)
{
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    long long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > kNumberLimit)
            return negative ? -1 : 1;
    }
    value = static_cast<int>(negative ? -n : n);
    return 0;
}

}  // namespace

bool ParseBoundedNumber(const CString& text, int& value)
{
    return ReadNumber(text.GetString(), value) == 0;
}

int ParseNumber(const CString& text)
{
    int value = 0;
    const int beyond = ReadNumber(text.GetString(), value);
    return beyond ? beyond * kNumberLimit : value;
}

bool BoundRect(ST_SKIN_RECT& rect, int w, int h)
{
    const ST_SKIN_RECT before = rect;
    rect.left = std::clamp(rect.left, 0, w);
    rect.top = std::clamp(rect.top, 0, h);
    rect.right = std::clamp(rect.right, rect.left, w);
    rect.bottom = std::clamp(rect.bottom, rect.top, h);
    rect.width = rect.right - rect.left;
    rect.height = rect.bottom - rect.top;
    return std::memcmp(&before, &rect, sizeof rect) != 0;
}

void CopyText(char* field, size_t size, const CString& text, const char* what)
{
    const size_t length = static_cast<size_t>(text.GetLength());
    size_t keep = length;
    if (length >= size) {
        keep = size - 1;
        // Back off over continuation bytes so that no character is split.
        while (keep > 0 && (static_cast<unsigned char>(text[static_cast<int>(keep)]) & 0xC0) == 0x80)
            --keep;
        vx_log(4, "CSkin: %s cut from %zu to %zu bytes", what, length, keep);
    }
    std::memcpy(field, text.GetString(), keep);
    field[keep] = '\0';
}

}  // namespace vxskin
