#include "tools/camsim/CameraClock.h"

#include <cstdio>

namespace camsim {

std::string CameraClock::compact() const
{
    time_t t = now();
    tm lt{};
    localtime_r(&t, &lt);
    char buf[32];
    strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &lt);
    return buf;
}

bool CameraClock::setFromDotted(const std::string& text)
{
    int y, mo, d, h, mi, s;
    char tail;
    if (sscanf(text.c_str(), "%4d.%2d.%2d.%2d.%2d.%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return false;
    if (y < 1970 || y > 2100 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60 || h < 0 || mi < 0
        || s < 0)
        return false;
    tm lt{};
    lt.tm_year = y - 1900;
    lt.tm_mon = mo - 1;
    lt.tm_mday = d;
    lt.tm_hour = h;
    lt.tm_min = mi;
    lt.tm_sec = s;
    lt.tm_isdst = -1;
    time_t t = mktime(&lt);
    if (t == -1)
        return false;
    offset_ = static_cast<long long>(t) - static_cast<long long>(time(nullptr));
    return true;
}

}  // namespace camsim
