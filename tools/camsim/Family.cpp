#include "tools/camsim/Family.h"

#include <strings.h>

namespace camsim {

namespace {
struct FamilyName {
    Family family;
    const char* name;
    const char* number;
};
constexpr FamilyName kFamilies[] = {
    {Family::HX, "HX", "71"}, {Family::HV, "HV", "72"},   {Family::DY, "DY", "73"},
    {Family::AJ, "AJ", "76"}, {Family::HTL, "HTL", "77"},
};
}  // namespace

std::optional<Family> parseFamily(std::string_view text)
{
    std::string t(text);
    for (const auto& f : kFamilies) {
        if (strcasecmp(t.c_str(), f.name) == 0 || t == f.number)
            return f.family;
    }
    return std::nullopt;
}

std::string familyName(Family family)
{
    for (const auto& f : kFamilies) {
        if (f.family == family)
            return f.name;
    }
    return "?";
}

}  // namespace camsim
