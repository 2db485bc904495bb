#pragma once
// Family HTL: "/cgi-bin/web.cgi?mod=M&cmd=C" or "/cgi-bin/web.cgi?" followed
// by a raw JSON object {"mod":"M","cmd":"C",...}; answers flat JSON with a
// "code" member (200 on success). It also serves the parameter CGI.

#include "tools/camsim/Dialect.h"

namespace camsim {

class HtlDialect : public Dialect {
public:
    using Dialect::Dialect;
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;
};

}  // namespace camsim
