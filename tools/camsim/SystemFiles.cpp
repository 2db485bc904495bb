#include "tools/camsim/SystemFiles.h"

namespace camsim {

SystemFiles::SystemFiles(CameraState& state) : Dialect(state), snapshot_(state.options.width, state.options.height) {}

bool SystemFiles::handles(const HttpRequest& req) const
{
    return req.path == "/web/tmpfs/snap.jpg" || req.path == "/log/syslog.txt"
           || req.path == "/cgi-bin/hi3510/logsync.cgi";
}

HttpReply SystemFiles::handle(const HttpRequest& req)
{
    if (req.path == "/cgi-bin/hi3510/logsync.cgi")
        return HttpReply::text(200, "[Succeed]get ok.\r\n");
    if (req.path == "/log/syslog.txt")
        return HttpReply::text(200, state_.syslog.text());
    std::string error;
    std::string jpeg = snapshot_.jpeg(error);
    if (jpeg.empty())
        return HttpReply::text(500, error + "\r\n");
    return HttpReply::text(200, std::move(jpeg), "image/jpeg");
}

}  // namespace camsim
