#pragma once
// The parameter CGI: "/cgi-bin/hi3510/param.cgi?cmd=NAME&-param=value&cmd=..."
// Each "cmd=" starts a command; the "-name=value" pairs after it are its
// parameters. A getter prints its settings as variable lines
// (var name="value";), a setter changes them; a request of setters only is
// answered "[Succeed]set ok.". Settings live in the camera's store, so a
// reload shows what was set. Most commands are rows of the group table in
// the .cpp; commands with behaviour of their own are special handlers.

#include "tools/camsim/Dialect.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace camsim {

class ParamCgi : public Dialect {
public:
  explicit ParamCgi(CameraState& state);

  bool handles(const HttpRequest& req) const override;
  HttpReply handle(const HttpRequest& req) override;

  struct Command {
    std::string name;
    std::vector<std::pair<std::string, std::string>> params; // names without '-'
    std::string param(const std::string& name) const;
    bool has(const std::string& name) const;
  };

  // A family of settings read by "get" + name and written by "set" + name.
  // With an index parameter (e.g. "chn"), each index keeps its own values,
  // stored as key + suffix (chn 11 -> bps_1).
  struct Group {
    std::string name;
    std::string indexParam;
    std::vector<std::pair<std::string, std::string>> indexes; // value -> suffix
    std::vector<std::pair<std::string, std::string>> keys;    // key -> default per index (same for all)
    bool readOnly = false;
  };

private:
  using Special = std::function<bool(const Command&, std::string& out)>;

  void defineGroups();
  const Group* findGroup(const std::string& name) const;
  bool runGroup(const Group& g, bool set, const Command& c, std::string& out);

  std::vector<Group> groups_;
  std::map<std::string, Special> specials_;
};

} // namespace camsim
