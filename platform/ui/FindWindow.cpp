#include "platform/ui/WindowRegistry_p.h"

#include <cstring>

// The newest top-level window whose class and text match (null matches
// any), as the newest stands on top.
HWND FindWindow(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    vxw::WindowRegistry& reg = vxw::WindowRegistry::instance();
    HWND found = nullptr;
    for (HWND h : reg.topLevels()) {
        vxw::WindowRecord* r = reg.find(h);
        if (!r || r->dead)
            continue;
        if (lpClassName && r->className != lpClassName)
            continue;
        if (lpWindowName && r->text != lpWindowName)
            continue;
        if (!found || reinterpret_cast<uintptr_t>(h) > reinterpret_cast<uintptr_t>(found))
            found = h;
    }
    return found;
}
