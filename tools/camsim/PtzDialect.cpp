#include "tools/camsim/PtzDialect.h"

#include "tools/camsim/Numbers.h"
#include "tools/camsim/Query.h"

namespace camsim {

namespace {

std::string ajReply(int code, const std::string& message)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ptz_ctrl>\r\n<result code=\"" + std::to_string(code)
           + "\" message=\"" + message + "\"/>\r\n</ptz_ctrl>\r\n";
}

std::string htlReply(int code, const std::string& msg)
{
    return "{\"code\":" + std::to_string(code) + ",\"msg\":\"" + msg + "\"}";
}

// The number after "name": in flat JSON; "[N]" counts as N.
bool jsonNumber(const std::string& json, const std::string& name, int& out)
{
    std::string key = "\"" + name + "\"";
    size_t p = json.find(key);
    if (p == std::string::npos)
        return false;
    p = json.find_first_not_of(" \t", p + key.size());
    if (p == std::string::npos || json[p] != ':')
        return false;
    p = json.find_first_not_of(" \t[", p + 1);
    if (p == std::string::npos)
        return false;
    size_t e = json.find_first_not_of("-0123456789", p);
    return parseInt(json.substr(p, e == std::string::npos ? std::string::npos : e - p), out);
}

bool hasJsonString(const std::string& json, const std::string& name, const std::string& value)
{
    return json.find("\"" + name + "\":\"" + value + "\"") != std::string::npos;
}

}  // namespace

void PtzJournal::add(const std::string& line)
{
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
}

std::string PtzJournal::text() const
{
    std::lock_guard lock(mutex_);
    std::string out;
    for (const auto& l : lines_)
        out += l + "\n";
    return out;
}

void PtzJournal::clear()
{
    std::lock_guard lock(mutex_);
    lines_.clear();
}

bool PtzDialect::handles(const HttpRequest& req) const
{
    switch (state_.options.family) {
    case Family::HV:
        return false;
    case Family::AJ:
        if (req.path == "/cgi-bin/ptz_ctrl")
            return true;
        break;
    case Family::HTL:
        if (req.path == "/cgi-bin/web.cgi" && hasJsonString(percentDecode(req.query), "mod", "ptz"))
            return true;
        break;
    case Family::HX:
    case Family::DY:
        break;
    }
    if (req.path == "/cgi-bin/hi3510/ptzctrl.cgi")
        return true;
    if (req.path == "/cgi-bin/hi3510/param.cgi") {
        QueryPairs q = parseQuery(req.query);
        return queryValue(q, "cmd") == "preset";
    }
    return false;
}

bool PtzDialect::usesHttpAuth(const HttpRequest& req) const
{
    return req.path != "/cgi-bin/ptz_ctrl";
}

HttpReply PtzDialect::handle(const HttpRequest& req)
{
    if (req.path == "/cgi-bin/ptz_ctrl")
        return aj(req);
    if (req.path == "/cgi-bin/web.cgi")
        return htl(req);
    if (req.path == "/cgi-bin/hi3510/param.cgi")
        return hxPreset(req);
    return hx(req);
}

HttpReply PtzDialect::hx(const HttpRequest& req)
{
    QueryPairs q = parseQuery(req.query);
    std::string act = queryValue(q, "-act");
    int speed = 0;
    static const std::vector<std::pair<std::string, std::string>> kActs = {{"up", "up"},
                                                                           {"down", "down"},
                                                                           {"left", "left"},
                                                                           {"right", "right"},
                                                                           {"stop", "stop"},
                                                                           {"zoomin", "zoom-in"},
                                                                           {"zoomout", "zoom-out"},
                                                                           {"focusin", "focus-in"},
                                                                           {"focusout", "focus-out"},
                                                                           {"hscan", "hscan"},
                                                                           {"vscan", "vscan"},
                                                                           {"home", "home"}};
    for (const auto& [a, name] : kActs) {
        if (a != act)
            continue;
        bool move = a == "up" || a == "down" || a == "left" || a == "right";
        if (move && (!parseInt(queryValue(q, "-speed"), speed) || speed < 0 || speed > 63))
            return HttpReply::text(200, "[Error]-speed error.\r\n");
        journal_.add(move ? name + " " + std::to_string(speed) : name);
        return HttpReply::text(200, "[Succeed]set ok.\r\n");
    }
    return HttpReply::text(200, "[Error]-act error.\r\n");
}

HttpReply PtzDialect::hxPreset(const HttpRequest& req)
{
    QueryPairs q = parseQuery(req.query);
    std::string act = queryValue(q, "-act");
    int number = -1;
    if (act != "set" && act != "goto")
        return HttpReply::text(200, "[Error]-act error.\r\n");
    if (!parseInt(queryValue(q, "-number"), number) || number < 0 || number > 254)
        return HttpReply::text(200, "[Error]-number error.\r\n");
    journal_.add("preset-" + act + " " + std::to_string(number));
    return HttpReply::text(200, "[Succeed]set ok.\r\n");
}

HttpReply PtzDialect::aj(const HttpRequest& req)
{
    const Options& o = state_.options;
    QueryPairs q = parseQuery(req.query);
    if (queryValue(q, "username") != o.user || queryValue(q, "password") != o.password)
        return HttpReply::text(401, ajReply(401, "unauthorized"), "text/xml");
    int x = 0, y = 0, v = 0;
    if (parseInt(queryValue(q, "move_x"), x) && parseInt(queryValue(q, "move_y"), y)) {
        const char* dir = x == 0 && y == 1    ? "up"
                          : x == 0 && y == -1 ? "down"
                          : x == -1 && y == 0 ? "left"
                          : x == 1 && y == 0  ? "right"
                                              : nullptr;
        if (!dir || !parseInt(queryValue(q, "speed"), v) || v < 1 || v > 10)
            return HttpReply::text(200, ajReply(400, "bad move"), "text/xml");
        journal_.add(std::string(dir) + " " + std::to_string(v));
        return HttpReply::text(200, ajReply(200, "ok"), "text/xml");
    }
    if (queryValue(q, "stop") == "1") {
        journal_.add("stop");
        return HttpReply::text(200, ajReply(200, "ok"), "text/xml");
    }
    static const std::vector<std::pair<std::string, std::string>> kPresets = {
        {"add_preset", "preset-set"}, {"call_preset", "preset-goto"}, {"delete_preset", "preset-delete"}};
    for (const auto& [key, name] : kPresets) {
        if (queryValue(q, key).empty())
            continue;
        if (!parseInt(queryValue(q, key), v) || v < 1 || v > 255)
            return HttpReply::text(200, ajReply(400, "bad preset"), "text/xml");
        journal_.add(name + " " + std::to_string(v));
        return HttpReply::text(200, ajReply(200, "ok"), "text/xml");
    }
    static const std::vector<std::pair<std::string, std::string>> kLens = {
        {"zoom", "zoom"}, {"focus", "focus"}, {"iris", "iris"}};
    for (const auto& [key, name] : kLens) {
        std::string val = queryValue(q, key);
        if (val == "1" || val == "-1") {
            journal_.add(name + (val == "1" ? (key == "iris" ? "-open" : "-in") : (key == "iris" ? "-close" : "-out")));
            return HttpReply::text(200, ajReply(200, "ok"), "text/xml");
        }
    }
    return HttpReply::text(200, ajReply(400, "unknown command"), "text/xml");
}

HttpReply PtzDialect::htl(const HttpRequest& req)
{
    std::string json = percentDecode(req.query);
    if (req.method != "POST")
        return HttpReply::text(200, htlReply(405, "ptz needs POST"), "application/json");
    int command = -1;
    if (!hasJsonString(json, "cmd", "set") || !jsonNumber(json, "command", command))
        return HttpReply::text(200, htlReply(400, "bad request"), "application/json");
    static const std::vector<std::pair<int, std::string>> kCommands = {
        {0, "stop"},        {1, "up"},      {2, "down"},     {3, "left"}, {4, "right"},       {5, "focus-in"},
        {6, "focus-out"},   {7, "zoom-in"}, {8, "zoom-out"}, {9, "home"}, {11, "preset-set"}, {12, "preset-delete"},
        {13, "preset-goto"}};
    for (const auto& [n, name] : kCommands) {
        if (n != command)
            continue;
        if (n >= 11) {
            int preset = -1;
            if (!jsonNumber(json, "preset_id", preset) || preset < 1 || preset > 255)
                return HttpReply::text(200, htlReply(400, "bad preset"), "application/json");
            journal_.add(name + " " + std::to_string(preset));
        } else {
            journal_.add(name);
        }
        return HttpReply::text(200, htlReply(200, "ok"), "application/json");
    }
    return HttpReply::text(200, htlReply(400, "unknown command"), "application/json");
}

}  // namespace camsim
