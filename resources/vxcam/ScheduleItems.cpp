#include "resources/vxcam/ScheduleItems.h"

#include "resources/vxcam/resource.h"

#include <cstdio>

namespace vxcam_res::items {

namespace {

// Made on each call: the module is filled while the library's statics are
// still being constructed.
std::vector<std::string> Days()
{
    return {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
}

// "00:00" .. "23:30", and "24:00" after them for the end of a range.
std::vector<std::string> HalfHours(bool withMidnight)
{
    std::vector<std::string> list;
    for (int i = 0; i < (withMidnight ? 49 : 48); ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%02d:%02d", i / 2, i % 2 * 30);
        list.emplace_back(text);
    }
    return list;
}

}  // namespace

void AddWeekRows(Items& i, const char* dayLabel, int dayId, short y)
{
    i.push_back(Label(dayLabel, 10, y + 2, 80));
    i.push_back(Combo(dayId, 95, y, 80, Days()));
    i.push_back(Check(IDC_SCHEDULE_EVERYDAY, "Apply to everyday", 185, y + 2, 100));
    for (int row = 0; row < 4; ++row) {
        short ry = static_cast<short>(y + 18 + row * 16);
        char label[32];
        std::snprintf(label, sizeof label, "Set duration %d:", row + 1);
        i.push_back(Item("STATIC", -1, label, SS_LEFT, 10, static_cast<short>(ry + 2), 80, 8));
        i.push_back(Combo(IDC_SCHEDULE_START_1 + 2 * row, 95, ry, 50, HalfHours(false)));
        i.push_back(Label("~", 150, static_cast<short>(ry + 2), 8));
        i.push_back(Combo(IDC_SCHEDULE_START_1 + 2 * row + 1, 162, ry, 50, HalfHours(true)));
    }
}

}  // namespace vxcam_res::items
