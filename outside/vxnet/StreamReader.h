#pragma once
// Reads one RTSP media stream with libavformat on a thread of its own and
// hands tracks and packets to the callbacks.
//
// Threads: open, close and the getters are called by the session's owner
// (under its session lock); the callbacks run on the reader thread only.
// close() interrupts the reader, joins it, and after it returns no callback
// runs any more. The session's interrupt ends an open still waiting for the
// camera (VXNET_ERR_TIMEOUT); a stream that plays is left to close().

#include "outside/vxnet/BitrateMeter.h"
#include "outside/vxnet/Interrupt.h"
#include "outside/vxnet/vxnet.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

struct AVFormatContext;

namespace vxnet {

struct StreamCallbacks {
    vxnet_track_callback track = nullptr;
    void* trackUser = nullptr;
    vxnet_stream_callback data = nullptr;
    void* dataUser = nullptr;
    vxnet_error_callback error = nullptr;
    void* errorUser = nullptr;
};

// Fills in what probing would learn from the stream's pictures (size, frame
// rate) from what the SDP carried: true when every audio and video track is
// so described and the caller may skip probing, false (nothing changed) when
// a track lacks something, e.g. an H.264 track without parameter sets.
bool tracksFromSdp(AVFormatContext* input);

class StreamReader {
public:
    // log_url is the URL as it may appear in log lines (no password).
    // interrupt may be null; it must outlive the reader.
    StreamReader(std::string url, std::string log_url, StreamCallbacks callbacks, const Interrupt* interrupt = nullptr);
    ~StreamReader();
    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    // Starts the reader and waits until the camera has set the stream up:
    // 0 when it plays. On failure the thread has ended.
    int open(int timeout_ms);
    // Idempotent. VXNET_ERR_BUSY when called on the reader thread itself.
    int close();

    // The reader whose thread is calling, or null off any reader thread.
    static StreamReader* current();

    // The reader ended by itself (error or end of stream).
    bool finished() const { return m_finished.load(); }
    // The code it ended with, 0 while it runs.
    int error() const { return m_error.load(); }
    double bitsPerSecond() const { return m_meter.bitsPerSecond(BitrateMeter::nowMs()); }

    // A reader that sees no data for this long gives up (the camera vanished
    // without closing the connection).
    static constexpr int kStallMs = 10000;
    // A read that took this long waited for the camera; the reader then
    // lets the camera's next batch gather for kBatchMs before reading on
    // (the live picture comes that much later). Two frames at 25 fps: each
    // wake-up reads what FFmpeg's small reads then find waiting, and the
    // scheduling cost of hundreds of readers halves against one frame's wait.
    static constexpr int kWaitedMs = 2;
    static constexpr int kBatchMs = 80;

private:
    enum class OpenState { Pending, Open, Failed };

    void run();
    static int onInterrupt(void* self);

    const std::string m_url;
    const std::string m_logUrl;
    const StreamCallbacks m_cb;
    const Interrupt* const m_interrupt;

    std::thread m_thread;
    std::atomic<bool> m_closing{false};
    std::atomic<bool> m_finished{false};
    std::atomic<int> m_error{0};
    std::atomic<bool> m_stalled{false};
    std::atomic<bool> m_opening{true};       // the camera has not set the stream up yet
    std::atomic<bool> m_interrupted{false};  // the open was given up on the interrupt
    // Monotonic ms after which a blocked read is given up.
    std::atomic<int64_t> m_deadline{0};
    BitrateMeter m_meter;

    std::mutex m_openMutex;  // guards m_openState, m_openResult
    std::condition_variable m_openCv;
    OpenState m_openState = OpenState::Pending;
    int m_openResult = 0;
};

}  // namespace vxnet
