// The link static: which clicks reach the shell, the string of the control's
// id, colouring by static type, and the hover colour.
#include "window_test_util.h"

#include "platform/ui/ShellTestHooks.h"
#include "ui/controls/CLinkStatic.h"

#include <QTest>

#include <strings.h>

using namespace ctltest;

namespace {

constexpr UINT kHelpId = 3001;

class ProbeLink : public CLinkStatic {
public:
    explicit ProbeLink(const char* link) : CLinkStatic(link) {}
    using CLinkStatic::m_bHover;
    using CLinkStatic::m_crText;
    using CLinkStatic::m_link;
};

class LinkStatic : public ::testing::Test {
protected:
    void SetUp() override
    {
        static HINSTANCE module = vxw::RegisterResourceModule(
            "ui-test-links", [](vxw::ResourceModule& m) { m.AddString(kHelpId, "https://example.org/help"); });
        AfxSetResourceHandle(module);
        vxw::test::SetShellOpenHook([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        ASSERT_TRUE(parent.Make(300, 100));
    }
    void TearDown() override { vxw::test::SetShellOpenHook(nullptr); }
    void Click(CWnd& link)
    {
        QTest::mouseClick(vxw::WidgetOf(link.GetSafeHwnd()), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        WaitFor([] { return false; }, 50);
    }

    Parent parent;
    std::vector<std::string> opened;
};

TEST_F(LinkStatic, OnlyWebAndMailLinksReachTheShell)
{
    struct Case {
        const char* link;
        bool opens;
    };
    const Case cases[] = {
        {"https://example.com/a?b=c", true},  {"HTTP://example.com", true},
        {"mailto:someone@example.com", true}, {"/usr/bin/xterm", false},
        {"file:///etc/passwd", false},        {"javascript:alert(1)", false},
        {"ftp://example.com/file", false},    {"https://example.com/a b", false},
        {"https://example.com/\nrm", false},  {"http://", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        opened.clear();
        ProbeLink link(c.link);
        ASSERT_TRUE(link.Create("text", WS_VISIBLE | SS_LEFT, CRect(10, 10, 200, 30), &parent, 3000));
        EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
        Click(link);
        if (c.opens) {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(strcasecmp(opened[0].c_str(), c.link), 0);  // the scheme may come lowered
        } else {
            EXPECT_TRUE(opened.empty());
            EXPECT_STREQ(static_cast<const char*>(link.m_link), c.link);
            EXPECT_EQ(reinterpret_cast<INT_PTR>(link.m_link.Navigate()), SE_ERR_NOASSOC);
        }
        link.DestroyWindow();
    }
}

TEST_F(LinkStatic, EmptyLinkOpensTheStringOfTheControlsId)
{
    ProbeLink link(nullptr);
    ASSERT_TRUE(link.Create("shown text", WS_VISIBLE | SS_LEFT, CRect(10, 10, 200, 30), &parent, kHelpId));
    Click(link);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://example.org/help");

    // Without a string the window text is the link.
    ProbeLink byText(nullptr);
    ASSERT_TRUE(byText.Create("mailto:me@example.org", WS_VISIBLE | SS_LEFT, CRect(10, 40, 200, 60), &parent, 3002));
    Click(byText);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], "mailto:me@example.org");
    EXPECT_EQ(CLinkTarget().Navigate(), nullptr);
}

TEST_F(LinkStatic, OnlyTextStaticsAreColoured)
{
    struct Case {
        const char* what;
        DWORD style;
        bool coloured;
    };
    const Case cases[] = {
        {"left", SS_LEFT, true},      {"centred without prefix", SS_CENTER | SS_NOPREFIX, true},
        {"right", SS_RIGHT, true},    {"icon", SS_ICON, false},
        {"bitmap", SS_BITMAP, false}, {"black frame", SS_BLACKRECT, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeLink link("https://example.com");
        ASSERT_TRUE(link.Create("t", WS_VISIBLE | c.style, CRect(10, 10, 60, 30), &parent, 3000));
        HDC dc = CreateCompatibleDC(nullptr);
        SetTextColor(dc, RGB(1, 1, 1));
        LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
        if (c.coloured) {
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
            EXPECT_EQ(GetTextColor(dc), CLinkStatic::g_colorUnvisited);
        } else {
            EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
            EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
        }
        DeleteDC(dc);
        link.DestroyWindow();
    }
}

TEST_F(LinkStatic, HoverColourStaysWhileTheCursorIsInsideAndReturnsAfter)
{
    ProbeLink link("https://example.com");
    ASSERT_TRUE(link.Create("link", WS_VISIBLE | SS_LEFT, CRect(50, 20, 150, 40), &parent, 3000));
    CPoint inside(60, 30);
    link.GetParent()->ClientToScreen(&inside);
    SetCursorPos(inside.x, inside.y);
    link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y));
    EXPECT_TRUE(link.m_bHover);
    EXPECT_EQ(link.m_crText, CLinkStatic::g_colorOver);
    // Several timer rounds with the cursor inside keep the hover colour.
    WaitFor([] { return false; }, 350);
    EXPECT_EQ(link.m_crText, CLinkStatic::g_colorOver);
    CPoint outside(5, 90);
    link.GetParent()->ClientToScreen(&outside);
    SetCursorPos(outside.x, outside.y);
    EXPECT_TRUE(WaitFor([&] { return !link.m_bHover; }, 2000));
    EXPECT_EQ(link.m_crText, CLinkStatic::g_colorUnvisited);

    // A real move over the link asks its hit test.
    SetCursorPos(inside.x, inside.y);
    QTest::mouseMove(vxw::WidgetOf(link.GetSafeHwnd()), QPoint(10, 10));
    EXPECT_TRUE(WaitFor([&] { return link.m_bHover != FALSE; }, 2000));
}

}  // namespace

VX_UI_TEST_MAIN()
