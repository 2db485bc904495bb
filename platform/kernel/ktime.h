#pragma once
// Clocks and calendar time: Sleep, the monotonic tick count, the wall clock as
// SYSTEMTIME and FILETIME, and the local time zone.

#include "platform/base/types.h"

// Sleep(0) gives up the rest of the time slice.
void Sleep(DWORD dwMilliseconds);
// Milliseconds of a monotonic clock; the 32-bit form wraps after 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();

void GetLocalTime(LPSYSTEMTIME lpSystemTime);
void GetSystemTime(LPSYSTEMTIME lpSystemTime);
void GetSystemTimeAsFileTime(LPFILETIME lpFileTime);
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);

typedef struct _TIME_ZONE_INFORMATION {
    LONG Bias;  // minutes: UTC = local standard time + Bias
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias;  // added to Bias while daylight time is in effect
} TIME_ZONE_INFORMATION, *LPTIME_ZONE_INFORMATION;

#define TIME_ZONE_ID_UNKNOWN  0u  // the zone has no daylight time
#define TIME_ZONE_ID_STANDARD 1u
#define TIME_ZONE_ID_DAYLIGHT 2u
#define TIME_ZONE_ID_INVALID  0xFFFFFFFFu

// The zone of the local clock (TZ or the system's zone). The dates of the
// changes are left zero: the system's code reads only the biases and which
// time is in effect.
DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation);

namespace vxk {

// FILETIME (100 ns since 1601-01-01 UTC) and Unix time in 100-ns ticks.
FILETIME FileTimeFromUnixTicks(int64_t ticks);
int64_t UnixTicksFromFileTime(const FILETIME& ft);
// Unix time in seconds and nanoseconds (as struct stat and timespec have it).
FILETIME FileTimeFromUnix(int64_t seconds, long nanoseconds);

}  // namespace vxk
