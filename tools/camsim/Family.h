#pragma once
// The camera families camsim can play. The numbers are the chip types the
// recorder stores for each family.

#include <optional>
#include <string>
#include <string_view>

namespace camsim {

enum class Family { HX = 71, HV = 72, DY = 73, AJ = 76, HTL = 77 };

// Accepts the short name (any case) or the chip-type number.
std::optional<Family> parseFamily(std::string_view text);
std::string familyName(Family family);

}  // namespace camsim
