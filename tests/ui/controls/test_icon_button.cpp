// The icon button: result codes, check-box mode by type, what it draws in
// each state, its drop-down menu, links and transparent face.
#include "controls_test_util.h"
#include "platform/ui/ShellTestHooks.h"
#include "ui/controls/CIconButton.h"

#include <QTest>

#include <string>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(0xD0, 0x30, 0x20);  // the camera icon's body
constexpr COLORREF kFace = RGB(200, 200, 230);
constexpr COLORREF kHoverFace = RGB(225, 225, 255);  // +30 held at 255

COLORREF GreyOf(COLORREF c)
{
    int level = static_cast<int>(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c)) & 0xFF;
    return RGB(level, level, level);
}

// A button made from a window of the given type and subclassed, as dialog
// templates give them.
struct Subclassed {
    explicit Subclassed(DWORD type, const char* text = "")
    {
        ControlResources();
        HWND h = CreateWindowEx(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | type, 10, 10, 40, 40, host.GetSafeHwnd(),
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(40)), nullptr, nullptr);
        EXPECT_NE(h, nullptr);
        EXPECT_TRUE(button.SubclassWindow(h));
    }
    HostWnd host{200, 120};
    CIconButton button;
};

TEST(CIconButton, ResultCodes)
{
    CIconButton b;
    EXPECT_STREQ(CIconButton::GetVersionC(), "3.5");
    EXPECT_EQ(CIconButton::GetVersionI(), 35);
    EXPECT_EQ(b.SetAlign(3, TRUE), 4u);
    EXPECT_EQ(b.m_nImageAlign, 0);
    EXPECT_EQ(b.SetAlign(2, FALSE), 0u);
    EXPECT_EQ(b.m_nImageAlign, 2);
    EXPECT_EQ(b.SetColor(6, RGB(1, 2, 3), FALSE), 3u);
    COLORREF c = 0;
    EXPECT_EQ(b.GetColor(6, &c), 3u);
    EXPECT_EQ(b.GetColor(5, &c), 0u);
    EXPECT_EQ(c, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(b.SetBtnCursor(999, FALSE), 1u);
    EXPECT_EQ(b.SetBtnCursor(0, FALSE), 0u);

    struct Case {
        COLORREF from;
        int index;
        short offset;
        DWORD result;
        COLORREF to;
    };
    const Case cases[] = {
        {RGB(240, 240, 240), 0, 30, 0, RGB(255, 255, 255)}, {RGB(212, 208, 200), 0, 30, 0, RGB(242, 238, 230)},
        {RGB(20, 40, 60), 2, -30, 0, RGB(0, 20, 40)},       {RGB(20, 40, 60), 2, 256, 5, RGB(20, 40, 60)},
        {RGB(20, 40, 60), 2, -256, 5, RGB(20, 40, 60)},     {RGB(20, 40, 60), 6, 10, 3, RGB(20, 40, 60)},
    };
    for (const Case& k : cases) {
        CIconButton x;
        x.SetColor(static_cast<BYTE>(k.index % 6), k.from, FALSE);
        EXPECT_EQ(x.OffsetColor(static_cast<BYTE>(k.index), k.offset, FALSE), k.result) << k.offset;
        COLORREF now = 0;
        x.GetColor(static_cast<BYTE>(k.index % 6), &now);
        EXPECT_EQ(now, k.to) << k.offset;
    }
}

TEST(CIconButton, CheckBoxModeOnlyForTheCheckBoxTypes)
{
    struct Case {
        DWORD type;
        BOOL checkBox;
        BOOL isDefault;
        int storedType;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, FALSE, FALSE, BS_PUSHBUTTON},
        {BS_DEFPUSHBUTTON, FALSE, TRUE, BS_PUSHBUTTON},
        {BS_CHECKBOX, TRUE, FALSE, BS_CHECKBOX},
        {BS_AUTOCHECKBOX, TRUE, FALSE, BS_AUTOCHECKBOX},
        {BS_3STATE, TRUE, FALSE, BS_3STATE},
        {BS_AUTO3STATE, TRUE, FALSE, BS_AUTO3STATE},
        {BS_GROUPBOX, FALSE, FALSE, BS_GROUPBOX},
        {BS_OWNERDRAW, FALSE, FALSE, BS_OWNERDRAW},
        {BS_AUTORADIOBUTTON, FALSE, FALSE, BS_AUTORADIOBUTTON},
    };
    for (const Case& c : cases) {
        Subclassed s(c.type);
        EXPECT_EQ(s.button.m_bCheckBoxMode, c.checkBox) << c.type;
        EXPECT_EQ(s.button.GetDefault(), c.isDefault) << c.type;
        EXPECT_EQ(s.button.m_nStyleType, c.storedType) << c.type;
        EXPECT_EQ(s.button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW)) << c.type;
        UINT code = static_cast<UINT>(s.button.SendMessage(WM_GETDLGCODE));
        EXPECT_EQ(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
                  static_cast<UINT>(c.isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON))
            << c.type;
        // Check state only in check-box mode.
        s.button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
        EXPECT_EQ(s.button.SendMessage(BM_GETCHECK), c.checkBox ? 1 : 0) << c.type;
    }
}

class CountingButton : public CIconButton {
public:
    int draws = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        ++draws;
        CIconButton::DrawItem(dis);
    }
};

TEST(CIconButton, SetStyleKeepsItOwnerDrawnAndSetsTheDefault)
{
    Subclassed s(BS_PUSHBUTTON);
    s.button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(s.button.GetDefault());
    EXPECT_EQ(s.button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    s.button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(s.button.GetDefault());
    EXPECT_EQ(s.button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST(CIconButton, ACheckBoxMadeOwnerDrawnDrawsItself)
{
    HostWnd host(200, 120);
    HWND h = CreateWindowEx(0, "BUTTON", "Loop", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 60, 20,
                            host.GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<intptr_t>(41)), nullptr, nullptr);
    CountingButton button;
    ASSERT_TRUE(button.SubclassWindow(h));
    button.SetColor(CIconButton::BTNST_COLOR_BK_IN, RGB(20, 160, 60), FALSE);
    button.SetCheck(1, TRUE);
    QImage shot = Grab(host);
    EXPECT_GT(button.draws, 0);
    EXPECT_EQ(PixelAt(shot, 12, 12), RGB(20, 160, 60)) << "checked shows the pressed face";
    // A click toggles it and still reaches the parent.
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.GetCheck(), 0);
}

// Draws the button in one state into a memory DC.
struct Drawn {
    Drawn(CIconButton& b, UINT state, int w = 40, int h = 40) : dc(w, h, RGB(255, 0, 255))
    {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.itemState = state;
        dis.hDC = dc.dc;
        dis.rcItem = RECT{0, 0, w, h};
        dis.hwndItem = b.GetSafeHwnd();
        b.DrawItem(&dis);
    }
    COLORREF At(int x, int y) const { return dc.At(x, y); }
    MemDc dc;
};

struct IconFixture : ::testing::Test {
    void SetUp() override
    {
        ControlResources();
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 50), &host, 42));
        button.SetColor(CIconButton::BTNST_COLOR_BK_OUT, kFace, FALSE);
        button.SetColor(CIconButton::BTNST_COLOR_BK_IN, kFace, FALSE);
        button.OffsetColor(CIconButton::BTNST_COLOR_BK_IN, 30, FALSE);  // as the SD-card pages do
        button.SetAlign(CIconButton::ST_ALIGN_VERT, FALSE);
    }
    HostWnd host{200, 120};
    CIconButton button;
};

TEST_F(IconFixture, GreyCopyForNormalColouredWhenHoveredPressedOrChecked)
{
    ASSERT_EQ(button.SetIcon(IDI_CAMERA, CIconButton::kGreyCopy), 0u);
    ASSERT_NE(button.m_Icons[1].hIcon, nullptr);
    EXPECT_EQ(button.m_Icons[0].dwWidth, 16u);
    EXPECT_EQ(button.m_Icons[0].dwHeight, 16u);
    // Centred without a caption: the icon's (x, y) lies at (12 + x, 12 + y).
    const int bodyX = 12 + 5, bodyY = 12 + 6;
    const int edgeX = 12 + 2;  // the body's left column
    struct Case {
        const char* what;
        BOOL hover, checkBox, checked;
        UINT state;
        COLORREF atBody;
        COLORREF atEdge;  // shifted by (1, 1) when pressed
        COLORREF face;
    };
    const Case cases[] = {
        {"normal", FALSE, FALSE, FALSE, 0, GreyOf(kRed), GreyOf(kRed), kFace},
        {"hovered", TRUE, FALSE, FALSE, 0, kRed, kRed, kHoverFace},
        {"pressed", FALSE, FALSE, FALSE, ODS_SELECTED, kRed, kHoverFace, kHoverFace},
        {"checked", FALSE, TRUE, TRUE, 0, kRed, kRed, kHoverFace},
        {"check box not hovered", TRUE, TRUE, FALSE, 0, GreyOf(kRed), GreyOf(kRed), kHoverFace},
    };
    for (const Case& c : cases) {
        button.m_bHover = c.hover;
        button.m_bCheckBoxMode = c.checkBox;
        button.m_nCheckState = c.checked;
        Drawn d(button, c.state);
        EXPECT_EQ(d.At(bodyX, bodyY), c.atBody) << c.what;
        EXPECT_EQ(d.At(edgeX, bodyY), c.atEdge) << c.what;
        EXPECT_EQ(d.At(20, 4), c.face) << c.what;
    }
    button.m_bHover = FALSE;
    button.m_bCheckBoxMode = FALSE;
    button.m_nCheckState = 0;
    // Disabled: the embossed picture, neither coloured nor grey.
    Drawn disabled(button, ODS_DISABLED);
    COLORREF p = disabled.At(bodyX, bodyY);
    EXPECT_NE(p, kRed);
    EXPECT_NE(p, GreyOf(kRed));
    EXPECT_NE(p, kFace);
}

TEST_F(IconFixture, AKeyedBitmapShowsTheFaceThroughItsKey)
{
    ASSERT_EQ(button.SetBitmaps(IDB_KEYED, RGB(255, 255, 255)), 0u);
    EXPECT_EQ(button.m_Icons[0].hIcon, nullptr);
    EXPECT_EQ(button.m_Bitmaps[0].dwWidth, 20u);
    // 20 x 10 centred in 40 x 40: at (10, 15).
    Drawn d(button, 0);
    EXPECT_EQ(d.At(10 + 0, 15 + 0), kFace);
    EXPECT_EQ(d.At(10 + 6, 15 + 4), RGB(0x20, 0xA0, 0x40));
    // Setting an icon frees the bitmaps.
    ASSERT_EQ(button.SetIcon(IDI_CAMERA, 0), 0u);
    EXPECT_EQ(button.m_Bitmaps[0].hBitmap, nullptr);
    EXPECT_EQ(button.m_Icons[1].hIcon, nullptr);
}

TEST_F(IconFixture, ANonFlatDefaultButtonHasABlackFrameAndRaisedEdges)
{
    button.SetFlat(FALSE, FALSE);
    button.m_bDefaultButton = TRUE;
    Drawn d(button, 0);
    EXPECT_EQ(d.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(d.At(39, 20), RGB(0, 0, 0));
    EXPECT_EQ(d.At(1, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(d.At(20, 20), kFace);
    button.m_bDefaultButton = FALSE;
    Drawn plain(button, 0);
    EXPECT_EQ(plain.At(0, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
    button.SetFlat(TRUE, FALSE);
    Drawn flat(button, 0);
    EXPECT_EQ(flat.At(0, 20), kFace) << "a flat button has no border until hovered";
}

TEST_F(IconFixture, HoverFollowsTheRealCursor)
{
    CRect rc;
    button.GetWindowRect(&rc);
    SetCursorPos(rc.left + 5, rc.top + 5);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.m_bHover);
    SetCursorPos(rc.right + 50, rc.bottom + 50);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
    EXPECT_FALSE(button.m_bHover);
    SetCursorPos(rc.left + 5, rc.top + 5);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button.m_bHover);
}

struct Target : HostWnd {
    std::vector<UINT> commands;
    std::vector<int> clicks;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0) {
            commands.push_back(LOWORD(wParam));
            return TRUE;
        }
        // The button hears of its click first (reflection), then we do.
        BOOL handled = HostWnd::OnCommand(wParam, lParam);
        if (HIWORD(wParam) == BN_CLICKED)
            clicks.push_back(LOWORD(wParam));
        return handled;
    }
};

TEST(CIconButton, ADropDownCommandReachesTheMenuTarget)
{
    ControlResources();
    Target parent;
    Target target;
    CIconButton button;
    ASSERT_TRUE(button.Create("Menu", WS_CHILD | WS_VISIBLE, CRect(10, 10, 80, 30), &parent, 43));
    EXPECT_EQ(button.SetMenu(999, target.GetSafeHwnd()), 1u);
    EXPECT_EQ(button.SetMenu(IDM_DROP, target.GetSafeHwnd(), TRUE, IDT_CUT), 1u) << "a cut toolbar";
    EXPECT_EQ(button.m_DropMenu.GetSafeHmenu(), nullptr);
    ASSERT_EQ(button.SetMenu(IDM_DROP, target.GetSafeHwnd(), TRUE, IDT_TOOLBAR), 0u);
    EXPECT_EQ(ZelMenu::s_nDrawModePlain, 1);

    std::vector<vxw::test::PopupMenuCall> calls;
    vxw::test::SetPopupMenuHook([&](const vxw::test::PopupMenuCall& c) {
        calls.push_back(c);
        EXPECT_TRUE(button.m_bMenuOpen);
        // The owner measures the owner-drawn items of the menu.
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, ID_OPEN, 0, 0, 0};
        mis.itemData = reinterpret_cast<ULONG_PTR>(button.m_DropMenu.FindMenuItem(ID_OPEN));
        EXPECT_TRUE(::SendMessage(c.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
        EXPECT_GT(mis.itemHeight, 0u);
        return static_cast<UINT>(ID_OPEN);
    });
    button.SendMessage(BM_CLICK);
    vxw::test::SetPopupMenuHook(nullptr);
    PumpFor(50);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, button.GetSafeHwnd());
    EXPECT_EQ(calls[0].flags & TPM_RETURNCMD, static_cast<UINT>(TPM_RETURNCMD));
    EXPECT_EQ(calls[0].menu, button.m_DropMenu.GetSubMenu(0)->GetSafeHmenu());
    CRect rc;
    button.GetWindowRect(&rc);
    EXPECT_EQ(calls[0].x, rc.left);
    EXPECT_EQ(calls[0].y, rc.bottom);
    EXPECT_FALSE(button.m_bMenuOpen);
    EXPECT_EQ(target.commands, std::vector<UINT>{ID_OPEN});
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(parent.clicks, std::vector<int>{43});

    // WM_MENUCHAR for the drop-down's popup answers by mnemonic.
    HMENU popup = button.m_DropMenu.GetSubMenu(0)->GetSafeHmenu();
    EXPECT_EQ(button.SendMessage(WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), reinterpret_cast<LPARAM>(popup)),
              MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(button.SetMenu(0, nullptr), 0u);
    EXPECT_EQ(button.m_hMenuTarget, nullptr);
}

TEST(CIconButton, OnlyWebAndMailLinksReachTheShell)
{
    Target parent;
    CIconButton button;
    ASSERT_TRUE(button.Create("Help", WS_CHILD | WS_VISIBLE, CRect(10, 10, 80, 30), &parent, 44));
    std::vector<std::string> opened;
    vxw::test::SetShellOpenHook([&](const std::string& t) {
        opened.push_back(t);
        return true;
    });
    const char* targets[] = {"https://example.com/help", "file:///etc/passwd", "mailto:support@example.com",
                             "/usr/bin/xterm", "HTTP://EXAMPLE.COM/"};
    for (const char* t : targets) {
        button.SetURL(t);
        button.SendMessage(BM_CLICK);
    }
    vxw::test::SetShellOpenHook(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.com/help", "mailto:support@example.com",
                                                "http://example.com/"}));
    EXPECT_EQ(parent.clicks.size(), 5u);
    std::string longUrl = "https://example.com/" + std::string(400, 'a');
    button.SetURL(longUrl.c_str());
    EXPECT_EQ(std::string(button.m_szLinkURL).size(), 259u);
}

// A parent with a picture of two colour bands behind the button.
class BandedParent : public CWnd {
public:
    BandedParent() { CreateEx(0, "VxBanded", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            CPaintDC dc(this);
            dc.FillSolidRect(0, 0, 100, 100, RGB(240, 200, 40));
            dc.FillSolidRect(100, 0, 100, 100, RGB(40, 120, 200));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(CIconButton, ATransparentFaceShowsTheParentsPicture)
{
    BandedParent parent;
    CIconButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(80, 30, 120, 60), &parent, 45));
    button.DrawTransparent(TRUE);
    EXPECT_TRUE(button.IsWindowVisible()) << "a ModifyStyle while being made keeps it visible";
    QImage shot = Grab(parent);
    EXPECT_EQ(PixelAt(shot, 85, 45), RGB(240, 200, 40));
    EXPECT_EQ(PixelAt(shot, 115, 45), RGB(40, 120, 200));
    EXPECT_NE(button.m_dcParentFace.GetSafeHdc(), nullptr) << "captured once";
}

TEST(CIconButton, TooltipTextReachesTheButtonWidget)
{
    ControlResources();
    HostWnd host(120, 60);
    CIconButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &host, 46));
    button.ActivateTooltip(TRUE);  // no tool yet: nothing
    button.SetTooltipText(IDS_TIP);
    EXPECT_EQ(vxw::WidgetOf(button.GetSafeHwnd())->toolTip(), "Record now");
    button.SetTooltipText("Stop");
    EXPECT_EQ(vxw::WidgetOf(button.GetSafeHwnd())->toolTip(), "Stop");
    EXPECT_EQ(button.m_Tip.GetToolCount(), 1);
}

}  // namespace

VX_UI_TEST_MAIN()
