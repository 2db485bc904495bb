// The bitmap slider: position and page results, a click away from the
// thumb, keys, the disabled state, an empty range and the focus rectangle.
#include "skin_test_util.h"
#include "window_test_util.h"

#include "ui/controls/CImageSlider.h"

#include <QTest>

using namespace ctltest;
using namespace skintest;

namespace {

enum : UINT { IDB_CHANNEL = 4001, IDB_CHANNEL_ACTIVE = 4002, IDB_THUMB = 4003, IDB_KEYED_CHANNEL = 4004 };
constexpr UINT kId = 4100;

void FillModule(vxw::ResourceModule& m)
{
    m.AddData(RT_BITMAP, IDB_CHANNEL, PictureBytes(std::vector<std::string>(20, std::string(120, 'b'))));
    m.AddData(RT_BITMAP, IDB_CHANNEL_ACTIVE, PictureBytes(std::vector<std::string>(20, std::string(120, 'a'))));
    m.AddData(RT_BITMAP, IDB_THUMB, PictureBytes(std::vector<std::string>(20, std::string(20, 'c'))));
    // Green with a magenta band in rows 0..4: the band is the key.
    std::vector<std::string> keyed(20, std::string(120, 'b'));
    for (int y = 0; y < 5; ++y)
        keyed[static_cast<size_t>(y)] = std::string(120, 'f');
    m.AddData(RT_BITMAP, IDB_KEYED_CHANNEL, PictureBytes(keyed));
}

class SliderParent : public Parent {
public:
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> notes;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == IMAGESLIDER_MOVING || message == IMAGESLIDER_MOVED)
            notes.emplace_back(message, wParam, lParam);
        return Parent::WindowProc(message, wParam, lParam);
    }
};

class ProbeSlider : public CImageSlider {
public:
    using CImageSlider::Pixel2Pos;
    using CImageSlider::Pos2Pixel;
};

class ImageSlider : public ::testing::Test {
protected:
    void SetUp() override
    {
        static HINSTANCE module = vxw::RegisterResourceModule("ui-test-slider", &FillModule);
        AfxSetResourceHandle(module);
        ASSERT_TRUE(parent.Make(200, 60));
        ASSERT_TRUE(slider.Create("", WS_VISIBLE, CRect(10, 10, 20, 20), &parent, kId));
        // 120 wide, a thumb of 20: 100 pixels of travel for 0..100.
        ASSERT_TRUE(slider.SetBitmapChannel(IDB_CHANNEL, IDB_CHANNEL_ACTIVE));
        ASSERT_TRUE(slider.SetBitmapThumb(IDB_THUMB));
    }
    void Pump()
    {
        WaitFor([] { return false; }, 30);
    }
    // The slider's own pixels, at slider co-ordinates.
    char Pixel(int x, int y)
    {
        COLORREF c = At(Grab(parent), 10 + x, 10 + y);
        for (auto& [ch, colour] : Palette())
            if (colour == c)
                return ch;
        return '?';
    }
    QWidget* Widget() { return vxw::WidgetOf(slider.GetSafeHwnd()); }

    SliderParent parent;
    ProbeSlider slider;
};

TEST_F(ImageSlider, ChannelSizesTheWindow)
{
    CRect rc;
    slider.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 120);
    EXPECT_EQ(rc.Height(), 20);
    EXPECT_EQ(slider.m_nThumbWidth, 20);
    EXPECT_FALSE(slider.SetBitmapThumb(9999));
    EXPECT_TRUE(slider.SetBitmapThumb(IDB_THUMB));
}

TEST_F(ImageSlider, PositionAndPageResults)
{
    slider.SetPos(150);
    EXPECT_EQ(slider.GetPos(), 100);
    slider.SetPos(-5);
    EXPECT_EQ(slider.GetPos(), 0);
    EXPECT_EQ(slider.SetPageSize(10), 20);
    EXPECT_EQ(slider.SetPageSize(30), 10);
    slider.SetRange(10, 50);
    int lo = 0;
    int hi = 0;
    slider.GetRange(lo, hi);
    EXPECT_EQ(lo, 10);
    EXPECT_EQ(hi, 50);
    EXPECT_EQ(slider.GetPos(), 0);  // the range does not clamp the position
}

TEST_F(ImageSlider, ClickAwayFromTheThumbPutsItsCentreUnderTheCursor)
{
    slider.SetPos(0);
    EXPECT_EQ(Pixel(10, 10), 'c');
    QTest::mousePress(Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(70, 10));
    Pump();
    EXPECT_EQ(slider.GetPos(), 60);
    ASSERT_EQ(parent.notes.size(), 1u);
    EXPECT_EQ(parent.notes[0], std::make_tuple(UINT{IMAGESLIDER_MOVING}, WPARAM{kId}, LPARAM{60}));
    // Thumb from 60 to 79; the active channel before its centre.
    EXPECT_EQ(Pixel(61, 10), 'c');
    EXPECT_EQ(Pixel(78, 10), 'c');
    EXPECT_EQ(Pixel(55, 10), 'a');
    EXPECT_EQ(Pixel(85, 10), 'b');
    QTest::mouseRelease(Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(70, 10));
    Pump();
    ASSERT_EQ(parent.notes.size(), 2u);
    EXPECT_EQ(parent.notes[1], std::make_tuple(UINT{IMAGESLIDER_MOVED}, WPARAM{kId}, LPARAM{60}));
}

TEST_F(ImageSlider, Keys)
{
    struct Case {
        UINT key;
        int pos;
    };
    const Case cases[] = {{VK_PRIOR, 30}, {VK_NEXT, 70}, {VK_END, 100}, {VK_HOME, 0},
                          {VK_RIGHT, 51}, {VK_DOWN, 51}, {VK_LEFT, 49}, {VK_UP, 49}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        slider.SetPos(50);
        parent.notes.clear();
        slider.SendMessage(WM_KEYDOWN, c.key, 1);
        EXPECT_EQ(slider.GetPos(), c.pos);
        Pump();
        ASSERT_EQ(parent.notes.size(), 1u);
        EXPECT_EQ(parent.notes[0], std::make_tuple(UINT{IMAGESLIDER_MOVED}, WPARAM{kId}, LPARAM{c.pos}));
    }
    EXPECT_EQ(slider.SendMessage(WM_GETDLGCODE, VK_RETURN), DLGC_WANTALLKEYS);
}

TEST_F(ImageSlider, DisabledShowsNoThumbAndIgnoresInput)
{
    slider.SetPos(50);
    slider.Enable(FALSE);
    EXPECT_EQ(Pixel(60, 10), 'b');  // no thumb, the plain channel
    EXPECT_EQ(Pixel(20, 10), 'b');
    QTest::mouseClick(Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
    slider.SendMessage(WM_KEYDOWN, VK_HOME, 1);
    Pump();
    EXPECT_EQ(slider.GetPos(), 50);
    EXPECT_TRUE(parent.notes.empty());
    slider.Enable(TRUE);
    EXPECT_EQ(Pixel(60, 10), 'c');
}

TEST_F(ImageSlider, EmptyRangeOrTravelStaysAtTheStart)
{
    slider.SetRange(5, 5);
    slider.SetPos(5);
    EXPECT_EQ(slider.Pos2Pixel(5), 10);
    EXPECT_EQ(slider.Pixel2Pos(70), 5);
    EXPECT_EQ(Pixel(12, 10), 'c');
    QTest::mouseClick(Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
    Pump();
    EXPECT_EQ(slider.GetPos(), 5);
    // Margins that eat the whole travel.
    slider.SetRange(0, 100);
    slider.SetMargin(50, 0, 50, 0);
    EXPECT_EQ(slider.Pos2Pixel(40), 60);
    EXPECT_EQ(slider.Pixel2Pos(60), 0);
}

TEST_F(ImageSlider, FocusRectangleExactlyWhileFocused)
{
    slider.SetPos(100);  // the thumb away from the left edge
    EXPECT_EQ(Pixel(0, 10), 'a');
    slider.SetFocus();
    Pump();
    ASSERT_TRUE(slider.m_bFocused);
    // The dotted frame covers one of two neighbouring pixels; each grab
    // paints afresh, and a second paint must not cancel the first.
    auto framed = [&] { return Pixel(0, 10) != 'a' || Pixel(0, 11) != 'a'; };
    EXPECT_TRUE(framed());
    EXPECT_TRUE(framed());
    EXPECT_TRUE(slider.m_bFocusRectShown);
    parent.SetFocus();
    Pump();
    EXPECT_FALSE(slider.m_bFocused);
    EXPECT_EQ(Pixel(0, 10), 'a');
    EXPECT_EQ(Pixel(0, 11), 'a');
    EXPECT_FALSE(slider.m_bFocusRectShown);
}

// A parent that paints itself in one colour.
class PaintedParent : public Parent {
protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, Palette().at('k'));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedParent, Parent)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(ImageSlider, TransparentChannelShowsTheParentsPainting)
{
    PaintedParent painted;
    ASSERT_TRUE(painted.Make(200, 60));
    CImageSlider keyed;
    ASSERT_TRUE(keyed.Create("", WS_VISIBLE, CRect(10, 10, 20, 20), &painted, kId + 1));
    ASSERT_TRUE(keyed.SetBitmapChannel(IDB_KEYED_CHANNEL, 0, TRUE, Palette().at('f')));
    QImage img = Grab(painted);
    EXPECT_EQ(At(img, 10 + 50, 10 + 2), Palette().at('k'));  // the keyed band
    EXPECT_EQ(At(img, 10 + 50, 10 + 15), Palette().at('b'));
    // The key given as "the colour of pixel (x, y)".
    ASSERT_TRUE(keyed.SetBitmapChannel(IDB_KEYED_CHANNEL, 0, TRUE, 0xFF000000, 3, 1));
    img = Grab(painted);
    EXPECT_EQ(At(img, 10 + 50, 10 + 2), Palette().at('k'));
    EXPECT_EQ(At(img, 10 + 50, 10 + 15), Palette().at('b'));
}

}  // namespace

VX_UI_TEST_MAIN()
