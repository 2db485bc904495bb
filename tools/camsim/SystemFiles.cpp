#include "tools/camsim/SystemFiles.h"

namespace camsim {

SystemFiles::SystemFiles(CameraState& state) : Dialect(state), snapshot_(state.options.width, state.options.height) {}

bool SystemFiles::handles(const HttpRequest& req) const {
  return req.path == "/web/tmpfs/snap.jpg" || req.path == "/log/syslog.txt" ||
         req.path == "/cgi-bin/hi3510/logsync.cgi";
}

HttpReply SystemFiles::handle(const HttpRequest& req) {
  if (req.path == "/cgi-bin/hi3510/logsync.cgi")
    return HttpReply::text(200, "[Succeed]get ok.\r\n");
  if (req.path == "/log/syslog.txt") {
    const std::string start = state_.settings.value("startdate");
    return HttpReply::text(200, start + " system start\r\n" + start + " user " + state_.options.user +
                                    " login\r\n" + state_.clock.compact() + " log read\r\n");
  }
  std::string error;
  std::string jpeg = snapshot_.jpeg(error);
  if (jpeg.empty())
    return HttpReply::text(500, error + "\r\n");
  return HttpReply::text(200, std::move(jpeg), "image/jpeg");
}

} // namespace camsim
