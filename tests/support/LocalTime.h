#pragma once
// The time_t of a wall-clock time in the process's time zone, daylight
// saving time found by the zone's own rules. Any thread.

#include <ctime>

namespace vxtest {

inline time_t LocalTime(int y, int mo, int d, int h, int mi, int s)
{
    struct tm t = {};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return mktime(&t);
}

}  // namespace vxtest
