#pragma once
// The camera's three accounts (administrator, user, guest) as rows of the
// settings store, at_username0..2 and at_password0..2. They drive every
// login: HTTP Basic and Digest, AJ's account in the query and DY's role, so
// a password changed through setuserattr is the one the next connect needs.
// Safe from any thread (the store is).

#include "tools/camsim/SettingsChange.h"
#include "tools/camsim/SettingsStore.h"

#include <optional>
#include <string>

namespace camsim {

struct Options;

namespace accounts {

constexpr int kRows = 3;

// Row 0 is the account of the command line; the others have fixed defaults.
void define(SettingsStore& store, const Options& options);

// The password of the account of that name, when there is one.
std::optional<std::string> passwordOf(const SettingsStore& store, const std::string& user);
// "admin", "user" or "guest" for the row the account stands in; empty when none.
std::string roleOf(const SettingsStore& store, const std::string& user);

// getuserattr: the rows as variable lines.
std::string getUserAttr(const SettingsStore& store);
// setuserattr: -at_username picks the row by its current name, -at_newname
// renames it, -at_password sets its password. False with an "[Error]" line
// in `out` for an unknown row, a name another row has, or a bad value.
bool setUserAttr(const std::vector<std::pair<std::string, std::string>>& params, SettingsChange& change,
                 std::string& out);

}  // namespace accounts
}  // namespace camsim
