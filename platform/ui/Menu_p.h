#pragma once
// What menu handles stand for: a list of items, each a string, separator,
// owner-drawn item or sub-menu, kept by the layer; a QMenu is built from it
// only while a popup is tracked.

#include "platform/ui/menu.h"

#include <string>
#include <vector>

namespace vxw {

struct MenuItem {
    UINT flags = 0;   // MF_ values
    UINT_PTR id = 0;  // command id; the sub-menu for MF_POPUP
    std::string text;
    ULONG_PTR itemData = 0;  // owner-drawn items: the caller's value
};

struct MenuObj {
    bool popup = false;
    std::vector<MenuItem> items;
};

MenuObj* Menu(HMENU h);
// Finds an item by position or (searching sub-menus) by command; sets the
// menu that holds it.
MenuItem* FindItem(HMENU menu, UINT item, UINT flags, HMENU* holder = nullptr, int* index = nullptr);
// WM_MENUCHAR for a key typed in a popup: asks the owner, and for items
// with a mnemonic answers by itself. The position of the item to run, or -1.
int MenuCharIndex(HMENU menu, HWND owner, char key);

}  // namespace vxw
