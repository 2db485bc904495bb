// ZelMenu: adding, changing, removing and reading items. Each family has one
// implementation; narrow text is converted to wide with the ANSI code page
// and every picture form becomes an image list and an index.
#include "ui/controls/ZelMenu.h"

#include <cstring>
#include <string>

namespace {

std::wstring Widen(LPCSTR text)
{
    if (!text)
        return std::wstring();
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// Separators keep only their column break.
UINT NormalFlags(UINT nFlags)
{
    nFlags &= ~MF_BYPOSITION;
    if (nFlags & MF_SEPARATOR)
        return MF_SEPARATOR | MF_OWNERDRAW | (nFlags & MF_MENUBARBREAK);
    return nFlags | MF_OWNERDRAW;
}

bool HasPicture(const ZelMenu::Picture& p)
{
    return p.bitmap || p.list || p.id > 0;
}

}  // namespace

ZelMenuData* ZelMenu::NewItem(UINT nFlags, UINT_PTR nID, LPCWSTR text)
{
    auto* item = new ZelMenuData;
    item->m_nFlags = nFlags;
    item->m_nCommand = nID;
    item->SetWideText(text);
    return item;
}

UINT ZelMenu::MaskColour() const
{
    return m_bUseIconBack ? m_crIconBack : ::GetSysColor(COLOR_BTNFACE);
}

// The item's own image list holds its picture at index 0; -1 as resource id
// takes the picture registered for the command in the shared list.
void ZelMenu::GivePicture(ZelMenuData* item, const Picture& picture)
{
    if (!HasPicture(picture)) {
        if (picture.id == -1 && !(item->m_nFlags & (MF_POPUP | MF_SEPARATOR))) {
            for (INT_PTR i = 0; i < s_arrImageIds.GetSize(); ++i)
                if (s_arrImageIds[i] == item->m_nCommand)
                    item->m_nGlobalImageIndex = static_cast<int>(i);
        }
        return;
    }
    auto list = std::make_unique<CImageList>();
    if (!list->Create(m_nIconWidth, m_nIconHeight, ILC_COLORDDB | ILC_MASK, 1, 1))
        return;
    int added = -1;
    if (picture.list) {
        if (HICON icon = ImageList_GetIcon(picture.list->GetSafeHandle(), picture.index, ILD_NORMAL)) {
            added = list->Add(icon);
            ::DestroyIcon(icon);
        }
    } else if (picture.bitmap) {
        added = list->Add(picture.bitmap, static_cast<COLORREF>(MaskColour()));
    } else {
        LPCSTR name = MAKEINTRESOURCE(picture.id);
        if (HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON)) {
            if (auto icon = static_cast<HICON>(::LoadImage(module, name, IMAGE_ICON, m_nIconWidth, m_nIconHeight, 0))) {
                added = list->Add(icon);
                ::DestroyIcon(icon);
            }
        } else if (HINSTANCE bmModule = AfxFindResourceHandle(name, RT_BITMAP)) {
            CBitmap bitmap;
            if (bitmap.Attach(::LoadBitmap(bmModule, name)))
                added = list->Add(&bitmap, static_cast<COLORREF>(MaskColour()));
        }
        item->m_nImageSourceId = picture.id;
    }
    if (added < 0)
        return;
    if (GetMenuDrawMode() == 1 && s_bIconEffects)
        AddEffectCopies(list.get(), added);
    delete item->m_pImageList;
    item->m_pImageList = list.release();
    item->m_nImageIndex = added;
}

BOOL ZelMenu::AddItem(int nAt, UINT nFlags, UINT_PTR nID, LPCWSTR text, const Picture& picture)
{
    if (!m_hMenu)
        return FALSE;
    nFlags = NormalFlags(nFlags);
    ZelMenuData* item = NewItem(nFlags, nID, text);
    GivePicture(item, picture);
    BOOL ok = nAt < 0 ? CMenu::AppendMenu(nFlags, nID, reinterpret_cast<LPCSTR>(item))
                      : CMenu::InsertMenu(static_cast<UINT>(nAt), nFlags | MF_BYPOSITION, nID,
                                          reinterpret_cast<LPCSTR>(item));
    if (!ok) {
        delete item;
        return FALSE;
    }
    if (nAt < 0 || nAt > m_arrItems.GetSize())
        m_arrItems.Add(item);
    else
        m_arrItems.InsertAt(nAt, item);
    if (nFlags & MF_POPUP) {
        auto hSub = reinterpret_cast<HMENU>(nID);
        s_arrPopupHandles.Add(hSub);
        // A sub-menu made by us (AppendODPopupMenu) is ours to delete; one
        // the caller attached elsewhere stays the caller's.
        for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i)
            if (m_arrSubMenus[i]->m_hMenu == hSub)
                return TRUE;
    }
    return TRUE;
}

BOOL ZelMenu::ChangeItem(int nAt, UINT nFlags, UINT_PTR nID, LPCWSTR text, const Picture& picture)
{
    if (nAt < 0 || nAt >= m_arrItems.GetSize())
        return FALSE;
    ZelMenuData* item = m_arrItems[nAt];
    nFlags = NormalFlags(nFlags);
    if (!CMenu::ModifyMenu(static_cast<UINT>(nAt), nFlags | MF_BYPOSITION, nID, reinterpret_cast<LPCSTR>(item)))
        return FALSE;
    if ((item->m_nFlags & MF_POPUP) && !((nFlags & MF_POPUP) && nID == item->m_nCommand))
        ForgetSubMenu(reinterpret_cast<HMENU>(item->m_nCommand), true);
    if ((nFlags & MF_POPUP) && !IsMenu(reinterpret_cast<HMENU>(nID)))
        s_arrPopupHandles.Add(reinterpret_cast<HMENU>(nID));
    item->m_nFlags = nFlags;
    item->m_nCommand = nID;
    if (text)
        item->SetWideText(text);
    if (HasPicture(picture) || picture.id == -1)
        GivePicture(item, picture);
    return TRUE;
}

// The menu no longer holds the sub-menu. A destroyed one's object goes too;
// a removed one stays ours (alive) until the menu is destroyed.
void ZelMenu::ForgetSubMenu(HMENU hSub, bool destroyed)
{
    for (INT_PTR k = s_arrPopupHandles.GetSize() - 1; k >= 0; --k)
        if (s_arrPopupHandles[k] == hSub)
            s_arrPopupHandles.RemoveAt(k);
    if (!destroyed)
        return;
    for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i) {
        ZelMenu* sub = m_arrSubMenus[i];
        if (sub->m_hMenu != hSub)
            continue;
        m_arrSubMenus.RemoveAt(i);
        if (!::IsMenu(hSub))
            sub->Detach();
        delete sub;
        return;
    }
}

BOOL ZelMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem, Picture picture)
{
    std::wstring wide = Widen(lpszNewItem);
    return AddItem(-1, nFlags, nIDNewItem, lpszNewItem ? wide.c_str() : nullptr, picture);
}

BOOL ZelMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem, Picture picture)
{
    return AddItem(-1, nFlags, nIDNewItem, lpszNewItem, picture);
}

ZelMenu* ZelMenu::AppendODPopupMenu(LPCSTR lpszText)
{
    std::wstring wide = Widen(lpszText);
    return AppendODPopupMenu(wide.c_str());
}

ZelMenu* ZelMenu::AppendODPopupMenu(LPCWSTR lpszText)
{
    if (!m_hMenu)
        return nullptr;
    ZelMenu* sub = NewSubMenu();
    if (!sub->CreatePopupMenu()) {
        delete sub;
        return nullptr;
    }
    m_arrSubMenus.Add(sub);
    if (!AddItem(-1, MF_POPUP, reinterpret_cast<UINT_PTR>(sub->m_hMenu), lpszText, {})) {
        m_arrSubMenus.RemoveAt(m_arrSubMenus.GetSize() - 1);
        delete sub;
        return nullptr;
    }
    return sub;
}

BOOL ZelMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem, Picture picture)
{
    std::wstring wide = Widen(lpszNewItem);
    return InsertMenu(nPosition, nFlags, nIDNewItem, lpszNewItem ? wide.c_str() : nullptr, picture);
}

BOOL ZelMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem, Picture picture)
{
    if (nFlags & MF_BYPOSITION)
        return AddItem(static_cast<int>(nPosition), nFlags, nIDNewItem, lpszNewItem, picture);
    int pos = -1;
    ZelMenu* holder = FindMenuOption(nPosition, pos);
    return holder ? holder->AddItem(pos, nFlags, nIDNewItem, lpszNewItem, picture) : FALSE;
}

BOOL ZelMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem, Picture picture)
{
    std::wstring wide = Widen(lpszNewItem);
    return ModifyMenu(nPosition, nFlags, nIDNewItem, lpszNewItem ? wide.c_str() : nullptr, picture);
}

BOOL ZelMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem, Picture picture)
{
    if (nFlags & MF_BYPOSITION)
        return ChangeItem(static_cast<int>(nPosition), nFlags, nIDNewItem, lpszNewItem, picture);
    int pos = -1;
    ZelMenu* holder = FindMenuOption(nPosition, pos);
    return holder ? holder->ChangeItem(pos, nFlags, nIDNewItem, lpszNewItem, picture) : FALSE;
}

BOOL ZelMenu::SetMenuItemPicture(UINT nCommand, Picture picture)
{
    if (!HasPicture(picture))
        return FALSE;
    if (!s_ImageList.GetSafeHandle() && !s_ImageList.Create(m_nIconWidth, m_nIconHeight, ILC_COLORDDB | ILC_MASK, 0, 1))
        return FALSE;
    // Made through a scratch item, so that every form loads the same way.
    ZelMenuData scratch;
    scratch.m_nCommand = nCommand;
    GivePicture(&scratch, picture);
    if (!scratch.m_pImageList)
        return FALSE;
    HICON icon = ImageList_GetIcon(scratch.m_pImageList->GetSafeHandle(), scratch.m_nImageIndex, ILD_NORMAL);
    if (!icon)
        return FALSE;
    int index = -1;
    for (INT_PTR i = 0; i < s_arrImageIds.GetSize(); ++i)
        if (s_arrImageIds[i] == nCommand)
            index = static_cast<int>(i);
    if (index >= 0) {
        s_ImageList.Replace(index, icon);
    } else {
        index = s_ImageList.Add(icon);
        if (index >= 0) {
            // The id list follows the image list index for index.
            while (s_arrImageIds.GetSize() < index)
                s_arrImageIds.Add(0);
            s_arrImageIds.SetAtGrow(index, nCommand);
        }
    }
    ::DestroyIcon(icon);
    if (index < 0)
        return FALSE;
    if (ZelMenuData* item = FindMenuItem(nCommand))
        item->m_nGlobalImageIndex = index;
    return TRUE;
}

BOOL ZelMenu::RemoveAt(int nAt, bool destroySubMenu)
{
    if (nAt < 0 || nAt >= m_arrItems.GetSize())
        return FALSE;
    ZelMenuData* item = m_arrItems[nAt];
    BOOL ok = destroySubMenu ? CMenu::DeleteMenu(static_cast<UINT>(nAt), MF_BYPOSITION)
                             : CMenu::RemoveMenu(static_cast<UINT>(nAt), MF_BYPOSITION);
    if (!ok)
        return FALSE;
    if (item->m_nFlags & MF_POPUP)
        ForgetSubMenu(reinterpret_cast<HMENU>(item->m_nCommand), destroySubMenu);
    m_arrItems.RemoveAt(nAt);
    delete item;
    return TRUE;
}

BOOL ZelMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    if (nFlags & MF_BYPOSITION)
        return RemoveAt(static_cast<int>(nPosition), false);
    int pos = -1;
    ZelMenu* holder = FindMenuOption(nPosition, pos);
    return holder ? holder->RemoveAt(pos, false) : FALSE;
}

BOOL ZelMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    if (nFlags & MF_BYPOSITION)
        return RemoveAt(static_cast<int>(nPosition), true);
    int pos = -1;
    ZelMenu* holder = FindMenuOption(nPosition, pos);
    return holder ? holder->RemoveAt(pos, true) : FALSE;
}

int ZelMenu::IndexOfText(LPCWSTR text) const
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        if (std::wcscmp(m_arrItems[i]->GetWideText(), text) == 0)
            return static_cast<int>(i);
    return -1;
}

BOOL ZelMenu::RemoveMenu(LPCWSTR lpszText, int separatorKind)
{
    if (!lpszText)
        return FALSE;
    int at = IndexOfText(lpszText);
    if (at < 0) {
        for (INT_PTR i = 0; i < m_arrSubMenus.GetSize(); ++i)
            if (m_arrSubMenus[i]->RemoveMenu(lpszText, separatorKind))
                return TRUE;
        return FALSE;
    }
    auto isSeparator = [this](int i) {
        return i >= 0 && i < m_arrItems.GetSize() && (m_arrItems[i]->m_nFlags & MF_SEPARATOR);
    };
    if (separatorKind == 3 && isSeparator(at + 1))
        RemoveAt(at + 1, true);
    if (!RemoveAt(at, true))
        return FALSE;
    if (separatorKind >= 1 && separatorKind <= 3 && isSeparator(at - 1))
        RemoveAt(at - 1, true);
    return TRUE;
}

int ZelMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const ZelMenuData* item = nullptr;
    if (nFlags & MF_BYPOSITION) {
        if (static_cast<INT_PTR>(nIDItem) < m_arrItems.GetSize())
            item = m_arrItems[static_cast<INT_PTR>(nIDItem)];
    } else {
        item = const_cast<ZelMenu*>(this)->FindMenuItem(nIDItem);
    }
    if (!item) {
        rString.Empty();
        return 0;
    }
    rString = item->GetAnsiText().c_str();
    return rString.GetLength();
}

// Items added through CMenu's own calls have no record: rebuild them all
// from what the menu holds now.
void ZelMenu::SynchronizeMenu()
{
    if (!m_hMenu)
        return;
    int count = static_cast<int>(GetMenuItemCount());
    if (count == m_arrItems.GetSize())
        return;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); ++i)
        delete m_arrItems[i];
    m_arrItems.RemoveAll();
    for (int pos = 0; pos < count; ++pos) {
        UINT state = GetMenuState(static_cast<UINT>(pos), MF_BYPOSITION);
        UINT flags = state & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK);
        UINT_PTR id = (flags & MF_POPUP) ? reinterpret_cast<UINT_PTR>(::GetSubMenu(m_hMenu, pos)) : GetMenuItemID(pos);
        CString text;
        CMenu::GetMenuString(static_cast<UINT>(pos), text, MF_BYPOSITION);
        ZelMenuData* item = NewItem(NormalFlags(flags), id, nullptr);
        item->SetAnsiText(text);
        if (!(flags & MF_POPUP))
            GivePicture(item, Picture(-1));
        CMenu::ModifyMenu(static_cast<UINT>(pos), item->m_nFlags | MF_BYPOSITION, id, reinterpret_cast<LPCSTR>(item));
        m_arrItems.Add(item);
        if ((flags & MF_POPUP) && !IsMenu(reinterpret_cast<HMENU>(id)))
            s_arrPopupHandles.Add(reinterpret_cast<HMENU>(id));
    }
}
