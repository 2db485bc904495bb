// Menus: templates from a resource module, item states, popup tracking with
// a returned command, owner-drawn items drawn by their owner, mnemonics and
// WM_MENUCHAR.
#include "popup_input.h"
#include "ui_test_env.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/Menu_p.h"
#include "platform/ui/ShellTestHooks.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTimer>

#include <cctype>
#include <string>

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
    EXPECT_GE(first->rcItem.right - first->rcItem.left, 120);
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

// ---- a person's choices in a tracked popup ----

// What an owner-drawn row of the test's menus stands for: its mnemonic
// (answered to WM_MENUCHAR), the width it asks for and the label it draws.
struct Row {
    char key;
    UINT width;
    const char* label;
};
const Row kRecord{'r', 60, "Record"};
const Row kGreyed{'x', 160, "Greyed"};
const Row kMore{'m', 90, "More"};
const Row kWide{'w', 80, "Wide"};
const Row kZoom{'z', 80, "Zoom"};
const Row kLine{0, 10, nullptr};  // a separator

constexpr COLORREF kRowInk = RGB(200, 0, 0);
constexpr COLORREF kChosenInk = RGB(0, 0, 200);
constexpr COLORREF kLineInk = RGB(0, 160, 0);
constexpr COLORREF kSubMenuInk = RGB(230, 230, 0);

// An owner that measures, draws and answers for its rows, and hears the
// commands posted to it.
class RowOwner : public CWnd {
public:
    std::vector<UINT> commands;
    std::vector<DRAWITEMSTRUCT> drawn;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
            const auto* row = reinterpret_cast<const Row*>(mis->itemData);
            mis->itemWidth = row->width;
            mis->itemHeight = row->label ? 22 : 8;
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
            drawn.push_back(*dis);
            const auto* row = reinterpret_cast<const Row*>(dis->itemData);
            COLORREF ink = kRowInk;
            if (!row->label)
                ink = kLineInk;
            else if (dis->itemState & ODS_SELECTED)
                ink = kChosenInk;
            else if (row == &kMore)
                ink = kSubMenuInk;
            HBRUSH b = CreateSolidBrush(ink);
            FillRect(dis->hDC, &dis->rcItem, b);
            DeleteObject(b);
            if (row->label) {
                RECT text = dis->rcItem;
                text.left += 4;
                SetBkMode(dis->hDC, TRANSPARENT);
                SetTextColor(dis->hDC, RGB(0, 0, 0));
                DrawText(dis->hDC, row->label, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
            return TRUE;
        }
        case WM_MENUCHAR: {
            auto menu = reinterpret_cast<HMENU>(lParam);
            auto key = static_cast<char>(std::tolower(LOWORD(wParam)));
            const vxw::MenuObj* m = vxw::Menu(menu);
            for (size_t i = 0; m && i < m->items.size(); ++i) {
                const auto* row = reinterpret_cast<const Row*>(m->items[i].itemData);
                if ((m->items[i].flags & MF_OWNERDRAW) && row && row->key == key)
                    return MAKELRESULT(i, MNC_EXECUTE);
            }
            return 0;
        }
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }
};

LPCSTR Data(const Row& row)
{
    return reinterpret_cast<LPCSTR>(&row);
}

// Plain, owner-drawn, checked and disabled items, an owner-drawn separator,
// and sub-menus of either kind holding either kind of item.
HMENU ChoicesMenu()
{
    HMENU more = CreatePopupMenu();
    AppendMenu(more, MF_STRING, 201, "&Deep");
    AppendMenu(more, MF_OWNERDRAW, 202, Data(kWide));
    AppendMenu(more, MF_STRING | MF_GRAYED, 203, "&Null");
    HMENU plain = CreatePopupMenu();
    AppendMenu(plain, MF_STRING, 301, "&Inner");
    AppendMenu(plain, MF_OWNERDRAW, 302, Data(kZoom));
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, 101, "&Open");                                  // 0
    AppendMenu(menu, MF_OWNERDRAW, 102, Data(kRecord));                         // 1
    AppendMenu(menu, MF_SEPARATOR | MF_OWNERDRAW, 0, Data(kLine));              // 2
    AppendMenu(menu, MF_STRING | MF_CHECKED, 103, "&Check");                    // 3
    AppendMenu(menu, MF_STRING | MF_GRAYED, 104, "&Gone");                      // 4
    AppendMenu(menu, MF_OWNERDRAW | MF_GRAYED, 105, Data(kGreyed));             // 5
    AppendMenu(menu, MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(more), Data(kMore));  // 6
    AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(plain), "&Plain");    // 7
    return menu;
}

TEST_F(MenuTest, ClicksAndKeysChooseEachItemOfTheMenuAndItsSubMenus)
{
    RowOwner target;
    ASSERT_TRUE(target.CreateEx(0, "VxMenuOwner", "rows", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    // The way to each item: its position in the menu, then in the sub-menu,
    // and its key at each level.
    struct Step {
        int index;
        char key;
    };
    struct Case {
        const char* item;
        std::vector<Step> way;
        UINT command;  // 0: a disabled item, which leaves the menu open
    };
    const Case cases[] = {
        {"plain", {{0, 'o'}}, 101},
        {"owner-drawn", {{1, 'r'}}, 102},
        {"checked", {{3, 'c'}}, 103},
        {"disabled", {{4, 'g'}}, 0},
        {"disabled owner-drawn", {{5, 'x'}}, 0},
        {"plain, in an owner-drawn sub-menu", {{6, 'm'}, {0, 'd'}}, 201},
        {"owner-drawn, in an owner-drawn sub-menu", {{6, 'm'}, {1, 'w'}}, 202},
        {"disabled, in an owner-drawn sub-menu", {{6, 'm'}, {2, 'n'}}, 0},
        {"plain, in a plain sub-menu", {{7, 'p'}, {0, 'i'}}, 301},
        {"owner-drawn, in a plain sub-menu", {{7, 'p'}, {1, 'z'}}, 302},
    };
    HMENU menu = ChoicesMenu();
    for (const Case& c : cases) {
        for (bool byKey : {false, true}) {
            for (bool returnCmd : {true, false}) {
                SCOPED_TRACE(std::string(c.item) + (byKey ? ", by key" : ", by click")
                             + (returnCmd ? ", returned" : ", posted"));
                std::vector<PopupStep> steps;
                for (const Step& s : c.way)
                    steps.push_back(byKey ? Key(s.key) : Click(s.index));
                if (!c.command)  // what a person does when nothing happens
                    steps.insert(steps.end(), c.way.size(), Escape());
                target.commands.clear();
                bool failed = false;
                UINT flags = TPM_LEFTALIGN | (returnCmd ? TPM_RETURNCMD : 0);
                auto result = DrivePopups(
                    steps, [&] { return TrackPopupMenu(menu, flags, 20, 20, 0, target.GetSafeHwnd(), nullptr); },
                    &failed);
                EXPECT_FALSE(failed) << "the popup did not take every step, or stayed open after the last";
                if (returnCmd)
                    EXPECT_EQ(static_cast<UINT>(result), c.command);
                else
                    EXPECT_TRUE(result);
                // Posted only without TPM_RETURNCMD.
                std::vector<UINT> posted;
                if (!returnCmd && c.command)
                    posted.push_back(c.command);
                if (posted.empty())
                    PumpFor(20);
                else
                    EXPECT_TRUE(WaitFor([&] { return !target.commands.empty(); }));
                EXPECT_EQ(target.commands, posted);
                EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            }
        }
    }
    DestroyMenu(menu);
    target.DestroyWindow();
}

// The popup as a person sees it, with the pointer over a short owner-drawn
// row: saved under the build folder to be looked at.
TEST_F(MenuTest, OwnerDrawnRowsSpanTheMenuAndTheOwnerDrawsSeparatorsAndSubMenuEntries)
{
    RowOwner target;
    ASSERT_TRUE(target.CreateEx(0, "VxMenuOwner", "rows", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    HMENU menu = ChoicesMenu();
    QImage shot;
    std::vector<QRect> rows;
    auto look = [&](QMenu* m) {
        for (QAction* a : m->actions())
            rows.push_back(m->actionGeometry(a));
        QTest::mouseMove(m->windowHandle(), rows[1].center() - QPoint(0, 4));
        QTest::mouseMove(m->windowHandle(), rows[1].center());
        target.drawn.clear();
        QTest::qWait(50);
        shot = m->grab().toImage().convertToFormat(QImage::Format_RGB32);
        m->close();
    };
    DrivePopups({{look}}, [&] { return TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, target.GetSafeHwnd(), nullptr); });
    ASSERT_FALSE(shot.isNull());
    ASSERT_EQ(rows.size(), 8u);
    QString dir = QString::fromUtf8(VX_BIN_DIR) + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(shot.save(dir + "/vxui_popup_menu.png"));

    auto ink = [&](QPoint p) {
        QRgb c = shot.pixel(p);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    };
    // Every row spans the widest, the highlight of the short one too.
    QRect record = rows[1];
    EXPECT_GE(record.width(), static_cast<int>(kGreyed.width));
    EXPECT_EQ(ink(QPoint(record.left() + 1, record.center().y())), kChosenInk);
    EXPECT_EQ(ink(QPoint(record.right() - 1, record.center().y())), kChosenInk);
    for (const DRAWITEMSTRUCT& d : target.drawn)
        EXPECT_EQ(d.rcItem.right - d.rcItem.left, record.width()) << "item " << d.itemID;
    // The separator is the owner's.
    EXPECT_EQ(ink(rows[2].center()), kLineInk);
    // The sub-menu's entry shows the owner's row and its label.
    QRect more = rows[6];
    EXPECT_EQ(ink(QPoint(more.left() + 1, more.top() + 1)), kSubMenuInk);
    int dark = 0;
    for (int y = more.top(); y <= more.bottom(); ++y)
        for (int x = more.left(); x < more.left() + 60; ++x)
            dark += qGray(shot.pixel(x, y)) < 80;
    EXPECT_GT(dark, 20) << "no label on the sub-menu's entry";
    DestroyMenu(menu);
    target.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()
