#pragma once
// Named threads that log their start and end. Records are allocated by the
// library and must go back through vx_thread_destroy. A record may be used
// from any thread.

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned (*vx_thread_func)(void* arg);

enum { VX_THREAD_SUSPENDED = 1 };

typedef struct vx_thread {
    char name[32];     // at most 31 characters
    void* handle;      // the library's control block; null when not running
    unsigned long id;  // kernel thread id
    vx_thread_func func;
    void* arg;
} vx_thread;

int vx_thread_create(const char* name, vx_thread_func func, void* arg, int flags, vx_thread** out);
int vx_thread_resume(vx_thread* thread);
int vx_thread_join(vx_thread* thread);
// Frees the record in every case; a thread still running goes on by itself.
int vx_thread_destroy(vx_thread* thread);
const char* vx_thread_get_name(const vx_thread* thread);
int vx_thread_sleep(unsigned milliseconds);

#ifdef __cplusplus
}
#endif
