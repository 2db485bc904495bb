#include "tools/camsim/LongOperations.h"

#include <chrono>
#include <thread>

namespace camsim {

const std::map<std::string, int>& LongOperations::known()
{
    static const std::map<std::string, int> ops = {{"sdfrmt", 3},         {"testsmtp", 2},       {"testftp", 2},
                                                   {"searchwireless", 3}, {"getchkwireless", 4}, {"netrestart", 3}};
    return ops;
}

bool LongOperations::cue(const std::string& op, int seconds, const std::optional<std::string>& result)
{
    if (!known().count(op) || seconds < 0 || seconds > 120)
        return false;
    std::lock_guard lock(cueMutex_);
    cues_[op] = {seconds, result.value_or(std::string())};
    hasResult_[op] = result.has_value();
    return true;
}

std::optional<std::string> LongOperations::run(const std::string& op)
{
    int seconds = known().at(op);
    std::optional<std::string> result;
    {
        std::lock_guard lock(cueMutex_);
        if (auto it = cues_.find(op); it != cues_.end()) {
            seconds = it->second.seconds;
            if (hasResult_[op])
                result = it->second.result;
            cues_.erase(it);
            hasResult_.erase(op);
        }
    }
    std::lock_guard one(runMutex_);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return result;
}

std::optional<int> LongOperations::take(const std::string& op)
{
    std::lock_guard lock(cueMutex_);
    auto it = cues_.find(op);
    if (it == cues_.end())
        return std::nullopt;
    int seconds = it->second.seconds;
    cues_.erase(it);
    hasResult_.erase(op);
    return seconds;
}

}  // namespace camsim
