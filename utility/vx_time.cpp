#include "utility/vx_time.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_result.h"

#include <dlfcn.h>
#include <mutex>
#include <string>
#include <time.h>

namespace {

// The real clock, read with 64-bit seconds: converting local time back to
// seconds would be ambiguous in the repeated hour of a daylight-saving change.
void now(int64_t& seconds, int& milliseconds)
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    seconds = static_cast<int64_t>(ts.tv_sec);
    milliseconds = static_cast<int>(ts.tv_nsec / 1000000);
}

}  // namespace

extern "C" int vx_gettimeofday(struct timeval* tv, void*)
{
    return vxutil::guarded("vx_gettimeofday", [&]() -> int {
        if (!tv)
            return VX_ERR_INVALID_ARG;
        int64_t seconds;
        int ms;
        now(seconds, ms);
        tv->tv_sec = static_cast<time_t>(seconds);
        tv->tv_usec = static_cast<suseconds_t>(ms) * 1000;
        return VX_OK;
    });
}

extern "C" int64_t vx_gettime(void)
{
    return vxutil::guarded("vx_gettime", int64_t(0), [&]() -> int64_t {
        int64_t seconds;
        int ms;
        now(seconds, ms);
        return seconds * 1000000 + static_cast<int64_t>(ms) * 1000;
    });
}

extern "C" const char* vx_get_current_path(void)
{
    return vxutil::guarded("vx_get_current_path", "", [&]() -> const char* {
        // Set once and never changed afterwards, so the pointer handed out stays valid.
        static std::mutex lock;
        static std::string path;
        std::lock_guard<std::mutex> guard(lock);
        if (path.empty()) {
            Dl_info info{};
            if (dladdr(reinterpret_cast<void*>(&vx_get_current_path), &info) && info.dli_fname) {
                std::string file = info.dli_fname;
                size_t slash = file.rfind('/');
                if (slash != std::string::npos)
                    path = file.substr(0, slash + 1);
            }
        }
        return path.c_str();
    });
}
