#include "platform/kernel/ktime.h"

#include "platform/kernel/errors.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sched.h>

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDelta = 116444736000000000LL;

void FillSystemTime(const struct tm& tm, long nanoseconds, LPSYSTEMTIME st)
{
    st->wYear = WORD(tm.tm_year + 1900);
    st->wMonth = WORD(tm.tm_mon + 1);
    st->wDayOfWeek = WORD(tm.tm_wday);
    st->wDay = WORD(tm.tm_mday);
    st->wHour = WORD(tm.tm_hour);
    st->wMinute = WORD(tm.tm_min);
    st->wSecond = WORD(tm.tm_sec);
    st->wMilliseconds = WORD(nanoseconds / 1000000);
}

// Splits 100-ns ticks since 1970 into whole seconds (rounded down) and the rest.
void SplitTicks(int64_t ticks, time_t& seconds, long& nanoseconds)
{
    int64_t s = ticks / 10000000LL;
    int64_t rest = ticks % 10000000LL;
    if (rest < 0) {
        rest += 10000000LL;
        --s;
    }
    seconds = time_t(s);
    nanoseconds = long(rest * 100);
}

// The local offset east of UTC, in seconds, at Unix time t.
long OffsetAt(time_t t, bool* dst = nullptr)
{
    struct tm tm;
    localtime_r(&t, &tm);
    if (dst)
        *dst = tm.tm_isdst > 0;
    return tm.tm_gmtoff;
}

void Widen(const char* s, WCHAR* out, size_t n)
{
    size_t i = 0;
    for (; s && s[i] && i + 1 < n; ++i)
        out[i] = WCHAR((unsigned char)s[i]);
    out[i] = 0;
}

}  // namespace

namespace vxk {

FILETIME FileTimeFromUnixTicks(int64_t ticks)
{
    uint64_t v = uint64_t(ticks + kEpochDelta);
    FILETIME ft;
    ft.dwLowDateTime = DWORD(v);
    ft.dwHighDateTime = DWORD(v >> 32);
    return ft;
}

int64_t UnixTicksFromFileTime(const FILETIME& ft)
{
    int64_t v = int64_t((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return v - kEpochDelta;
}

FILETIME FileTimeFromUnix(int64_t seconds, long nanoseconds)
{
    return FileTimeFromUnixTicks(seconds * 10000000LL + nanoseconds / 100);
}

}  // namespace vxk

void Sleep(DWORD ms)
{
    if (ms == 0) {
        sched_yield();
        return;
    }
    struct timespec ts;
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = long(ms % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {}
}

ULONGLONG GetTickCount64()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ULONGLONG(ts.tv_sec) * 1000u + ULONGLONG(ts.tv_nsec / 1000000);
}

DWORD GetTickCount()
{
    return DWORD(GetTickCount64());
}

void GetLocalTime(LPSYSTEMTIME st)
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm;
    localtime_r(&ts.tv_sec, &tm);
    FillSystemTime(tm, ts.tv_nsec, st);
}

void GetSystemTime(LPSYSTEMTIME st)
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm;
    gmtime_r(&ts.tv_sec, &tm);
    FillSystemTime(tm, ts.tv_nsec, st);
}

void GetSystemTimeAsFileTime(LPFILETIME ft)
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    *ft = vxk::FileTimeFromUnix(ts.tv_sec, ts.tv_nsec);
}

BOOL FileTimeToSystemTime(const FILETIME* ft, LPSYSTEMTIME st)
{
    if (!ft || !st || (ft->dwHighDateTime & 0x80000000u)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    time_t secs;
    long rest;
    SplitTicks(vxk::UnixTicksFromFileTime(*ft), secs, rest);
    struct tm tm;
    if (!gmtime_r(&secs, &tm)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FillSystemTime(tm, rest, st);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME ft)
{
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!st || !ft || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1
        || st->wDay > days[st->wMonth - 1] || st->wHour > 23 || st->wMinute > 59 || st->wSecond > 59
        || st->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool leap = (st->wYear % 4 == 0 && st->wYear % 100 != 0) || st->wYear % 400 == 0;
    if (st->wMonth == 2 && st->wDay == 29 && !leap) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct tm tm;
    memset(&tm, 0, sizeof tm);
    tm.tm_year = st->wYear - 1900;
    tm.tm_mon = st->wMonth - 1;
    tm.tm_mday = st->wDay;
    tm.tm_hour = st->wHour;
    tm.tm_min = st->wMinute;
    tm.tm_sec = st->wSecond;
    int64_t secs = int64_t(timegm(&tm));
    *ft = vxk::FileTimeFromUnix(secs, long(st->wMilliseconds) * 1000000L);
    return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* ft, LPFILETIME local)
{
    if (!ft || !local) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t ticks = vxk::UnixTicksFromFileTime(*ft);
    time_t secs;
    long rest;
    SplitTicks(ticks, secs, rest);
    *local = vxk::FileTimeFromUnixTicks(ticks + int64_t(OffsetAt(secs)) * 10000000LL);
    return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* local, LPFILETIME ft)
{
    if (!ft || !local) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t ticks = vxk::UnixTicksFromFileTime(*local);
    time_t secs;
    long rest;
    SplitTicks(ticks, secs, rest);
    // The offset of the moment itself: guess with the offset at the local
    // reading taken as UTC, then correct once.
    long offset = OffsetAt(secs);
    offset = OffsetAt(secs - offset);
    *ft = vxk::FileTimeFromUnixTicks(ticks - int64_t(offset) * 10000000LL);
    return TRUE;
}

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION tzi)
{
    if (!tzi) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    memset(tzi, 0, sizeof *tzi);
    tzset();
    time_t now = time(nullptr);
    bool dstNow = false;
    long nowOffset = OffsetAt(now, &dstNow);

    // Standard and daylight offsets from the middle of winter and of summer
    // of this year, on both hemispheres.
    struct tm tm;
    localtime_r(&now, &tm);
    struct tm probe;
    memset(&probe, 0, sizeof probe);
    probe.tm_year = tm.tm_year;
    probe.tm_mday = 15;
    probe.tm_hour = 12;
    probe.tm_isdst = -1;
    probe.tm_mon = 0;
    bool dstJan = false, dstJul = false;
    long janOffset = OffsetAt(mktime(&probe), &dstJan);
    probe.tm_mon = 6;
    probe.tm_isdst = -1;
    long julOffset = OffsetAt(mktime(&probe), &dstJul);

    bool hasDst = dstJan != dstJul;
    long standard = hasDst ? (dstJan ? julOffset : janOffset) : nowOffset;
    long daylight = hasDst ? (dstJan ? janOffset : julOffset) : standard;
    if (!dstNow && !hasDst)
        standard = nowOffset;
    tzi->Bias = LONG(-standard / 60);
    tzi->StandardBias = 0;
    tzi->DaylightBias = hasDst ? LONG(-(daylight - standard) / 60) : 0;
    Widen(tzname[0], tzi->StandardName, 32);
    Widen(tzname[1], tzi->DaylightName, 32);
    if (!hasDst)
        return TIME_ZONE_ID_UNKNOWN;
    return dstNow ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}
