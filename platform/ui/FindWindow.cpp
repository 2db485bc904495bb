#include "platform/ui/WindowRegistry_p.h"

#include <cstring>
#include <vector>

// The newest top-level window whose class and text match (null matches
// any), as the newest stands on top. Any thread: the records are read under
// the registry's lock.
HWND FindWindow(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    vxw::WindowRegistry& reg = vxw::WindowRegistry::instance();
    std::vector<HWND> tops = reg.topLevels();
    auto lock = reg.lock();
    HWND found = nullptr;
    for (HWND h : tops) {
        vxw::WindowRecord* r = reg.findLocked(h);
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
