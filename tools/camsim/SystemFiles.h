#pragma once
// The files a camera with the parameter CGI serves besides it: the current
// picture "/web/tmpfs/snap.jpg", the system log "/log/syslog.txt" and
// "/cgi-bin/hi3510/logsync.cgi", which brings that log up to date.

#include "tools/camsim/Dialect.h"
#include "tools/camsim/Snapshot.h"

#include <mutex>

namespace camsim {

class SystemFiles : public Dialect {
public:
    explicit SystemFiles(CameraState& state);
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;

private:
    Snapshot snapshot_;
};

}  // namespace camsim
