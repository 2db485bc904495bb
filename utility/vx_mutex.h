#pragma once
// Recursive mutexes owned by a thread, usable from any thread.

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vx_mutex {
    void* handle;
    char name[32];  // "mtx" and the record's address
} vx_mutex;

int vx_mutex_create(vx_mutex** out);
// 70011 while the mutex is held: unlock it first, the record stays valid.
int vx_mutex_destroy(vx_mutex* mutex);
int vx_mutex_lock(vx_mutex* mutex);
int vx_mutex_trylock(vx_mutex* mutex);
int vx_mutex_unlock(vx_mutex* mutex);

#ifdef __cplusplus
}
#endif
