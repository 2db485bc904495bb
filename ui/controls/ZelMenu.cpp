// ZelMenu: life, shared state, loading templates, finding items and the
// keyboard mnemonics.
#include "ui/controls/ZelMenu.h"

#include <cstring>
#include <cwctype>

CImageList ZelMenu::s_ImageList;
CArray<UINT, UINT> ZelMenu::s_arrImageIds;
CArray<HMENU, HMENU> ZelMenu::s_arrPopupHandles;
int ZelMenu::s_nDrawModeThemed = 1;
int ZelMenu::s_nDrawModePlain = 0;
BOOL ZelMenu::s_bIconEffects = TRUE;
BOOL ZelMenu::s_bSelectDisabledClassic = TRUE;
BOOL ZelMenu::s_bSelectDisabledXP = FALSE;
// The system reports no version of an older family here: the current family
// has no XP theme and draws in the plain style.
int ZelMenu::s_nShellType = 1;

namespace {

// Menu templates nest popups; deeper than this is a broken template.
constexpr int kMaxDepth = 32;

}  // namespace

// ---- ZelMenuData ----

ZelMenuData::~ZelMenuData()
{
    delete m_pImageList;
    delete[] m_szText;
}

void ZelMenuData::SetWideText(LPCWSTR text)
{
    delete[] m_szText;
    m_szText = nullptr;
    if (!text)
        return;
    size_t n = std::wcslen(text);
    m_szText = new wchar_t[n + 1];
    std::wmemcpy(m_szText, text, n + 1);
}

void ZelMenuData::SetAnsiText(LPCSTR text)
{
    if (!text) {
        SetWideText(nullptr);
        return;
    }
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
    SetWideText(wide.c_str());
}

LPCWSTR ZelMenuData::GetWideText() const
{
    return m_szText ? m_szText : L"";
}

std::string ZelMenuData::GetAnsiText() const
{
    LPCWSTR w = GetWideText();
    int n = ::WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, w, -1, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// ---- life ----

ZelMenu::ZelMenu()
    : m_nIconWidth(16), m_nIconHeight(15), m_crIconBack(RGB(192, 192, 192)), m_bUseIconBack(FALSE), m_nSubMenuKind(0),
      m_pRootMenu(nullptr), m_nSubMenuDepth(0), m_nLastCommand(-1), m_nLastPosition(-1), m_bLoadedFromResource(FALSE)
{}

ZelMenu::~ZelMenu()
{
    DestroyMenu();
}

BOOL ZelMenu::DestroyMenu()
{
    // The menu's handle takes the handles of the sub-menus it still holds
    // with it; removed sub-menus are still alive and die with their object.
    BOOL ok = m_hMenu ? CMenu::DestroyMenu() : TRUE;
    for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i) {
        ZelMenu* sub = m_arrSubMenus[i];
        for (INT_PTR k = s_arrPopupHandles.GetSize() - 1; k >= 0; --k)
            if (s_arrPopupHandles[k] == sub->m_hMenu)
                s_arrPopupHandles.RemoveAt(k);
        if (!::IsMenu(sub->m_hMenu))
            sub->Detach();
        delete sub;
    }
    m_arrSubMenus.RemoveAll();
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        delete m_arrItems[i];
    m_arrItems.RemoveAll();
    m_bLoadedFromResource = FALSE;
    return ok;
}

ZelMenu* ZelMenu::NewSubMenu()
{
    auto* sub = new ZelMenu;
    // Sub-menus share the look and bookkeeping of their parent.
    sub->m_nIconWidth = m_nIconWidth;
    sub->m_nIconHeight = m_nIconHeight;
    sub->m_crIconBack = m_crIconBack;
    sub->m_bUseIconBack = m_bUseIconBack;
    sub->m_nSubMenuKind = m_nSubMenuKind;
    sub->m_pRootMenu = m_pRootMenu ? m_pRootMenu : this;
    sub->m_nSubMenuDepth = m_nSubMenuDepth + 1;
    sub->m_nLastCommand = m_nLastCommand;
    sub->m_nLastPosition = m_nLastPosition;
    return sub;
}

// ---- templates ----

BOOL ZelMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL ZelMenu::LoadMenu(LPCSTR lpszResourceName)
{
    if (!IS_INTRESOURCE(lpszResourceName))
        return FALSE;  // menus are kept by number
    UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszResourceName));
    const vxw::MenuTemplate* found = nullptr;
    if (HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_MENU))
        if (const vxw::ResourceModule* m = vxw::FindResourceModule(module))
            found = m->FindMenu(id);
    if (!found)
        if (const vxw::ResourceModule* m = vxw::FindResourceModule(AfxGetInstanceHandle()))
            found = m->FindMenu(id);
    if (!found)
        return FALSE;
    return LoadTemplate(*found);
}

BOOL ZelMenu::LoadTemplate(const vxw::MenuTemplate& menuTemplate)
{
    DestroyMenu();
    if (!CreateMenu())
        return FALSE;
    if (!AddTemplateItems(menuTemplate.items, 0)) {
        DestroyMenu();
        return FALSE;
    }
    // The top level goes back to plain strings: a menu bar is drawn by the
    // system, only the popups are owner-drawn.
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        ZelMenuData* item = m_arrItems[i];
        UINT flags = MF_BYPOSITION | MF_STRING | (item->m_nFlags & (MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED));
        if (item->m_nFlags & MF_SEPARATOR)
            flags = MF_BYPOSITION | MF_SEPARATOR;
        item->m_nFlags &= ~MF_OWNERDRAW;
        CMenu::ModifyMenu(static_cast<UINT>(i), flags, item->m_nCommand, item->GetAnsiText().c_str());
    }
    m_bLoadedFromResource = TRUE;
    return TRUE;
}

BOOL ZelMenu::AddTemplateItems(const std::vector<vxw::MenuItemTemplate>& items, int depth)
{
    if (depth > kMaxDepth)
        return FALSE;
    for (const vxw::MenuItemTemplate& t : items) {
        UINT flags = t.flags & ~MF_END;
        if (flags & MF_POPUP) {
            ZelMenu* sub = NewSubMenu();
            if (!sub->CreatePopupMenu() || !sub->AddTemplateItems(t.popup, depth + 1)) {
                delete sub;
                return FALSE;
            }
            ZelMenuData* item = NewItem(flags | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(sub->m_hMenu), nullptr);
            item->SetAnsiText(t.text.c_str());
            if (!CMenu::AppendMenu(item->m_nFlags, item->m_nCommand, reinterpret_cast<LPCSTR>(item))) {
                delete item;
                delete sub;
                return FALSE;
            }
            m_arrItems.Add(item);
            m_arrSubMenus.Add(sub);
            s_arrPopupHandles.Add(sub->m_hMenu);
            continue;
        }
        if (!AppendMenu(flags, t.id, t.text.c_str()))
            return FALSE;
    }
    return TRUE;
}

// ---- finding ----

ZelMenu* ZelMenu::FindMenuOption(UINT nCommand, int& nPosition)
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i) {
        const ZelMenuData* item = m_arrItems[i];
        if (!(item->m_nFlags & (MF_POPUP | MF_SEPARATOR)) && item->m_nCommand == nCommand) {
            nPosition = static_cast<int>(i);
            return this;
        }
    }
    for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i)
        if (ZelMenu* m = m_arrSubMenus[i]->FindMenuOption(nCommand, nPosition))
            return m;
    nPosition = -1;
    return nullptr;
}

ZelMenuData* ZelMenu::FindMenuItem(UINT nCommand)
{
    int pos = -1;
    ZelMenu* m = FindMenuOption(nCommand, pos);
    return m ? m->m_arrItems[pos] : nullptr;
}

ZelMenuData* ZelMenu::FindMenuItem(LPCWSTR lpszText)
{
    if (!lpszText)
        return nullptr;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (std::wcscmp(m_arrItems[i]->GetWideText(), lpszText) == 0)
            return m_arrItems[i];
    for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i)
        if (ZelMenuData* d = m_arrSubMenus[i]->FindMenuItem(lpszText))
            return d;
    return nullptr;
}

ZelMenu* ZelMenu::GetSubZelMenu(LPCWSTR lpszText)
{
    ZelMenuData* item = FindMenuItem(lpszText);
    if (!item || !(item->m_nFlags & MF_POPUP))
        return nullptr;
    CMenu* m = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(item->m_nCommand));
    return dynamic_cast<ZelMenu*>(m);
}

BOOL ZelMenu::HoldsItem(ULONG_PTR itemData) const
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (reinterpret_cast<ULONG_PTR>(m_arrItems[i]) == itemData)
            return TRUE;
    for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i)
        if (m_arrSubMenus[i]->HoldsItem(itemData))
            return TRUE;
    return FALSE;
}

BOOL ZelMenu::IsMenu(HMENU hMenu)
{
    if (!hMenu)
        return FALSE;
    for (INT_PTR i = 0; i < s_arrPopupHandles.GetSize(); ++i)
        if (s_arrPopupHandles[i] == hMenu)
            return TRUE;
    return FALSE;
}

// "&&" is a literal ampersand, not the mark of the next character.
LRESULT ZelMenu::FindKeyboardShortcut(UINT nChar, UINT, CMenu* pMenu)
{
    auto* menu = dynamic_cast<ZelMenu*>(pMenu);
    if (!menu || !IsMenu(menu->m_hMenu))
        return 0;
    wint_t key = std::towlower(static_cast<wint_t>(nChar));
    for (INT_PTR i = 0; i < menu->m_arrItems.GetSize(); ++i) {
        LPCWSTR text = menu->m_arrItems[i]->GetWideText();
        for (const wchar_t* p = text; *p; ++p) {
            if (*p != L'&')
                continue;
            if (p[1] == L'&') {
                ++p;
                continue;
            }
            if (p[1] && std::towlower(static_cast<wint_t>(p[1])) == key)
                return MAKELRESULT(static_cast<WORD>(i), MNC_EXECUTE);
            break;
        }
    }
    return 0;
}

int ZelMenu::GetShellType()
{
    return s_nShellType;
}

// Only the XP family (shell type 7) had the theme; nothing here is of it.
BOOL ZelMenu::IsXPThemeActive()
{
    return FALSE;
}

int ZelMenu::GetMenuDrawMode()
{
    return IsXPThemeActive() ? s_nDrawModeThemed : s_nDrawModePlain;
}

COLORREF ZelMenu::LightenColor(COLORREF colour, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return colour;
    auto up = [factor](BYTE c) { return static_cast<BYTE>(c + (255 - c) * factor); };
    return RGB(up(GetRValue(colour)), up(GetGValue(colour)), up(GetBValue(colour)));
}

COLORREF ZelMenu::DarkenColor(COLORREF colour, double factor)
{
    if (factor <= 0.0 || factor > 1.0)
        return colour;
    auto down = [factor](BYTE c) { return static_cast<BYTE>(c - c * factor); };
    return RGB(down(GetRValue(colour)), down(GetGValue(colour)), down(GetBValue(colour)));
}
