#pragma once
// The faults the camera plays, set from the command line and changed at run
// time by control requests. Any thread may read or change them.

#include "tools/camsim/Options.h"

#include <cstdint>
#include <mutex>
#include <set>
#include <string>

namespace camsim {

class Faults {
public:
    struct Request {
        int delayMs = 0;
        bool hang = false;
        int error = 0;
        Malformed malformed = Malformed::None;
        int cut = -1;  // bytes of the body sent before the connection drops; -1: all
        int rate = 0;  // body bytes per second; 0: as fast as the socket takes them
    };

    explicit Faults(const Options& options);

    // The faults for one camera request; counts it against a `count` limit.
    // With `match` set only targets that contain its text get the faults, and
    // only after `skip` of them have passed untouched.
    Request takeForRequest(const std::string& target);
    // What takeForRequest would give that target now, counting nothing.
    Request peekForRequest(const std::string& target) const;
    // Bumped whenever the hang fault is lifted (hang=0 or clear): a request
    // that hangs holds on until then, also after its `count` ran out.
    uint64_t hangRelease() const;
    bool refuseLogin() const;
    bool chunked() const;
    // The cmderror fault: the parameter CGI refuses this command ("[Error]"
    // under status 200) and with it the whole request.
    bool commandError(const std::string& command) const;

    // One control key. False with `error` for an unknown key or a bad value.
    bool apply(const std::string& key, const std::string& value, std::string& error);
    void clear();
    std::string describe() const;

private:
    mutable std::mutex mutex_;  // guards everything below
    Request request_;
    int remaining_ = -1;  // requests the request faults still apply to; -1: all
    bool refuse_ = false;
    uint64_t hangRelease_ = 0;
    bool chunked_ = false;
    std::set<std::string> commandErrors_;
    std::string match_;  // request faults only for targets containing it; empty: all
    int skip_ = 0;       // matching requests still to pass untouched
};

}  // namespace camsim
