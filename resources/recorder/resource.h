#pragma once
// Ids of the recorder program's own resource table.

#include "platform/base/types.h"

#define IDR_MAINFRAME 128
// Status images of the camera list, in image-list order 0 .. 7.
#define IDI_STATUS_FIRST 129
#define IDI_STATUS_LAST  136

// The program's own table (icons and version block).
HINSTANCE ProgramResourceHandle();
