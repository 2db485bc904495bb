#pragma once
// A signed length of time, kept as a whole number of milliseconds so that
// sums of whole seconds never drift. Built from days (a double) or from
// days, hours, minutes and seconds; an invalid span poisons every result.

#include "platform/base/CString.h"
#include "platform/base/types.h"

class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc);  // NOLINT: days, implicit like the classic class
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    // Totals: days, hours and minutes with their fraction; seconds rounded to
    // the nearest whole second.
    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    // Components of the span rounded to whole seconds, each with the span's
    // sign: 1 day 2:03:04 gives 1, 2, 3, 4; its negation -1, -2, -3, -4.
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }

    // Comparisons are false when either span is not valid (!= is true).
    bool operator==(const COleDateTimeSpan& other) const;
    bool operator!=(const COleDateTimeSpan& other) const { return !(*this == other); }
    bool operator<(const COleDateTimeSpan& other) const;
    bool operator>(const COleDateTimeSpan& other) const { return other < *this; }
    bool operator<=(const COleDateTimeSpan& other) const;
    bool operator>=(const COleDateTimeSpan& other) const { return other <= *this; }

    explicit operator double() const { return GetTotalDays(); }

    // %D days, %H hours, %M minutes, %S seconds (two digits but %D), %% a
    // percent sign; anything else is copied.
    CString Format(const char* pFormat) const;

    // Our own: the exact length in milliseconds.
    LONGLONG GetTotalMilliseconds() const { return m_ms; }
    static COleDateTimeSpan FromMilliseconds(LONGLONG ms);

private:
    LONGLONG m_ms = 0;
    DateTimeSpanStatus m_status = valid;
};
