#include "outside/vxplay/OutputFile.h"

#include "outside/vxplay/vxplay.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vxplay {

namespace {
constexpr int kAvioBufferSize = 64 * 1024;
// A recording is written once and read, if ever, much later: its pages are
// sent to the disk and let go each time this much more was written, so that
// many cameras do not fill the memory with pages nobody reads (pushing out
// what other programs use), and the memory freed is used again for the
// next pages at once.
constexpr int64_t kCacheWindowBytes = 2 * 1024 * 1024;
}  // namespace

OutputFile::~OutputFile()
{
    close();
}

int OutputFile::create(const std::string& path)
{
    if (path.empty())
        return VXPLAY_ERR_ARG;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            return VXPLAY_ERR_EXISTS;
        return errno == ENOSPC || errno == EDQUOT ? VXPLAY_ERR_NO_SPACE : VXPLAY_ERR_IO;
    }
    // A write lock on the open file description, held until the close, tells
    // readers (the recording search) that the file is still being written.
    // Not a classic lock: another close of this file in the process would
    // drop it.
    struct flock lk = {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lk) != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        return VXPLAY_ERR_IO;
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(kAvioBufferSize));
    AVIOContext* io =
        buffer ? avio_alloc_context(buffer, kAvioBufferSize, 1, this, nullptr, &OutputFile::writePacket, nullptr)
               : nullptr;
    if (!io) {
        av_free(buffer);
        ::close(fd);
        ::unlink(path.c_str());
        return VXPLAY_ERR_NOMEM;
    }
    io->seekable = 0;
    m_avio.reset(io);
    m_fd = fd;
    m_path = path;
    m_error = 0;
    m_written = 0;
    m_sentToDisk = 0;
    m_handedBack = 0;
    return VXPLAY_OK;
}

int OutputFile::writePacket(void* opaque, uint8_t* buf, int size)
{
    auto* self = static_cast<OutputFile*>(opaque);
    if (self->m_error)
        return self->m_error;
    int left = size;
    while (left > 0) {
        ssize_t n = ::write(self->m_fd, buf, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            self->m_error = AVERROR(errno);
            return self->m_error;
        }
        buf += n;
        left -= int(n);
    }
    self->m_written += size;
    if (self->m_written - self->m_sentToDisk >= kCacheWindowBytes)
        self->handBackWritten();
    return size;
}

void OutputFile::handBackWritten()
{
    // What was sent to the disk a window ago has had the time to get there
    // and is dropped from the cache; what came since is sent now. Pages
    // still being written are left alone, so nothing waits here. Both calls
    // are advice: on a file system without them nothing changes.
    if (m_sentToDisk > m_handedBack)  // a length of 0 would mean up to the end
        ::posix_fadvise(m_fd, m_handedBack, m_sentToDisk - m_handedBack, POSIX_FADV_DONTNEED);
    m_handedBack = m_sentToDisk;
    ::sync_file_range(m_fd, m_sentToDisk, m_written - m_sentToDisk, SYNC_FILE_RANGE_WRITE);
    m_sentToDisk = m_written;
}

int OutputFile::flush()
{
    if (!m_avio)
        return 0;
    avio_flush(m_avio.get());
    return m_error ? m_error : m_avio->error;
}

int OutputFile::close()
{
    if (m_fd < 0)
        return m_error;
    int err = flush();
    m_avio.reset();
    if (::fdatasync(m_fd) != 0 && !err && errno != EINVAL)
        err = AVERROR(errno);
    if (::close(m_fd) != 0 && !err)
        err = AVERROR(errno);
    m_fd = -1;
    m_error = err;
    return err;
}

void OutputFile::discard()
{
    if (m_fd < 0)
        return;
    m_avio.reset();
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_path.c_str());
}

}  // namespace vxplay
