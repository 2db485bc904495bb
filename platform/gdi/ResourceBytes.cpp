// Resource bytes for the drawing layer: the encoded images, icons and
// cursors of the resource modules.
#include "platform/gdi/ResourceBytes_p.h"

#include "platform/kernel/resources.h"

namespace vxgdi {

const std::vector<unsigned char>* FindResourceBytes(HINSTANCE module, int type, LPCSTR name)
{
    if (!name || (reinterpret_cast<uintptr_t>(name) >> 16) != 0)
        return nullptr;
    auto t = reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(static_cast<WORD>(type)));
    auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
    return vxk::FindResourceData(module, t, id, false);
}

}  // namespace vxgdi
