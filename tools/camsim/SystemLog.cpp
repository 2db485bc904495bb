#include "tools/camsim/SystemLog.h"

#include <ctime>

namespace camsim {

void SystemLog::add(const std::string& text)
{
    time_t t = clock_.now();
    struct tm tm {};
    localtime_r(&t, &tm);
    char stamp[32];
    strftime(stamp, sizeof stamp, "[%Y_%m_%d %H:%M:%S] ", &tm);
    std::lock_guard<std::mutex> lock(mutex_);
    text_ += stamp + text + "\r\n";
}

void SystemLog::clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    text_.clear();
}

std::string SystemLog::text() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
}

}  // namespace camsim
