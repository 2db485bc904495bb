#include "tools/camsim/ParamCgi.h"

#include <algorithm>

#include "tools/camsim/Query.h"
#include "tools/camsim/UserAccounts.h"

namespace camsim {

namespace {

std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

// Commands that only read: their reply carries no "set ok" and the system
// log keeps no line of them.
bool readsOnly(const std::string& command)
{
    return command.rfind("get", 0) == 0 || command == "searchwireless";
}

}  // namespace

std::string ParamCgi::Command::param(const std::string& n) const
{
    for (const auto& [k, v] : params) {
        if (k == n)
            return v;
    }
    return {};
}

bool ParamCgi::Command::has(const std::string& n) const
{
    for (const auto& [k, v] : params) {
        if (k == n)
            return true;
    }
    return false;
}

ParamCgi::ParamCgi(CameraState& state) : Dialect(state)
{
    defineGroups();
}

void ParamCgi::defineGroups()
{
    const Options& o = state_.options;
    groups_ = paramTable(o);
    for (const auto& g : groups_) {
        std::vector<std::pair<std::string, std::string>> idx = g.indexes;
        if (idx.empty())
            idx.push_back({"", ""});
        for (const auto& [value, suffix] : idx) {
            for (const auto& k : g.keys)
                state_.settings.define(k.name + suffix, k.value);
        }
    }
    // maxchn tells how many streams the camera has.
    state_.settings.define("maxchn", std::to_string(o.streams));
    // The stream settings follow what the RTSP side really sends.
    const int div[] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        std::string s = "_" + std::to_string(i + 1);
        state_.settings.define("width" + s, std::to_string(o.width / div[i] / 2 * 2));
        state_.settings.define("height" + s, std::to_string(o.height / div[i] / 2 * 2));
        state_.settings.define("fps" + s, std::to_string(o.fps));
        state_.settings.define("gop" + s, std::to_string(o.keyInterval));
        state_.settings.define("bps" + s, std::to_string(std::max(16, o.bitrateKbps / (div[i] * div[i]))));
    }
    state_.settings.define("timeZone", "Europe/Brussels");
    state_.settings.define("dstmode", "off");

    defineScheduleCommands();
    defineMotionCommands();
    defineLongCommands();
    defineWirelessCommands();

    specials_["getuserinfo"] = [this](const Command&, SettingsChange&, std::string& out) {
        // Level 15 is the administrator; 0 says the account may not log in.
        out += var("username", state_.settings.value("at_username0"));
        out += var("authLevel", state_.faults.refuseLogin() ? "0" : state_.settings.get("authLevel").value_or("15"));
        return true;
    };
    specials_["getservertime"] = [this](const Command&, SettingsChange&, std::string& out) {
        // A test may pin the reply's time text (see /camsim/set).
        out += var("time", state_.settings.get("time").value_or(state_.clock.compact()));
        out += var("timeZone", state_.settings.value("timeZone"));
        out += var("dstmode", state_.settings.value("dstmode"));
        return true;
    };
    specials_["setservertime"] = [this](const Command& c, SettingsChange& change, std::string& out) {
        for (const auto& [k, v] : c.params) {
            bool ok = isSafeValue(v);
            if (k == "time") {
                CameraClock probe;
                ok = ok && probe.setFromDotted(v);
                if (ok)
                    change.also([this, v] { state_.clock.setFromDotted(v); });
            } else if (k == "timezone") {
                ok = ok && !v.empty() && change.set("timeZone", v);
            } else if (k == "dstmode") {
                ok = ok && (v == "on" || v == "off") && change.set("dstmode", v);
            } else {
                out += "[Error]-" + k + ": unknown parameter.\r\n";
                return false;
            }
            if (!ok) {
                out += "[Error]-" + k + ": bad value.\r\n";
                return false;
            }
        }
        return true;
    };
    specials_["setimageattr"] = [this](const Command& c, SettingsChange& change, std::string& out) {
        // "-default=on" puts every image value back to the camera's own, beside
        // what else the command sets (the display mode).
        Command rest{c.name, {}};
        bool reset = false;
        for (const auto& p : c.params) {
            if (p.first == "default" && p.second == "on")
                reset = true;
            else
                rest.params.push_back(p);
        }
        const ParamGroup* g = findGroup("imageattr");
        if (reset) {
            for (const auto& k : g->keys) {
                if (k.name != "display_mode")
                    change.set(k.name, k.value);
            }
        }
        return runGroup(*g, true, rest, change, out);
    };
    specials_["setvideoattr"] = [this](const Command& c, SettingsChange& change, std::string& out) {
        // The videomode sets the stream sizes the camera reports; the RTSP
        // picture keeps its own.
        struct Sizes {
            int mode;
            int w[3], h[3];
        };
        static const Sizes kModes[] = {
            {31, {1280, 640, 320}, {720, 352, 176}},  {32, {1280, 320, 320}, {720, 176, 176}},
            {33, {640, 640, 320}, {352, 352, 176}},   {34, {640, 320, 320}, {352, 176, 176}},
            {41, {1920, 640, 320}, {1080, 352, 176}}, {42, {1920, 320, 320}, {1080, 176, 176}},
            {48, {1920, 1280, 0}, {1080, 720, 0}},    {51, {1280, 640, 320}, {960, 480, 240}},
            {52, {1280, 320, 320}, {960, 240, 240}},  {53, {640, 640, 320}, {480, 480, 240}},
            {54, {640, 320, 320}, {480, 240, 240}},   {17, {704, 352, 352}, {576, 288, 288}},
            {20, {352, 352, 352}, {288, 288, 288}},   {81, {2560, 800, 0}, {1440, 448, 0}},
            {82, {2560, 640, 0}, {1440, 352, 0}},     {85, {2560, 1280, 0}, {1440, 720, 0}},
            {101, {2560, 800, 0}, {1920, 600, 0}},    {102, {2560, 640, 0}, {1920, 480, 0}},
            {122, {3840, 1280, 0}, {2160, 720, 0}},   {123, {3840, 640, 0}, {2160, 352, 0}},
        };
        const Sizes* sizes = nullptr;
        if (c.has("videomode")) {
            for (const auto& m : kModes) {
                if (std::to_string(m.mode) == c.param("videomode"))
                    sizes = &m;
            }
            if (!sizes) {
                out += "[Error]-videomode: bad value.\r\n";
                return false;
            }
        }
        if (!runGroup(*findGroup("videoattr"), true, c, change, out))
            return false;
        for (int i = 0; sizes && i < std::clamp(state_.options.streams, 1, 3); ++i) {
            std::string n = "_" + std::to_string(i + 1);
            change.set("width" + n, std::to_string(sizes->w[i]));
            change.set("height" + n, std::to_string(sizes->h[i]));
        }
        return true;
    };
    specials_["setupnpattr"] = [this](const Command& c, SettingsChange& change, std::string& out) {
        if (!runGroup(*findGroup("upnpattr"), true, c, change, out))
            return false;
        // The camera reports how the mapping went; camsim's always works.
        change.set("upnpstatus", change.value("upm_enable") == "1" ? "ok" : "off");
        return true;
    };
    specials_["ircutctrl"] = [](const Command& c, SettingsChange& change, std::string& out) {
        std::string mode = c.param("mode");
        if (c.params.size() != 1 || (mode != "0" && mode != "1")) {
            out += "[Error]-mode: bad value.\r\n";
            return false;
        }
        change.set("display_mode", mode);
        return true;
    };
    specials_["cleanlog"] = [this](const Command& c, SettingsChange& change, std::string& out) {
        if (c.param("name") != "sys") {
            out += "[Error]-name: bad value.\r\n";
            return false;
        }
        change.also([this] { state_.syslog.clear(); });
        return true;
    };
    specials_["getuserattr"] = [this](const Command&, SettingsChange&, std::string& out) {
        out += accounts::getUserAttr(state_.settings);
        return true;
    };
    specials_["setuserattr"] = [](const Command& c, SettingsChange& change, std::string& out) {
        return accounts::setUserAttr(c.params, change, out);
    };
}

const ParamGroup* ParamCgi::findGroup(const std::string& name) const
{
    for (const auto& g : groups_) {
        if (g.name == name)
            return &g;
    }
    return nullptr;
}

bool ParamCgi::runGroup(const ParamGroup& g, bool set, const Command& c, SettingsChange& change, std::string& out)
{
    std::string suffix;
    if (!set && !g.indexParam.empty() && !c.has(g.indexParam)) {
        // A getter without its index reads every index.
        for (const auto& [value, s] : g.indexes) {
            for (const auto& k : g.keys)
                out += var(k.name + s, state_.settings.value(k.name + s));
        }
        return true;
    }
    if (!g.indexParam.empty()) {
        std::string idx = c.has(g.indexParam) ? c.param(g.indexParam) : g.indexes.front().first;
        bool found = false;
        for (const auto& [value, s] : g.indexes) {
            if (value == idx) {
                suffix = s;
                found = true;
            }
        }
        if (!found) {
            out += "[Error]-" + g.indexParam + "=" + idx + ": no such index.\r\n";
            return false;
        }
    }
    if (!set) {
        for (const auto& k : g.keys)
            out += var(k.name + suffix, state_.settings.value(k.name + suffix));
        return true;
    }
    if (g.readOnly) {
        out += "[Error]" + c.name + ": read only.\r\n";
        return false;
    }
    for (const auto& [p, v] : c.params) {
        if (p == g.indexParam)
            continue;
        const ParamKey* key = nullptr;
        for (const auto& k : g.keys) {
            if (k.paramName() == p)
                key = &k;
        }
        if (!key || key->readOnly) {
            out += "[Error]-" + p + ": unknown parameter.\r\n";
            return false;
        }
        bool safe = key->multiLine ? v.find('"') == std::string::npos : isSafeValue(v);
        if (!safe || (key->rule && !key->rule(v))) {
            out += "[Error]-" + p + ": bad value.\r\n";
            return false;
        }
        change.set(key->name + suffix, v);
    }
    return true;
}

bool ParamCgi::handles(const HttpRequest& req) const
{
    return req.path == "/cgi-bin/hi3510/param.cgi";
}

HttpReply ParamCgi::handle(const HttpRequest& req)
{
    std::vector<Command> commands;
    for (const auto& [k, v] : parseQuery(req.method == "POST" && req.query.empty() ? req.body : req.query)) {
        if (k == "cmd")
            commands.push_back({v, {}});
        else if (!commands.empty() && !k.empty() && k[0] == '-')
            commands.back().params.emplace_back(k.substr(1), v);
        else if (!commands.empty())
            commands.back().params.emplace_back(k, v);
    }
    if (commands.empty())
        return HttpReply::text(200, "[Error]no cmd.\r\n");

    SettingsChange change(state_.settings);
    // A new address or HTTP port makes the camera restart its network.
    const std::string netBefore = change.value("dhcpflag") + " " + change.value("ip") + " " + change.value("httpport");
    std::string out;
    bool anyGet = false, allOk = true;
    for (const auto& c : commands) {
        bool ok;
        bool get = readsOnly(c.name);
        if (state_.faults.commandError(c.name)) {
            out += "[Error]cmd=" + c.name + ": failed.\r\n";
            ok = false;
        } else if (auto s = specials_.find(c.name); s != specials_.end()) {
            ok = s->second(c, change, out);
        } else if (c.name.size() > 3 && (get || c.name.rfind("set", 0) == 0) && findGroup(c.name.substr(3))) {
            ok = runGroup(*findGroup(c.name.substr(3)), !get, c, change, out);
        } else {
            out += "[Error]cmd=" + c.name + ": unknown command.\r\n";
            ok = false;
        }
        anyGet = anyGet || get;
        allOk = allOk && ok;
    }
    if (allOk)
        change.commit();
    if (allOk && !anyGet && commands.front().name != "cleanlog") {
        std::string names;
        for (const auto& c : commands)
            names += (names.empty() ? "" : " ") + c.name;
        state_.syslog.add("user " + req.authUser + " applied " + names);
    }
    for (const auto& c : commands) {
        if (allOk && c.name == "getuserinfo")
            state_.syslog.add("user " + req.authUser + " logged in");
    }
    if (allOk && !anyGet)
        out += "[Succeed]set ok.\r\n";
    HttpReply reply = HttpReply::text(200, out);
    const std::string netAfter =
        state_.settings.value("dhcpflag") + " " + state_.settings.value("ip") + " " + state_.settings.value("httpport");
    if (allOk && netAfter != netBefore) {
        if (std::optional<int> seconds = state_.longOps.take("netrestart"); seconds && onNetworkRestart) {
            state_.syslog.add("network restart");
            reply.close = true;
            reply.afterSend = [this, s = *seconds] { onNetworkRestart(s); };
        }
    }
    return reply;
}

}  // namespace camsim
