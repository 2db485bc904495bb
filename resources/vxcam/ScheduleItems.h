#pragma once
// Template items of the pages that set a week in half-hour ranges (auto
// capture, schedule record, motion detection): one layout, so the pages'
// shared code finds the same controls on each.

#include "resources/vxcam/TemplateItems.h"

namespace vxcam_res::items {

// The day combo `dayId` after `dayLabel`, "Apply to everyday" and the four
// duration rows from `y` down.
void AddWeekRows(Items& i, const char* dayLabel, int dayId, short y);

}  // namespace vxcam_res::items
