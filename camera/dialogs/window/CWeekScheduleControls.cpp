#include "camera/dialogs/window/CWeekScheduleControls.h"

#include "resources/vxcam/resource.h"

#include <ctime>

namespace {

int Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_wday;  // Sunday 0, as the day combo
}

}  // namespace

bool CWeekScheduleControls::IsPairCombo(int id)
{
    return id >= IDC_SCHEDULE_START_1 && id <= IDC_SCHEDULE_END_4;
}

int CWeekScheduleControls::Day() const
{
    int day = static_cast<int>(m_pPage->SendDlgItemMessage(m_nDayComboId, CB_GETCURSEL));
    return day < 0 ? 0 : day;
}

void CWeekScheduleControls::Loaded(const CString& reply)
{
    m_week.Load(reply);
    m_pPage->CheckDlgButton(IDC_SCHEDULE_EVERYDAY, m_week.AllEqual() ? BST_CHECKED : BST_UNCHECKED);
    m_pPage->SendDlgItemMessage(m_nDayComboId, CB_SETCURSEL, static_cast<WPARAM>(Today()));
    ShowDay();
}

void CWeekScheduleControls::DayChanged()
{
    m_week.Untouch();
    ShowDay();
}

void CWeekScheduleControls::PairChanged()
{
    m_week.Touch(Day());
}

void CWeekScheduleControls::ShowDay()
{
    week_schedule::DayPairs pairs = m_week.Shown(Day());
    for (int i = 0; i < week_schedule::kPairs; ++i) {
        m_pPage->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 2 * i, CB_SETCURSEL,
                                    static_cast<WPARAM>(pairs.pairs[i].start));
        m_pPage->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 2 * i + 1, CB_SETCURSEL,
                                    static_cast<WPARAM>(pairs.pairs[i].end));
    }
}

week_schedule::DayPairs CWeekScheduleControls::ReadPairs() const
{
    week_schedule::DayPairs pairs;
    for (int i = 0; i < week_schedule::kPairs; ++i) {
        // A combo with nothing selected counts as 00:00.
        int start = static_cast<int>(m_pPage->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 2 * i, CB_GETCURSEL));
        int end = static_cast<int>(m_pPage->SendDlgItemMessage(IDC_SCHEDULE_START_1 + 2 * i + 1, CB_GETCURSEL));
        pairs.pairs[i] = {start < 0 ? 0 : start, end < 0 ? 0 : end};
    }
    return pairs;
}

CString CWeekScheduleControls::ApplyPart() const
{
    bool everyday = m_pPage->IsDlgButtonChecked(IDC_SCHEDULE_EVERYDAY) == BST_CHECKED;
    return m_week.ApplyPart(Day(), ReadPairs(), everyday);
}
