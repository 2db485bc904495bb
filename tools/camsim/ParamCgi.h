#pragma once
// The parameter CGI: "/cgi-bin/hi3510/param.cgi?cmd=NAME&-param=value&cmd=..."
// Each "cmd=" starts a command; the "-name=value" pairs after it are its
// parameters. A getter prints its settings as variable lines
// (var name="value";), a setter changes them; a request of setters only is
// answered "[Succeed]set ok.". Settings live in the camera's store, so a
// reload shows what was set. Most commands are rows of the table in
// ParamTable.cpp; commands with behaviour of their own are special handlers.
// A request is checked whole before it changes anything: one refused
// command (a bad value, an unknown one, or the cmderror fault) answers
// "[Error]" and leaves every setting as it was.

#include "tools/camsim/Dialect.h"
#include "tools/camsim/ParamTable.h"
#include "tools/camsim/SettingsChange.h"

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

    // Set by the camera before serving: after the answer to a change of the
    // address or the HTTP port, with a restart cued, its ports go for this
    // many seconds.
    std::function<void(int seconds)> onNetworkRestart;

    struct Command {
        std::string name;
        std::vector<std::pair<std::string, std::string>> params;  // names without '-'
        std::string param(const std::string& name) const;
        bool has(const std::string& name) const;
    };

private:
    using Special = std::function<bool(const Command&, SettingsChange& change, std::string& out)>;

    void defineGroups();
    // Commands that pick a row by a parameter (ScheduleParams.cpp).
    void defineScheduleCommands();
    // Motion areas, alarm actions, I/O alarm, smart detection (MotionParams.cpp).
    void defineMotionCommands();
    // Operations that take their real time (ParamLongCommands.cpp).
    void defineLongCommands();
    // The Wi-Fi commands (Wireless.cpp).
    void defineWirelessCommands();
    const ParamGroup* findGroup(const std::string& name) const;
    bool runGroup(const ParamGroup& g, bool set, const Command& c, SettingsChange& change, std::string& out);

    std::vector<ParamGroup> groups_;
    std::map<std::string, Special> specials_;
};

}  // namespace camsim
