#include "platform/base/calendar_p.h"

namespace vxbase::cal {

bool IsLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return (m == 2 && IsLeap(y)) ? 29 : days[m - 1];
}

// The era-based conversion: exact for every year, no floating point.
int64_t DaysFromCivil(int y, int m, int d)
{
    int64_t yy = static_cast<int64_t>(y) - (m <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(yy, 400);
    const int64_t yoe = yy - era * 400;
    const int64_t mp = (m + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

bool ValidParts(int y, int mo, int d, int h, int mi, int s)
{
    return y >= 100 && y <= 9999 && mo >= 1 && mo <= 12 && d >= 1 && d <= DaysInMonth(y, mo) && h >= 0 && h <= 23
           && mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

}  // namespace vxbase::cal
