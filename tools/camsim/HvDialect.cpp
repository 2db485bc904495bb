#include "tools/camsim/HvDialect.h"

#include "tools/camsim/Query.h"

namespace camsim {

namespace {

std::string message(int code, const std::string& group, const std::string& inner)
{
    std::string body =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Message>\r\n<result code=\"" + std::to_string(code) + "\">";
    if (!group.empty())
        body += "\r\n<" + group + ">\r\n" + inner + "</" + group + ">\r\n";
    body += "</result>\r\n</Message>\r\n";
    return body;
}

std::string str(const std::string& name, const std::string& v)
{
    return "<" + name + "><string>" + v + "</string></" + name + ">\r\n";
}
std::string num(const std::string& name, long long v)
{
    return "<" + name + "><int>" + std::to_string(v) + "</int></" + name + ">\r\n";
}

}  // namespace

bool HvDialect::handles(const HttpRequest& req) const
{
    return req.path.rfind("/cgi/", 0) == 0;
}

HttpReply HvDialect::handle(const HttpRequest& req)
{
    const Options& o = state_.options;
    QueryPairs q = parseQuery(req.query);
    std::string group = queryValue(q, "Group");
    if (state_.faults.refuseLogin())
        return HttpReply::text(200, message(401, "", ""), "text/xml");
    if (req.path == "/cgi/sys_get" && group == "DeviceInfo")
        return HttpReply::text(200,
                               message(200, group,
                                       str("DeviceName", o.name) + str("DeviceModel", o.model)
                                           + str("SoftwareVersion", o.firmware) + str("WebVersion", o.webVersion)
                                           + num("ChannelNum", 1)),
                               "text/xml");
    if (req.path == "/cgi/sys_get" && group == "TimeInfo")
        return HttpReply::text(
            200, message(200, group, num("OsdTime", state_.clock.now()) + str("TimeZone", "GMT+01:00")), "text/xml");
    if (req.path == "/cgi/netport_get" && group == "NetPortInfo") {
        if (queryValue(q, "Channel") != "1")
            return HttpReply::text(200, message(400, "", ""), "text/xml");
        // The video port carries the family's own alarm and talk protocol.
        return HttpReply::text(
            200, message(200, group, num("HttpPort", 80) + num("VideoPort", o.hvVideoPort) + num("RtspPort", 554)),
            "text/xml");
    }
    if (req.path == "/cgi/sys_get" || req.path == "/cgi/netport_get")
        return HttpReply::text(200, message(404, "", ""), "text/xml");
    return HttpReply::text(404, "<html><body>404 Not Found</body></html>\r\n", "text/html");
}

}  // namespace camsim
