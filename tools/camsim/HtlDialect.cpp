#include "tools/camsim/HtlDialect.h"

#include "tools/camsim/Query.h"

namespace camsim {

namespace {

// The text of a string member "name":"value" of a JSON object; the query is
// sent raw or percent-encoded, so both are looked at.
std::string jsonMember(const std::string& json, const std::string& name)
{
    std::string key = "\"" + name + "\"";
    size_t p = json.find(key);
    if (p == std::string::npos)
        return {};
    p = json.find_first_not_of(" \t", p + key.size());
    if (p == std::string::npos || json[p] != ':')
        return {};
    p = json.find_first_not_of(" \t", p + 1);
    if (p == std::string::npos || json[p] != '"')
        return {};
    size_t e = json.find('"', p + 1);
    return e == std::string::npos ? std::string() : json.substr(p + 1, e - p - 1);
}

std::string reply(int code, const std::string& msg, const std::string& members = {})
{
    return "{\"code\":" + std::to_string(code) + ",\"msg\":\"" + msg + "\"" + members + "}";
}

}  // namespace

bool HtlDialect::handles(const HttpRequest& req) const
{
    return req.path == "/cgi-bin/web.cgi";
}

HttpReply HtlDialect::handle(const HttpRequest& req)
{
    const Options& o = state_.options;
    std::string mod, cmd;
    std::string query = percentDecode(req.query);
    if (!query.empty() && query[0] == '{') {
        mod = jsonMember(query, "mod");
        cmd = jsonMember(query, "cmd");
    } else {
        QueryPairs q = parseQuery(req.query);
        mod = queryValue(q, "mod");
        cmd = queryValue(q, "cmd");
    }
    if (state_.faults.refuseLogin())
        return HttpReply::text(401, reply(401, "unauthorized"), "application/json");
    if (mod == "device" && cmd == "get") {
        // The family's login request.
        state_.syslog.add("user " + req.authUser + " logged in");
        return HttpReply::text(200,
                               reply(200, "ok",
                                     ",\"model\":\"" + o.model + "\",\"firmware\":\"" + o.firmware + "\",\"name\":\""
                                         + o.name + "\",\"channels\":1"),
                               "application/json");
    }
    if (mod == "time" && cmd == "get")
        return HttpReply::text(200, reply(200, "ok", ",\"time\":\"" + state_.clock.compact() + "\""),
                               "application/json");
    return HttpReply::text(200, reply(404, "unsupported"), "application/json");
}

}  // namespace camsim
