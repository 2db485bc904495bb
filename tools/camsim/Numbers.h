#pragma once
// Whole-text decimal integers as camsim reads them from queries, options,
// cues and settings. Plain functions; no state, any thread.
//
// A number is the whole text: an optional '-', digits, nothing else (no
// spaces, no '+', no trailing text), and it fits an int. What is not a
// number, or falls outside the range, leaves out untouched, so a caller's
// default stands.

#include <charconv>
#include <string_view>

namespace camsim {

inline bool parseInt(std::string_view text, int& out)
{
    int v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || p != text.data() + text.size())
        return false;
    out = v;
    return true;
}

inline bool parseIntIn(std::string_view text, int lo, int hi, int& out)
{
    int v = 0;
    if (!parseInt(text, v) || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

}  // namespace camsim
