#pragma once
// One set of request paths a camera answers: a family's own login and query
// requests, or the parameter CGI most families share.

#include "tools/camsim/CameraState.h"
#include "tools/camsim/HttpMessage.h"

namespace camsim {

class Dialect {
public:
    explicit Dialect(CameraState& state) : state_(state) {}
    virtual ~Dialect() = default;

    virtual bool handles(const HttpRequest& req) const = 0;
    // False for requests that carry the account in their query instead.
    virtual bool usesHttpAuth(const HttpRequest&) const { return true; }
    virtual HttpReply handle(const HttpRequest& req) = 0;

protected:
    CameraState& state_;
};

}  // namespace camsim
