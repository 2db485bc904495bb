// Pictures from files and resources, drawn with and without a colour key,
// their regions and copies; the picture static and the tooltip helpers.
#include "controls_test_util.h"
#include "ui/controls/CMyPictureStatic.h"

#include <QFile>

#include <fstream>
#include <string>

namespace {

constexpr COLORREF kGround = RGB(255, 0, 255);
constexpr COLORREF kSquare = RGB(0x20, 0xA0, 0x40);

// A resource's bytes written to a file of the test's temporary folder.
std::string FileOf(UINT id, const char* name)
{
    ControlPictures();
    std::string path = ::testing::TempDir() + name;
    HRSRC res = FindResource(nullptr, MAKEINTRESOURCE(id), "PNG");
    EXPECT_NE(res, nullptr);
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
    std::ofstream(path, std::ios::binary).write(bytes, SizeofResource(nullptr, res));
    return path;
}

std::string GarbageFile()
{
    std::string path = ::testing::TempDir() + "garbage.png";
    std::ofstream(path, std::ios::binary) << "\x89PNG but not really";
    return path;
}

TEST(CMyPicture, LoadsAsATable)
{
    ControlPictures();
    struct Case {
        const char* what;
        std::function<int(CMyPicture&)> load;
        int result;
        int width;
        BOOL alpha;
        COLORREF atCorner;  // drawn 1:1 over the magenta ground
        COLORREF atSquare;
    };
    const COLORREF white = RGB(255, 255, 255);
    const Case cases[] = {
        {"PNG with alpha and a white key",
         [](CMyPicture& p) {
             return p.SetImage(CString(FileOf(IDP_ALPHA, "alpha.png").c_str()), TRUE, RGB(255, 255, 255));
         },
         1, 20, TRUE, kGround, white},
        {"opaque PNG keyed white",
         [](CMyPicture& p) {
             return p.SetImage(CString(FileOf(IDP_KEYED, "keyed.png").c_str()), TRUE, RGB(255, 255, 255));
         },
         1, 20, FALSE, kGround, kSquare},
        {"opaque PNG without key",
         [](CMyPicture& p) { return p.SetImage(CString(FileOf(IDP_KEYED, "keyed.png").c_str())); }, 1, 20, FALSE, white,
         kSquare},
        {"empty path", [](CMyPicture& p) { return p.SetImage(CString("")); }, 0, 0, FALSE, kGround, kGround},
        {"missing file", [](CMyPicture& p) { return p.SetImage(CString("/nonexistent/x.png"), TRUE, 0); }, 0, 0, FALSE,
         kGround, kGround},
        {"undecodable file", [](CMyPicture& p) { return p.SetImage(CString(GarbageFile().c_str())); }, 0, 0, FALSE,
         kGround, kGround},
        {"keyed RT_BITMAP", [](CMyPicture& p) { return p.SetImage(IDB_KEYED, RT_BITMAP, TRUE, RGB(255, 255, 255)); }, 1,
         20, FALSE, kGround, kSquare},
        {"missing RT_BITMAP", [](CMyPicture& p) { return p.SetImage(999, RT_BITMAP); }, 0, 0, FALSE, kGround, kGround},
        {"PNG resource of the program", [](CMyPicture& p) { return p.SetImage(IDP_KEYED, "PNG"); }, 1, 20, FALSE, white,
         kSquare},
        {"undecodable resource", [](CMyPicture& p) { return p.SetImage(IDP_GARBAGE, "PNG"); }, 0, 0, FALSE, kGround,
         kGround},
        {"id 0", [](CMyPicture& p) { return p.SetImage(0, "PNG"); }, 0, 0, FALSE, kGround, kGround},
        {"no type", [](CMyPicture& p) { return p.SetImage(IDP_KEYED, nullptr); }, 0, 0, FALSE, kGround, kGround},
    };
    for (const Case& c : cases) {
        CMyPicture pic;
        // An earlier picture never survives a failed load.
        ASSERT_EQ(pic.SetImage(IDP_KEYED, "PNG"), 1);
        EXPECT_EQ(c.load(pic), c.result) << c.what;
        EXPECT_EQ(pic.HasImage(), c.result ? TRUE : FALSE) << c.what;
        EXPECT_EQ(pic.GetWidth(), c.width) << c.what;
        EXPECT_EQ(pic.GetHeight(), c.width ? 10 : 0) << c.what;
        EXPECT_EQ(pic.m_bHasAlpha, c.alpha) << c.what;
        MemDc dc(20, 10, kGround);
        pic.DrawImage(dc.dc, 0, 0, 20, 10);
        EXPECT_EQ(dc.At(0, 0), c.atCorner) << c.what;
        EXPECT_EQ(dc.At(6, 4), c.atSquare) << c.what;
    }
}

TEST(CMyPicture, DrawsAPartScaled)
{
    ControlPictures();
    CMyPicture pic;
    ASSERT_EQ(pic.SetImage(IDP_KEYED, "PNG"), 1);
    MemDc dc(40, 20, kGround);
    // The square's part (4,2)-(10,8) doubled.
    pic.DrawImage(dc.dc, 0, 0, 12, 12, 4, 2, 6, 6);
    EXPECT_EQ(dc.At(0, 0), kSquare);
    EXPECT_EQ(dc.At(11, 11), kSquare);
    EXPECT_EQ(dc.At(13, 13), kGround);
}

bool In(HRGN rgn, int x, int y)
{
    return PtInRegion(rgn, x, y) != FALSE;
}

TEST(CMyPicture, RegionsFollowTheOpaquePixelsAtEachSize)
{
    ControlPictures();
    HDC screen = GetDC(nullptr);
    CMyPicture clear;
    ASSERT_EQ(clear.SetImage(IDP_CLEAR, "PNG"), 1);
    HRGN none = clear.GetRgn(screen, 8, 8);
    ASSERT_NE(none, nullptr);
    RECT box{};
    EXPECT_EQ(GetRgnBox(none, &box), NULLREGION);
    DeleteObject(none);

    CMyPicture keyed;
    ASSERT_EQ(keyed.SetImage(IDP_KEYED, "PNG", TRUE, RGB(255, 255, 255)), 1);
    HRGN small = keyed.GetRgn(screen, 20, 10);
    EXPECT_TRUE(In(small, 4, 2));
    EXPECT_TRUE(In(small, 9, 7));
    EXPECT_FALSE(In(small, 3, 2));
    EXPECT_FALSE(In(small, 10, 7));
    GetRgnBox(small, &box);
    EXPECT_EQ(box.left, 4);
    EXPECT_EQ(box.right, 10);
    DeleteObject(small);
    // A second size gets its own region, not the first one's.
    HRGN big = keyed.GetRgn(screen, 40, 20);
    EXPECT_TRUE(In(big, 8, 4));
    EXPECT_TRUE(In(big, 19, 15));
    EXPECT_FALSE(In(big, 5, 5));
    EXPECT_FALSE(In(big, 22, 15));
    DeleteObject(big);

    // Without a key every pixel of an opaque picture is in.
    CMyPicture plain;
    ASSERT_EQ(plain.SetImage(IDP_KEYED, "PNG"), 1);
    HRGN all = plain.GetRgn(screen, 20, 10);
    GetRgnBox(all, &box);
    EXPECT_EQ(CRect(box), CRect(0, 0, 20, 10));
    DeleteObject(all);
    CMyPicture empty;
    EXPECT_EQ(empty.GetRgn(screen, 20, 10), nullptr);
    ReleaseDC(nullptr, screen);
}

TEST(CMyPicture, CopiesOwnTheirPictures)
{
    ControlPictures();
    auto original = std::make_unique<CMyPicture>();
    ASSERT_EQ(original->SetImage(IDP_ALPHA, "PNG", TRUE, RGB(1, 2, 3)), 1);
    CMyPicture copy(*original);
    CMyPicture assigned;
    ASSERT_EQ(assigned.SetImage(IDP_KEYED, "PNG"), 1);
    assigned = *original;
    assigned = assigned;
    HDC screen = GetDC(nullptr);
    HRGN rgn = original->GetRgn(screen, 20, 10);
    DeleteObject(rgn);
    original.reset();
    for (CMyPicture* p : {&copy, &assigned}) {
        EXPECT_TRUE(p->HasImage());
        EXPECT_NE(p->GetImage(), nullptr);
        EXPECT_EQ(p->GetWidth(), 20);
        EXPECT_EQ(p->m_bHasAlpha, TRUE);
        EXPECT_EQ(p->m_bTransparent, TRUE);
        EXPECT_EQ(p->m_crColourKey, RGB(1, 2, 3));
        EXPECT_EQ(p->m_pRegion, nullptr);
        HRGN r = p->GetRgn(screen, 20, 10);
        EXPECT_TRUE(In(r, 5, 5));
        DeleteObject(r);
    }
    ReleaseDC(nullptr, screen);
}

TEST(CMyPictureStatic, ShowsAKeyedPictureOverItsParent)
{
    HostWnd host(120, 60, RGB(200, 220, 240));
    CMyPictureStatic pic;
    ASSERT_TRUE(pic.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 30), &host, 3));
    pic.SetImage(CString(FileOf(IDP_KEYED, "keyed.png").c_str()));
    pic.SetTransparent(TRUE, RGB(255, 255, 255));
    pic.SetHandCursor();
    EXPECT_NE(pic.m_hHandCursor, nullptr);
    EXPECT_EQ(pic.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(pic.GetSafeHwnd()), HTCLIENT), TRUE);
    pic.Invalidate();
    QImage shot = Grab(host);
    // Stretched twice: the square covers (8..20, 4..16) of the control.
    EXPECT_EQ(PixelAt(shot, 10 + 12, 10 + 8), kSquare);
    EXPECT_EQ(PixelAt(shot, 10 + 2, 10 + 2), RGB(200, 220, 240));
    EXPECT_EQ(PixelAt(shot, 100, 50), RGB(200, 220, 240));
}

class RecordingTip : public CMyToolTipCtrl {
public:
    std::vector<MSG> relayed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TTM_RELAYEVENT)
            relayed.push_back(*reinterpret_cast<const MSG*>(lParam));
        return CMyToolTipCtrl::WindowProc(message, wParam, lParam);
    }
};

TEST(CMyToolTipCtrl, RelaysOnlyOnceCreatedWithSignedPoints)
{
    HostWnd host(120, 60);
    RecordingTip tip;
    tip.RelayEvent(host.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // no window yet: nothing
    EXPECT_TRUE(tip.relayed.empty());
    ASSERT_TRUE(tip.Create(&host));
    tip.RelayEvent(host.GetSafeHwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-3, 7));
    ASSERT_EQ(tip.relayed.size(), 1u);
    EXPECT_EQ(tip.relayed[0].hwnd, host.GetSafeHwnd());
    EXPECT_EQ(tip.relayed[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(tip.relayed[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(tip.relayed[0].pt.x, -3);
    EXPECT_EQ(tip.relayed[0].pt.y, 7);
    EXPECT_EQ(tip.relayed[0].time, 0u);
}

TEST(CMyToolTipCtrl, ToolTextsReachTheToolWidgets)
{
    HostWnd host(160, 60);
    CStatic a, b;
    ASSERT_TRUE(a.Create("a", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &host, 1));
    ASSERT_TRUE(b.Create("b", WS_CHILD | WS_VISIBLE, CRect(50, 0, 90, 20), &host, 2));
    CMyToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&host));
    EXPECT_TRUE(tip.AddWindowTool(&a, "Whole window"));
    RECT part{0, 0, 10, 10};
    EXPECT_TRUE(tip.AddRectTool(&b, "A rectangle", &part, 7));
    EXPECT_EQ(vxw::WidgetOf(a.GetSafeHwnd())->toolTip(), "Whole window");
    EXPECT_EQ(vxw::WidgetOf(b.GetSafeHwnd())->toolTip(), "A rectangle");
    EXPECT_EQ(tip.AddWindowTool(nullptr, "x"), 0);

    CMyPictureStatic pic;
    ASSERT_TRUE(pic.Create("", WS_CHILD | WS_VISIBLE, CRect(100, 0, 140, 20), &host, 3));
    pic.SetToolTipText("Snapshot");
    EXPECT_EQ(vxw::WidgetOf(pic.GetSafeHwnd())->toolTip(), "Snapshot");
    pic.SetToolTipText("Snapshot 2");
    EXPECT_EQ(vxw::WidgetOf(pic.GetSafeHwnd())->toolTip(), "Snapshot 2");
    pic.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));  // relayed without harm
}

}  // namespace

VX_UI_TEST_MAIN()
