#pragma once
// Proleptic Gregorian calendar arithmetic shared by the date and time
// classes of this folder. Days are counted from 1970-01-01.

#include <cstdint>
#include <ctime>

namespace vxbase::cal {

constexpr int64_t kMsPerDay = 86400000;
// 1899-12-30, day zero of the automation date, counted from 1970-01-01.
constexpr int64_t kOleEpochDays = -25569;

bool IsLeap(int y);
int DaysInMonth(int y, int m);
int64_t DaysFromCivil(int y, int m, int d);
void CivilFromDays(int64_t z, int& y, int& m, int& d);

// Floor division and the matching non-negative remainder.
inline int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
inline int64_t FloorMod(int64_t a, int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

// True when the parts name a real date and time of years 100 to 9999.
bool ValidParts(int y, int mo, int d, int h, int mi, int s);

// The C library's broken-down time of the parts (month 1 to 12); isdst as
// mktime takes it: -1 to let the zone decide.
inline struct tm TmOf(int y, int mo, int d, int h, int mi, int s, int isdst)
{
    struct tm t {};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = isdst;
    return t;
}

}  // namespace vxbase::cal
