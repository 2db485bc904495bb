#pragma once
// One simulated camera's HTTP side: finds the dialect for a request, checks
// the account, plays the faults, writes the request log, and answers the
// control requests under /camsim/. handle() runs on the HTTP server's
// connection threads, many at once.

#include "tools/camsim/CameraState.h"
#include "tools/camsim/Dialect.h"
#include "tools/camsim/Faults.h"
#include "tools/camsim/HttpAuth.h"
#include "tools/camsim/RequestLog.h"
#include "tools/camsim/SettingsStore.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace camsim {

class SdCard;

enum class StreamAction { Stop, Stall, Resume };

class Camera {
public:
    explicit Camera(const Options& options);

    bool openLog(std::string& error);
    HttpReply handle(const HttpRequest& req);
    // The pace the server reads a request's body at: a firmware upload's is
    // counted as it arrives and takes the request faults `rate` and `cut`
    // (which then leave its answer alone).
    BodyPace bodyPace(const HttpRequest& req);

    // Set by the program before serving; called from connection threads.
    std::function<void(int seconds)> onVanish;
    std::function<bool(StreamAction)> onStream;
    std::function<std::string()> streamState;
    // The side channels and PTZ peers: requests that open a side channel,
    // further control paths, the keys of /camsim/fault they own (apply false
    // only checks; true when the key is theirs) and their lines of state.
    std::function<bool(const HttpRequest&, HttpReply&)> sideRequest;
    std::function<bool(const HttpRequest&, HttpReply&)> sideControl;
    std::function<bool(const std::string& key, const std::string& value, bool apply, std::string& error)> sideFault;
    std::function<std::string()> sideState;
    // A dialect asked before the family's own.
    void addDialectFirst(std::unique_ptr<Dialect> dialect) { dialects_.insert(dialects_.begin(), std::move(dialect)); }
    CameraState& state() { return state_; }

private:
    HttpReply control(const HttpRequest& req);
    HttpReply cameraRequest(const HttpRequest& req);
    HttpReply unauthorized() const;

    const Options& options_;
    Faults faults_;
    CameraState state_;
    HttpAuth auth_;
    RequestLog log_;
    std::vector<std::unique_ptr<Dialect>> dialects_;
    std::atomic<long> requests_{0};
    std::atomic<long long> upgradeBytes_{0};  // body bytes of the latest firmware upload so far
    SdCard* sdCard_ = nullptr;  // owned by dialects_; null for a family without one
};

}  // namespace camsim
