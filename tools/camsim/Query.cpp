#include "tools/camsim/Query.h"

namespace camsim {

std::string percentDecode(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && isxdigit(static_cast<unsigned char>(s[i + 1]))
            && isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (s[i] == '+') {
            out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

QueryPairs parseQuery(const std::string& query)
{
    QueryPairs out;
    size_t pos = 0;
    while (pos <= query.size()) {
        size_t amp = query.find('&', pos);
        if (amp == std::string::npos)
            amp = query.size();
        std::string part = query.substr(pos, amp - pos);
        if (!part.empty()) {
            size_t eq = part.find('=');
            if (eq == std::string::npos)
                out.emplace_back(percentDecode(part), std::string());
            else
                out.emplace_back(percentDecode(part.substr(0, eq)), percentDecode(part.substr(eq + 1)));
        }
        pos = amp + 1;
    }
    return out;
}

std::string queryValue(const QueryPairs& pairs, const std::string& name)
{
    for (const auto& [k, v] : pairs) {
        if (k == name)
            return v;
    }
    return {};
}

}  // namespace camsim
