#pragma once
// Family HV: "/cgi/sys_get?Group=NAME" and "/cgi/netport_get?...&Group=NAME"
// answer XML wrapped in <Message>, with <result code="200"> on success and
// typed values (<Name><int>1</int></Name>, <Name><string>x</string></Name>).
// It has no parameter CGI.

#include "tools/camsim/Dialect.h"

namespace camsim {

class HvDialect : public Dialect {
public:
    using Dialect::Dialect;
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;
};

}  // namespace camsim
