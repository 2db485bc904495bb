#include "platform/kernel/program_folder.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxk {
namespace {

struct Layout {
    std::string exeFolder;  // the real executable's folder
    std::string name;       // the executable's file name in lower case
    std::string prefix;     // the installed prefix; empty in a build folder
    std::string dataFolder; // the user's data folder of an installed program
};

std::string Trimmed(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UserDataFolder(const std::string& name)
{
    // The base directory specification asks to ignore a relative value.
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x == '/')
        return std::string(x) + "/" + name;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h == '/') {
        home = h;
    } else {
        // A service started without HOME still has a home in the password file.
        struct passwd pw {};
        struct passwd* found = nullptr;
        char buf[4096];
        if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_dir)
            home = found->pw_dir;
    }
    return Trimmed(home) + "/.local/share/" + name;
}

bool MakeFolders(const std::string& path, mode_t mode)
{
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/')
            continue;
        std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
            return false;
    }
    return IsFolder(path);
}

// Copies a file that is not at `to` yet; a copy is written under a
// temporary name first, so a failed one leaves nothing behind.
bool CopyNewFile(const std::string& from, const std::string& to)
{
    if (access(to.c_str(), F_OK) == 0)
        return true;
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    std::string part = to + ".part";
    int out = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = out >= 0;
    char buf[65536];
    while (ok) {
        ssize_t n = read(in, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = write(out, buf + done, size_t(n - done));
            if (w < 0 && errno != EINTR)
                ok = false;
            else if (w > 0)
                done += w;
        }
    }
    if (out >= 0 && close(out) != 0)
        ok = false;
    close(in);
    if (ok && rename(part.c_str(), to.c_str()) != 0)
        ok = false;
    if (!ok)
        unlink(part.c_str());
    return ok;
}

// Copies the tree under `from` into `to`, keeping what is there already.
bool SeedFolder(const std::string& from, const std::string& to)
{
    DIR* d = opendir(from.c_str());
    if (!d)
        return false;
    bool ok = true;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..")
            continue;
        std::string src = from + "/" + n, dst = to + "/" + n;
        if (IsFolder(src))
            ok = MakeFolders(dst, 0700) && SeedFolder(src, dst) && ok;
        else
            ok = CopyNewFile(src, dst) && ok;
    }
    closedir(d);
    return ok;
}

Layout ReadLayout()
{
    Layout l;
    std::string exe(PATH_MAX, '\0');
    ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
    exe.resize(n > 0 ? size_t(n) : 0);
    size_t slash = exe.rfind('/');
    l.exeFolder = slash == std::string::npos ? "." : exe.substr(0, slash == 0 ? 1 : slash);
    std::string file = slash == std::string::npos ? exe : exe.substr(slash + 1);
    for (char c : file)
        l.name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    size_t up = l.exeFolder.rfind('/');
    if (l.name.empty() || up == std::string::npos || l.exeFolder.compare(up, std::string::npos, "/bin") != 0)
        return l;
    std::string prefix = l.exeFolder.substr(0, up);
    if (!IsFolder(prefix + "/share/" + l.name))
        return l;
    l.prefix = prefix;
    l.dataFolder = UserDataFolder(l.name);
    return l;
}

const Layout& TheLayout()
{
    static std::once_flag once;
    static Layout layout;
    std::call_once(once, [] { layout = ReadLayout(); });
    return layout;
}

}  // namespace

bool MakeProgramDataFolder()
{
    // A folder that is there is left as it is, so a file the person removed
    // stays removed.
    static std::once_flag once;
    std::call_once(once, [] {
        const Layout& l = TheLayout();
        const char* redirected = std::getenv("VX_PROGRAM_DIR");
        if (l.prefix.empty() || (redirected && *redirected) || IsFolder(l.dataFolder))
            return;
        if (!MakeFolders(l.dataFolder, 0700)) {
            std::fprintf(stderr, "%s: cannot make the program folder %s: %s\n", l.name.c_str(), l.dataFolder.c_str(),
                         std::strerror(errno));
            return;
        }
        if (!SeedFolder(l.prefix + "/share/" + l.name, l.dataFolder))
            std::fprintf(stderr, "%s: cannot copy all of %s/share/%s into %s\n", l.name.c_str(), l.prefix.c_str(),
                         l.name.c_str(), l.dataFolder.c_str());
    });
    return IsFolder(ProgramDataFolder());
}

bool RunsInstalled()
{
    return !TheLayout().prefix.empty();
}

std::string ProgramDataFolder()
{
    const Layout& l = TheLayout();
    if (const char* dir = std::getenv("VX_PROGRAM_DIR"); dir && *dir)
        return Trimmed(dir);
    return l.prefix.empty() ? l.exeFolder : l.dataFolder;
}

std::string InstalledFilesFolder()
{
    const Layout& l = TheLayout();
    return l.prefix.empty() ? l.exeFolder : l.prefix + "/share/" + l.name;
}

std::string HelperProgramsFolder()
{
    const Layout& l = TheLayout();
    return l.prefix.empty() ? l.exeFolder : l.prefix + "/libexec/" + l.name;
}

std::string PrivateLibraryFolder()
{
    const Layout& l = TheLayout();
    return l.prefix.empty() ? l.exeFolder : l.prefix + "/lib/" + l.name;
}

}  // namespace vxk
