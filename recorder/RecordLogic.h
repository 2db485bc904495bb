#pragma once
// The recorder's decisions that need no window and no thread: which kind of
// hour the weekly grids make of a moment, how a byte count is shown, and on
// which file system a record folder lies. The threads of the main window
// call them; tests drive them with tables.
//
// Threads: any; no state, no lock.

#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace record_logic {

enum ScheduleKind {
    kOffSchedule = 0,  // both cells 0
    kContinuous = 1,   // in the schedule, motion cell not 1
    kMotion = 2,       // motion cell exactly 1, whatever the continuous cell
};

// Status codes of a camera's row beyond those of the connection: why a
// recording that should run does not.
enum RecordStatus {
    kStatusFolderFailed = 30,   // the record folder is gone and cannot be made
    kStatusWriteFailed = 31,    // the segment file cannot be written
    kStatusDiskFull = 32,       // the record disk is full
    kStatusNotRecordable = 33,  // the stream gives nothing a file can hold
};

// The grid row of a C weekday (tm_wday, Sunday 0): Monday is row 0.
int WeekdayRow(int tmWday);
ScheduleKind CellKind(const int continuous[7][24], const int motion[7][24], int row, int hour);
// The kind of the local hour now.
ScheduleKind KindNow(const int continuous[7][24], const int motion[7][24]);

// "999B", "0.98KB", "1.00MB", "465.7GB": three significant places, the
// unit without a blank.
CString FormatSize(uint64_t bytes);

// The file system of a folder: that of its nearest existing ancestor.
struct DriveId {
    unsigned long long device = 0;
    std::string mountPoint;  // the highest ancestor on the same file system
};
// False for an empty folder text or when not even "/" can be read.
bool DriveOfFolder(const char* folder, DriveId& out);
// The distinct file systems of the folders, in the order first seen; empty
// folder texts have none.
std::vector<DriveId> DistinctDrives(const std::vector<std::string>& folders);

}  // namespace record_logic
