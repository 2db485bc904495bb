// The raw resource functions over the resource look-up the windowing layer
// installs.
#include "platform/kernel/resources.h"

#include <atomic>

namespace vxk {

namespace {

std::atomic<ResourceFinder> g_finder{nullptr};

}  // namespace

void SetResourceFinder(ResourceFinder finder)
{
    g_finder.store(finder);
}

const std::vector<unsigned char>* FindResourceData(HMODULE module, LPCSTR type, UINT id, bool programFirst)
{
    ResourceFinder finder = g_finder.load();
    return finder && type ? finder(module, type, id, programFirst) : nullptr;
}

}  // namespace vxk

HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type)
{
    // Resources are kept by number only.
    if (!name || (reinterpret_cast<uintptr_t>(name) >> 16) != 0 || !type)
        return nullptr;
    auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
    const std::vector<unsigned char>* bytes = vxk::FindResourceData(module, type, id, true);
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
