#pragma once
// A new file that the player writes through an AVIO context. It is created
// exclusively, so an existing file is never truncated or replaced, and holds
// a write lock on its open file description until it is closed
// (vxk::IsFileBeingWritten sees it). What it wrote is sent to the disk and
// dropped from the page cache as the file grows, a few MB behind its end.

#include "outside/wrap/FfmpegHandles.h"

#include <string>

namespace vxplay {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // VXPLAY_OK, VXPLAY_ERR_EXISTS or VXPLAY_ERR_IO.
    int create(const std::string& path);
    AVIOContext* avio() const { return m_avio.get(); }
    // Flushes the AVIO buffer to the file (the data then survives the process).
    int flush();
    // Flushes, syncs and closes; the first write error seen, as an AVERROR.
    int close();
    // Closes and removes the file (for a recording that never got a picture).
    void discard();
    int64_t written() const { return m_written; }
    const std::string& path() const { return m_path; }

private:
    static int writePacket(void* opaque, uint8_t* buf, int size);
    void handBackWritten();

    std::string m_path;
    int m_fd = -1;
    vxwrap::AvioPtr m_avio;
    int m_error = 0;
    int64_t m_written = 0;
    int64_t m_sentToDisk = 0;  // the bytes before this are on their way to the disk
    int64_t m_handedBack = 0;  // and those before this were dropped from the page cache
};

}  // namespace vxplay
