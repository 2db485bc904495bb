#pragma once
// A local calendar date and time of the years 100 to 9999 with a validity
// status, as the classic automation date class. The value is a whole number
// of milliseconds from 1899-12-30 00:00:00 (day zero of the automation date),
// so round trips through parts, text, SYSTEMTIME and time_t are exact to
// the second; the parts are read rounded to the nearest second.
//
// Two dates are equal when they lie less than half a second apart; every
// comparison with a date that is not valid is false (and != true), so an
// invalid date never falls inside a range.
//
// Forms ParseDateTime reads (leading and trailing blanks ignored, words in
// any case, commas ignored):
//   date and time:  "YYYY-MM-DD hh:mm:ss", "YYYY/MM/DD hh:mm:ss",
//                   "YYYY-MM-DDThh:mm:ss", "YYYY.MM.DD hh:mm:ss"
//   US numeric:     "MM/DD/YYYY hh:mm:ss", "M/D/YYYY h:mm:ss AM", "MM-DD-YYYY"
//   dotted:         "DD.MM.YYYY"
//   month names:    "Mon DD YYYY", "Mon DD, YYYY", "DD Mon YYYY",
//                   "DD-Mon-YYYY", "Month DD, YYYY"; an English weekday in
//                   front ("Fri, 05 Jan 2024") is skipped
//   time only:      "hh:mm:ss", "hh:mm", with or without " AM"/" PM"
// Any date form may carry a time ("hh:mm", "hh:mm:ss", "hh:mm:ss.fff", the
// fraction dropped; AM/PM) before or after it. A year of two digits is
// 1930-2029; one of three digits (years before 1000, as "%Y" prints them)
// is read as written. A date without a time is at 00:00:00; a time without
// a date is on 1899-12-30. Anything else, or parts out of range ("2024-02-30",
// "24:00:00"), makes the date invalid and the call return false. The locale
// argument is accepted for the callers' sake; the forms are the same for all.
//
// A plain value: one thread at a time per object.

#include "platform/base/COleDateTimeSpan.h"
#include "platform/base/CString.h"
#include "platform/base/types.h"

#include <ctime>

typedef double DATE;
typedef DWORD LCID;
#ifndef LANG_USER_DEFAULT
#define LANG_USER_DEFAULT ((LCID)0x0400)
#endif
#ifndef LOCALE_USER_DEFAULT
#define LOCALE_USER_DEFAULT ((LCID)0x0400)
#endif
#ifndef LOCALE_NOUSEROVERRIDE
#define LOCALE_NOUSEROVERRIDE ((DWORD)0x80000000)
#endif
#define VAR_TIMEVALUEONLY ((DWORD)0x00000001)
#define VAR_DATEVALUEONLY ((DWORD)0x00000002)

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    // Now, local time, in whole seconds.
    static COleDateTime GetCurrentTime();

    COleDateTime() = default;                    // valid, 1899-12-30 00:00:00
    COleDateTime(DATE dtSrc);                    // NOLINT
    COleDateTime(time_t timeSrc);                // NOLINT: local time of the instant
    COleDateTime(const SYSTEMTIME& systimeSrc);  // NOLINT: milliseconds ignored
    COleDateTime(const FILETIME& filetimeSrc);   // NOLINT: a UTC file time, read as local time
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(time_t timeSrc);
    COleDateTime& operator=(const SYSTEMTIME& systimeSrc);
    COleDateTime& operator=(const FILETIME& filetimeSrc);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // 0 on success; 1 (and the status invalid) when a part is out of range.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
    int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

    // The parts; -1 when the date is not valid. Day of week 1 = Sunday, day
    // of year 1 = 1 January.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;
    int GetDayOfYear() const;

    bool GetAsSystemTime(SYSTEMTIME& sysTime) const;
    // The instant of this local date and time; false when not valid or not
    // representable. In the repeated hour of a daylight-saving change the
    // C library picks one of the two instants.
    bool GetAsTime(time_t& timeDest) const;
    // The automation date double: days from day zero, with the classic
    // encoding of times before it (-1.25 is 1899-12-29 06:00).
    DATE GetAsDATE() const;
    explicit operator DATE() const { return GetAsDATE(); }

    bool ParseDateTime(const char* lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);
    // strftime fields of the C locale ("%Y-%m-%d %H:%M:%S"). "" for a null
    // date, "Invalid DateTime" for an invalid one.
    CString Format(const char* lpszFormat) const;
    // The default text: "YYYY-MM-DD hh:mm:ss", only the time on day zero,
    // only the date at midnight; VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY pick
    // one part. ParseDateTime reads it back.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const;
    bool operator>=(const COleDateTime& date) const { return date <= *this; }

private:
    void SetMs(LONGLONG ms);
    bool Parts(int& y, int& mo, int& d, int& h, int& mi, int& s) const;

    LONGLONG m_ms = 0;
    DateTimeStatus m_status = valid;
};
