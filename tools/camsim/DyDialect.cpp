#include "tools/camsim/DyDialect.h"

#include "tools/camsim/Query.h"
#include "tools/camsim/UserAccounts.h"

namespace camsim {

namespace {
std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "='" + value + "';\r\n";
}
}  // namespace

bool DyDialect::handles(const HttpRequest& req) const
{
    return req.path.rfind("/dy-cgi/", 0) == 0;
}

HttpReply DyDialect::handle(const HttpRequest& req)
{
    const Options& o = state_.options;
    std::string cmd = queryValue(parseQuery(req.query), "cmd");
    if (req.path == "/dy-cgi/user.cgi" && cmd == "checkuserinfo") {
        // The role is the row the account stands in (without authentication:
        // the administrator's).
        std::string user = req.authUser.empty() ? state_.settings.value("at_username0") : req.authUser;
        std::string role = state_.faults.refuseLogin() ? "guest" : accounts::roleOf(state_.settings, user);
        if (role != "guest" && !role.empty())
            state_.syslog.add("user " + user + " logged in");
        return HttpReply::text(200, var("username", user) + var("rolename", role.empty() ? "guest" : role));
    }
    if (req.path == "/dy-cgi/device.cgi" && cmd == "getdeviceinfo")
        return HttpReply::text(200, var("model", o.model) + var("firmware", o.firmware) + var("devname", o.name));
    if (req.path == "/dy-cgi/user.cgi" || req.path == "/dy-cgi/device.cgi")
        return HttpReply::text(200, var("retcode", "-1") + var("retmsg", "unknown cmd"));
    return HttpReply::text(404, "<html><body>404 Not Found</body></html>\r\n", "text/html");
}

}  // namespace camsim
