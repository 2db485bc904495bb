#pragma once
// What the auto capture, continuous record and storage pages read from and
// write to the camera, without the windows: the weekly schedule (one text of
// 48 half-hour marks a day, "P" active, "N" not, shown as four start ~ end
// pairs), the plan-record options and the card's size texts. Plain values;
// any thread.

#include "platform/platform.h"

namespace week_schedule {

constexpr int kHalfHours = 48;
constexpr int kPairs = 4;
constexpr int kDays = 7;

struct Pair {
    int start = 0;  // half-hour index 0..47
    int end = 0;    // half-hour index 0..48 (48 is 24:00)
};

struct DayPairs {
    Pair pairs[kPairs];
};

// 48 marks: each pair with start < end makes start .. end - 1 active.
CString DayText(const DayPairs& day);
// The first four runs of "P" of a 48-character text; any other length (or
// no runs) gives four 00:00 ~ 00:00 pairs.
DayPairs PairsOf(const CString& text);
// The text is a day a camera could take back as it is.
bool IsDayText(const CString& text);

// The week as the camera reported it and which days the user has edited
// since. A day whose pairs were never touched goes back as the camera's own
// text: the pairs show only four runs, and rebuilding it would drop the rest.
class Week {
public:
    // "week0" .. "week6" of a load reply; every day untouched.
    void Load(const CString& reply);
    bool Loaded() const { return m_bLoaded; }
    // All seven texts are the same as week0's.
    bool AllEqual() const;
    DayPairs Shown(int day) const;
    // The user changed a pair of this day.
    void Touch(int day)
    {
        if (day >= 0 && day < kDays)
            m_touched[day] = true;
    }
    bool Touched(int day) const { return day >= 0 && day < kDays && m_touched[day]; }
    // Another day is shown: the edits not applied are dropped.
    void Untouch()
    {
        for (bool& t : m_touched)
            t = false;
    }
    // The text of the day shown with these pairs: its loaded text while
    // untouched, else built from the pairs.
    CString TextFor(int day, const DayPairs& shown) const;
    // "&-week%d=%s" for all seven days (each with the shown day's text) or
    // for the shown day only.
    CString ApplyPart(int day, const DayPairs& shown, bool everyday) const;

private:
    CString m_days[kDays];
    bool m_touched[kDays] = {};
    bool m_bLoaded = false;
};

}  // namespace week_schedule

// "%4.2f GB" of kilobytes: whole megabytes first (integer division), then
// gigabytes as a float; the text of a card's total and free size.
CString SdSizeText(const CString& kilobytes);

namespace record_form {

extern const char* const kOptionsLoadPath;
extern const char* const kScheduleLoadPath;

struct Options {
    bool twoStreamModel = false;  // "CAMXC5-HX...": no tertiary stream in the list
    int length = 600;             // seconds, 15..900
    int stream = 0;               // 0 primary, 1 secondary, 2 tertiary
    CString cardStatus = "None";
    CString total, free;
};

bool IsTwoStreamModel(const CString& model);
// Absent keys count as the camera's defaults: 600 s and channel 11.
void ParseOptions(const CString& reply, Options& v);
CString ComposeOptions(const Options& v);
bool LengthInRange(int seconds);

// "-planrec_enable=%d" and the schedule's days (Week::ApplyPart).
CString ComposeSchedule(bool enable, const CString& weekPart);

}  // namespace record_form

namespace capture_form {

extern const char* const kLoadPath;

struct Timer {
    bool enabled = false;
    int interval = 60;  // seconds, 1..65535
};

struct Values {
    Timer ftp, email, sd;
    int nameMode = 1;  // combo index: 0 "Overwrite", 1 "Date/Time Suffix"
    CString fileName;  // at most 31 characters
};

void ParseLoad(const CString& reply, Values& v);
// The file name goes out encoded: "&" or "=" in it would make parameters.
// weekPart: the schedule's days (Week::ApplyPart).
CString ComposeApply(const Values& v, const CString& weekPart);

}  // namespace capture_form
