#pragma once
// Finding a camera's family (chip type) by the login request each family
// answers, judged by the content of the reply and not only by its status.

#include <string>
#include <string_view>

namespace vxnet {

class HttpClient;

struct ProbeResult {
    int code = 0;  // vxnet result
    int chip = 0;  // VXNET_CHIP_*, valid when code is 0
};

// Asks the families in turn (see the .cpp for order and checks), each request
// bounded by timeout_ms. user_enc and password_enc are the percent-encoded
// credentials some families take in the query.
ProbeResult probeFamily(const HttpClient& http, const std::string& user_enc, const std::string& password_enc,
                        int timeout_ms);

// The checks, one per family, on a whole reply text (status line, headers,
// blank line, body). Exposed for tests.
namespace probe {
long statusOf(std::string_view reply);
std::string_view bodyOf(std::string_view reply);
bool isHx(std::string_view reply);
bool isHv(std::string_view reply);
bool isHvRefusal(std::string_view reply);
bool isDy(std::string_view reply);
bool isAjAudio(std::string_view reply);
bool isHtl(std::string_view reply);
}  // namespace probe

}  // namespace vxnet
