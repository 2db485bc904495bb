#include "tools/camsim/ParamCgi.h"

#include "tools/camsim/Query.h"

namespace camsim {

namespace {

std::string var(const std::string& name, const std::string& value) {
  return "var " + name + "=\"" + value + "\";\r\n";
}

const std::vector<std::pair<std::string, std::string>> kChannels = {{"11", "_1"}, {"12", "_2"}, {"13", "_3"}};
const std::vector<std::pair<std::string, std::string>> kRegions = {{"0", "_0"}, {"1", "_1"}};

} // namespace

std::string ParamCgi::Command::param(const std::string& n) const {
  for (const auto& [k, v] : params) {
    if (k == n)
      return v;
  }
  return {};
}

bool ParamCgi::Command::has(const std::string& n) const {
  for (const auto& [k, v] : params) {
    if (k == n)
      return true;
  }
  return false;
}

ParamCgi::ParamCgi(CameraState& state) : Dialect(state) { defineGroups(); }

void ParamCgi::defineGroups() {
  const Options& o = state_.options;
  // Add a row here for each further page of settings.
  groups_ = {
      {"videoattr", "", {}, {{"videomode", "31"}, {"vinorm", "P"}, {"profile", "1"}, {"maxchn", ""}}},
      {"vencattr", "chn", kChannels,
       {{"bps", ""}, {"fps", ""}, {"gop", ""}, {"brmode", "1"}, {"imagegrade", "1"}, {"width", ""}, {"height", ""}}},
      {"aencattr", "chn", kChannels, {{"aeswitch", "1"}, {"aeformat", "g711a"}}},
      {"audioinvolume", "", {}, {{"volin_type", "1"}, {"volume", "80"}}},
      {"audiooutvolume", "", {}, {{"ao_volume", "80"}}},
      {"ntpattr", "", {}, {{"ntpenable", "1"}, {"ntpserver", "pool.ntp.org"}, {"ntpinterval", "1"}}},
      {"overlayattr", "region", kRegions, {{"show", "1"}, {"place", "0"}, {"type", "0"}, {"name", o.name}}},
      {"vendorinfo", "", {}, {{"vendor", "CAMSIM"}}, true},
      {"serverinfo", "", {},
       {{"model", o.model}, {"hardVersion", "V1.0"}, {"softVersion", o.firmware}, {"webVersion", o.webVersion},
        {"name", o.name}, {"startdate", "2026-01-01 00:00:00"}, {"upnpstatus", "off"}, {"sdstatus", "out"},
        {"sdfreespace", "0"}, {"sdtotalspace", "0"}},
       true},
  };
  for (const auto& g : groups_) {
    std::vector<std::pair<std::string, std::string>> idx = g.indexes;
    if (idx.empty())
      idx.push_back({"", ""});
    for (const auto& [value, suffix] : idx) {
      for (const auto& [key, def] : g.keys)
        state_.settings.define(key + suffix, def);
    }
  }
  // The maxchn setting in the `setvideoattr` row above is read-only in
  // practice; it tells how many streams the camera has.
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

  specials_["getuserinfo"] = [this](const Command&, std::string& out) {
    // Level 15 is the administrator; 0 says the account may not log in.
    out += var("username", state_.options.user);
    out += var("authLevel", state_.faults.refuseLogin() ? "0" : state_.settings.get("authLevel").value_or("15"));
    return true;
  };
  specials_["getservertime"] = [this](const Command&, std::string& out) {
    // A test may pin the reply's time text (see /camsim/set).
    out += var("time", state_.settings.get("time").value_or(state_.clock.compact()));
    out += var("timeZone", state_.settings.value("timeZone"));
    out += var("dstmode", state_.settings.value("dstmode"));
    return true;
  };
  specials_["setservertime"] = [this](const Command& c, std::string& out) {
    if (c.has("time") && !state_.clock.setFromDotted(c.param("time"))) {
      out += "[Error]-time: bad value.\r\n";
      return false;
    }
    for (const auto& [k, v] : c.params) {
      if (k == "timezone")
        state_.settings.set("timeZone", v);
      else if (k == "dstmode")
        state_.settings.set("dstmode", v);
      else if (k != "time") {
        out += "[Error]-" + k + ": unknown parameter.\r\n";
        return false;
      }
    }
    return true;
  };
}

const ParamCgi::Group* ParamCgi::findGroup(const std::string& name) const {
  for (const auto& g : groups_) {
    if (g.name == name)
      return &g;
  }
  return nullptr;
}

bool ParamCgi::runGroup(const Group& g, bool set, const Command& c, std::string& out) {
  std::string suffix;
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
    for (const auto& [key, def] : g.keys)
      out += var(key + suffix, state_.settings.value(key + suffix));
    return true;
  }
  if (g.readOnly) {
    out += "[Error]" + c.name + ": read only.\r\n";
    return false;
  }
  // Check every parameter first, so a bad one changes nothing.
  for (const auto& [k, v] : c.params) {
    if (k == g.indexParam)
      continue;
    bool known = false;
    for (const auto& [key, def] : g.keys)
      known = known || key == k;
    if (!known || k == "maxchn") {
      out += "[Error]-" + k + ": unknown parameter.\r\n";
      return false;
    }
  }
  for (const auto& [k, v] : c.params) {
    if (k != g.indexParam)
      state_.settings.set(k + suffix, v);
  }
  return true;
}

bool ParamCgi::handles(const HttpRequest& req) const { return req.path == "/cgi-bin/hi3510/param.cgi"; }

HttpReply ParamCgi::handle(const HttpRequest& req) {
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

  std::string out;
  bool anyGet = false, allOk = true;
  for (const auto& c : commands) {
    bool ok;
    if (auto s = specials_.find(c.name); s != specials_.end()) {
      ok = s->second(c, out);
      anyGet = anyGet || c.name.rfind("get", 0) == 0;
    } else if (c.name.size() > 3 && (c.name.rfind("get", 0) == 0 || c.name.rfind("set", 0) == 0) &&
               findGroup(c.name.substr(3))) {
      bool set = c.name[0] == 's';
      ok = runGroup(*findGroup(c.name.substr(3)), set, c, out);
      anyGet = anyGet || !set;
    } else {
      out += "[Error]cmd=" + c.name + ": unknown command.\r\n";
      ok = false;
    }
    allOk = allOk && ok;
  }
  if (allOk && !anyGet)
    out += "[Succeed]set ok.\r\n";
  return HttpReply::text(200, out);
}

} // namespace camsim
