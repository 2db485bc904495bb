#include "platform/ui/ResourceModule.h"

#include "platform/kernel/module.h"
#include "platform/kernel/resources.h"
#include "platform/ui/CWinApp.h"

#include "platform/base/CString.h"
#include "platform/ui/ModuleState.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowCall_p.h"

#include <dlfcn.h>

#include <algorithm>

#include <map>
#include <mutex>

namespace vxw {

namespace {

std::string TypeKey(LPCSTR type)
{
    if (IS_INTRESOURCE(type))
        return "#" + std::to_string(reinterpret_cast<uintptr_t>(type));
    return type ? std::string(type) : std::string();
}

struct Registry {
    std::mutex mutex;  // guards modules and current
    std::vector<std::unique_ptr<ResourceModule>> modules;
    HINSTANCE current = nullptr;
    uintptr_t nextHandle = 0x5E500000;
};

Registry& Reg()
{
    static Registry r;
    return r;
}

ResourceModule* FindLocked(Registry& reg, HINSTANCE h)
{
    for (auto& m : reg.modules) {
        if (m->handle() == h)
            return m.get();
    }
    return nullptr;
}

// The chain in search order: the module of the thread's module state
// (AFX_MANAGE_STATE), the current module, then all others.
std::vector<const ResourceModule*> Chain()
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    HINSTANCE scoped = state ? state->m_hCurrentResourceHandle : nullptr;
    Registry& reg = Reg();
    std::lock_guard lock(reg.mutex);
    std::vector<const ResourceModule*> out;
    for (HINSTANCE first : {scoped, reg.current}) {
        ResourceModule* m = FindLocked(reg, first);
        if (m && std::find(out.begin(), out.end(), m) == out.end())
            out.push_back(m);
    }
    for (auto& m : reg.modules) {
        if (std::find(out.begin(), out.end(), m.get()) == out.end())
            out.push_back(m.get());
    }
    return out;
}

BOOL LoadStringFromChain(UINT id, CString& out)
{
    for (const ResourceModule* m : Chain()) {
        if (const std::string* s = m->FindString(id)) {
            out = s->c_str();
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

struct ResourceModule::Impl {
    std::map<UINT, std::string> strings;
    std::map<UINT, DialogTemplate> dialogs;
    std::map<UINT, MenuTemplate> menus;
    std::map<std::pair<std::string, UINT>, std::vector<unsigned char>> data;
    std::vector<std::pair<std::string, UINT>> replaced;
};

ResourceModule::ResourceModule(std::string name) : m_impl(std::make_unique<Impl>()), m_name(std::move(name)) {}

ResourceModule::~ResourceModule() = default;

void ResourceModule::AddString(UINT id, std::string text)
{
    if (!m_impl->strings.insert_or_assign(id, std::move(text)).second)
        m_impl->replaced.emplace_back(TypeKey(RT_STRING), id);
}

void ResourceModule::AddDialog(UINT id, DialogTemplate dialog)
{
    if (!m_impl->dialogs.insert_or_assign(id, std::move(dialog)).second)
        m_impl->replaced.emplace_back(TypeKey(RT_DIALOG), id);
}

void ResourceModule::AddMenu(UINT id, MenuTemplate menu)
{
    if (!m_impl->menus.insert_or_assign(id, std::move(menu)).second)
        m_impl->replaced.emplace_back(TypeKey(RT_MENU), id);
}

void ResourceModule::AddData(LPCSTR type, UINT id, std::vector<unsigned char> bytes)
{
    std::pair<std::string, UINT> key{TypeKey(type), id};
    if (!m_impl->data.insert_or_assign(key, std::move(bytes)).second)
        m_impl->replaced.push_back(std::move(key));
}

const std::string* ResourceModule::FindString(UINT id) const
{
    auto it = m_impl->strings.find(id);
    return it == m_impl->strings.end() ? nullptr : &it->second;
}

const DialogTemplate* ResourceModule::FindDialog(UINT id) const
{
    auto it = m_impl->dialogs.find(id);
    return it == m_impl->dialogs.end() ? nullptr : &it->second;
}

const MenuTemplate* ResourceModule::FindMenu(UINT id) const
{
    auto it = m_impl->menus.find(id);
    return it == m_impl->menus.end() ? nullptr : &it->second;
}

const std::vector<unsigned char>* ResourceModule::FindData(LPCSTR type, UINT id) const
{
    auto it = m_impl->data.find({TypeKey(type), id});
    return it == m_impl->data.end() ? nullptr : &it->second;
}

bool ResourceModule::Has(LPCSTR type, UINT id) const
{
    if (type == RT_STRING)
        return FindString(id) != nullptr;
    if (type == RT_DIALOG)
        return FindDialog(id) != nullptr;
    if (type == RT_MENU)
        return FindMenu(id) != nullptr;
    return FindData(type, id) != nullptr;
}

std::vector<std::pair<std::string, UINT>> ResourceModule::Entries() const
{
    std::vector<std::pair<std::string, UINT>> out;
    for (auto& [id, text] : m_impl->strings)
        out.emplace_back(TypeKey(RT_STRING), id);
    for (auto& [id, dialog] : m_impl->dialogs)
        out.emplace_back(TypeKey(RT_DIALOG), id);
    for (auto& [id, menu] : m_impl->menus)
        out.emplace_back(TypeKey(RT_MENU), id);
    for (auto& [key, bytes] : m_impl->data)
        out.push_back(key);
    return out;
}

std::vector<std::pair<std::string, UINT>> ResourceModule::Replaced() const
{
    return m_impl->replaced;
}

std::vector<HINSTANCE> RegisteredResourceModules()
{
    Registry& reg = Reg();
    std::lock_guard lock(reg.mutex);
    std::vector<HINSTANCE> out;
    for (auto& m : reg.modules)
        out.push_back(m->handle());
    return out;
}

HINSTANCE RegisterResourceModule(std::unique_ptr<ResourceModule> module)
{
    if (!module)
        return nullptr;
    Registry& reg = Reg();
    std::lock_guard lock(reg.mutex);
    for (auto& m : reg.modules) {
        if (m->name() == module->name())
            return m->handle();
    }
    module->m_handle = reinterpret_cast<HINSTANCE>(reg.nextHandle);
    reg.nextHandle += 0x10;
    HINSTANCE h = module->m_handle;
    reg.modules.push_back(std::move(module));
    return h;
}

HINSTANCE RegisterResourceModule(const char* name, const std::function<void(ResourceModule&)>& fill)
{
    // Called from the static initialisation of the module's own program or
    // library, so the caller's address names the owner.
    HMODULE owner = vxk::ModuleFromAddress(__builtin_return_address(0));
    auto module = std::make_unique<ResourceModule>(name ? name : "");
    module->m_owner = owner;
    if (fill)
        fill(*module);
    return RegisterResourceModule(std::move(module));
}

const ResourceModule* FindResourceModule(HINSTANCE handle)
{
    if (!handle)
        return nullptr;
    {
        Registry& reg = Reg();
        std::lock_guard lock(reg.mutex);
        if (ResourceModule* m = FindLocked(reg, handle))
            return m;
    }
    HINSTANCE h = ResourceModuleOfLibrary(handle);
    if (!h)
        return nullptr;
    Registry& reg = Reg();
    std::lock_guard lock(reg.mutex);
    return FindLocked(reg, h);
}

const ResourceModule* FindResourceModuleOfOwner(HMODULE owner)
{
    if (!owner)
        return nullptr;
    Registry& reg = Reg();
    std::lock_guard lock(reg.mutex);
    for (auto& m : reg.modules) {
        if (m->owner() == owner)
            return m.get();
    }
    return nullptr;
}

HINSTANCE FindResourceModuleByName(const char* name)
{
    if (!name)
        return nullptr;
    Registry& reg = Reg();
    std::lock_guard lock(reg.mutex);
    for (auto& m : reg.modules) {
        if (m->name() == name)
            return m->handle();
    }
    return nullptr;
}

HINSTANCE ResourceModuleOfLibrary(void* libraryHandle)
{
    if (!libraryHandle)
        return nullptr;
    // Our own fake handles are no library handles: never hand them to dlsym.
    {
        Registry& reg = Reg();
        std::lock_guard lock(reg.mutex);
        if (FindLocked(reg, static_cast<HINSTANCE>(libraryHandle)))
            return static_cast<HINSTANCE>(libraryHandle);
        auto v = reinterpret_cast<uintptr_t>(libraryHandle);
        if (v >= 0x5E500000 && v < reg.nextHandle)
            return nullptr;
    }
    using NameFn = const char* (*)();
    auto fn = reinterpret_cast<NameFn>(dlsym(libraryHandle, "vx_resource_module_name"));
    return fn ? FindResourceModuleByName(fn()) : nullptr;
}

void InstallStringTableHook()
{
    vxbase::g_pfnLoadString = &LoadStringFromChain;
}

namespace {

const std::vector<unsigned char>* FindData(HMODULE module, LPCSTR type, UINT id, bool programFirst)
{
    if (module) {
        const ResourceModule* m = FindResourceModule(module);
        return m ? m->FindData(type, id) : nullptr;
    }
    if (programFirst) {
        const ResourceModule* m = FindResourceModule(AfxGetInstanceHandle());
        if (const std::vector<unsigned char>* bytes = m ? m->FindData(type, id) : nullptr)
            return bytes;
    }
    const ResourceModule* m = FindResourceModule(AfxFindResourceHandle(MAKEINTRESOURCE(id), type));
    return m ? m->FindData(type, id) : nullptr;
}

// The kernel's resource functions and the drawing layer's pictures read the
// modules kept here; installed as the library loads, before anything asks.
const bool g_finderInstalled = [] {
    vxk::SetResourceFinder(&FindData);
    return true;
}();

}  // namespace

}  // namespace vxw

HINSTANCE AfxGetResourceHandle()
{
    auto& reg = vxw::Reg();
    std::lock_guard lock(reg.mutex);
    return reg.current;
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    // A library handle is turned into its module's handle once here.
    HINSTANCE h = vxw::ResourceModuleOfLibrary(hInstResource);
    auto& reg = vxw::Reg();
    std::lock_guard lock(reg.mutex);
    reg.current = h ? h : hInstResource;
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    if (!IS_INTRESOURCE(lpszName))
        return nullptr;
    auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszName));
    for (const vxw::ResourceModule* m : vxw::Chain()) {
        if (m->Has(lpszType, id))
            return m->handle();
    }
    return nullptr;
}

int LoadString(HINSTANCE module, UINT id, LPSTR buf, int max)
{
    const std::string* s = nullptr;
    if (module) {
        if (const vxw::ResourceModule* m = vxw::FindResourceModule(module))
            s = m->FindString(id);
    } else {
        for (const vxw::ResourceModule* m : vxw::Chain()) {
            if ((s = m->FindString(id)))
                break;
        }
    }
    if (!s) {
        if (buf && max > 0)
            buf[0] = '\0';
        return 0;
    }
    return vxw::CopyOut(*s, buf, max);
}
