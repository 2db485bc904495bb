#pragma once
// Family DY: "/dy-cgi/NAME.cgi?cmd=..." answers variable lines with single
// quotes (var rolename='admin';); it also serves the parameter CGI.

#include "tools/camsim/Dialect.h"

namespace camsim {

class DyDialect : public Dialect {
public:
    using Dialect::Dialect;
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;
};

}  // namespace camsim
