#pragma once
// What the player needs from the window layer to show a picture: one call
// that hands a decoded frame to a window.
//
// The window layer defines these; the player always links it. A player
// without a window (no hwnd) decodes, snapshots and records and shows
// nothing. The last picture handed to a window is drawn over whatever the
// window paints itself, until the window goes.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vxsurface_frame {
    // 32-bit pixels, bytes B, G, R, 0xff in memory (0xffRRGGBB words on
    // little-endian), top row first; already mirrored or flipped as asked.
    const uint8_t* pixels;
    int width;
    int height;
    int stride;  // bytes from one row to the next
    // <= 0: stretch the picture over the whole client area; > 0: keep this
    // width/height ratio, as large as fits, centred, the rest black.
    float aspect;
    // Text drawn over the picture's top-left corner; NULL or "" for none.
    const char* osd_text;
} vxsurface_frame;

// Called on a player thread, never the GUI thread. The implementation copies
// what it needs before it returns (pixels and text are the caller's) and
// repaints the window on the GUI thread. hwnd is an HWND. Returns 0 when the
// frame was taken, non-zero when the window is gone.
int vx_surface_present(void* hwnd, const vxsurface_frame* frame);
// Drops the window's kept picture, so the window shows its own painting
// again (a player that stopped leaves no frozen frame behind). Any thread.
// Returns 0; also when the window had no picture or is gone.
int vx_surface_clear(void* hwnd);

#ifdef __cplusplus
}
#endif
