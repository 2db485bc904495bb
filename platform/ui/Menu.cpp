// Menus: the item lists behind menu handles and the classic calls on them.
#include "platform/ui/Menu_p.h"

#include "platform/ui/ResourceModule.h"

#include <cctype>
#include <cstring>
#include <map>
#include <memory>

namespace vxw {
namespace {

std::map<HMENU, std::unique_ptr<MenuObj>>& Menus()
{
    static std::map<HMENU, std::unique_ptr<MenuObj>> s;
    return s;
}

uintptr_t g_nextMenu = 0x4E000000;

HMENU NewMenu(bool popup)
{
    auto h = reinterpret_cast<HMENU>(g_nextMenu += 4);
    auto m = std::make_unique<MenuObj>();
    m->popup = popup;
    Menus()[h] = std::move(m);
    return h;
}

bool IsPopupItem(const MenuItem& it)
{
    return (it.flags & MF_POPUP) != 0;
}

MenuItem* FindIn(HMENU h, UINT id, HMENU* holder, int* index, int depth)
{
    MenuObj* m = Menu(h);
    if (!m || depth > 32)
        return nullptr;
    for (size_t i = 0; i < m->items.size(); ++i) {
        MenuItem& it = m->items[i];
        if (!IsPopupItem(it) && !(it.flags & MF_SEPARATOR) && it.id == id) {
            if (holder)
                *holder = h;
            if (index)
                *index = static_cast<int>(i);
            return &it;
        }
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        MenuItem& it = m->items[i];
        if (IsPopupItem(it)) {
            // A command id may also name a sub-menu's handle.
            if (it.id == id) {
                if (holder)
                    *holder = h;
                if (index)
                    *index = static_cast<int>(i);
                return &it;
            }
            if (MenuItem* found = FindIn(reinterpret_cast<HMENU>(it.id), id, holder, index, depth + 1))
                return found;
        }
    }
    return nullptr;
}

void Build(HMENU h, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& t : items) {
        UINT flags = t.flags & ~static_cast<UINT>(MF_END);
        if (!t.popup.empty() || (flags & MF_POPUP)) {
            HMENU sub = NewMenu(true);
            Build(sub, t.popup);
            ::AppendMenu(h, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), t.text.c_str());
        } else if ((flags & MF_SEPARATOR) || (t.id == 0 && t.text.empty())) {
            ::AppendMenu(h, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenu(h, flags, t.id, t.text.c_str());
        }
    }
}

bool MakeItem(UINT flags, UINT_PTR id, LPCSTR text, MenuItem& out)
{
    // MF_OWNERDRAW and MF_DEFAULT share their values with old command bits.
    out.flags = flags & ~static_cast<UINT>(MF_BYPOSITION);
    out.id = id;
    if (flags & MF_POPUP) {
        MenuObj* sub = Menu(reinterpret_cast<HMENU>(id));
        if (!sub)
            return false;
        sub->popup = true;
    }
    if (flags & MF_OWNERDRAW) {
        out.itemData = reinterpret_cast<ULONG_PTR>(text);
        out.text.clear();
    } else if (!(flags & (MF_SEPARATOR | MF_BITMAP)) && text) {
        out.text = text;
    }
    if (flags & MF_SEPARATOR)
        out.id = 0;
    return true;
}

}  // namespace

MenuObj* Menu(HMENU h)
{
    auto it = Menus().find(h);
    return it == Menus().end() ? nullptr : it->second.get();
}

MenuItem* FindItem(HMENU menu, UINT item, UINT flags, HMENU* holder, int* index)
{
    MenuObj* m = Menu(menu);
    if (!m)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return nullptr;
        if (holder)
            *holder = menu;
        if (index)
            *index = static_cast<int>(item);
        return &m->items[item];
    }
    return FindIn(menu, item, holder, index, 0);
}

int MenuCharIndex(HMENU menu, HWND owner, char key)
{
    MenuObj* m = Menu(menu);
    if (!m)
        return -1;
    int lower = std::tolower(static_cast<unsigned char>(key));
    for (size_t i = 0; i < m->items.size(); ++i) {
        const std::string& t = m->items[i].text;
        for (size_t p = 0; p + 1 < t.size(); ++p) {
            if (t[p] != '&')
                continue;
            if (t[p + 1] == '&') {
                ++p;
                continue;
            }
            if (std::tolower(static_cast<unsigned char>(t[p + 1])) == lower)
                return static_cast<int>(i);
            break;
        }
    }
    // No mnemonic matched: the owner answers (owner-drawn items have no text).
    if (!owner)
        return -1;
    LRESULT r = ::SendMessage(owner, WM_MENUCHAR, MAKEWPARAM(static_cast<unsigned char>(key), MF_POPUP),
                              reinterpret_cast<LPARAM>(menu));
    if (HIWORD(r) == MNC_EXECUTE && LOWORD(r) < m->items.size())
        return LOWORD(r);
    return -1;
}

}  // namespace vxw

using namespace vxw;

HMENU CreateMenu()
{
    return NewMenu(false);
}

HMENU CreatePopupMenu()
{
    return NewMenu(true);
}

BOOL IsMenu(HMENU menu)
{
    return Menu(menu) != nullptr;
}

BOOL DestroyMenu(HMENU menu)
{
    auto it = Menus().find(menu);
    if (it == Menus().end())
        return FALSE;
    std::unique_ptr<MenuObj> m = std::move(it->second);
    Menus().erase(it);
    for (const MenuItem& item : m->items)
        if (item.flags & MF_POPUP)
            DestroyMenu(reinterpret_cast<HMENU>(item.id));
    return TRUE;
}

HMENU LoadMenu(HINSTANCE module, LPCSTR name)
{
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    if (!module)
        module = AfxFindResourceHandle(name, RT_MENU);
    const vxw::ResourceModule* rm = vxw::FindResourceModule(module);
    const vxw::MenuTemplate* t = rm ? rm->FindMenu(static_cast<UINT>(reinterpret_cast<uintptr_t>(name))) : nullptr;
    if (!t)
        return nullptr;
    HMENU h = NewMenu(false);
    Build(h, t->items);
    return h;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item)
{
    MenuObj* m = Menu(menu);
    MenuItem it;
    if (!m || !MakeItem(flags, id, item, it))
        return FALSE;
    m->items.push_back(std::move(it));
    return TRUE;
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item)
{
    MenuItem it;
    if (!Menu(menu) || !MakeItem(flags, id, item, it))
        return FALSE;
    if (flags & MF_BYPOSITION) {
        MenuObj* m = Menu(menu);
        size_t at = position > m->items.size() ? m->items.size() : position;  // -1: append
        m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(it));
        return TRUE;
    }
    HMENU holder = nullptr;
    int index = -1;
    if (!FindItem(menu, position, MF_BYCOMMAND, &holder, &index))
        return FALSE;
    MenuObj* h = Menu(holder);
    h->items.insert(h->items.begin() + index, std::move(it));
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item)
{
    MenuItem* found = FindItem(menu, position, flags);
    MenuItem it;
    if (!found || !MakeItem(flags, id, item, it))
        return FALSE;
    // A sub-menu that the item no longer holds is destroyed.
    if ((found->flags & MF_POPUP) && !((flags & MF_POPUP) && it.id == found->id))
        DestroyMenu(reinterpret_cast<HMENU>(found->id));
    *found = std::move(it);
    return TRUE;
}

static BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroy)
{
    HMENU holder = nullptr;
    int index = -1;
    MenuItem* found = FindItem(menu, position, flags, &holder, &index);
    if (!found)
        return FALSE;
    if (destroy && (found->flags & MF_POPUP))
        DestroyMenu(reinterpret_cast<HMENU>(found->id));
    MenuObj* m = Menu(holder);
    m->items.erase(m->items.begin() + index);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    return Remove(menu, position, flags, false);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    return Remove(menu, position, flags, true);
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuItem* it = FindItem(menu, item, flags);
    if (!it)
        return static_cast<UINT>(-1);
    UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuItem* it = FindItem(menu, item, flags);
    if (!it)
        return static_cast<DWORD>(-1);
    DWORD old = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~static_cast<UINT>(MF_CHECKED)) | (flags & MF_CHECKED);
    return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    MenuObj* m = Menu(menu);
    if (!m)
        return FALSE;
    bool any = false;
    if (flags & MF_BYPOSITION) {
        for (UINT i = first; i <= last && i < m->items.size(); ++i) {
            MenuItem& it = m->items[i];
            it.flags = (it.flags & ~static_cast<UINT>(MF_CHECKED)) | (i == check ? MF_CHECKED : 0);
            any = any || i == check;
        }
        return any;
    }
    for (MenuItem& it : m->items) {
        if (it.flags & (MF_POPUP | MF_SEPARATOR) || it.id < first || it.id > last)
            continue;
        it.flags = (it.flags & ~static_cast<UINT>(MF_CHECKED)) | (it.id == check ? MF_CHECKED : 0);
        any = any || it.id == check;
    }
    return any;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition)
{
    MenuObj* m = Menu(menu);
    if (!m)
        return FALSE;
    MenuItem* target = item == static_cast<UINT>(-1) ? nullptr : FindItem(menu, item, byPosition ? MF_BYPOSITION : 0);
    if (item != static_cast<UINT>(-1) && !target)
        return FALSE;
    for (MenuItem& it : m->items)
        it.flags &= ~static_cast<UINT>(MF_DEFAULT);
    if (target)
        target->flags |= MF_DEFAULT;
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    MenuObj* m = Menu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    MenuObj* m = Menu(menu);
    if (!m || position < 0 || position >= static_cast<int>(m->items.size()))
        return static_cast<UINT>(-1);
    const MenuItem& it = m->items[static_cast<size_t>(position)];
    if (it.flags & MF_POPUP)
        return static_cast<UINT>(-1);
    return static_cast<UINT>(it.id);
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags)
{
    MenuItem* it = FindItem(menu, id, flags);
    if (!it)
        return static_cast<UINT>(-1);
    UINT state = it->flags
                 & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MF_OWNERDRAW | MF_MENUBARBREAK
                    | MF_MENUBREAK | MF_DEFAULT | MF_BITMAP | MF_HILITE);
    if (it->flags & MF_POPUP) {
        MenuObj* sub = Menu(reinterpret_cast<HMENU>(it->id));
        state = (state & 0xFF) | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
    }
    return state;
}

int GetMenuString(HMENU menu, UINT item, LPSTR text, int max, UINT flags)
{
    MenuItem* it = FindItem(menu, item, flags);
    if (!it)
        return 0;
    int n = static_cast<int>(it->text.size());
    if (!text || max <= 0)
        return n;
    int c = std::min(n, max - 1);
    std::memcpy(text, it->text.data(), static_cast<size_t>(c));
    text[c] = '\0';
    return c;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    MenuObj* m = Menu(menu);
    if (!m || position < 0 || position >= static_cast<int>(m->items.size()))
        return nullptr;
    const MenuItem& it = m->items[static_cast<size_t>(position)];
    return (it.flags & MF_POPUP) ? reinterpret_cast<HMENU>(it.id) : nullptr;
}
