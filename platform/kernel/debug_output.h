#pragma once
// OutputDebugString: text for a debugger. Written to standard error when the
// environment variable VX_DEBUG_OUTPUT is set (to anything but "0"), else
// dropped.

#include "platform/base/types.h"

void OutputDebugStringA(LPCSTR lpOutputString);
inline void OutputDebugString(LPCSTR s)
{
    OutputDebugStringA(s);
}
