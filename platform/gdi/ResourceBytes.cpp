// Resource bytes for the drawing layer. Until resource modules exist no
// resource is found.
#include "platform/gdi/ResourceBytes_p.h"

namespace vxgdi {

const std::vector<unsigned char>* FindResourceBytes(HINSTANCE, int, LPCSTR)
{
    return nullptr;
}

}  // namespace vxgdi
