#pragma once
// An owner-drawn popup menu: the items of a menu template become owner-drawn
// items with a wide text and a picture, measured and drawn in a classic
// style (3D edges) or an "XP" style (pale icon column, tinted selection);
// pictures come from icons, bitmaps, image lists or toolbar resources.
// Companions: ZelMenuData (one item), ZelMenuToolBar (reads a toolbar
// resource) and ZelMenuMemDC (an off-screen DC copied to its target when it
// dies).
//
// GUI thread only; takes no locks. The shared image list and the lists of
// image ids and popup handles are shared by every menu of the process.

#include "platform/platform.h"

#include <string>
#include <vector>

// Toolbar resources: WORDs version, button width, button height, button
// count, then one command id per button (0: a separator). The toolbar's
// picture strip is the RT_BITMAP of the same id.
#define RT_TOOLBAR MAKEINTRESOURCE(241)

class ZelMenuData {
public:
    ZelMenuData() = default;
    ~ZelMenuData();
    ZelMenuData(const ZelMenuData&) = delete;
    ZelMenuData& operator=(const ZelMenuData&) = delete;

    void SetWideText(LPCWSTR text);
    void SetAnsiText(LPCSTR text);
    // Never null: an item without text reads "".
    LPCWSTR GetWideText() const;
    std::string GetAnsiText() const;

    wchar_t* m_szText = nullptr;
    int m_nImageIndex = -1;
    int m_nGlobalImageIndex = -1;
    int m_nReserved1 = 0;
    int m_nImageSourceId = -1;
    UINT m_nFlags = 0;
    UINT_PTR m_nCommand = 0;  // the sub-menu handle for MF_POPUP items
    int m_nReserved2 = 0;
    CImageList* m_pImageList = nullptr;
    int m_nReserved3 = 0;
};

// Reads a toolbar resource: its button size, its command ids and its
// picture strip. No window.
class ZelMenuToolBar {
public:
    ZelMenuToolBar() = default;
    ~ZelMenuToolBar();
    ZelMenuToolBar(const ZelMenuToolBar&) = delete;
    ZelMenuToolBar& operator=(const ZelMenuToolBar&) = delete;

    // False for a missing or cut resource, or a missing picture strip.
    BOOL LoadToolBar(UINT nIDResource);
    // The picture of button i in the strip (separators take none), or -1.
    int ImageIndexOf(UINT nCommand) const;

    int m_nButtonWidth = 0;
    int m_nButtonHeight = 0;
    std::vector<UINT> m_arrIds;
    HBITMAP m_hBitmap = nullptr;  // owned
};

// A memory DC over a rectangle of a target DC; copied to the target when
// destroyed.
class ZelMenuMemDC : public CDC {
public:
    ZelMenuMemDC(CDC* pTarget, const RECT& rect);
    ~ZelMenuMemDC() override;
    ZelMenuMemDC(const ZelMenuMemDC&) = delete;
    ZelMenuMemDC& operator=(const ZelMenuMemDC&) = delete;

private:
    CDC* m_pTarget;
    CRect m_rect;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

class ZelMenu : public CMenu {
public:
    // An item's picture in one of its forms: an icon or bitmap resource id
    // (-1: the picture already registered for the command), a bitmap, or an
    // image list and index.
    struct Picture {
        Picture(int resourceId = -1) : id(resourceId) {}  // NOLINT: ids convert
        Picture(CBitmap* b) : bitmap(b) {}                // NOLINT
        Picture(CImageList* l, int i) : list(l), index(i) {}
        int id = -1;
        CBitmap* bitmap = nullptr;
        CImageList* list = nullptr;
        int index = -1;
    };

    ZelMenu();
    ~ZelMenu() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenu(LPCSTR lpszResourceName);
    virtual BOOL DestroyMenu();

    // ---- items (ZelMenu_Items.cpp) ----
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr, Picture picture = {});
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem, Picture picture = {});
    ZelMenu* AppendODPopupMenu(LPCSTR lpszText);
    ZelMenu* AppendODPopupMenu(LPCWSTR lpszText);
    // MF_BYPOSITION inserts here; otherwise before the command, in whichever
    // sub-menu holds it.
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr,
                    Picture picture = {});
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem, Picture picture = {});
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr,
                    Picture picture = {});
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem, Picture picture = {});
    // Gives the command a picture of the shared image list.
    BOOL SetMenuItemPicture(UINT nCommand, Picture picture);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // Removes the item or sub-menu of that text; separatorKind 1 or 2 also
    // takes the separator before it, 3 the separators on both sides.
    BOOL RemoveMenu(LPCWSTR lpszText, int separatorKind);
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    // Rebuilds the item records when the menu's items changed behind them.
    void SynchronizeMenu();

    // ---- finding ----
    // The menu (this or a sub-menu) and position holding the command.
    ZelMenu* FindMenuOption(UINT nCommand, int& nPosition);
    ZelMenuData* FindMenuItem(UINT nCommand);
    ZelMenuData* FindMenuItem(LPCWSTR lpszText);
    ZelMenu* GetSubZelMenu(LPCWSTR lpszText);
    // Whether an item record (the item data of an owner-drawn item) is one of
    // this menu or its sub-menus.
    BOOL HoldsItem(ULONG_PTR itemData) const;

    // ---- pictures (ZelMenu_ToolBar.cpp) ----
    void SetIconSize(int width, int height);
    void SetBitmapBackground(COLORREF colour);
    void UnSetBitmapBackground();
    BOOL LoadToolbar(UINT nToolBar);
    BOOL LoadToolbars(const UINT* pToolBars, int nCount);

    // ---- shared helpers ----
    static BOOL IsMenu(HMENU hMenu);
    // WM_MENUCHAR: MAKELRESULT(index, MNC_EXECUTE) for the first item whose
    // mnemonic is the key, else 0.
    static LRESULT FindKeyboardShortcut(UINT nChar, UINT nFlags, CMenu* pMenu);
    static BOOL IsXPThemeActive();
    static int GetShellType();
    static int GetMenuDrawMode();
    static COLORREF LightenColor(COLORREF colour, double factor);
    static COLORREF DarkenColor(COLORREF colour, double factor);

    static CImageList s_ImageList;
    static CArray<UINT, UINT> s_arrImageIds;
    static CArray<HMENU, HMENU> s_arrPopupHandles;
    static int s_nDrawModeThemed;
    static int s_nDrawModePlain;
    static BOOL s_bIconEffects;
    static BOOL s_bSelectDisabledClassic;
    static BOOL s_bSelectDisabledXP;
    static int s_nShellType;

    CArray<ZelMenuData*, ZelMenuData*> m_arrItems;
    CArray<ZelMenu*, ZelMenu*> m_arrSubMenus;
    int m_nIconWidth;
    int m_nIconHeight;
    COLORREF m_crIconBack;
    BOOL m_bUseIconBack;
    int m_nSubMenuKind;
    ZelMenu* m_pRootMenu;
    int m_nSubMenuDepth;
    int m_nLastCommand;
    int m_nLastPosition;
    BOOL m_bLoadedFromResource;

private:
    ZelMenuData* NewItem(UINT nFlags, UINT_PTR nID, LPCWSTR text);
    BOOL AddItem(int nAt, UINT nFlags, UINT_PTR nID, LPCWSTR text, const Picture& picture);
    BOOL ChangeItem(int nAt, UINT nFlags, UINT_PTR nID, LPCWSTR text, const Picture& picture);
    void GivePicture(ZelMenuData* item, const Picture& picture);
    ZelMenu* NewSubMenu();
    void ForgetSubMenu(HMENU hSub, bool destroy);
    BOOL RemoveAt(int nAt, bool destroySubMenu);
    int IndexOfText(LPCWSTR text) const;
    BOOL LoadTemplate(const vxw::MenuTemplate& menuTemplate);
    BOOL AddTemplateItems(const std::vector<vxw::MenuItemTemplate>& items, int depth);
    UINT MaskColour() const;
    void AddEffectCopies(CImageList* list, int index);

    void DrawItemClassic(LPDRAWITEMSTRUCT lpDIS);
    void DrawItemXP(LPDRAWITEMSTRUCT lpDIS);
    void DrawCheckMark(CDC* pDC, const CRect& box, bool radio, bool selected, COLORREF back);
    void DrawItemText(CDC* pDC, const ZelMenuData* item, CRect rc, COLORREF colour, int rightShorten);
    CImageList* ImageListOf(const ZelMenuData* item, int& index) const;
};
