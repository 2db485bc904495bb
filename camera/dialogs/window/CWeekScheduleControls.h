#pragma once
// The day combo, "Apply to everyday" and the four start ~ end combo pairs
// that the auto capture and record schedule pages share: shows the kept
// reply's days and tells which day the user edited, so an untouched day goes
// back exactly as the camera sent it. Not a window; it works on its page's
// controls. GUI thread only.

#include "camera/dialogs/forms/ScheduleForms.h"

class CWnd;

class CWeekScheduleControls {
public:
    CWeekScheduleControls(CWnd* pPage, int nDayComboId) : m_pPage(pPage), m_nDayComboId(nDayComboId) {}

    // A load reply's "week0" .. "week6": "Apply to everyday" is checked when
    // all equal week0, the PC's weekday is selected and shown.
    void Loaded(const CString& reply);
    // The day combo changed: that day's pairs as the camera sent them.
    void DayChanged();
    // A pair combo changed.
    void PairChanged();
    // The "&-week%d=%s" part of an apply request.
    CString ApplyPart() const;

    static bool IsPairCombo(int id);

private:
    int Day() const;
    void ShowDay();
    week_schedule::DayPairs ReadPairs() const;

    CWnd* m_pPage;
    int m_nDayComboId;
    week_schedule::Week m_week;
};
