#include "platform/kernel/crt_number.h"

#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace vxk {

namespace {

// One C locale object for the whole process; uselocale() switches only the
// calling thread, so other threads keep theirs.
locale_t CLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

class ScopedCLocale {
public:
    ScopedCLocale() : m_old(CLocale() ? uselocale(CLocale()) : static_cast<locale_t>(nullptr)) {}
    ~ScopedCLocale()
    {
        if (m_old)
            uselocale(m_old);
    }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t m_old;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

int AtoiSaturated(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate as a negative number so INT_MIN is reachable without overflow.
    long long value = 0;
    bool saturated = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (saturated)
            continue;
        value = value * 10 - (*p - '0');
        if (value < -static_cast<long long>(INT_MAX) - 1)
            saturated = true;
    }
    if (saturated)
        return negative ? INT_MIN : INT_MAX;
    if (negative)
        return static_cast<int>(value);
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}

double AtofClocale(const char* text)
{
    if (!text)
        return 0.0;
    ScopedCLocale c;
    return strtod(text, nullptr);
}

std::string FormatDoubleClocale(const char* format, double value)
{
    ScopedCLocale c;
    char small[64];
    int n = snprintf(small, sizeof small, format, value);
    if (n < 0)
        return std::string();
    if (static_cast<size_t>(n) < sizeof small)
        return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    snprintf(out.data(), out.size(), format, value);
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace vxk
