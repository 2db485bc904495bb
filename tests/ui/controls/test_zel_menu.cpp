// The owner-drawn menu: loading templates, toolbar pictures, measuring,
// mnemonics, the item families, and what the two styles draw.
#include "controls_test_util.h"
#include "ui/controls/ZelMenu.h"

#include <string>

namespace {

struct DrawStyle {
    explicit DrawStyle(int style) : saved(ZelMenu::s_nDrawModePlain) { ZelMenu::s_nDrawModePlain = style; }
    ~DrawStyle() { ZelMenu::s_nDrawModePlain = saved; }
    int saved;
};

struct LoadedMenu : ::testing::Test {
    void SetUp() override
    {
        ControlResources();
        ASSERT_TRUE(menu.LoadMenu(IDM_DROP));
        popup = dynamic_cast<ZelMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(menu.GetSafeHmenu(), 0)));
        ASSERT_NE(popup, nullptr);
    }
    ZelMenu menu;
    ZelMenu* popup = nullptr;
};

TEST_F(LoadedMenu, TopLevelPlainPopupsOwnerDrawn)
{
    EXPECT_TRUE(menu.m_bLoadedFromResource);
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_POPUP);
    EXPECT_FALSE(menu.GetMenuState(1, MF_BYPOSITION) & MF_OWNERDRAW);
    CString text;
    menu.CMenu::GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, "&Actions");

    ASSERT_EQ(popup->GetMenuItemCount(), 5u);
    for (UINT i = 0; i < 5; ++i)
        EXPECT_TRUE(popup->GetMenuState(i, MF_BYPOSITION) & MF_OWNERDRAW) << i;
    EXPECT_TRUE(ZelMenu::IsMenu(popup->GetSafeHmenu()));
    EXPECT_FALSE(ZelMenu::IsMenu(menu.GetSafeHmenu()));
    EXPECT_STREQ(popup->m_arrItems[0]->GetWideText(), L"&Record\tCtrl+R");
    EXPECT_TRUE(popup->m_arrItems[2]->m_nFlags & MF_SEPARATOR);
    EXPECT_TRUE(popup->m_arrItems[3]->m_nFlags & MF_GRAYED);
    // The nested level is a menu of its own, found through the tree.
    ZelMenu* more = menu.GetSubZelMenu(L"&More");
    ASSERT_NE(more, nullptr);
    int pos = -1;
    EXPECT_EQ(menu.FindMenuOption(ID_SNAPSHOT, pos), more);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(menu.GetMenuString(ID_SNAPSHOT, text, MF_BYCOMMAND), 9);
    EXPECT_EQ(text, "&Snapshot");
    EXPECT_FALSE(menu.LoadMenu(9999));
}

TEST_F(LoadedMenu, ToolbarPicturesReachOnlyCommandsPresent)
{
    menu.SetBitmapBackground(RGB(255, 0, 255));
    ASSERT_TRUE(menu.LoadToolbar(IDT_TOOLBAR));
    ZelMenuData* record = menu.FindMenuItem(ID_RECORD);
    ZelMenuData* snapshot = menu.FindMenuItem(ID_SNAPSHOT);
    ZelMenuData* open = menu.FindMenuItem(ID_OPEN);
    ASSERT_TRUE(record && snapshot && open);
    EXPECT_EQ(record->m_nImageIndex, 0);
    EXPECT_EQ(snapshot->m_nImageIndex, 1) << "the separator takes no picture";
    EXPECT_EQ(record->m_nImageSourceId, static_cast<int>(IDT_TOOLBAR));
    ASSERT_NE(record->m_pImageList, nullptr);
    EXPECT_EQ(open->m_pImageList, nullptr);
    // The picture is the strip's first button, masked on its key.
    MemDc dc(16, 16, RGB(0, 0, 0));
    ImageList_Draw(record->m_pImageList->GetSafeHandle(), 0, dc.dc, 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(dc.At(5, 5), RGB(0xC0, 0x20, 0x20));
    EXPECT_EQ(dc.At(0, 0), RGB(0, 0, 0));

    EXPECT_FALSE(menu.LoadToolbar(IDT_CUT)) << "a toolbar shorter than its count";
    EXPECT_FALSE(menu.LoadToolbar(4242));
    ZelMenuToolBar bar;
    EXPECT_FALSE(bar.LoadToolBar(IDT_CUT));
    ASSERT_TRUE(bar.LoadToolBar(IDT_TOOLBAR));
    EXPECT_EQ(bar.m_nButtonWidth, 16);
    EXPECT_EQ(bar.m_arrIds, (std::vector<UINT>{ID_RECORD, 0, ID_SNAPSHOT, 9999}));
}

TEST_F(LoadedMenu, MeasuresSeparatorsAndItemsForEachStyle)
{
    const int cyMenu = GetSystemMetrics(SM_CYMENU);
    auto measure = [&](int index) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(popup->m_arrItems[index])};
        popup->MeasureItem(&mis);
        return mis;
    };
    {
        DrawStyle classic(0);
        MEASUREITEMSTRUCT sep = measure(2);
        EXPECT_EQ(sep.itemWidth, 0u);
        EXPECT_EQ(static_cast<int>(sep.itemHeight), std::max(cyMenu / 2, (4 + 15) / 2));
        if (cyMenu == 20) {
            EXPECT_EQ(sep.itemHeight, 10u);
        }
        MEASUREITEMSTRUCT item = measure(1);
        EXPECT_EQ(static_cast<int>(item.itemHeight), std::max(cyMenu, 4 + 15));
        EXPECT_GT(static_cast<int>(item.itemWidth), 2 * 16 + 1);
    }
    {
        DrawStyle xp(1);
        MEASUREITEMSTRUCT sep = measure(2);
        EXPECT_EQ(static_cast<int>(sep.itemHeight), std::max(cyMenu / 2, (7 + 15) / 2));
        MEASUREITEMSTRUCT item = measure(1);
        EXPECT_EQ(static_cast<int>(item.itemHeight), std::max(cyMenu, 7 + 15));
    }
    // Items of other menus are left alone.
    MEASUREITEMSTRUCT foreign{ODT_MENU, 0, 0, 0, 0, 12345};
    popup->MeasureItem(&foreign);
    EXPECT_EQ(foreign.itemHeight, 0u);
}

TEST_F(LoadedMenu, MnemonicsFindTheirItemInEitherCase)
{
    struct Case {
        UINT key;
        LRESULT result;
    };
    const Case cases[] = {
        {'O', MAKELRESULT(1, MNC_EXECUTE)}, {'o', MAKELRESULT(1, MNC_EXECUTE)},
        {'r', MAKELRESULT(0, MNC_EXECUTE)}, {'d', 0},  // "R&&D" marks no mnemonic
        {'m', MAKELRESULT(4, MNC_EXECUTE)}, {'x', 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZelMenu::FindKeyboardShortcut(c.key, MF_POPUP, popup), c.result) << static_cast<char>(c.key);
    EXPECT_EQ(ZelMenu::FindKeyboardShortcut('a', MF_POPUP, &menu), 0) << "the bar is not one of ours";
}

TEST(ZelMenu, ColoursLightenAndDarkenByAFactor)
{
    EXPECT_EQ(ZelMenu::LightenColor(RGB(0, 100, 255), 0.5), RGB(127, 177, 255));
    EXPECT_EQ(ZelMenu::LightenColor(RGB(0, 100, 255), 0.0), RGB(0, 100, 255));
    EXPECT_EQ(ZelMenu::LightenColor(RGB(0, 100, 255), 1.5), RGB(0, 100, 255));
    EXPECT_EQ(ZelMenu::DarkenColor(RGB(200, 100, 0), 0.25), RGB(150, 75, 0));
    EXPECT_EQ(ZelMenu::GetShellType(), 1);
    EXPECT_FALSE(ZelMenu::IsXPThemeActive());
}

TEST(ZelMenu, ItemFamiliesKeepRecordsAndMenuInStep)
{
    ControlResources();
    ZelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 1, "One"));
    EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR | MF_GRAYED | MF_MENUBARBREAK));
    EXPECT_EQ(menu.m_arrItems[1]->m_nFlags, static_cast<UINT>(MF_SEPARATOR | MF_OWNERDRAW | MF_MENUBARBREAK));
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 2, L"Zwei", IDI_CAMERA));
    ASSERT_NE(menu.m_arrItems[2]->m_pImageList, nullptr);
    ZelMenu* sub = menu.AppendODPopupMenu("Sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(ZelMenu::IsMenu(sub->GetSafeHmenu()));
    EXPECT_TRUE(sub->AppendMenu(MF_STRING, 10, "Ten"));
    // Inserted before a command of the sub-menu: into the sub-menu.
    EXPECT_TRUE(menu.InsertMenu(10, MF_BYCOMMAND | MF_STRING, 9, "Nine"));
    ASSERT_EQ(sub->m_arrItems.GetSize(), 2);
    EXPECT_STREQ(sub->m_arrItems[0]->GetWideText(), L"Nine");
    EXPECT_EQ(sub->GetMenuItemID(0), 9u);
    EXPECT_TRUE(menu.ModifyMenu(9, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 9, "Nine!"));
    CString text;
    menu.GetMenuString(9, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "Nine!");
    EXPECT_TRUE(sub->GetMenuState(0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(menu.InsertMenu(77, MF_BYCOMMAND, 78, "nowhere"));
    // A picture for a command, from the shared list.
    EXPECT_TRUE(menu.SetMenuItemPicture(1, ZelMenu::Picture(IDI_CAMERA)));
    EXPECT_GE(menu.m_arrItems[0]->m_nGlobalImageIndex, 0);
    // Removing "Zwei" takes the separator before it.
    EXPECT_TRUE(menu.RemoveMenu(L"Zwei", 1));
    ASSERT_EQ(menu.m_arrItems.GetSize(), 2);
    EXPECT_EQ(menu.GetMenuItemCount(), 2u);
    EXPECT_STREQ(menu.m_arrItems[1]->GetWideText(), L"Sub");
    // Deleting the popup frees its menu.
    HMENU subHandle = sub->GetSafeHmenu();
    EXPECT_TRUE(menu.DeleteMenu(1, MF_BYPOSITION));
    EXPECT_FALSE(ZelMenu::IsMenu(subHandle));
    EXPECT_FALSE(::IsMenu(subHandle));
    // Items added behind the records' back are picked up.
    menu.CMenu::AppendMenu(MF_STRING, 5, "Five");
    menu.SynchronizeMenu();
    ASSERT_EQ(menu.m_arrItems.GetSize(), 2);
    EXPECT_STREQ(menu.m_arrItems[1]->GetWideText(), L"Five");
    EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_OWNERDRAW);
}

// Draws one item of the popup into a memory DC.
struct DrawnItem {
    DrawnItem(ZelMenu& m, int index, UINT state) : dc(140, 22, RGB(255, 0, 255))
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = m.GetMenuItemID(index);
        dis.itemState = state;
        dis.hDC = dc.dc;
        dis.rcItem = RECT{0, 0, 140, 22};
        dis.itemData = reinterpret_cast<ULONG_PTR>(m.m_arrItems[index]);
        m.DrawItem(&dis);
    }
    MemDc dc;
};

TEST_F(LoadedMenu, SelectedItemsInEachStyle)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    {
        DrawStyle xp(1);
        DrawnItem selected(*popup, 1, ODS_SELECTED);
        EXPECT_EQ(selected.dc.At(0, 0), highlight) << "framed";
        EXPECT_EQ(selected.dc.At(139, 21), highlight);
        EXPECT_EQ(selected.dc.At(130, 11), ZelMenu::LightenColor(highlight, 0.85));
        DrawnItem plain(*popup, 1, 0);
        EXPECT_EQ(plain.dc.At(130, 11), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(plain.dc.At(2, 11), ZelMenu::LightenColor(GetSysColor(COLOR_BTNFACE), 0.25)) << "icon column";
    }
    {
        DrawStyle classic(0);
        DrawnItem selected(*popup, 1, ODS_SELECTED);
        EXPECT_EQ(selected.dc.At(16 + 5, 1), highlight);
        EXPECT_EQ(selected.dc.At(16 + 4, 1), GetSysColor(COLOR_MENU));
        EXPECT_EQ(selected.dc.At(139, 21), highlight);
        DrawnItem separator(*popup, 2, 0);
        EXPECT_EQ(separator.dc.At(70, 2), GetSysColor(COLOR_MENU));
        EXPECT_NE(separator.dc.At(70, 11), GetSysColor(COLOR_MENU)) << "the etched line";
    }
}

}  // namespace

VX_UI_TEST_MAIN()
