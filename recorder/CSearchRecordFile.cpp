#include "recorder/CSearchRecordFile.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/RecordLogic.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

int Field(const char* digits, int at, int width)
{
    int v = 0;
    for (int i = 0; i < width; ++i)
        v = v * 10 + (digits[at + i] - '0');
    return v;
}

// Whole seconds of a date, so that "equal" means equal to the second.
bool Before(const COleDateTime& a, const COleDateTime& b)
{
    return (b - a).GetTotalSeconds() >= 0.5;
}

}  // namespace

bool CSearchRecordFile::ParseSegmentName(const char* name, COleDateTime& start)
{
    if (!CGlobalInfo::IsSegmentFileName(name))
        return false;
    char digits[15] = {};
    int n = 0;
    for (const char* p = name; *p && n < 14; ++p) {
        if (*p >= '0' && *p <= '9')
            digits[n++] = *p;
    }
    const int y = Field(digits, 0, 4), mo = Field(digits, 4, 2), d = Field(digits, 6, 2);
    const int h = Field(digits, 8, 2), mi = Field(digits, 10, 2), s = Field(digits, 12, 2);
    if (y < 100 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return false;
    start.SetDateTime(y, mo, d, h, mi, s);
    return start.GetStatus() == COleDateTime::valid;
}

BOOL CSearchRecordFile::IsFileInRange(const COleDateTime& rangeStart, const COleDateTime& rangeEnd,
                                      const CString& fileName, const CString& filePath, const COleDateTime& endTime,
                                      STRecordFileKst& record)
{
    COleDateTime start;
    if (!ParseSegmentName(fileName, start))
        return FALSE;
    if (!Before(start, rangeEnd) || !Before(rangeStart, endTime))
        return FALSE;
    // Only now the file itself: its writer may still hold it, and one the
    // user made read-only is not to be deleted from here.
    DWORD attrs = GetFileAttributesA(filePath);
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return FALSE;
    if (vxk::IsFileBeingWritten(filePath))
        return FALSE;
    record.strStartTime = start.Format("%Y-%m-%d %H:%M:%S");
    record.strEndTime = endTime.Format("%Y-%m-%d %H:%M:%S");
    return TRUE;
}

void CSearchRecordFile::SearchFiles(const COleDateTime& rangeStart, const COleDateTime& rangeEnd, const CString& folder,
                                    CArray<STRecordFileKst>& results)
{
    results.RemoveAll();
    std::string dir = vxk::NormalizePath(folder);
    if (dir.empty())
        return;
    if (dir.back() != '/')
        dir += '/';
    DIR* d = opendir(dir.c_str());
    if (!d) {
        vx_log(3, "CSearchRecordFile::SearchFiles %s: %s", dir.c_str(), std::strerror(errno));
        return;
    }
    // One reading of the folder stands for the two passes, ".avi" then
    // ".mp4", each in the folder's own order.
    std::vector<std::string> avi, mp4;
    while (struct dirent* e = readdir(d)) {
        if (e->d_type != DT_REG && e->d_type != DT_UNKNOWN)
            continue;
        if (!CGlobalInfo::IsSegmentFileName(e->d_name))
            continue;
        size_t n = std::strlen(e->d_name);
        (strcasecmp(e->d_name + n - 4, ".avi") == 0 ? avi : mp4).emplace_back(e->d_name);
    }
    const int dfd = dirfd(d);
    for (const std::vector<std::string>* pass : {&avi, &mp4}) {
        for (const std::string& name : *pass) {
            struct stat st;
            if (fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
                continue;
            STRecordFileKst record;
            record.strFileName = name.c_str();
            record.strFilePath = (dir + name).c_str();
            COleDateTime end(static_cast<time_t>(st.st_mtim.tv_sec));
            if (!IsFileInRange(rangeStart, rangeEnd, record.strFileName, record.strFilePath, end, record))
                continue;
            record.strSize = FormatFileSize(static_cast<uint64_t>(st.st_size));
            results.Add(record);
        }
    }
    closedir(d);
    SortByStartTime(results);
}

void CSearchRecordFile::SortByStartTime(CArray<STRecordFileKst>& results)
{
    // Equal starts end up in the reverse of the scan: reverse first, then a
    // stable sort (an insertion sort would be quadratic over a month of
    // one-minute segments).
    STRecordFileKst* first = results.GetData();
    if (!first)
        return;
    STRecordFileKst* last = first + results.GetSize();
    std::reverse(first, last);
    std::stable_sort(first, last, [](const STRecordFileKst& a, const STRecordFileKst& b) {
        return std::strcmp(a.strStartTime.GetString(), b.strStartTime.GetString()) < 0;
    });
}

CString CSearchRecordFile::FormatFileSize(uint64_t size)
{
    return record_logic::FormatSize(size);
}
