#include "utility/vx_log.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_log_p.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int kLineSize = 4000;
const char* const kTags[] = {"", "FATAL:", "ERROR:", "WARN:", "INFO:", "DEBUG:", "TRACE:"};

// Level and sink are read on every thread that logs and set by the host.
std::atomic<int> g_level{VX_LOG_TRACE};
std::atomic<vx_log_func> g_sink{vx_log_default_sink};
std::atomic<vx_log_clock_func> g_clock{nullptr};

}  // namespace

extern "C" void vx_log(int level, const char* fmt, ...)
{
    if (level < 1 || level > g_level.load(std::memory_order_relaxed) || level > VX_LOG_TRACE)
        return;

    char line[kLineSize];
    int used = snprintf(line, sizeof line, "%s", kTags[level]);

    timespec now{};
    if (vx_log_clock_func clock = g_clock.load())
        clock(&now);
    else
        clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    used += static_cast<int>(strftime(line + used, sizeof line - used, "%Y-%m-%d %H:%M:%S", &local));
    used += snprintf(line + used, sizeof line - used, ".%03d ", static_cast<int>(now.tv_nsec / 1000000));

    va_list args;
    va_start(args, fmt);
    int room = kLineSize - used;
    int wrote = 0;
    if (fmt)
        wrote = vsnprintf(line + used, room, fmt, args);
    else
        line[used] = '\0';
    va_end(args);
    if (wrote < 0) {
        level = VX_LOG_FATAL;
        wrote = snprintf(line + used, room, "%s", "<logging error: msg too long>");
    }
    used += wrote < room ? wrote : room - 1;

    if (used == 0 || line[used - 1] != '\n')
        line[used++] = '\n';  // at 3999 bytes the newline takes the NUL's place

    // A host's sink that throws must not take the caller down with it; the
    // line is lost, there is nowhere else to tell of it.
    if (vx_log_func sink = g_sink.load(std::memory_order_acquire)) {
        try {
            sink(level, line, used);
        } catch (...) {}
    }
}

extern "C" int vx_log_get_level(void)
{
    return g_level.load();
}

extern "C" int vx_log_set_level(int level)
{
    return vxutil::guarded("vx_log_set_level", [&]() -> int {
        g_level.store(level);
        return level;
    });
}

extern "C" vx_log_func vx_log_get_log_func(void)
{
    return g_sink.load();
}

extern "C" vx_log_func vx_log_set_log_func(vx_log_func func)
{
    return vxutil::guarded("vx_log_set_log_func", static_cast<vx_log_func>(nullptr), [&]() -> vx_log_func {
        g_sink.store(func, std::memory_order_release);
        return func;
    });
}

extern "C" void vx_log_default_sink(int, const char* line, int length)
{
    if (line && length > 0)
        (void)!write(STDOUT_FILENO, line, static_cast<size_t>(length));
}

extern "C" void vx_log_set_clock(vx_log_clock_func clock)
{
    g_clock.store(clock);
}
