#pragma once
// The schedule dialog's grid without a window: where the 7 x 24 hour cells
// lie, which cells a dragged rectangle touches, what painting in a mode makes
// of a camera's grids, which image each cell shows, and the record-folder,
// keep-days and free-space rules of the dialog. Tests drive it with tables.
//
// Threads: any; no state, no lock.

#include "recorder/Records.h"

#include "platform/platform.h"

#include <vector>

namespace schedule_grid {

enum PaintMode { kPaintMotion = 0, kPaintContinuous = 1, kPaintClear = 2 };
enum CellImage { kImageClear = 0, kImageContinuous = 1, kImageMotion = 2 };

constexpr int kDays = 7;
constexpr int kHours = 24;
constexpr int kCells = kDays * kHours;

// The 168 cells, index day x 24 + hour: columns one pixel apart starting one
// pixel right of the grid's left edge, rows without a gap.
std::vector<RECT> CellRects(POINT gridTopLeft, int cellWidth, int cellHeight);
// The cell whose rectangle holds the point, or -1.
int CellAt(const std::vector<RECT>& cells, POINT pt);
// The selection of a drag from `press` to `last`, normalised; one without
// width or height is the 1 x 1 rectangle at the press point.
RECT SelectionRect(POINT press, POINT last);
// Sets, in the mode, every cell that the selection touches by at least one
// pixel; returns how many cells it touched.
int PaintSelection(STCameraInfoKst& plan, const std::vector<RECT>& cells, const RECT& selection, PaintMode mode);
// Both grids of the plan to 0.
void ClearAll(STCameraInfoKst& plan);
// Continuous wins over motion; no plan shows idle cells.
CellImage ImageOf(const STCameraInfoKst* plan, int cell);
// The colour a drag is blended with in the mode.
COLORREF ModeColour(PaintMode mode);

// The record folder's text against the 260-byte field: 0 when the folder
// is there or could be made, else the message id (90 empty; 89 relative,
// too long, or not a folder and not to be made). Creates the missing
// folders up to the last '/', as the check always did.
UINT CheckRecordFolder(const CString& path);
// The free space text of a record folder: "0B" for an empty or relative
// path or a failed query.
CString FreeSpaceText(const CString& path);

}  // namespace schedule_grid
