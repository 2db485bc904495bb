// The recorder's bitmap buttons, the about box and the coloured text.
#include "recorder_test_env.h"

#include "platform/ui/WindowRegistry_p.h"
#include "recorder/CAboutDlg.h"
#include "recorder/CColorStatic.h"
#include "recorder/CGlobalInfo.h"
#include "recorder/CMyBitmapButton.h"

#include <QImage>
#include <QWidget>

#include <chrono>

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// A 32-bit bitmap from rows of characters: '.' key colour, anything else
// opaque blue.
HBITMAP Picture(const std::vector<std::string>& rows)
{
    int h = static_cast<int>(rows.size()), w = static_cast<int>(rows[0].size());
    std::vector<unsigned char> bits;
    for (const std::string& row : rows) {
        for (char c : row) {
            bool key = c == '.';
            bits.insert(bits.end(), {static_cast<unsigned char>(key ? 255 : 200), 0,
                                     static_cast<unsigned char>(key ? 255 : 0), 255});
        }
    }
    return CreateBitmap(w, h, 1, 32, bits.data());
}

class Host : public CWnd {
public:
    Host() { CreateEx(0, "VxRecorderTestHost", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr); }
    int paints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            ++paints;
            CPaintDC dc(this);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(BitmapButton, TheImageFollowsTheStateWithMissingImages)
{
    HBITMAP normal = Picture({"##"}), pressed = Picture({"#."}), disabled = Picture({".#"});
    CMyBitmapButton only;
    ASSERT_TRUE(only.SetBitmaps(normal, nullptr, nullptr));
    EXPECT_EQ(only.ImageForState(ODS_SELECTED), normal);
    EXPECT_EQ(only.ImageForState(ODS_DISABLED), normal);
    EXPECT_EQ(only.ImageForState(0), normal);
    CMyBitmapButton all;
    ASSERT_TRUE(all.SetBitmaps(normal, pressed, disabled));
    EXPECT_EQ(all.ImageForState(ODS_SELECTED), pressed);
    EXPECT_EQ(all.ImageForState(ODS_DISABLED), disabled);
    EXPECT_EQ(all.ImageForState(ODS_SELECTED | ODS_DISABLED), pressed);
    EXPECT_EQ(all.ImageForState(0), normal);
    CMyBitmapButton none;
    EXPECT_FALSE(none.SetBitmaps(nullptr, pressed, nullptr));
    // The button never deletes the settings object's images.
    all.SetBitmaps(pressed, nullptr, nullptr);
    BITMAP bm{};
    EXPECT_TRUE(GetObject(normal, sizeof bm, &bm));
    for (HBITMAP b : {normal, pressed, disabled})
        DeleteObject(b);
}

TEST(BitmapButton, TheRegionHoldsExactlyTheOpaquePixels)
{
    const std::vector<std::vector<std::string>> pictures = {
        {"..##..#", "#.....#", "......#", "###.###", ".......", "#......"},
        {"......#"},  // a lone opaque pixel in the last column
        {"#######"},
    };
    for (const auto& rows : pictures) {
        HBITMAP b = Picture(rows);
        HRGN r = BitmapToRegion(b, kKey);
        ASSERT_NE(r, nullptr);
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < rows[y].size(); ++x)
                EXPECT_EQ(PtInRegion(r, static_cast<int>(x), static_cast<int>(y)) != 0, rows[y][x] != '.')
                    << x << "," << y << " of " << rows[0];
        DeleteObject(r);
        DeleteObject(b);
    }
    HBITMAP key = Picture({"....", "...."});
    HRGN empty = BitmapToRegion(key, kKey);
    RECT box{};
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    DeleteObject(empty);
    DeleteObject(key);
}

TEST(BitmapButton, AClickOnAKeyPixelReachesTheParent)
{
    Host host;
    CMyBitmapButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 30, 20), &host, 77));
    button.m_crKey = kKey;
    button.m_bUseKey = TRUE;
    std::vector<std::string> rows(10, std::string(10, '.') + std::string(10, '#'));
    HBITMAP b = Picture(rows);
    ASSERT_TRUE(button.SetBitmaps(b, nullptr, nullptr));
    PumpFor(50);
    CPoint keyPixel(3, 5), opaque(15, 5);
    button.ClientToScreen(&keyPixel);
    button.ClientToScreen(&opaque);
    EXPECT_EQ(WindowFromPoint(keyPixel), host.GetSafeHwnd());
    EXPECT_EQ(WindowFromPoint(opaque), button.GetSafeHwnd());
    button.DestroyWindow();
    DeleteObject(b);
}

using rectest::ResourceLibrary;

// Runs the about box and returns what it showed in the version's place
// and whether the first click closed it.
QImage ShowAbout(CPoint click, INT_PTR* result)
{
    CGlobalInfo& g = GlobalInfo();
    g.m_iniSkin.SetPathName((std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini").c_str());
    g.m_hSkinModule = ResourceLibrary();
    AfxSetResourceHandle(ResourceLibrary());
    QImage shown;
    vxw::test::SetModalDialogHook([&](CDialog& dlg) {
        PumpFor(50);
        QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
        shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        dlg.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
    });
    CAboutDlg dlg;
    *result = dlg.DoModal();
    vxw::test::SetModalDialogHook(nullptr);
    return shown;
}

int TextPixels(const QImage& img)
{
    int n = 0;
    for (int y = 59; y < 86 && y < img.height(); ++y)
        for (int x = 456; x < 510 && x < img.width(); ++x)
            if (qRed(img.pixel(x, y)) > 120)
                ++n;
    return n;
}

TEST(AboutBox, EmptyVersionPaintsNoText)
{
    // No version block yet in this program.
    EXPECT_TRUE(GlobalInfo().GetFileVersion().IsEmpty());
    INT_PTR result = 0;
    QImage shown = ShowAbout(CPoint(5, 5), &result);
    EXPECT_EQ(result, IDOK);
    ASSERT_GE(shown.width(), 510);
    ASSERT_GE(shown.height(), 86);
    EXPECT_EQ(TextPixels(shown), 0);
}

TEST(AboutBox, TheVersionIsPaintedAndAnyClickCloses)
{
    static const HINSTANCE version = vxw::RegisterResourceModule("about-test-version", [](vxw::ResourceModule& m) {
        m.AddData(RT_VERSION, 1, vxw::MakeVersionResource(0x0409, 0x04b0, {{"FileVersion", "8.8.8"}}));
    });
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(GlobalInfo().GetFileVersion().GetString(), "8.8.8");
    for (CPoint click : {CPoint(470, 70), CPoint(1, 1), CPoint(519, 89)}) {
        INT_PTR result = 0;
        QImage shown = ShowAbout(click, &result);
        EXPECT_EQ(result, IDOK);
        EXPECT_GT(TextPixels(shown), 10);
    }
}

TEST(ColorStatic, SettingTheSameTextLeavesTheParentAlone)
{
    Host host;
    CColorStatic text;
    ASSERT_TRUE(text.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 30), &host, 5037));
    PumpFor(50);
    int before = host.paints;
    text.SetText("512MB");
    EXPECT_GT(host.paints, before);
    before = host.paints;
    text.SetText("512MB");
    EXPECT_EQ(host.paints, before);
    text.DestroyWindow();
}

TEST(ColorStatic, ALinkTurnsBlueWhileTheMouseIsOver)
{
    Host host;
    CColorStatic link;
    link.m_bLink = TRUE;
    // Far from the cursor, which the offscreen desktop keeps at its corner.
    ASSERT_TRUE(link.Create("", WS_CHILD | WS_VISIBLE, CRect(150, 150, 250, 170), &host, 5038));
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(link.IsMouseOver());
    // No leave message: the timer notices the cursor is elsewhere.
    EXPECT_TRUE(WaitFor([&] { return !link.IsMouseOver(); }, 2000));
    CColorStatic plain;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, CRect(150, 100, 250, 120), &host, 5039));
    plain.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(plain.IsMouseOver());
    link.DestroyWindow();
    plain.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()
