#pragma once
// The camera's own event log, served as "/log/syslog.txt": one line per
// event, "[YYYY_MM_DD HH:MM:SS] text", in the camera clock's local time.
// Events: start, applied setters, tests; "cleanlog&-name=sys" empties it.
// Safe from any thread.

#include "tools/camsim/CameraClock.h"

#include <mutex>
#include <string>

namespace camsim {

class SystemLog {
public:
    explicit SystemLog(const CameraClock& clock) : clock_(clock) {}
    void add(const std::string& text);
    void clear();
    std::string text() const;

private:
    const CameraClock& clock_;
    mutable std::mutex mutex_;  // guards text_
    std::string text_;
};

}  // namespace camsim
