#pragma once
// The camera's own clock: the host's clock plus an offset that setting the
// camera time changes. Safe from any thread.

#include <atomic>
#include <ctime>
#include <string>

namespace camsim {

class CameraClock {
public:
    time_t now() const { return time(nullptr) + offset_.load(); }
    // Local time as YYYYMMDDhhmmss.
    std::string compact() const;
    // Sets the clock from local time written YYYY.MM.DD.hh.mm.ss; false when
    // the text is not such a time.
    bool setFromDotted(const std::string& text);

private:
    std::atomic<long long> offset_{0};
};

}  // namespace camsim
