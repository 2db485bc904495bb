#pragma once
// An instant in whole seconds since 1970 (time_t), read and built as local
// time. Parts that name no real local time give the value -1, which every
// reader reports as such (parts -1, Format "").
//
// A plain value: one thread at a time per object.

#include "platform/base/CString.h"
#include "platform/base/CTimeSpan.h"
#include "platform/base/types.h"

#include <ctime>

class CTime {
public:
    static CTime GetCurrentTime();

    CTime() = default;
    CTime(time_t time) : m_time(time) {}  // NOLINT
    // Local time; nDST -1 lets the C library decide, 0 standard, 1 summer.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    CTime(const SYSTEMTIME& st, int nDST = -1);  // NOLINT
    CTime(const FILETIME& ft, int nDST = -1);    // NOLINT: a UTC file time

    time_t GetTime() const { return m_time; }
    struct tm* GetLocalTm(struct tm* ptm) const;
    struct tm* GetGmtTm(struct tm* ptm) const;
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday

    // strftime fields of the C locale, in local time or UTC.
    CString Format(const char* pszFormat) const;
    CString FormatGmt(const char* pszFormat) const;

    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime& operator+=(CTimeSpan span)
    {
        m_time += span.GetTimeSpan();
        return *this;
    }
    CTime& operator-=(CTimeSpan span)
    {
        m_time -= span.GetTimeSpan();
        return *this;
    }
    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

private:
    time_t m_time = 0;
};
