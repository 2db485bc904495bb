#pragma once
// Checks the Authorization header of a request against the one account of
// the camera, by Basic or Digest (MD5, qop "auth" or none), and makes the
// challenges of a 401 reply. Immutable after construction: safe from any thread.

#include "tools/camsim/HttpMessage.h"
#include "tools/camsim/Options.h"

#include <string>
#include <vector>

namespace camsim {

enum class AuthKind { None, Basic, Digest, Other };
const char* authKindName(AuthKind kind);

class HttpAuth {
public:
  HttpAuth(std::string user, std::string password, AuthMode mode, std::string realm = "camsim");

  struct Result {
    AuthKind kind = AuthKind::None; // what the request carried
    bool ok = false;                // the account and the scheme are accepted
  };
  Result check(const HttpRequest& req) const;
  // The WWW-Authenticate values for a 401 reply, strongest first.
  std::vector<std::string> challenges() const;
  AuthMode mode() const { return mode_; }

  static std::string md5Hex(const std::string& text);

private:
  bool checkBasic(const std::string& credentials) const;
  bool checkDigest(const std::string& fields, const HttpRequest& req) const;

  std::string user_, password_, realm_, nonce_, opaque_;
  AuthMode mode_;
};

} // namespace camsim
