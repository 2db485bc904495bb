// Retention: old recording segments go, everything else in the folder stays.
#include "recorder/CGlobalInfo.h"

#include "utility/vx_log.h"

#include <cctype>
#include <cstring>
#include <ctime>
#include <strings.h>

bool CGlobalInfo::IsSegmentFileName(const char* name)
{
    if (!name)
        return false;
    size_t n = std::strlen(name);
    if (n < 5)
        return false;
    const char* ext = name + n - 4;
    if (strcasecmp(ext, ".mp4") != 0 && strcasecmp(ext, ".avi") != 0)
        return false;
    // The camera library names a segment by its start time, "%Y%m%d%H%M%S";
    // the search also reads the same digits with dashes between them.
    int digits = 0;
    bool lastDash = true;
    for (const char* p = name; p < ext; ++p) {
        if (std::isdigit(static_cast<unsigned char>(*p))) {
            ++digits;
            lastDash = false;
        } else if (*p == '-' && !lastDash) {
            lastDash = true;
        } else {
            return false;
        }
    }
    return digits == 14 && !lastDash;
}

void CGlobalInfo::DeleteOldRecordFiles(CString folder, int days)
{
    if (days < 0) {
        vx_log(3, "CGlobalInfo::DeleteOldRecordFiles %s: keep days %d, nothing deleted", folder.GetString(), days);
        return;
    }
    // 64-bit throughout: a huge number of days keeps everything.
    const int64_t keep = (static_cast<int64_t>(days) + 1) * 24 * 3600;
    const int64_t limit = static_cast<int64_t>(std::time(nullptr)) - keep;
    for (const char* pattern : {"/*.avi", "/*.mp4"}) {
        CFileFind finder;
        BOOL more = finder.FindFile(folder + pattern);
        while (more) {
            if (m_bAbortDelete)
                break;
            more = finder.FindNextFile();
            if (finder.IsDots() || finder.IsDirectory())
                continue;
            if (!IsSegmentFileName(finder.GetFileName()))
                continue;
            CTime written;
            if (!finder.GetLastWriteTime(written))
                continue;
            if (static_cast<int64_t>(written.GetTime()) < limit) {
                DeleteFileA(finder.GetFilePath());
                Sleep(0);
            }
        }
        finder.Close();
        if (m_bAbortDelete)
            break;
    }
}
