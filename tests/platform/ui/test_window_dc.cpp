// Window DCs: painting in WM_PAINT, drawing outside painting (shown at the
// next paint), reading what a window shows, and window shapes.
#include "platform/gdi/gdi_test_util.h"

#include "platform/ui/CtlColorQuery_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QImage>
#include <QWidget>

namespace {

class PaintedWnd : public CWnd {
public:
    int paints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            ++paints;
            CPaintDC dc(this);
            CRect rc;
            GetClientRect(&rc);
            dc.FillSolidRect(&rc, kBlue);
            CBrush red(kRed);
            CRect box(20, 10, 40, 30);
            dc.FillRect(&box, &red);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class WindowDcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, "VxPaintTest", "paint", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr));
        widget = vxw::WidgetOf(wnd.GetSafeHwnd());
        ASSERT_NE(widget, nullptr);
    }
    void TearDown() override { wnd.DestroyWindow(); }
    QRgb Shown(int x, int y) { return widget->grab().toImage().pixel(x, y) & 0xFFFFFF; }

    PaintedWnd wnd;
    QWidget* widget = nullptr;
};

TEST_F(WindowDcTest, PaintDcDrawsOnTheWindow)
{
    EXPECT_EQ(Shown(5, 5), 0x0000FFu);
    EXPECT_EQ(Shown(25, 15), 0xFF0000u);
    EXPECT_GT(wnd.paints, 0);
}

TEST_F(WindowDcTest, DrawingOutsidePaintShowsAtTheNextPaintAndReadsTheWindow)
{
    {
        CClientDC dc(&wnd);
        // Reading gives what the window shows.
        EXPECT_EQ(dc.GetPixel(25, 15), kRed);
        EXPECT_EQ(dc.GetPixel(5, 5), kBlue);
        dc.FillSolidRect(0, 0, 10, 10, kGreen);
    }
    EXPECT_EQ(Shown(5, 5), 0x00FF00u);
    EXPECT_EQ(Shown(25, 15), 0xFF0000u);
    // The window's own painting takes over afterwards.
    EXPECT_EQ(Shown(5, 5), 0x0000FFu);

    // A copy from the window into a memory DC.
    CClientDC win(&wnd);
    MemDc mem(60, 40, kWhite);
    EXPECT_TRUE(BitBlt(mem.dc, 0, 0, 60, 40, win.m_hDC, 0, 0, SRCCOPY));
    EXPECT_EQ(mem.At(30, 20), kRed);
    EXPECT_EQ(ReleaseDC(wnd.GetSafeHwnd(), mem.dc), 0);  // not a window DC
}

TEST_F(WindowDcTest, WindowRegionShapesTheWindow)
{
    HRGN rgn = CreateEllipticRgn(0, 0, 60, 40);
    ASSERT_TRUE(SetWindowRgn(wnd.GetSafeHwnd(), rgn, TRUE));
    DeleteObject(rgn);  // the window keeps its own copy
    EXPECT_TRUE(widget->mask().contains(QPoint(30, 20)));
    EXPECT_FALSE(widget->mask().contains(QPoint(1, 1)));
    HRGN back = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(wnd.GetSafeHwnd(), back), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(back, 30, 20));
    EXPECT_FALSE(PtInRegion(back, 0, 0));
    ASSERT_TRUE(SetWindowRgn(wnd.GetSafeHwnd(), nullptr, TRUE));
    EXPECT_TRUE(widget->mask().isEmpty());
    EXPECT_EQ(GetWindowRgn(wnd.GetSafeHwnd(), back), ERROR);
    DeleteObject(back);
    EXPECT_FALSE(SetWindowRgn(nullptr, nullptr, TRUE));

    // The same through the window object, with a DC taken from it.
    CRgn shape;
    shape.CreateRectRgn(0, 0, 30, 40);
    EXPECT_TRUE(wnd.SetWindowRgn(shape, FALSE));
    EXPECT_FALSE(widget->mask().contains(QPoint(40, 20)));
    CDC* dc = wnd.GetDC();
    ASSERT_NE(dc, nullptr);
    dc->FillSolidRect(0, 0, 4, 4, kGreen);
    EXPECT_EQ(wnd.ReleaseDC(dc), 1);
    EXPECT_EQ(Shown(1, 1), 0x00FF00u);
}

// Reads its own painting DC while painting, and takes a DC of its parent.
class ReadingWnd : public CWnd {
public:
    COLORREF read = 0;
    int paints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) {
            ++paints;
            CPaintDC dc(this);
            dc.FillSolidRect(0, 0, 10, 10, kRed);
            MemDc copy(10, 10, kWhite);
            ::BitBlt(copy.dc, 0, 0, 10, 10, dc.m_hDC, 0, 0, SRCCOPY);
            read = dc.GetPixel(1, 1);
            CClientDC parent(GetParent());
            parent.GetPixel(0, 0);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(WindowDcTest, ReadingWhilePaintingDoesNotPaintAgain)
{
    ReadingWnd child;
    ASSERT_TRUE(child.CreateEx(0, "VxReading", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &wnd, 0));
    widget->grab();
    EXPECT_GE(child.paints, 1);
    EXPECT_LE(child.paints, 2);
    EXPECT_NE(child.read, CLR_INVALID);
    child.DestroyWindow();
}

class ColourParent : public CWnd {
public:
    CBrush back{RGB(10, 20, 30)};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CTLCOLORSTATIC) {
            auto hdc = reinterpret_cast<HDC>(wParam);
            SetTextColor(hdc, kRed);
            SetBkMode(hdc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(back.m_hObject);
        }
        if (message == WM_CTLCOLOREDIT)
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(CtlColor, ParentAnswersWithColoursAndBrush)
{
    ColourParent parent;
    ASSERT_TRUE(parent.CreateEx(0, "VxColourParent", "p", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    vxgdi::CtlColors c =
        vxw::QueryCtlColor(parent.GetSafeHwnd(), WM_CTLCOLORSTATIC, nullptr, QColor(Qt::black), QColor(Qt::white));
    EXPECT_TRUE(c.brush);
    EXPECT_EQ(c.brushColor, QColor(10, 20, 30));
    EXPECT_EQ(c.text, QColor(255, 0, 0));
    EXPECT_TRUE(c.transparent);
    vxgdi::CtlColors e =
        vxw::QueryCtlColor(parent.GetSafeHwnd(), WM_CTLCOLOREDIT, nullptr, QColor(Qt::black), QColor(Qt::white));
    EXPECT_TRUE(e.nullBrush);
    EXPECT_FALSE(e.brush);
    EXPECT_EQ(e.text, QColor(Qt::black));
    vxgdi::CtlColors none =
        vxw::QueryCtlColor(parent.GetSafeHwnd(), WM_CTLCOLORBTN, nullptr, QColor(Qt::black), QColor(Qt::white));
    EXPECT_FALSE(none.brush || none.nullBrush);
    parent.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()
