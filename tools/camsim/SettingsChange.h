#pragma once
// The changes of one request, held back until every command of it has been
// checked: a request with one refused command changes nothing. Reads see the
// request's own earlier changes first. Used by one connection thread only;
// the store it commits to is safe from any thread.

#include "tools/camsim/SettingsStore.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace camsim {

class SettingsChange {
public:
    explicit SettingsChange(SettingsStore& store) : store_(store) {}

    std::optional<std::string> get(const std::string& key) const
    {
        if (auto it = writes_.find(key); it != writes_.end())
            return it->second;
        return store_.get(key);
    }
    std::string value(const std::string& key) const { return get(key).value_or(std::string()); }
    // False for a key the camera does not have.
    bool set(const std::string& key, std::string value)
    {
        if (!get(key))
            return false;
        writes_[key] = std::move(value);
        return true;
    }
    // Something beside the store that changes with the request (the clock).
    void also(std::function<void()> action) { actions_.push_back(std::move(action)); }

    void commit()
    {
        for (auto& [k, v] : writes_)
            store_.set(k, v);
        for (auto& a : actions_)
            a();
        writes_.clear();
        actions_.clear();
    }

private:
    SettingsStore& store_;
    std::map<std::string, std::string> writes_;
    std::vector<std::function<void()>> actions_;
};

}  // namespace camsim
