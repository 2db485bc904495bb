// Menus: templates from a resource module, item states, popup tracking with
// a returned command, owner-drawn items drawn by their owner, mnemonics and
// WM_MENUCHAR.
#include "ui_test_env.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/Menu_p.h"
#include "platform/ui/ShellTestHooks.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

namespace {

HINSTANCE Module()
{
    static HINSTANCE h = vxw::RegisterResourceModule("vx_test_menus", [](vxw::ResourceModule& m) {
        vxw::MenuTemplate t;
        vxw::MenuItemTemplate popup;
        popup.text = "Camera";
        popup.flags = MF_POPUP;
        popup.popup = {{"&Edit", 32771, 0, {}},
                       {"&Delete", 32772, 0, {}},
                       {"", 0, MF_SEPARATOR, {}},
                       {"&Start", 32773, 0, {}},
                       {"S&top", 32776, 0, {}}};
        t.items.push_back(popup);
        m.AddMenu(5175, t);
    });
    return h;
}

class OwnerWnd : public CWnd {
public:
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<UINT> measured;
    int inits = 0;
    LRESULT menuChar = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
            measured.push_back(mis->itemID);
            mis->itemWidth = 120;
            mis->itemHeight = 22;
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
            drawn.push_back(*dis);
            HBRUSH b = CreateSolidBrush(RGB(200, 0, 0));
            FillRect(dis->hDC, &dis->rcItem, b);
            DeleteObject(b);
            return TRUE;
        }
        case WM_INITMENUPOPUP:
            ++inits;
            return 0;
        case WM_MENUCHAR:
            return menuChar;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }
};

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, "VxMenuOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    }
    void TearDown() override
    {
        vxw::test::SetPopupMenuHook(nullptr);
        owner.DestroyWindow();
    }
    OwnerWnd owner;
};

TEST_F(MenuTest, TemplatePopupWithGreyedAndRemovedItemsTracksACommand)
{
    CMenu menu;
    ASSERT_TRUE(menu.Attach(LoadMenu(Module(), MAKEINTRESOURCE(5175))));
    CMenu fromChain;
    EXPECT_TRUE(fromChain.LoadMenu(5175));
    EXPECT_FALSE(CMenu().LoadMenu(5999));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 5u);
    EXPECT_EQ(popup->GetMenuItemID(2), 0u);  // the separator
    // A running camera: edit and delete greyed, start removed.
    EXPECT_EQ(popup->EnableMenuItem(32771, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(MF_ENABLED));
    popup->EnableMenuItem(32772, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_TRUE(popup->RemoveMenu(32773, MF_BYCOMMAND));
    EXPECT_FALSE(popup->RemoveMenu(32773, MF_BYCOMMAND));
    EXPECT_EQ(popup->GetMenuItemCount(), 4u);
    EXPECT_EQ(popup->GetMenuState(32771, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION) >> 8, 4u);  // a sub-menu's count in the high byte
    EXPECT_EQ(popup->GetMenuState(32773, MF_BYCOMMAND), static_cast<UINT>(-1));
    CString text;
    popup->GetMenuString(32776, text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "S&top");

    std::vector<UINT> offered;
    UINT answer = 32776;
    vxw::test::SetPopupMenuHook([&](const vxw::test::PopupMenuCall& c) {
        for (int i = 0; i < GetMenuItemCount(c.menu); ++i)
            offered.push_back(GetMenuItemID(c.menu, i));
        return answer;
    });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, 10, 10, &owner), 32776);
    EXPECT_EQ(offered, (std::vector<UINT>{32771, 32772, 0, 32776}));
    EXPECT_GE(owner.inits, 1);
    // A greyed or removed command cannot be chosen.
    answer = 32771;
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), 0);
    answer = 32773;
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), 0);
}

TEST_F(MenuTest, WithoutReturnCmdTheCommandIsPostedToTheOwner)
{
    class CommandWnd : public OwnerWnd {
    public:
        UINT command = 0;

    protected:
        BOOL OnCommand(WPARAM wParam, LPARAM) override
        {
            command = LOWORD(wParam);
            return TRUE;
        }
    } target;
    ASSERT_TRUE(target.CreateEx(0, "VxMenuOwner", "cmd", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 40001, "&Restore");
    vxw::test::SetPopupMenuHook([](const vxw::test::PopupMenuCall&) { return 40001u; });
    EXPECT_TRUE(TrackPopupMenu(popup, TPM_LEFTALIGN, 0, 0, 0, target.GetSafeHwnd(), nullptr));
    EXPECT_TRUE(WaitFor([&] { return target.command == 40001; }));
    DestroyMenu(popup);
    target.DestroyWindow();
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirStates)
{
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_OWNERDRAW, 501, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(0xABC)));
    AppendMenu(popup, MF_OWNERDRAW | MF_GRAYED | MF_CHECKED, 502, nullptr);
    UINT result = 99;
    QImage shot;
    // The popup's own loop runs; look at it, then dismiss it.
    QTimer::singleShot(200, [&] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            return;
        shot = w->grab().toImage();
        w->close();
    });
    result = static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD, 20, 20, 0, owner.GetSafeHwnd(), nullptr));
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(owner.measured, (std::vector<UINT>{501, 502}));
    ASSERT_GE(owner.drawn.size(), 2u);
    const DRAWITEMSTRUCT* first = nullptr;
    const DRAWITEMSTRUCT* second = nullptr;
    for (const DRAWITEMSTRUCT& d : owner.drawn) {
        if (d.itemID == 501)
            first = &d;
        if (d.itemID == 502)
            second = &d;
    }
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->CtlType, static_cast<UINT>(ODT_MENU));
    EXPECT_EQ(first->itemData, 0xABCu);
    EXPECT_EQ(first->hwndItem, reinterpret_cast<HWND>(popup));
    EXPECT_EQ(first->rcItem.right - first->rcItem.left, 120);
    EXPECT_EQ(first->rcItem.bottom - first->rcItem.top, 22);
    EXPECT_EQ(first->itemState & (ODS_GRAYED | ODS_CHECKED), 0u);
    EXPECT_EQ(second->itemState & (ODS_GRAYED | ODS_DISABLED | ODS_CHECKED),
              static_cast<UINT>(ODS_GRAYED | ODS_DISABLED | ODS_CHECKED));
    // What the owner drew is what the menu shows.
    ASSERT_FALSE(shot.isNull());
    bool red = false;
    for (int y = 0; y < shot.height() && !red; ++y)
        for (int x = 0; x < shot.width() && !red; ++x)
            red = shot.pixel(x, y) == qRgb(200, 0, 0);
    EXPECT_TRUE(red);
    DestroyMenu(popup);
}

TEST_F(MenuTest, MnemonicsAndMenuCharFindTheItem)
{
    HMENU popup = CreatePopupMenu();
    AppendMenu(popup, MF_STRING, 1, "&Open");
    AppendMenu(popup, MF_STRING, 2, "Save &As");
    AppendMenu(popup, MF_STRING, 3, "Fish && &Chips");
    AppendMenu(popup, MF_OWNERDRAW, 4, nullptr);
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'O'), 0);
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'o'), 0);
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'a'), 1);
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'c'), 2);
    // No mnemonic: the owner answers for its owner-drawn items.
    owner.menuChar = MAKELRESULT(3, MNC_EXECUTE);
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'z'), 3);
    owner.menuChar = 0;
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'z'), -1);
    owner.menuChar = MAKELRESULT(9, MNC_EXECUTE);  // out of range
    EXPECT_EQ(vxw::MenuCharIndex(popup, owner.GetSafeHwnd(), 'z'), -1);
    DestroyMenu(popup);
}

TEST_F(MenuTest, DeleteDestroysSubMenusRemoveKeepsThem)
{
    HMENU bar = CreateMenu();
    HMENU a = CreatePopupMenu();
    HMENU b = CreatePopupMenu();
    AppendMenu(a, MF_STRING, 10, "x");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(a), "A");
    AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(b), "B");
    // By command, items inside sub-menus are found too.
    EXPECT_EQ(CheckMenuItem(bar, 10, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(a, 10, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_TRUE(RemoveMenu(bar, 1, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(b));
    EXPECT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(a));
    EXPECT_EQ(GetMenuItemCount(bar), 0);
    DestroyMenu(bar);
    DestroyMenu(b);
    EXPECT_EQ(GetMenuItemCount(b), -1);
}

}  // namespace

VX_UI_TEST_MAIN()
