#pragma once
// One camera session: the session's copy of the connect block, its HTTP
// client and at most one media stream.
//
// Threads: the camera library calls a session under its session lock, but the
// session guards its own state too, so a status or bitrate read never races a
// stream being opened or closed. interrupt() comes from any thread, takes no
// lock and ends the calls that wait on the camera.

#include "outside/vxnet/HttpClient.h"
#include "outside/vxnet/Interrupt.h"
#include "outside/vxnet/Liveness.h"
#include "outside/vxnet/StreamReader.h"
#include "outside/vxnet/vxnet.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vxnet {

class Session {
public:
    // Validates the block, finds the family and returns the open session.
    // While *cancel (may be null) is non-zero the probe gives up with
    // VXNET_ERR_TIMEOUT.
    static int connect(const STConnectInfo& info, std::unique_ptr<Session>& out, const int* cancel = nullptr);
    ~Session();

    const STConnectInfo& block() const { return m_block; }
    int status() const;

    int cgi(const char* path, char** output, int method, int timeout_ms);
    int download(const char* remote_path, const char* local_path, int timeout_ms,
                 vxnet_progress_callback progress = nullptr, void* user = nullptr,
                 const DownloadBounds& bounds = DownloadBounds());

    void setTrackCallback(vxnet_track_callback cb, void* user);
    void setDataCallback(vxnet_stream_callback cb, void* user);
    void setErrorCallback(vxnet_error_callback cb, void* user);

    int openStream();
    int closeStream();
    // On: the calls in flight that wait on the camera, and every new one,
    // give up with VXNET_ERR_TIMEOUT until it is switched off.
    void interrupt(bool on) { m_interrupt.set(on); }
    float bitrate() const;
    int forceKeyFrame() const;

    // Secrets to keep out of log lines: the password, plain and encoded.
    const std::vector<std::string>& secrets() const { return m_secrets; }

    // Time-out of one family probe request: what the camera library's own
    // login requests allow, more for a P2P entry reached by its address.
    static constexpr int kProbeTimeoutMs = 3000;
    static constexpr int kP2PProbeTimeoutMs = 5000;
    // Time the camera gets to answer the stream's setup.
    static constexpr int kStreamOpenTimeoutMs = 10000;

private:
    Session() = default;
    void noteRequest(int code);
    std::string logName() const;

    STConnectInfo m_block{};
    Interrupt m_interrupt;               // before m_http and m_reader, which point to it
    std::unique_ptr<HttpClient> m_http;  // none for RTSP URL entries
    std::vector<std::string> m_secrets;
    std::atomic<int> m_requestError{0};
    mutable Liveness m_liveness;  // a stream-less session's check that the camera is there

    // Lock order: m_controlMutex, then m_streamMutex.
    std::mutex m_controlMutex;         // serialises opening and closing the stream
    mutable std::mutex m_streamMutex;  // guards m_callbacks and m_reader
    StreamCallbacks m_callbacks;
    std::unique_ptr<StreamReader> m_reader;
};

}  // namespace vxnet
