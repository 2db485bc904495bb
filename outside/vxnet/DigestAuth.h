#pragma once
// HTTP Digest credentials for request paths that libcurl cannot sign as
// sent: curl signs the path of its URL, which drops a "#..." part, and writes
// a '"' of the path unescaped into the quoted uri. The camera checks the
// signature against the request target it received, so such paths get
// credentials built here, over the path byte for byte.

#include <string>
#include <string_view>

namespace vxnet {

// The path holds a character curl's own Digest would get wrong.
bool needsOwnDigest(std::string_view path);

// The Authorization value ("Digest ...") answering the Digest challenge
// among the WWW-Authenticate values (joined by ", "), for MD5 and MD5-sess
// with qop "auth" or without qop. Empty when there is no such challenge or it
// asks for something else.
std::string digestAuthorization(std::string_view www_authenticate, std::string_view method, std::string_view uri,
                                const std::string& user, const std::string& password, const std::string& cnonce);

}  // namespace vxnet
