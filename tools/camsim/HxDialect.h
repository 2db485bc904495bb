#pragma once
// Family HX: logs in through the parameter CGI (getuserinfo); keeps its
// model text in "/web.ini", section [vxver], key vercfg.

#include "tools/camsim/Dialect.h"

namespace camsim {

class HxDialect : public Dialect {
public:
    using Dialect::Dialect;
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;
};

}  // namespace camsim
