#include "tools/camsim/UserAccounts.h"

#include "tools/camsim/Options.h"
#include "tools/camsim/ParamTable.h"

#include <strings.h>

namespace camsim::accounts {

namespace {

std::string nameKey(int row)
{
    return "at_username" + std::to_string(row);
}
std::string passwordKey(int row)
{
    return "at_password" + std::to_string(row);
}

// Names are told apart without case, as the camera's login does.
bool sameName(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

bool isAccountName(const std::string& name)
{
    if (name.empty() || name.size() > 15)
        return false;
    for (char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

std::string var(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";\r\n";
}

}  // namespace

void define(SettingsStore& store, const Options& o)
{
    const std::string names[kRows] = {o.user, "user", "guest"};
    const std::string passwords[kRows] = {o.password, "user", "guest"};
    for (int r = 0; r < kRows; ++r) {
        store.define(nameKey(r), names[r]);
        store.define(passwordKey(r), passwords[r]);
    }
}

std::optional<std::string> passwordOf(const SettingsStore& store, const std::string& user)
{
    // The login compares the name exactly; only renaming guards against
    // names that differ by case.
    for (int r = 0; r < kRows; ++r) {
        if (store.value(nameKey(r)) == user)
            return store.value(passwordKey(r));
    }
    return std::nullopt;
}

std::string roleOf(const SettingsStore& store, const std::string& user)
{
    static const char* const roles[kRows] = {"admin", "user", "guest"};
    for (int r = 0; r < kRows; ++r) {
        if (store.value(nameKey(r)) == user)
            return roles[r];
    }
    return {};
}

std::string getUserAttr(const SettingsStore& store)
{
    std::string out;
    for (int r = 0; r < kRows; ++r) {
        out += var(nameKey(r), store.value(nameKey(r)));
        out += var(passwordKey(r), store.value(passwordKey(r)));
    }
    return out;
}

bool setUserAttr(const std::vector<std::pair<std::string, std::string>>& params, SettingsChange& change,
                 std::string& out)
{
    std::optional<std::string> user, newName, password;
    for (const auto& [k, v] : params) {
        if (!isSafeValue(v)) {
            out += "[Error]-" + k + ": bad value.\r\n";
            return false;
        }
        if (k == "at_username")
            user = v;
        else if (k == "at_newname")
            newName = v;
        else if (k == "at_password")
            password = v;
        else {
            out += "[Error]-" + k + ": unknown parameter.\r\n";
            return false;
        }
    }
    int row = -1;
    for (int r = 0; user && r < kRows; ++r) {
        if (change.value(nameKey(r)) == *user)
            row = r;
    }
    if (row < 0) {
        out += "[Error]-at_username: no such user.\r\n";
        return false;
    }
    if (newName) {
        if (!isAccountName(*newName)) {
            out += "[Error]-at_newname: bad name.\r\n";
            return false;
        }
        for (int r = 0; r < kRows; ++r) {
            if (r != row && sameName(change.value(nameKey(r)), *newName)) {
                out += "[Error]-at_newname: the name is taken.\r\n";
                return false;
            }
        }
        change.set(nameKey(row), *newName);
    }
    if (password) {
        if (password->size() > 30) {
            out += "[Error]-at_password: too long.\r\n";
            return false;
        }
        change.set(passwordKey(row), *password);
    }
    return true;
}

}  // namespace camsim::accounts
