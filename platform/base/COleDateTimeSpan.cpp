#include "platform/base/COleDateTimeSpan.h"

#include "platform/base/calendar_p.h"
#include "platform/base/time_text_p.h"

#include <cmath>
#include <cstdlib>

using vxbase::cal::kMsPerDay;

namespace {

// Far beyond any span between two dates of years 100 to 9999.
constexpr double kMaxSpanDays = 1.0e7;

LONGLONG RoundedSeconds(LONGLONG ms)
{
    return ms >= 0 ? (ms + 500) / 1000 : -((-ms + 500) / 1000);
}

}  // namespace

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc)
{
    if (!std::isfinite(dblSpanSrc) || std::fabs(dblSpanSrc) > kMaxSpanDays) {
        m_status = invalid;
        return;
    }
    m_ms = std::llround(dblSpanSrc * static_cast<double>(kMsPerDay));
}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    // Parts may be of any sign and size; the sum is what counts.
    m_ms = ((static_cast<LONGLONG>(lDays) * 24 + nHours) * 60 + nMins) * 60000 + static_cast<LONGLONG>(nSecs) * 1000;
    m_status = valid;
}

COleDateTimeSpan COleDateTimeSpan::FromMilliseconds(LONGLONG ms)
{
    COleDateTimeSpan s;
    s.m_ms = ms;
    return s;
}

double COleDateTimeSpan::GetTotalDays() const
{
    return static_cast<double>(m_ms) / static_cast<double>(kMsPerDay);
}

double COleDateTimeSpan::GetTotalHours() const
{
    return static_cast<double>(m_ms) / 3600000.0;
}

double COleDateTimeSpan::GetTotalMinutes() const
{
    return static_cast<double>(m_ms) / 60000.0;
}

double COleDateTimeSpan::GetTotalSeconds() const
{
    return static_cast<double>(RoundedSeconds(m_ms));
}

LONG COleDateTimeSpan::GetDays() const
{
    return static_cast<LONG>(RoundedSeconds(m_ms) / 86400);
}

LONG COleDateTimeSpan::GetHours() const
{
    return static_cast<LONG>(RoundedSeconds(m_ms) / 3600 % 24);
}

LONG COleDateTimeSpan::GetMinutes() const
{
    return static_cast<LONG>(RoundedSeconds(m_ms) / 60 % 60);
}

LONG COleDateTimeSpan::GetSeconds() const
{
    return static_cast<LONG>(RoundedSeconds(m_ms) % 60);
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const
{
    COleDateTimeSpan r = FromMilliseconds(m_ms + other.m_ms);
    if (m_status != valid || other.m_status != valid)
        r.m_status = (m_status == null || other.m_status == null) ? null : invalid;
    return r;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const
{
    return *this + (-other);
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan r = FromMilliseconds(-m_ms);
    r.m_status = m_status;
    return r;
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_ms == other.m_ms;
}

bool COleDateTimeSpan::operator<(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_ms < other.m_ms;
}

bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& other) const
{
    return m_status == valid && other.m_status == valid && m_ms <= other.m_ms;
}

CString COleDateTimeSpan::Format(const char* pFormat) const
{
    return vxbase::FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}
