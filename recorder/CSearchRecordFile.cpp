#include "recorder/CSearchRecordFile.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/RecordLogic.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// The files some process holds a write lock on, as device and inode, read
// once per search from the kernel's lock table: one read in place of an
// open, a lock query and a close per segment. False when the table cannot
// be read; each file is then probed on its own.
bool ReadWriteLockedFiles(std::set<std::pair<dev_t, ino_t>>& locked)
{
    FILE* f = std::fopen("/proc/locks", "re");
    if (!f)
        return false;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        // "1: OFDLCK ADVISORY  WRITE -1 08:02:1234 0 EOF" (a blocked
        // request has "->" after its number and holds nothing).
        char kind[16] = {}, mode[16] = {}, access[16] = {};
        unsigned major = 0, minor = 0;
        unsigned long long inode = 0;
        const char* colon = std::strchr(line, ':');
        if (!colon || std::strstr(line, "->"))
            continue;
        if (std::sscanf(colon + 1, "%15s %15s %15s %*s %x:%x:%llu", kind, mode, access, &major, &minor, &inode) != 6)
            continue;
        if (std::strcmp(access, "WRITE") != 0 || std::strcmp(kind, "FLOCK") == 0 || std::strcmp(kind, "LEASE") == 0)
            continue;
        locked.emplace(makedev(major, minor), static_cast<ino_t>(inode));
    }
    std::fclose(f);
    return true;
}

// "YYYY-MM-DD hh:mm:ss" of a segment name that ParseSegmentName accepted,
// from its digits: the same text as formatting the parsed time.
CString StartText(const char* name)
{
    char d[14];
    int n = 0;
    for (const char* p = name; *p && n < 14; ++p)
        if (*p >= '0' && *p <= '9')
            d[n++] = *p;
    const char text[] = {d[0], d[1], d[2],  d[3],  '-', d[4],  d[5],  '-', d[6], d[7],
                         ' ',  d[8], d[9],  ':',   d[10], d[11], ':',  d[12], d[13], '\0'};
    return CString(text);
}

// A file time as local "YYYY-MM-DD hh:mm:ss".
CString LocalText(time_t t)
{
    struct tm local = {};
    char text[32] = {};
    if (!localtime_r(&t, &local) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local))
        return COleDateTime(t).Format("%Y-%m-%d %H:%M:%S");
    return CString(text);
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

bool CSearchRecordFile::SpanInRange(const COleDateTime& rangeStart, const COleDateTime& rangeEnd, const char* fileName,
                                    const COleDateTime& endTime, COleDateTime& start)
{
    return ParseSegmentName(fileName, start) && Before(start, rangeEnd) && Before(rangeStart, endTime);
}

BOOL CSearchRecordFile::IsFileInRange(const COleDateTime& rangeStart, const COleDateTime& rangeEnd,
                                      const CString& fileName, const CString& filePath, const COleDateTime& endTime,
                                      STRecordFileKst& record)
{
    COleDateTime start;
    if (!SpanInRange(rangeStart, rangeEnd, fileName, endTime, start))
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
    // The same decisions as IsFileInRange, from the one stat each file needs
    // anyway and the lock table read after the folder: a month of segments
    // costs a stat per file, not five calls.
    std::set<std::pair<dev_t, ino_t>> locked;
    const bool haveLocks = ReadWriteLockedFiles(locked);
    results.SetSize(static_cast<INT_PTR>(avi.size() + mp4.size()));
    INT_PTR count = 0;
    for (const std::vector<std::string>* pass : {&avi, &mp4}) {
        for (const std::string& name : *pass) {
            // A segment that starts at or after the range's end is out
            // whatever its end: no need to look at the file.
            COleDateTime start;
            if (!ParseSegmentName(name.c_str(), start) || !Before(start, rangeEnd))
                continue;
            struct stat st;
            if (fstatat(dfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
                continue;
            const COleDateTime end(static_cast<time_t>(st.st_mtim.tv_sec));
            if (!SpanInRange(rangeStart, rangeEnd, name.c_str(), end, start))
                continue;
            if (!(st.st_mode & S_IWUSR))
                continue;
            const std::string path = dir + name;
            if (haveLocks ? locked.count({st.st_dev, st.st_ino}) != 0 : vxk::IsFileBeingWritten(path.c_str()))
                continue;
            // Filled in place: a month of records is not copied on the way.
            STRecordFileKst& record = results[count++];
            record.strFileName = name.c_str();
            record.strFilePath = path.c_str();
            record.strStartTime = StartText(name.c_str());
            record.strEndTime = LocalText(st.st_mtim.tv_sec);
            record.strSize = FormatFileSize(static_cast<uint64_t>(st.st_size));
        }
    }
    results.SetSize(count);
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
