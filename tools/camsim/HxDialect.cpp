#include "tools/camsim/HxDialect.h"

namespace camsim {

bool HxDialect::handles(const HttpRequest& req) const
{
    return req.path == "/web.ini";
}

HttpReply HxDialect::handle(const HttpRequest&)
{
    const Options& o = state_.options;
    return HttpReply::text(200,
                           "[vxver]\r\nvercfg = " + o.model + "\r\nsoftver = " + o.firmware
                               + "\r\n\r\n[web]\r\nversion = " + o.webVersion + "\r\n",
                           "text/plain");
}

}  // namespace camsim
