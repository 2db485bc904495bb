#pragma once
// Menus: menu bars and popup menus with string, separator, owner-drawn and
// sub-menu items, loaded from a resource module's templates or built in
// code, and tracked as popups. GUI thread.

#include "platform/ui/winuser.h"

#define MF_INSERT          0x00000000L
#define MF_CHANGE          0x00000080L
#define MF_APPEND          0x00000100L
#define MF_DELETE          0x00000200L
#define MF_REMOVE          0x00001000L
#define MF_BYCOMMAND       0x00000000L
#define MF_BYPOSITION      0x00000400L
#define MF_SEPARATOR       0x00000800L
#define MF_ENABLED         0x00000000L
#define MF_GRAYED          0x00000001L
#define MF_DISABLED        0x00000002L
#define MF_UNCHECKED       0x00000000L
#define MF_CHECKED         0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING          0x00000000L
#define MF_BITMAP          0x00000004L
#define MF_OWNERDRAW       0x00000100L
#define MF_POPUP           0x00000010L
#define MF_MENUBARBREAK    0x00000020L
#define MF_MENUBREAK       0x00000040L
#define MF_UNHILITE        0x00000000L
#define MF_HILITE          0x00000080L
#define MF_DEFAULT         0x00001000L
#define MF_RIGHTJUSTIFY    0x00004000L
#define MF_END             0x00000080L
#define MFS_GRAYED         0x00000003L
#define MFS_DISABLED       MFS_GRAYED
#define MFS_CHECKED        MF_CHECKED
#define MFS_DEFAULT        MF_DEFAULT

#define TPM_LEFTBUTTON   0x0000L
#define TPM_RIGHTBUTTON  0x0002L
#define TPM_LEFTALIGN    0x0000L
#define TPM_CENTERALIGN  0x0004L
#define TPM_RIGHTALIGN   0x0008L
#define TPM_TOPALIGN     0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN  0x0020L
#define TPM_NONOTIFY     0x0080L
#define TPM_RETURNCMD    0x0100L

// WM_MENUCHAR answers (the high word of the result).
#define MNC_IGNORE  0
#define MNC_CLOSE   1
#define MNC_EXECUTE 2
#define MNC_SELECT  3

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// From the RT_MENU template of the module (null: the resource chain).
HMENU LoadMenu(HINSTANCE module, LPCSTR name);
#define LoadMenuA LoadMenu
// For MF_POPUP items `id` is the sub-menu's handle, which the item then owns.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item);
#define AppendMenuA AppendMenu
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item);
#define InsertMenuA InsertMenu
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item);
#define ModifyMenuA ModifyMenu
// RemoveMenu keeps a removed item's sub-menu alive; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// The previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED; MF_CHECKED or
// MF_UNCHECKED), or -1 when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
int GetMenuItemCount(HMENU menu);
// -1 for a sub-menu or a position out of range; 0 for a separator.
UINT GetMenuItemID(HMENU menu, int position);
// The item's MF_ flags; for a sub-menu the item count in the high byte;
// -1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
int GetMenuString(HMENU menu, UINT item, LPSTR text, int max, UINT flags);
#define GetMenuStringA GetMenuString
HMENU GetSubMenu(HMENU menu, int position);
// Shows the menu at (x, y) until a command is chosen or it is dismissed.
// With TPM_RETURNCMD the command is returned (0: none); otherwise it is
// posted to `owner` as WM_COMMAND unless TPM_NONOTIFY. Owner-drawn items
// are measured and drawn by `owner` (WM_MEASUREITEM, WM_DRAWITEM) or, when
// it leaves them, by the CMenu object of their menu.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, LPCRECT rect);
