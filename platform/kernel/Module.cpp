#include "platform/kernel/module.h"

#include "platform/kernel/errors.h"
#include "platform/kernel/program_folder.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>
#include <vector>

namespace vxk {
namespace {

std::string RealExecutablePath()
{
    std::string buf(PATH_MAX, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0)
        return std::string();
    buf.resize(size_t(n));
    return buf;
}

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// The program's file in its data folder: everything the program keeps
// beside itself goes there (see program_folder.h).
std::string ProgramPath()
{
    std::string real = RealExecutablePath();
    const char* dir = getenv("VX_PROGRAM_DIR");
    if ((!dir || !*dir) && !RunsInstalled())
        return real;
    size_t slash = real.rfind('/');
    return ProgramDataFolder() + "/" + (slash == std::string::npos ? real : real.substr(slash + 1));
}

HMODULE ProgramHandle()
{
    static void* h = dlopen(nullptr, RTLD_LAZY);
    return static_cast<HMODULE>(h);
}

// The file of a loader handle; empty for the program itself.
std::string LoaderFileName(void* handle)
{
    struct link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
        return std::string();
    return map->l_name;
}

bool EndsWithNoCase(const std::string& s, const char* suffix)
{
    size_t n = strlen(suffix);
    return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, suffix) == 0;
}

// The places a name is looked for, in order.
std::vector<std::string> Candidates(const char* name)
{
    std::string n = name;
    for (char& c : n)
        if (c == '\\')
            c = '/';
    if (n.find('/') != std::string::npos)
        return {n};
    std::string base = n;
    if (EndsWithNoCase(base, ".dll"))
        base.resize(base.size() - 4);
    bool isSoName = base.find(".so") != std::string::npos;
    std::string file = isSoName ? base : "lib" + base + ".so";
    std::vector<std::string> list;
    list.push_back(DirectoryOf(RealExecutablePath()) + "/" + file);
    if (RunsInstalled())
        list.push_back(PrivateLibraryFolder() + "/" + file);
    const char* redirected = getenv("VX_PROGRAM_DIR");
    if (redirected && *redirected)
        list.push_back(std::string(redirected) + "/" + file);
    list.push_back(file);
    if (file != n)
        list.push_back(n);
    return list;
}

}  // namespace

HMODULE ModuleFromAddress(const void* address)
{
    Dl_info info;
    struct link_map* map = nullptr;
    if (!address || !dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
        return nullptr;
    if (!map->l_name || !*map->l_name)
        return ProgramHandle();
    // Look the module up without loading it again; the extra reference is
    // dropped at once, the module stays as loaded as it was.
    void* h = dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD);
    if (h)
        dlclose(h);
    return static_cast<HMODULE>(h);
}

std::string ModuleFileName(HMODULE module)
{
    if (!module || module == ProgramHandle())
        return ProgramPath();
    std::string file = LoaderFileName(module);
    return file.empty() ? ProgramPath() : file;
}

std::string ProgramDirectory()
{
    return DirectoryOf(ProgramPath());
}

}  // namespace vxk

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    std::string path = vxk::ModuleFileName(hModule);
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (!lpFilename || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= nSize) {
        memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    memcpy(lpFilename, path.c_str(), path.size() + 1);
    return DWORD(path.size());
}

HMODULE GetModuleHandleA(LPCSTR lpModuleName)
{
    if (!lpModuleName)
        return vxk::ProgramHandle();
    for (const std::string& c : vxk::Candidates(lpModuleName)) {
        void* h = dlopen(c.c_str(), RTLD_LAZY | RTLD_NOLOAD);
        if (h) {
            dlclose(h);
            return static_cast<HMODULE>(h);
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HMODULE LoadLibraryA(LPCSTR lpLibFileName)
{
    if (!lpLibFileName || !*lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    for (const std::string& c : vxk::Candidates(lpLibFileName)) {
        // A candidate path that does not exist is skipped without asking the
        // loader, which would otherwise search elsewhere for a bare name.
        if (c.find('/') != std::string::npos && access(c.c_str(), F_OK) != 0)
            continue;
        void* h = dlopen(c.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (h)
            return static_cast<HMODULE>(h);
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    if (!hLibModule) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (hLibModule == vxk::ProgramHandle())
        return TRUE;
    if (dlclose(hLibModule) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    if (!lpProcName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* h = hModule ? static_cast<void*>(hModule) : static_cast<void*>(vxk::ProgramHandle());
    dlerror();
    void* p = dlsym(h, lpProcName);
    if (!p) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return p;
}
