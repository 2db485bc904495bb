#include "camera/session/SegmentName.h"

#include <sys/stat.h>

namespace vxcam {

CString JoinFolder(const CString& folder, const CString& name)
{
    if (folder.IsEmpty())
        return name;
    char last = folder[folder.GetLength() - 1];
    if (last == '/' || last == '\\')
        return folder + name;
    return folder + "/" + name;
}

CString NextFreeTimedPath(const CString& folder, time_t start, const char* format, const char* suffix,
                          const std::function<bool(const CString&)>& exists)
{
    for (int step = 0; step < 3600; ++step) {
        time_t t = start + step;
        struct tm local {};
        localtime_r(&t, &local);
        char stamp[64];
        if (strftime(stamp, sizeof stamp, format, &local) == 0)
            return CString();
        CString path = JoinFolder(folder, CString(stamp) + suffix);
        if (!exists(path))
            return path;
    }
    return CString();
}

CString NextFreeTimedPath(const CString& folder, time_t start, const char* format, const char* suffix)
{
    return NextFreeTimedPath(folder, start, format, suffix, [](const CString& path) {
        struct stat st {};
        return lstat(path, &st) == 0;
    });
}

}  // namespace vxcam
