#include "platform/base/COleDateTime.h"

#include "platform/base/calendar_p.h"
#include "platform/base/clocale_p.h"
#include "platform/base/time_text_p.h"

#include <cmath>
#include <string>

using namespace vxbase::cal;

namespace {

// Years 100 and 9999 bound the valid range, in ms from day zero.
const LONGLONG kMinMs = (DaysFromCivil(100, 1, 1) - kOleEpochDays) * kMsPerDay;
const LONGLONG kMaxMs = (DaysFromCivil(9999, 12, 31) - kOleEpochDays + 1) * kMsPerDay - 1;

LONGLONG MsFromParts(int y, int mo, int d, int h, int mi, int s)
{
    return (DaysFromCivil(y, mo, d) - kOleEpochDays) * kMsPerDay + ((h * 60LL + mi) * 60 + s) * 1000;
}

}  // namespace

COleDateTime COleDateTime::GetCurrentTime()
{
    return COleDateTime(std::time(nullptr));
}

COleDateTime::COleDateTime(DATE dtSrc)
{
    *this = dtSrc;
}

COleDateTime::COleDateTime(time_t timeSrc)
{
    *this = timeSrc;
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    *this = systimeSrc;
}

COleDateTime::COleDateTime(const FILETIME& filetimeSrc)
{
    *this = filetimeSrc;
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    // Before day zero the integer part counts days back and the fraction
    // still runs forward from midnight: -1.25 is the day before, 06:00.
    if (!std::isfinite(dtSrc) || dtSrc < -700000.0 || dtSrc > 3000000.0) {
        m_ms = 0;
        m_status = invalid;
        return *this;
    }
    double days = dtSrc >= 0 ? std::floor(dtSrc) : std::ceil(dtSrc);
    double frac = std::fabs(dtSrc - days);
    LONGLONG ms = static_cast<LONGLONG>(days) * kMsPerDay + std::llround(frac * static_cast<double>(kMsPerDay));
    SetMs(ms);
    return *this;
}

COleDateTime& COleDateTime::operator=(time_t timeSrc)
{
    // Before 1970 is fine for the C library; only -1 is its error value.
    struct tm t {};
    if (timeSrc == static_cast<time_t>(-1) || !localtime_r(&timeSrc, &t)) {
        m_ms = 0;
        m_status = invalid;
        return *this;
    }
    SetDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& st)
{
    SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& ft)
{
    // 100 ns ticks from 1601-01-01 UTC; whole seconds, like the other sources.
    const ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const LONGLONG unixSeconds = static_cast<LONGLONG>(ticks / 10000000ULL) - 11644473600LL;
    return *this = static_cast<time_t>(unixSeconds);
}

void COleDateTime::SetMs(LONGLONG ms)
{
    if (ms < kMinMs || ms > kMaxMs) {
        m_ms = 0;
        m_status = invalid;
        return;
    }
    m_ms = ms;
    m_status = valid;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    if (!ValidParts(nYear, nMonth, nDay, nHour, nMin, nSec)) {
        m_ms = 0;
        m_status = invalid;
        return 1;
    }
    m_ms = MsFromParts(nYear, nMonth, nDay, nHour, nMin, nSec);
    m_status = valid;
    return 0;
}

bool COleDateTime::Parts(int& y, int& mo, int& d, int& h, int& mi, int& s) const
{
    if (m_status != valid)
        return false;
    const LONGLONG secs = FloorDiv(m_ms + 500, 1000);
    const LONGLONG day = FloorDiv(secs, 86400);
    const LONGLONG sod = FloorMod(secs, 86400);
    CivilFromDays(day + kOleEpochDays, y, mo, d);
    h = static_cast<int>(sod / 3600);
    mi = static_cast<int>(sod / 60 % 60);
    s = static_cast<int>(sod % 60);
    return true;
}

int COleDateTime::GetYear() const
{
    int y, mo, d, h, mi, s;
    return Parts(y, mo, d, h, mi, s) ? y : -1;
}

int COleDateTime::GetMonth() const
{
    int y, mo, d, h, mi, s;
    return Parts(y, mo, d, h, mi, s) ? mo : -1;
}

int COleDateTime::GetDay() const
{
    int y, mo, d, h, mi, s;
    return Parts(y, mo, d, h, mi, s) ? d : -1;
}

int COleDateTime::GetHour() const
{
    int y, mo, d, h, mi, s;
    return Parts(y, mo, d, h, mi, s) ? h : -1;
}

int COleDateTime::GetMinute() const
{
    int y, mo, d, h, mi, s;
    return Parts(y, mo, d, h, mi, s) ? mi : -1;
}

int COleDateTime::GetSecond() const
{
    int y, mo, d, h, mi, s;
    return Parts(y, mo, d, h, mi, s) ? s : -1;
}

int COleDateTime::GetDayOfWeek() const
{
    int y, mo, d, h, mi, s;
    if (!Parts(y, mo, d, h, mi, s))
        return -1;
    // 1970-01-01 was a Thursday (5 when Sunday is 1).
    return static_cast<int>(FloorMod(DaysFromCivil(y, mo, d) + 4, 7)) + 1;
}

int COleDateTime::GetDayOfYear() const
{
    int y, mo, d, h, mi, s;
    if (!Parts(y, mo, d, h, mi, s))
        return -1;
    return static_cast<int>(DaysFromCivil(y, mo, d) - DaysFromCivil(y, 1, 1)) + 1;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    int y, mo, d, h, mi, s;
    if (!Parts(y, mo, d, h, mi, s))
        return false;
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    st.wMilliseconds = 0;
    st.wDayOfWeek = static_cast<WORD>(GetDayOfWeek() - 1);
    return true;
}

bool COleDateTime::GetAsTime(time_t& timeDest) const
{
    int y, mo, d, h, mi, s;
    if (!Parts(y, mo, d, h, mi, s))
        return false;
    struct tm t = vxbase::cal::TmOf(y, mo, d, h, mi, s, -1);
    time_t r = mktime(&t);
    if (r == static_cast<time_t>(-1)) {
        // -1 is both the error and 1969-12-31 23:59:59 UTC: ask which.
        struct tm check {};
        if (!localtime_r(&r, &check) || check.tm_year != y - 1900 || check.tm_mon != mo - 1 || check.tm_mday != d
            || check.tm_hour != h || check.tm_min != mi || check.tm_sec != s)
            return false;
    }
    timeDest = r;
    return true;
}

DATE COleDateTime::GetAsDATE() const
{
    if (m_status != valid)
        return 0.0;
    const LONGLONG days = FloorDiv(m_ms, kMsPerDay);
    const double frac = static_cast<double>(FloorMod(m_ms, kMsPerDay)) / static_cast<double>(kMsPerDay);
    return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

CString COleDateTime::Format(const char* lpszFormat) const
{
    if (m_status == null)
        return CString();
    if (m_status != valid)
        return CString("Invalid DateTime");
    if (!lpszFormat || !*lpszFormat)
        return CString();
    int y, mo, d, h, mi, s;
    Parts(y, mo, d, h, mi, s);
    struct tm t = vxbase::cal::TmOf(y, mo, d, h, mi, s, 0);
    t.tm_wday = GetDayOfWeek() - 1;
    t.tm_yday = GetDayOfYear() - 1;
    return vxbase::FormatTm(lpszFormat, t);
}

CString COleDateTime::Format(DWORD dwFlags, LCID) const
{
    if (m_status != valid)
        return Format("");  // "" or "Invalid DateTime"
    const bool midnight = FloorMod(FloorDiv(m_ms + 500, 1000), 86400) == 0;
    const bool dayZero = FloorDiv(FloorDiv(m_ms + 500, 1000), 86400) == 0;
    if (dwFlags & VAR_DATEVALUEONLY)
        return Format("%Y-%m-%d");
    if (dwFlags & VAR_TIMEVALUEONLY)
        return Format("%H:%M:%S");
    if (dayZero)
        return Format("%H:%M:%S");
    if (midnight)
        return Format("%Y-%m-%d");
    return Format("%Y-%m-%d %H:%M:%S");
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime r;
    if (m_status != valid || span.GetStatus() != COleDateTimeSpan::valid) {
        r.m_status = (m_status == null || span.GetStatus() == COleDateTimeSpan::null) ? null : invalid;
        return r;
    }
    r.SetMs(m_ms + span.GetTotalMilliseconds());
    return r;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    return *this + (-span);
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan r = COleDateTimeSpan::FromMilliseconds(m_ms - date.m_ms);
    if (m_status != valid || date.m_status != valid)
        r.SetStatus((m_status == null || date.m_status == null) ? COleDateTimeSpan::null : COleDateTimeSpan::invalid);
    return r;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    if (m_status != valid || date.m_status != valid)
        return false;
    const LONGLONG diff = m_ms - date.m_ms;
    return diff > -500 && diff < 500;
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && date.m_ms - m_ms >= 500;
}

bool COleDateTime::operator<=(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && m_ms - date.m_ms < 500;
}
