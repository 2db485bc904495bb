#pragma once
// Unnamed events, manual or auto reset, usable from any thread.

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vx_event {
    void* handle;
    char name[32];  // "evt" and the record's address; for log lines only
} vx_event;

int vx_event_create(vx_event** out, int manual_reset, int initial_state);
int vx_event_destroy(vx_event* event);
int vx_event_set(vx_event* event);
int vx_event_reset(vx_event* event);
int vx_event_wait(vx_event* event);
int vx_event_trywait(vx_event* event);
int vx_event_wait_for(vx_event* event, unsigned milliseconds);

#ifdef __cplusplus
}
#endif
