#pragma once
// Movable memory blocks (HGLOBAL): what the clipboard carries and streams
// read. Any thread.

#include "platform/base/types.h"

#define GMEM_FIXED     0x0000
#define GMEM_MOVEABLE  0x0002
#define GMEM_ZEROINIT  0x0040
#define GMEM_NODISCARD 0x0020
#define GMEM_DDESHARE  0x2000
#define GMEM_SHARE     0x2000
#define GHND           (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR           (GMEM_FIXED | GMEM_ZEROINIT)

// Any thread. Blocks are zero-filled whatever the flags say.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem);
SIZE_T GlobalSize(HGLOBAL mem);
// Null on success, the block when it is not one of ours.
HGLOBAL GlobalFree(HGLOBAL mem);
