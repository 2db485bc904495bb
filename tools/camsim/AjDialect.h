#pragma once
// Family AJ: "/cgi-bin/NAME?...&username=U&password=P" carries the account
// in the query and answers XML elements with attributes
// (<audioencoder encode_type="G.711A" .../>). It also serves the parameter
// CGI, which uses HTTP authentication.

#include "tools/camsim/Dialect.h"

namespace camsim {

class AjDialect : public Dialect {
public:
    using Dialect::Dialect;
    bool handles(const HttpRequest& req) const override;
    bool usesHttpAuth(const HttpRequest&) const override { return false; }
    HttpReply handle(const HttpRequest& req) override;
};

}  // namespace camsim
