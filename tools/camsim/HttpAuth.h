#pragma once
// Checks the Authorization header of a request against the camera's
// accounts, by Basic or Digest (MD5, qop "auth" or none), and makes the
// challenges of a 401 reply. Immutable after construction; the account
// lookup it is given must be safe from any thread, and so is the check.

#include "tools/camsim/HttpMessage.h"
#include "tools/camsim/Options.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace camsim {

enum class AuthKind { None, Basic, Digest, Other };
const char* authKindName(AuthKind kind);

class HttpAuth {
public:
    // The password of an account, or nothing for a name the camera does not know.
    using PasswordOf = std::function<std::optional<std::string>(const std::string& user)>;
    HttpAuth(PasswordOf passwordOf, AuthMode mode, std::string realm = "camsim");

    struct Result {
        AuthKind kind = AuthKind::None;  // what the request carried
        bool ok = false;                 // the account and the scheme are accepted
        std::string user;                // the account, when ok
    };
    Result check(const HttpRequest& req) const;
    // The WWW-Authenticate values for a 401 reply, strongest first.
    std::vector<std::string> challenges() const;
    AuthMode mode() const { return mode_; }

    static std::string md5Hex(const std::string& text);

private:
    bool checkBasic(const std::string& credentials, std::string& user) const;
    bool checkDigest(const std::string& fields, const HttpRequest& req, std::string& user) const;

    PasswordOf passwordOf_;
    std::string realm_, nonce_, opaque_;
    AuthMode mode_;
};

}  // namespace camsim
