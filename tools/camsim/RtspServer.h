#pragma once
// The camera's media stream: a live H.264 test pattern with a G.711 A-law
// tone, served by the GStreamer RTSP server on its own main-loop thread.
// Public calls may come from any thread; they run on the loop's thread.

#include "tools/camsim/Options.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace camsim {

class RtspServer {
public:
    explicit RtspServer(const Options& options);
    ~RtspServer();
    RtspServer(const RtspServer&) = delete;
    RtspServer& operator=(const RtspServer&) = delete;

    bool start(std::string& error);
    void stop();
    int port() const { return port_; }

    // Drops every session and answers 404 on every path until resume().
    void stopStream();
    // Keeps the sessions but sends no more media until resume().
    void stallStream();
    void resume();
    // Closes the port and every session; opens the port again after `seconds`.
    void vanish(int seconds);
    std::string describe() const;

    struct Impl;

private:
    void runOnLoop(std::function<void()> fn);

    const Options& options_;
    std::unique_ptr<Impl> impl_;
    std::thread thread_;
    std::atomic<int> port_{0};
};

}  // namespace camsim
