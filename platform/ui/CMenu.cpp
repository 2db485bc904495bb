#include "platform/ui/CMenu.h"

#include "platform/gdi/GdiTemp_p.h"
#include "platform/ui/CWnd.h"

#include <map>

namespace {
std::map<HMENU, CMenu*> g_permanent;
thread_local std::map<HMENU, std::unique_ptr<CMenu>> t_temp;
}  // namespace

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (CMenu* p = FromHandlePermanent(hMenu))
        return p;
    CMenu* t = vxgdi::TempWrapper(t_temp, hMenu);
    // Temporary objects are not the permanent owners of their handle.
    if (t)
        g_permanent.erase(hMenu);
    return t;
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    auto it = g_permanent.find(hMenu);
    return it == g_permanent.end() ? nullptr : it->second;
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu || !hMenu)
        return FALSE;
    m_hMenu = hMenu;
    g_permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (h) {
        auto it = g_permanent.find(h);
        if (it != g_permanent.end() && it->second == this)
            g_permanent.erase(it);
    }
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}
BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenu(nullptr, lpszResourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT f, UINT_PTR id, LPCSTR s)
{
    return ::AppendMenu(m_hMenu, f, id, s);
}
BOOL CMenu::InsertMenu(UINT p, UINT f, UINT_PTR id, LPCSTR s)
{
    return ::InsertMenu(m_hMenu, p, f, id, s);
}
BOOL CMenu::ModifyMenu(UINT p, UINT f, UINT_PTR id, LPCSTR s)
{
    return ::ModifyMenu(m_hMenu, p, f, id, s);
}
BOOL CMenu::RemoveMenu(UINT p, UINT f)
{
    return ::RemoveMenu(m_hMenu, p, f);
}
BOOL CMenu::DeleteMenu(UINT p, UINT f)
{
    return ::DeleteMenu(m_hMenu, p, f);
}
UINT CMenu::EnableMenuItem(UINT id, UINT f)
{
    return ::EnableMenuItem(m_hMenu, id, f);
}
UINT CMenu::CheckMenuItem(UINT id, UINT f)
{
    return ::CheckMenuItem(m_hMenu, id, f);
}

BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
{
    return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos)
{
    return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos);
}
UINT CMenu::GetMenuItemCount() const
{
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}
UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT id, LPSTR s, int max, UINT flags) const
{
    return ::GetMenuString(m_hMenu, id, s, max, flags);
}

int CMenu::GetMenuString(UINT id, CString& rString, UINT flags) const
{
    int n = ::GetMenuString(m_hMenu, id, nullptr, 0, flags);
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    ::GetMenuString(m_hMenu, id, buf.data(), n + 1, flags);
    buf.resize(static_cast<size_t>(n));
    rString = buf;
    return n;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    HMENU h = ::GetSubMenu(m_hMenu, nPos);
    return h ? FromHandle(h) : nullptr;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
