// Resource bytes for the drawing layer, from the resource modules of the
// windowing layer; and the raw resource functions (FindResource and kin)
// that read any typed resource's bytes.
#include "platform/gdi/ResourceBytes_p.h"

#include "platform/gdi/resource_data.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/ResourceModule.h"

namespace vxgdi {

const std::vector<unsigned char>* FindResourceBytes(HINSTANCE module, int type, LPCSTR name)
{
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    LPCSTR t = MAKEINTRESOURCE(type);
    auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
    if (!module)
        module = AfxFindResourceHandle(name, t);
    const vxw::ResourceModule* m = vxw::FindResourceModule(module);
    return m ? m->FindData(t, id) : nullptr;
}

}  // namespace vxgdi


HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type)
{
    if (!name || !IS_INTRESOURCE(name) || !type)
        return nullptr;
    auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
    // No module: the program's own resources, else the first in the chain.
    const vxw::ResourceModule* m = nullptr;
    if (module) {
        m = vxw::FindResourceModule(module);
    } else {
        m = vxw::FindResourceModule(AfxGetInstanceHandle());
        if (!m || !m->FindData(type, id))
            m = vxw::FindResourceModule(AfxFindResourceHandle(name, type));
    }
    const std::vector<unsigned char>* bytes = m ? m->FindData(type, id) : nullptr;
    // The bytes live as long as their module, which is for the process.
    return bytes ? reinterpret_cast<HRSRC>(const_cast<std::vector<unsigned char>*>(bytes)) : nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC res)
{
    return res;
}

LPVOID LockResource(HGLOBAL data)
{
    if (!data)
        return nullptr;
    auto* v = static_cast<std::vector<unsigned char>*>(data);
    return v->empty() ? nullptr : v->data();
}

DWORD SizeofResource(HMODULE, HRSRC res)
{
    return res ? static_cast<DWORD>(reinterpret_cast<std::vector<unsigned char>*>(res)->size()) : 0;
}

BOOL FreeResource(HGLOBAL)
{
    return FALSE;
}
