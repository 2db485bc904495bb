#include "platform/kernel/AtomicFile_p.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxk {

int WriteFileAtomically(const std::string& path, const std::string& content, unsigned mode) {
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string tmpl = dir + "/.vxtmp-XXXXXX";
    int fd = mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
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
    if (!err && fchmod(fd, mode_t(mode)) != 0)
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

int ReadWholeFile(const std::string& path, std::string& content) {
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

int MakeFolders(const std::string& path) {
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
