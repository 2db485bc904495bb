#include "platform/base/CTime.h"

#include "platform/base/calendar_p.h"
#include "platform/base/clocale_p.h"
#include "platform/base/time_text_p.h"

#include <string>

CString CTimeSpan::Format(const char* pFormat) const
{
    return vxbase::FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CTime CTime::GetCurrentTime()
{
    return CTime(std::time(nullptr));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    m_time = -1;
    // The C library would quietly carry 31 April into May; refuse instead.
    if (nYear < 1900 || !vxbase::cal::ValidParts(nYear, nMonth, nDay, nHour, nMin, nSec))
        return;
    struct tm t = vxbase::cal::TmOf(nYear, nMonth, nDay, nHour, nMin, nSec, nDST < 0 ? -1 : (nDST > 0 ? 1 : 0));
    m_time = mktime(&t);
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{}

CTime::CTime(const FILETIME& ft, int)
{
    const ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    m_time = static_cast<time_t>(static_cast<LONGLONG>(ticks / 10000000ULL) - 11644473600LL);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (!ptm || m_time == -1)
        return nullptr;
    return localtime_r(&m_time, ptm);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (!ptm || m_time == -1)
        return nullptr;
    return gmtime_r(&m_time, ptm);
}

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t {};
    if (!GetLocalTm(&t))
        return false;
    st.wYear = static_cast<WORD>(t.tm_year + 1900);
    st.wMonth = static_cast<WORD>(t.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st.wDay = static_cast<WORD>(t.tm_mday);
    st.wHour = static_cast<WORD>(t.tm_hour);
    st.wMinute = static_cast<WORD>(t.tm_min);
    st.wSecond = static_cast<WORD>(t.tm_sec);
    st.wMilliseconds = 0;
    return true;
}

int CTime::GetYear() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_year + 1900 : -1;
}

int CTime::GetMonth() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_mon + 1 : -1;
}

int CTime::GetDay() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_mday : -1;
}

int CTime::GetHour() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_hour : -1;
}

int CTime::GetMinute() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_min : -1;
}

int CTime::GetSecond() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_sec : -1;
}

int CTime::GetDayOfWeek() const
{
    struct tm t {};
    return GetLocalTm(&t) ? t.tm_wday + 1 : -1;
}

CString CTime::Format(const char* pszFormat) const
{
    struct tm t {};
    if (!GetLocalTm(&t))
        return CString();
    return vxbase::FormatTm(pszFormat, t);
}

CString CTime::FormatGmt(const char* pszFormat) const
{
    struct tm t {};
    if (!GetGmtTm(&t))
        return CString();
    return vxbase::FormatTm(pszFormat, t);
}
