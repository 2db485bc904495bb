#pragma once
// Percent-encoding for user names and passwords placed in URLs and queries.

#include <string>
#include <string_view>

namespace vxnet {

// Every byte outside A-Z a-z 0-9 - . _ ~ becomes %XX (upper-case hex).
std::string percentEncode(std::string_view text);

}  // namespace vxnet
