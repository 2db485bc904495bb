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

enum class StreamAction { Stop, Stall, Resume };

class Camera {
public:
  explicit Camera(const Options& options);

  bool openLog(std::string& error);
  HttpReply handle(const HttpRequest& req);

  // Set by the program before serving; called from connection threads.
  std::function<void(int seconds)> onVanish;
  std::function<bool(StreamAction)> onStream;
  std::function<std::string()> streamState;

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
};

} // namespace camsim
