#pragma once
// Wall-clock time with millisecond resolution and the library's own folder.

#include <stdint.h>
#include <sys/time.h>

#ifdef __cplusplus
extern "C" {
#endif

// Seconds since 1970 and the milliseconds as microseconds; tz is ignored.
int vx_gettimeofday(struct timeval* tv, void* tz);
// Microseconds since 1970, at millisecond resolution.
int64_t vx_gettime(void);
// Folder of the utility library, ending in "/"; "" when it cannot be found.
const char* vx_get_current_path(void);

#ifdef __cplusplus
}
#endif
