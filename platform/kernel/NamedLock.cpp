#include "platform/kernel/NamedLock_p.h"

#include "platform/kernel/runtime_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxk {
namespace {

// File names keep letters, digits, '.', '-' and '_'; everything else (the
// '\\' of "Global\\name" among them) is written as %XX. Very long names are
// cut and given a hash of the whole name, so they stay distinct.
std::string FileNameFor(const char* kind, const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out = std::string(kind) + "-";
    for (unsigned char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
            || c == '_') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (out.size() > 180) {
        char h[24];
        snprintf(h, sizeof h, "#%016zx", std::hash<std::string>{}(name));
        out = out.substr(0, 160) + h;
    }
    return out;
}

int OpenLockFile(const std::string& path)
{
    int fd;
    do
        fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int Flock(int fd, int op)
{
    int r;
    do
        r = flock(fd, op);
    while (r != 0 && errno == EINTR);
    return r;
}

}  // namespace

std::string NamedLock::LockFolder()
{
    // Shared with the broadcast sockets: see runtime_folder.h.
    return RuntimeFolder();
}

NamedLock::~NamedLock()
{
    close(m_fd);
}

std::unique_ptr<NamedLock> NamedLock::Acquire(const char* kind, const std::string& name, bool& heldElsewhere)
{
    heldElsewhere = false;
    std::string dir = LockFolder();
    if (dir.empty())
        return nullptr;
    std::string base = dir + "/" + FileNameFor(kind, name);

    // Every holder keeps a shared lock on the ".lock" file. Whether anybody
    // holds it is tested by trying for an exclusive lock, and the test plus
    // the change to a shared lock happen under the ".gate" file's exclusive
    // lock, so two processes starting at once never both see the name free.
    int gate = OpenLockFile(base + ".gate");
    if (gate < 0)
        return nullptr;
    int fd = OpenLockFile(base + ".lock");
    if (fd < 0 || Flock(gate, LOCK_EX) != 0) {
        if (fd >= 0)
            close(fd);
        close(gate);
        return nullptr;
    }
    if (Flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        heldElsewhere = true;
    bool ok = Flock(fd, LOCK_SH) == 0;
    Flock(gate, LOCK_UN);
    close(gate);
    if (!ok) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<NamedLock>(new NamedLock(fd));
}

}  // namespace vxk
