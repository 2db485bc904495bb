#pragma once
// Puts the process's time zone (TZ) back as it was when the guard goes, so
// a test that needs a zone of its own leaves none behind for the tests after
// it, also when an assertion ends it early. The zone belongs to the process:
// use it on the test's thread while no other thread reads local time.

#include <cstdlib>
#include <ctime>
#include <string>

namespace vxtest {

class TimeZoneGuard {
public:
    TimeZoneGuard()
    {
        const char* tz = std::getenv("TZ");
        m_had = tz != nullptr;
        if (tz)
            m_old = tz;
    }
    // Switches to `tz` (a zone name or a POSIX rule) at once.
    explicit TimeZoneGuard(const char* tz) : TimeZoneGuard()
    {
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZoneGuard()
    {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZoneGuard(const TimeZoneGuard&) = delete;
    TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};

}  // namespace vxtest
