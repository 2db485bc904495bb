#pragma once
// Pan, tilt, zoom, focus, iris, presets and scans in each family's
// dialect: "ptzctrl.cgi" and the parameter CGI's "cmd=preset" (families
// with the parameter CGI), AJ's "ptz_ctrl" with the account in the query,
// and HTL's JSON "mod":"ptz" posted to "web.cgi". Each reply has the
// dialect's own form, with its error for an unknown act or preset. What the
// camera did goes into a journal that does not depend on the family
// ("up 31", "preset-goto 0", "stop"), which /camsim/ptz returns.

#include "tools/camsim/Dialect.h"

#include <mutex>
#include <string>
#include <vector>

namespace camsim {

class PtzJournal {
public:
    void add(const std::string& line);
    std::string text() const;  // one line each
    void clear();

private:
    mutable std::mutex mutex_;  // guards lines_
    std::vector<std::string> lines_;
};

class PtzDialect : public Dialect {
public:
    PtzDialect(CameraState& state, PtzJournal& journal) : Dialect(state), journal_(journal) {}
    bool handles(const HttpRequest& req) const override;
    bool usesHttpAuth(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;

private:
    HttpReply hx(const HttpRequest& req);
    HttpReply hxPreset(const HttpRequest& req);
    HttpReply aj(const HttpRequest& req);
    HttpReply htl(const HttpRequest& req);
    PtzJournal& journal_;
};

}  // namespace camsim
