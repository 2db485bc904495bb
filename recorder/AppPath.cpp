#include "recorder/AppPath.h"

#include <mutex>

CString GetRecorderAppPath()
{
    static std::once_flag once;
    static CString path;
    std::call_once(once, [] {
        std::string dir = vxk::ProgramDirectory();
        path = dir.c_str();
        if (path.Right(1) != "/")
            path += "/";
    });
    return path;
}
