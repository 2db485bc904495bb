#include "platform/kernel/debug_output.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

void OutputDebugStringA(LPCSTR text)
{
    static const bool enabled = [] {
        const char* v = getenv("VX_DEBUG_OUTPUT");
        return v && *v && strcmp(v, "0") != 0;
    }();
    if (!enabled || !text)
        return;
    // One write, so lines of several threads do not interleave.
    size_t n = strlen(text);
    if (n && write(STDERR_FILENO, text, n) < 0)
        return;
}
