#pragma once
// The folder scanner of the recording search: lists a camera's record folder
// and turns the names and times of its recording segments into result
// records. It has no window; the search dialog and tests call it.
//
// Only segment files take part: a name of fourteen digits ("%Y%m%d%H%M%S",
// dashes allowed between them) and ".mp4" or ".avi", a regular file (no
// link, no FIFO). Other files are never opened. A segment whose writer still
// holds it (vxk::IsFileBeingWritten) and a read-only one are left out.
//
// Threads: any, one call at a time per object; no state, no lock.

#include "platform/platform.h"

#include <cstdint>

struct STRecordFileKst {
    CString strStartTime;  // "YYYY-MM-DD hh:mm:ss" from the name
    CString strEndTime;    // the last-write time, same form
    CString strFileName;
    CString strFilePath;
    CString strSize;
};

class CSearchRecordFile {
public:
    CSearchRecordFile() = default;
    virtual ~CSearchRecordFile() = default;

    // Every segment of `folder` whose span from its start (the name) to its
    // end (the last write) overlaps the range with a positive length, the
    // ".avi" files before the ".mp4" files, then sorted by start.
    void SearchFiles(const COleDateTime& rangeStart, const COleDateTime& rangeEnd, const CString& folder,
                     CArray<STRecordFileKst>& results);
    // Decides one file and, when it is accepted, writes its start and end
    // texts into `record`. The name and the range are checked before the
    // file itself is looked at.
    BOOL IsFileInRange(const COleDateTime& rangeStart, const COleDateTime& rangeEnd, const CString& fileName,
                       const CString& filePath, const COleDateTime& endTime, STRecordFileKst& record);
    // Ascending by start text; equal starts in the reverse of their order in
    // the array.
    void SortByStartTime(CArray<STRecordFileKst>& results);
    static CString FormatFileSize(uint64_t size);

    // The start time of a segment name in fixed fields (no locale): false
    // unless the name is a segment's and its digits make a real date and
    // time.
    static bool ParseSegmentName(const char* name, COleDateTime& start);

private:
    // The name's start and the end time overlap the range; `start` is the
    // name's time.
    static bool SpanInRange(const COleDateTime& rangeStart, const COleDateTime& rangeEnd, const char* fileName,
                            const COleDateTime& endTime, COleDateTime& start);
};
