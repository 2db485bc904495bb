#include "platform/base/types.h"

static_assert(sizeof(DWORD) == 4 && sizeof(WORD) == 2 && sizeof(LONG) == 4);
static_assert(sizeof(RECT) == 16 && sizeof(SYSTEMTIME) == 16);
static_assert(RGB(1, 2, 3) == 0x030201u);
