#pragma once
// Resource modules: tables of resources keyed by (type, id) that a library or
// program registers for itself: string tables, dialog templates, menus and
// the bytes of images, icons and cursors. The search chain starts at the
// module set with AfxSetResourceHandle and goes on through every registered
// module in the order they were registered.
// Registration is safe at static-initialisation time; lookups are for the
// GUI thread (strings may be read from any thread).

#include "platform/ui/winuser.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#define RT_CURSOR       MAKEINTRESOURCE(1)
#define RT_BITMAP       MAKEINTRESOURCE(2)
#define RT_ICON         MAKEINTRESOURCE(3)
#define RT_MENU         MAKEINTRESOURCE(4)
#define RT_DIALOG       MAKEINTRESOURCE(5)
#define RT_STRING       MAKEINTRESOURCE(6)
#define RT_RCDATA       MAKEINTRESOURCE(10)
#define RT_VERSION      MAKEINTRESOURCE(16)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON   MAKEINTRESOURCE(14)

namespace vxw {

// One control of a dialog template; position and size in dialog units.
struct DialogItemTemplate {
    std::string className;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", WC_LISTVIEW, ...
    int id = 0;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    // The entries a combo or list box holds when the dialog is made, in
    // order (the template's initialisation data).
    std::vector<std::string> initialStrings;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    std::string caption;
    std::string fontName = "MS Shell Dlg";
    WORD fontSize = 8;
    std::vector<DialogItemTemplate> items;
};

struct MenuItemTemplate {
    std::string text;
    UINT id = 0;
    UINT flags = 0;  // MF_ values
    std::vector<MenuItemTemplate> popup;
};

struct MenuTemplate {
    std::vector<MenuItemTemplate> items;
};

class ResourceModule {
public:
    explicit ResourceModule(std::string name);
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    const std::string& name() const { return m_name; }
    HINSTANCE handle() const { return m_handle; }
    // The program or library that registered the module (null: unknown).
    HMODULE owner() const { return m_owner; }

    void AddString(UINT id, std::string text);
    void AddDialog(UINT id, DialogTemplate dialog);
    void AddMenu(UINT id, MenuTemplate menu);
    // Images, icons, cursors and other data by type (RT_ values or names).
    void AddData(LPCSTR type, UINT id, std::vector<unsigned char> bytes);

    const std::string* FindString(UINT id) const;
    const DialogTemplate* FindDialog(UINT id) const;
    const MenuTemplate* FindMenu(UINT id) const;
    const std::vector<unsigned char>* FindData(LPCSTR type, UINT id) const;
    bool Has(LPCSTR type, UINT id) const;

    // Every entry as (type key, id): "#N" for an RT_ type N, the name for a
    // named type. Strings, dialogs and menus are "#6", "#5" and "#4".
    std::vector<std::pair<std::string, UINT>> Entries() const;
    // Entries added more than once (the later one replaced the earlier):
    // a resource table that names one id twice has a mistake in it.
    std::vector<std::pair<std::string, UINT>> Replaced() const;

private:
    friend HINSTANCE RegisterResourceModule(std::unique_ptr<ResourceModule> module);
    friend HINSTANCE RegisterResourceModule(const char* name, const std::function<void(ResourceModule&)>& fill);
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_name;
    HINSTANCE m_handle = nullptr;
    HMODULE m_owner = nullptr;
};

// Takes the module over; its handle is the module's HINSTANCE. A second
// module of the same name replaces nothing and returns the first's handle.
HINSTANCE RegisterResourceModule(std::unique_ptr<ResourceModule> module);
// Builds and registers a module in one step (for static registration).
HINSTANCE RegisterResourceModule(const char* name, const std::function<void(ResourceModule&)>& fill);
const ResourceModule* FindResourceModule(HINSTANCE handle);
// Every registered module, in registration order.
std::vector<HINSTANCE> RegisteredResourceModules();
// The first registered module that the given program or library registered.
const ResourceModule* FindResourceModuleOfOwner(HMODULE owner);
HINSTANCE FindResourceModuleByName(const char* name);
// The module behind a library handle from dlopen (LoadLibrary): a resource
// library exports vx_resource_module_name(), see VX_EXPORT_RESOURCE_MODULE.
HINSTANCE ResourceModuleOfLibrary(void* libraryHandle);

}  // namespace vxw

// In a resource library: names the module so that the handle that loading
// the library returned finds it.
#define VX_EXPORT_RESOURCE_MODULE(name)                                                                                \
    extern "C" __attribute__((visibility("default"))) const char* vx_resource_module_name()                            \
    {                                                                                                                  \
        return name;                                                                                                   \
    }

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The first module of the chain that has the resource; null when none has.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
