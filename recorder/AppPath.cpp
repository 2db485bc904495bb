#include "recorder/AppPath.h"

#include "platform/kernel/program_folder.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

CString GetRecorderAppPath()
{
    static std::once_flag once;
    static CString path;
    std::call_once(once, [] {
        // An installed program's folder is made at its first real start.
        vxk::MakeProgramDataFolder();
        std::string dir = vxk::ProgramDirectory();
        path = dir.c_str();
        if (path.Right(1) != "/")
            path += "/";
    });
    return path;
}

void TakeProgramDirOption(int& argc, char** argv)
{
    const size_t n = std::strlen(kProgramDirOption);
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, kProgramDirOption) == 0 && i + 1 < argc) {
            setenv("VX_PROGRAM_DIR", argv[++i], 1);
        } else if (std::strncmp(a, kProgramDirOption, n) == 0 && a[n] == '=') {
            setenv("VX_PROGRAM_DIR", a + n + 1, 1);
        } else {
            argv[out++] = argv[i];
        }
    }
    argc = out;
    argv[argc] = nullptr;
}
