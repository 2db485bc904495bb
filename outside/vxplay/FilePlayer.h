#pragma once
// Plays a file or a URL through libavformat on a thread of its own, in real
// time: pictures and sound go to its host, progress as events.
// Threads: the calls come from any thread (the Player serialises them); the
// host is called on the file thread, never after close() or the destructor.

#include "outside/wrap/FfmpegHandles.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace vxplay {

class FileHost {
public:
    virtual void filePicture(AVFrame* frame) = 0;
    virtual void fileEvent(int code, int64_t value) = 0;
    virtual bool fileSound() const = 0;
    // Called off from outside: libavformat's waits end.
    virtual bool fileInterrupted() const = 0;

protected:
    ~FileHost() = default;
};

class FilePlayer {
public:
    explicit FilePlayer(FileHost& host);
    ~FilePlayer();

    // Opens and starts playing. VXPLAY_OK or a VXPLAY_ERR_ value.
    int open(const std::string& url);
    // Stops; raises the stopped event when the file had not ended.
    void close();
    int pause();
    int resume();
    // Microseconds, FFmpeg's own time base, so that no step of the way
    // narrows or rounds them.
    int64_t lengthUs() const { return m_lengthUs; }
    int64_t positionUs() const { return m_positionUs; }
    int seek(int64_t us);
    bool onOwnThread() const { return m_thread.get_id() == std::this_thread::get_id(); }

private:
    static int interruptCallback(void* opaque);
    void run();
    // Waits until the picture at ptsUs is due; false when stopping or seeking.
    bool waitUntil(int64_t ptsUs);

    FileHost& m_host;
    vxwrap::InputFormatPtr m_fmt;
    int m_video = -1;
    int m_audio = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opening{false};  // inside avformat's open and probe
    std::atomic<int64_t> m_lengthUs{-1};
    std::atomic<int64_t> m_positionUs{-1};
    std::thread m_thread;

    std::mutex m_mutex;  // guards the clock and the requests below
    std::condition_variable m_changed;
    bool m_paused = false;
    int64_t m_seekUs = -1;      // a seek asked for, -1 for none
    int64_t m_clockBaseUs = 0;  // media time at m_clockStart
    std::chrono::steady_clock::time_point m_clockStart;
    bool m_clockSet = false;
    std::chrono::steady_clock::time_point m_pausedAt;
};

}  // namespace vxplay
