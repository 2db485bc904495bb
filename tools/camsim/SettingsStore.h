#pragma once
// The camera's settings as name/value texts, so that what a request sets is
// what the next request reads back. Safe from any thread.

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace camsim {

class SettingsStore {
public:
    // Adds the key or changes it.
    void define(const std::string& key, std::string value);
    std::optional<std::string> get(const std::string& key) const;
    std::string value(const std::string& key) const { return get(key).value_or(std::string()); }
    // Changes a defined key only; false for a key the camera does not have.
    bool set(const std::string& key, std::string value);

private:
    mutable std::mutex mutex_;  // guards values_
    std::map<std::string, std::string> values_;
};

}  // namespace camsim
