#include "recorder/ScheduleGrid.h"

#include "recorder/CMainDlg.h"
#include "recorder/RecordLogic.h"

#include <algorithm>
#include <cstring>

namespace schedule_grid {

std::vector<RECT> CellRects(POINT gridTopLeft, int cellWidth, int cellHeight)
{
    std::vector<RECT> cells(kCells);
    for (int d = 0; d < kDays; ++d) {
        for (int h = 0; h < kHours; ++h) {
            RECT& r = cells[d * kHours + h];
            r.left = gridTopLeft.x + 1 + h * (cellWidth + 1);
            r.right = r.left + cellWidth;
            r.top = gridTopLeft.y + d * cellHeight;
            r.bottom = r.top + cellHeight;
        }
    }
    return cells;
}

int CellAt(const std::vector<RECT>& cells, POINT pt)
{
    for (size_t i = 0; i < cells.size(); ++i) {
        const RECT& r = cells[i];
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

RECT SelectionRect(POINT press, POINT last)
{
    RECT r = {std::min(press.x, last.x), std::min(press.y, last.y), std::max(press.x, last.x),
              std::max(press.y, last.y)};
    if (r.right == r.left || r.bottom == r.top)
        r = {press.x, press.y, press.x + 1, press.y + 1};
    return r;
}

int PaintSelection(STCameraInfoKst& plan, const std::vector<RECT>& cells, const RECT& selection, PaintMode mode)
{
    int touched = 0;
    for (size_t i = 0; i < cells.size() && i < size_t(kCells); ++i) {
        const RECT& c = cells[i];
        const bool meets = std::max(c.left, selection.left) < std::min(c.right, selection.right)
                           && std::max(c.top, selection.top) < std::min(c.bottom, selection.bottom);
        if (!meets)
            continue;
        const int d = int(i) / kHours, h = int(i) % kHours;
        plan.arrContinuous[d][h] = mode == kPaintContinuous ? 1 : 0;
        plan.arrMotion[d][h] = mode == kPaintMotion ? 1 : 0;
        ++touched;
    }
    return touched;
}

void ClearAll(STCameraInfoKst& plan)
{
    std::memset(plan.arrContinuous, 0, sizeof plan.arrContinuous);
    std::memset(plan.arrMotion, 0, sizeof plan.arrMotion);
}

CellImage ImageOf(const STCameraInfoKst* plan, int cell)
{
    if (!plan || cell < 0 || cell >= kCells)
        return kImageClear;
    const int d = cell / kHours, h = cell % kHours;
    if (plan->arrContinuous[d][h] == 1)
        return kImageContinuous;
    if (plan->arrMotion[d][h] == 1)
        return kImageMotion;
    return kImageClear;
}

COLORREF ModeColour(PaintMode mode)
{
    switch (mode) {
    case kPaintContinuous:
        return RGB(239, 241, 152);
    case kPaintMotion:
        return RGB(202, 227, 228);
    default:
        return RGB(233, 234, 236);
    }
}

UINT CheckRecordFolder(const CString& path)
{
    if (path.IsEmpty())
        return 90;
    // REC_PATH holds 259 bytes and its NUL; a longer text would be cut into
    // another folder.
    if (path[0] != '/' || std::strlen(path.GetString()) > sizeof(STCameraInfoKst::REC_PATH) - 1)
        return 89;
    if (PathIsDirectoryA(path))
        return 0;
    MakeSureDirectoryPathExists(path);
    return PathIsDirectoryA(path) ? 0 : 89;
}

CString FreeSpaceText(const CString& path)
{
    if (path.IsEmpty() || path[0] != '/')
        return "0B";
    const uint64_t bytes = CMainDlg::GetDiskFreeBytes(path);
    if (bytes == 0)
        return "0B";
    return record_logic::FormatSize(bytes);
}

}  // namespace schedule_grid
