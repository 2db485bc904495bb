#pragma once
// Levelled logging of the whole system. A line is the level's tag, the local
// time with milliseconds, the message and a newline, at most 4000 bytes,
// handed to the sink the host installed. Safe to call from any thread.

#ifdef __cplusplus
extern "C" {
#endif

enum {
    VX_LOG_FATAL = 1,
    VX_LOG_ERROR = 2,
    VX_LOG_WARN = 3,
    VX_LOG_INFO = 4,
    VX_LOG_DEBUG = 5,
    VX_LOG_TRACE = 6,
};

// line is not NUL-terminated when it fills the whole buffer: use length.
typedef void (*vx_log_func)(int level, const char* line, int length);

void vx_log(int level, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
int vx_log_get_level(void);
int vx_log_set_level(int level);
vx_log_func vx_log_get_log_func(void);
vx_log_func vx_log_set_log_func(vx_log_func func);
void vx_log_default_sink(int level, const char* line, int length);

#ifdef __cplusplus
}
#endif
