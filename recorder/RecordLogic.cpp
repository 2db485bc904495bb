#include "recorder/RecordLogic.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace record_logic {

int WeekdayRow(int tmWday)
{
    return ((tmWday % 7) + 7 + 6) % 7;
}

ScheduleKind CellKind(const int continuous[7][24], const int motion[7][24], int row, int hour)
{
    if (row < 0 || row > 6 || hour < 0 || hour > 23)
        return kOffSchedule;
    if (motion[row][hour] == 1)
        return kMotion;
    if (continuous[row][hour] == 0 && motion[row][hour] == 0)
        return kOffSchedule;
    return kContinuous;
}

ScheduleKind KindNow(const int continuous[7][24], const int motion[7][24])
{
    time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    return CellKind(continuous, motion, WeekdayRow(local.tm_wday), local.tm_hour);
}

CString FormatSize(uint64_t bytes)
{
    CString text;
    if (bytes < 1000) {
        text.Format("%dB", static_cast<int>(bytes));
        return text;
    }
    float value = 0;
    const char* unit = "";
    const uint64_t mb = bytes >> 20;
    if (bytes < 1024000) {
        value = static_cast<float>(bytes) / 1024.0f;
        unit = "KB";
    } else if (mb < 1000) {
        value = static_cast<float>(bytes) / 1048576.0f;
        unit = "MB";
    } else if (mb < 1024000) {
        value = static_cast<float>(bytes) / 1073741824.0f;
        unit = "GB";
    } else {
        value = static_cast<float>(bytes) / 1099511627776.0f;
        unit = "TB";
    }
    // to_chars, not printf: the point stays a point under any locale.
    char number[64];
    auto res = std::to_chars(number, number + sizeof number, static_cast<double>(value), std::chars_format::fixed, 2);
    std::string digits(number, res.ptr);
    // Three significant places: from 10.00 on the last decimal goes.
    if (digits.size() > 4)
        digits.pop_back();
    text = (digits + unit).c_str();
    return text;
}

namespace {

std::string ParentOf(const std::string& path)
{
    if (path == "/")
        return path;
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    size_t slash = p.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : p.substr(0, slash);
}

}  // namespace

bool DriveOfFolder(const char* folder, DriveId& out)
{
    if (!folder || !*folder)
        return false;
    std::string p = folder;
    // Record folders carry the Windows separator in older settings.
    for (char& c : p) {
        if (c == '\\')
            c = '/';
    }
    struct stat st {};
    for (;;) {
        if (stat(p.c_str(), &st) == 0)
            break;
        std::string up = ParentOf(p);
        if (up == p)
            return false;
        p = up;
    }
    // The mount point: climb while the parent is on the same file system.
    std::string top = p;
    for (;;) {
        std::string up = ParentOf(top);
        struct stat ps {};
        if (up == top || stat(up.c_str(), &ps) != 0 || ps.st_dev != st.st_dev)
            break;
        top = up;
    }
    if (top == ".") {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            top = cwd;
    }
    out.device = static_cast<unsigned long long>(st.st_dev);
    out.mountPoint = top;
    return true;
}

std::vector<DriveId> DistinctDrives(const std::vector<std::string>& folders)
{
    std::vector<DriveId> drives;
    for (const std::string& folder : folders) {
        DriveId id;
        if (!DriveOfFolder(folder.c_str(), id))
            continue;
        bool known = false;
        for (const DriveId& d : drives)
            known = known || d.device == id.device;
        if (!known)
            drives.push_back(id);
    }
    return drives;
}

}  // namespace record_logic
