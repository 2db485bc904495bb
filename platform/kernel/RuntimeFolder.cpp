#include "platform/kernel/runtime_folder.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vxk {

std::string RuntimeFolder()
{
    std::string dir;
    if (const char* v = std::getenv("VX_RUNTIME_DIR"); v && *v)
        dir = v;
    else if (const char* x = std::getenv("XDG_RUNTIME_DIR"); x && *x == '/')
        dir = std::string(x) + "/vxkst";
    else
        dir = "/tmp/vxkst-" + std::to_string(getuid());
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & 0077))
        return {};
    return dir;
}

}  // namespace vxk
