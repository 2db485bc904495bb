// Edits take their colours from their parent before they paint, and a
// bordered control paints its border band in WM_NCPAINT.
#include "ui_test_env.h"

#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QWidget>

namespace {

constexpr COLORREF kText = RGB(200, 0, 0);
constexpr COLORREF kBase = RGB(255, 255, 0);
constexpr COLORREF kBand = RGB(0, 160, 0);

class ColourParent : public CWnd {
public:
    std::vector<UINT> asked;
    bool colour = true;

    ~ColourParent() override
    {
        if (m_hWnd)
            DestroyWindow();
        m_brush.DeleteObject();
    }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        asked.push_back(nCtlColor);
        if (!colour)
            return nullptr;
        if (!m_brush.GetSafeHandle())
            m_brush.CreateSolidBrush(kBase);
        pDC->SetTextColor(kText);
        return static_cast<HBRUSH>(m_brush.GetSafeHandle());
    }
    DECLARE_MESSAGE_MAP()

private:
    CBrush m_brush;
};

BEGIN_MESSAGE_MAP(ColourParent, CWnd)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Fills its whole window rectangle in its border band's paint.
class BandEdit : public CEdit {
public:
    int ncPaints = 0;

protected:
    void OnNcPaint()
    {
        ++ncPaints;
        CWindowDC dc(this);
        CRect rc;
        GetWindowRect(&rc);
        rc.OffsetRect(-rc.left, -rc.top);
        dc.FillSolidRect(&rc, kBand);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BandEdit, CEdit)
ON_WM_NCPAINT()
END_MESSAGE_MAP()

QImage Grab(const CWnd& w)
{
    return vxw::WidgetOf(w.GetSafeHwnd())->grab().toImage();
}

COLORREF At(const QImage& img, int x, int y)
{
    QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

int Count(const QImage& img, COLORREF c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += At(img, x, y) == c;
    return n;
}

class ControlColours : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, "VxColourParent", "p", WS_POPUP | WS_VISIBLE, 0, 0, 240, 80, nullptr, nullptr));
    }
    ColourParent parent;
};

TEST_F(ControlColours, EditTakesTextAndBaseFromItsParent)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 230, 50), &parent, 7));
    edit.SetWindowText("MMMM");
    QImage img = Grab(edit);
    EXPECT_EQ(At(img, img.width() - 10, img.height() / 2), kBase);
    EXPECT_GT(Count(img, kText), 2);
    ASSERT_FALSE(parent.asked.empty());
    EXPECT_EQ(parent.asked.back(), static_cast<UINT>(CTLCOLOR_EDIT));

    // Read-only and disabled edits ask as statics do.
    edit.SetReadOnly(TRUE);
    Grab(edit);
    EXPECT_EQ(parent.asked.back(), static_cast<UINT>(CTLCOLOR_STATIC));
    edit.SetReadOnly(FALSE);
    edit.EnableWindow(FALSE);
    Grab(edit);
    EXPECT_EQ(parent.asked.back(), static_cast<UINT>(CTLCOLOR_STATIC));
}

TEST_F(ControlColours, WithoutABrushTheEditKeepsItsOwnBase)
{
    parent.colour = false;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 230, 50), &parent, 7));
    QImage img = Grab(edit);
    EXPECT_NE(At(img, img.width() - 10, img.height() / 2), kBase);
}

TEST_F(ControlColours, AnEditMadeUnderADisabledParentPaintsEnabledOnceEnabled)
{
    parent.colour = false;
    parent.EnableWindow(FALSE);
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 230, 50), &parent, 7));
    edit.SetWindowText("MMMM");
    auto colour = [](const QColor& c) { return RGB(c.red(), c.green(), c.blue()); };
    const COLORREF enabledText = colour(QApplication::palette().color(QPalette::Active, QPalette::Text));
    const COLORREF enabledBase = colour(QApplication::palette().color(QPalette::Active, QPalette::Base));
    const COLORREF disabledBase = colour(QApplication::palette().color(QPalette::Disabled, QPalette::Base));
    ASSERT_NE(enabledBase, disabledBase);
    QImage img = Grab(edit);
    EXPECT_EQ(At(img, img.width() - 10, img.height() / 2), disabledBase);
    parent.EnableWindow(TRUE);
    img = Grab(edit);
    EXPECT_EQ(At(img, img.width() - 10, img.height() / 2), enabledBase);
    EXPECT_GT(Count(img, enabledText), 2);
    // And back: disabled again paints disabled.
    parent.EnableWindow(FALSE);
    img = Grab(edit);
    EXPECT_EQ(At(img, img.width() - 10, img.height() / 2), disabledBase);
    parent.EnableWindow(TRUE);
}

TEST_F(ControlColours, BorderBandPaintReachesTheFrameOnly)
{
    BandEdit edit;
    ASSERT_TRUE(
        edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "MMMM", WS_CHILD | WS_VISIBLE, CRect(10, 10, 230, 50), &parent, 7));
    QImage img = Grab(edit);
    EXPECT_GT(edit.ncPaints, 0);
    EXPECT_EQ(At(img, 0, 0), kBand);
    EXPECT_EQ(At(img, 1, 20), kBand);
    EXPECT_EQ(At(img, img.width() - 2, img.height() - 2), kBand);
    EXPECT_EQ(At(img, img.width() - 10, img.height() / 2), kBase);
    EXPECT_GT(Count(img, kText), 2);  // the text is untouched

    // A plain edit without a border gets no band.
    BandEdit plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, CRect(10, 55, 230, 75), &parent, 8));
    Grab(plain);
    EXPECT_EQ(plain.ncPaints, 0);
}

}  // namespace

VX_UI_TEST_MAIN()
