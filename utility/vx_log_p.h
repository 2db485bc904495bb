#pragma once
// Lets tests fix the clock that log lines are stamped with.
#include <time.h>

extern "C" {
typedef void (*vx_log_clock_func)(struct timespec* now);
// Null restores the real clock.
void vx_log_set_clock(vx_log_clock_func clock);
}
