#include "tools/camsim/AjDialect.h"

#include "tools/camsim/Query.h"
#include "tools/camsim/UserAccounts.h"

namespace camsim {

namespace {

const char* const kPaths[] = {"/cgi-bin/user_management", "/cgi-bin/audioencoder", "/cgi-bin/deviceinfo"};

std::string xml(const std::string& inner)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + inner;
}

}  // namespace

bool AjDialect::handles(const HttpRequest& req) const
{
    for (const char* p : kPaths) {
        if (req.path == p)
            return true;
    }
    return false;
}

HttpReply AjDialect::handle(const HttpRequest& req)
{
    const Options& o = state_.options;
    QueryPairs q = parseQuery(req.query);
    // The account travels in the query and is checked against the rows.
    const std::string user = queryValue(q, "username");
    std::optional<std::string> password = accounts::passwordOf(state_.settings, user);
    bool accountOk = password && *password == queryValue(q, "password");
    if (!accountOk || state_.faults.refuseLogin()) {
        return HttpReply::text(accountOk ? 403 : 401,
                               xml("<user_management>\r\n<result code=\"" + std::string(accountOk ? "403" : "401")
                                   + "\" message=\"" + (accountOk ? "forbidden" : "unauthorized")
                                   + "\"/>\r\n</user_management>\r\n"),
                               "text/xml");
    }
    if (req.path == "/cgi-bin/user_management") {
        state_.syslog.add("user " + user + " logged in");
        return HttpReply::text(200,
                               xml("<user_management>\r\n<result code=\"200\" message=\"ok\"/>\r\n<user name=\"" + user
                                   + "\" level=\"administrator\"/>\r\n</user_management>\r\n"),
                               "text/xml");
    }
    if (req.path == "/cgi-bin/audioencoder")
        return HttpReply::text(200,
                               xml("<audioencoder encode_type=\""
                                   + state_.settings.get("encode_type").value_or("G.711A")
                                   + "\" sample_rate=\"8000\" channels=\"1\" "
                                     "bit_rate=\"64000\"/>\r\n"),
                               "text/xml");
    return HttpReply::text(
        200, xml("<deviceinfo model=\"" + o.model + "\" firmware=\"" + o.firmware + "\" name=\"" + o.name + "\"/>\r\n"),
        "text/xml");
}

}  // namespace camsim
