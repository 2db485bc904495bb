// The colour static: caption colour and font, the shortened caption's
// tooltip, and no repaint for an unchanged caption.
#include "window_test_util.h"

#include "ui/controls/CMyColorStatic.h"

using namespace ctltest;

namespace {

class ProbeStatic : public CMyColorStatic {
public:
    int paints = 0;
    using CMyColorStatic::m_strToolTip;
    LOGFONT Font() const
    {
        LOGFONT lf;
        MakeCaptionFont(lf);
        return lf;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            ++paints;
        return CMyColorStatic::WindowProc(message, wParam, lParam);
    }
};

TEST(CMyColorStatic, CaptionIsDrawnInItsColour)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(220, 80));
    ProbeStatic label;
    ASSERT_TRUE(label.Create("", WS_VISIBLE, CRect(10, 10, 210, 70), &parent, 100));
    label.SetTextColor(RGB(255, 0, 0));
    label.SetTextFontSize(40);
    label.SetTextBold(TRUE);
    label.SetCaption("HHHH", 0);
    QImage img = Grab(parent);
    EXPECT_GT(Count(img, RECT{10, 10, 210, 70}, RGB(255, 0, 0)), 50);
    EXPECT_EQ(Count(img, RECT{0, 0, 220, 10}, RGB(255, 0, 0)), 0);
}

TEST(CMyColorStatic, FontDefaultsAndBold)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(100, 40));
    ProbeStatic label;
    ASSERT_TRUE(label.Create("", WS_VISIBLE, CRect(0, 0, 100, 40), &parent, 100));
    LOGFONT lf = label.Font();
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfHeight, 12);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfUnderline, 0);
    label.SetTextBold(TRUE);
    label.SetHyperLink(TRUE);
    label.SetItalic(TRUE);
    lf = label.Font();
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 1);
}

TEST(CMyColorStatic, LongCaptionBecomesTheTooltip)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(100, 40));
    ProbeStatic label;
    ASSERT_TRUE(label.Create("", WS_VISIBLE, CRect(0, 0, 100, 40), &parent, 100));
    const CString caption = "0123456789012345678901234567890123456789";
    label.SetCaption(caption, 20);
    EXPECT_EQ(label.m_strToolTip, caption);
    label.SetCaption("short", 20);
    EXPECT_EQ(label.m_strToolTip, caption);  // a short caption keeps the last tooltip
}

TEST(CMyColorStatic, SameCaptionTwicePaintsOnce)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(100, 40));
    ProbeStatic label;
    ASSERT_TRUE(label.Create("", WS_VISIBLE, CRect(0, 0, 100, 40), &parent, 100));
    WaitFor([] { return false; }, 100);
    label.paints = 0;
    label.SetCaption("one", 0);
    WaitFor([] { return false; }, 100);
    const int afterFirst = label.paints;
    EXPECT_GE(afterFirst, 1);
    label.SetCaption("one", 0);
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(label.paints, afterFirst);
    EXPECT_EQ(label.GetCaption(), "one");
}

}  // namespace

VX_UI_TEST_MAIN()
