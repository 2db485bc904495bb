#pragma once
// The name=value pairs of a query string, in order, with percent-decoding.

#include <string>
#include <utility>
#include <vector>

namespace camsim {

using QueryPairs = std::vector<std::pair<std::string, std::string>>;

QueryPairs parseQuery(const std::string& query);
std::string percentDecode(const std::string& text);
// First value of `name`, or empty.
std::string queryValue(const QueryPairs& pairs, const std::string& name);

}  // namespace camsim
