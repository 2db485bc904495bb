#pragma once
// Command-line numbers of the benchmarks, checked against their range. The
// caller's thread; nothing is kept.

#include <cstdlib>
#include <string>
#include <vector>

namespace vxbench {

// A whole decimal number from low to high.
inline bool parseInt(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!end || *end || end == text || v < low || v > high)
        return false;
    out = static_cast<int>(v);
    return true;
}

// Comma-separated counts, each 1..1000 ("64,300").
inline bool parseCounts(const char* text, std::vector<int>& out)
{
    out.clear();
    std::string list = text;
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t comma = list.find(',', pos);
        if (comma == std::string::npos)
            comma = list.size();
        int n = 0;
        if (!parseInt(list.substr(pos, comma - pos).c_str(), 1, 1000, n))
            return false;
        out.push_back(n);
        pos = comma + 1;
    }
    return !out.empty();
}

}  // namespace vxbench
