#include "platform/kernel/AtomicFile_p.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vxk {

namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// A new file of its own beside path, named after it (a crash may leave one
// behind; the name says whose it is).
int OpenTemporary(const std::string& path, std::string& tmp, int& fd)
{
    static std::mutex mutex;  // guards rng
    static std::mt19937 rng(std::random_device{}());
    std::string folder = FolderOf(path);
    size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 16; ++attempt) {
        unsigned r;
        {
            std::lock_guard lock(mutex);
            r = static_cast<unsigned>(rng());
        }
        char suffix[16];
        snprintf(suffix, sizeof suffix, "%08x", r);
        tmp = folder + "/." + base + "." + suffix + ".tmp";
        // 0666 lets the umask decide for new files.
        fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

}  // namespace

int WriteFileAtomically(const std::string& path, const std::string& content, unsigned mode)
{
    if (mode == kModeOfOldFile) {
        struct stat old;
        mode = stat(path.c_str(), &old) == 0 ? unsigned(old.st_mode & 07777) : kModeOfOldFile;
    }
    std::string tmpl;
    int fd = -1;
    if (int e = OpenTemporary(path, tmpl, fd))
        return e;
    int err = 0;
    size_t done = 0;
    while (done < content.size()) {
        ssize_t w = write(fd, content.data() + done, content.size() - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        done += size_t(w);
    }
    if (!err && mode != kModeOfOldFile && fchmod(fd, mode_t(mode)) != 0)
        err = errno;
    if (!err && fsync(fd) != 0)
        err = errno;
    if (close(fd) != 0 && !err)
        err = errno;
    if (!err && rename(tmpl.c_str(), path.c_str()) != 0)
        err = errno;
    if (err)
        unlink(tmpl.c_str());
    return err;
}

int ReadWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buf[8192];
    for (;;) {
        ssize_t r = read(fd, buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            int err = errno;
            close(fd);
            return err;
        }
        if (r == 0)
            break;
        content.append(buf, size_t(r));
    }
    close(fd);
    return 0;
}

int MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = slash == std::string::npos ? path : path.substr(0, slash);
        if (!part.empty() && part.back() != '/' && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash == std::string::npos)
            break;
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

}  // namespace vxk
