#include "tools/camsim/SettingsStore.h"

namespace camsim {

void SettingsStore::define(const std::string& key, std::string value)
{
    std::lock_guard lock(mutex_);
    values_[key] = std::move(value);
}

std::optional<std::string> SettingsStore::get(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

bool SettingsStore::set(const std::string& key, std::string value)
{
    std::lock_guard lock(mutex_);
    auto it = values_.find(key);
    if (it == values_.end())
        return false;
    it->second = std::move(value);
    return true;
}

}  // namespace camsim
