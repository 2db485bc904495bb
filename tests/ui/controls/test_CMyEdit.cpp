// The coloured edit: background filling its border band, the border colour,
// the text colour, a plain edit without colours, and its font.
#include "window_test_util.h"

#include "ui/controls/CMyEdit.h"

using namespace ctltest;

namespace {

constexpr COLORREF kText = RGB(0, 0, 220);
constexpr COLORREF kBack = RGB(255, 240, 0);
constexpr COLORREF kBorder = RGB(220, 0, 0);

TEST(CMyEdit, BackgroundBorderAndText)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(240, 60));
    CMyEdit edit;
    ASSERT_TRUE(
        edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "MMMM", WS_CHILD | WS_VISIBLE, CRect(10, 10, 230, 50), &parent, 5));
    edit.SetTextColor(kText);
    edit.SetBgColor(kBack);
    edit.SetBorderColor(kBorder);
    QImage img = Grab(edit);
    const int w = img.width();
    const int h = img.height();
    EXPECT_EQ(At(img, 0, 0), kBorder);
    EXPECT_EQ(At(img, w - 1, h / 2), kBorder);
    EXPECT_EQ(At(img, 1, h / 2), kBack);  // the band inside the frame
    EXPECT_EQ(At(img, w - 10, h / 2), kBack);
    EXPECT_GT(Count(img, RECT{0, 0, w, h}, kText), 2);
}

TEST(CMyEdit, WithoutColoursAPlainEditWithItsTextColour)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(240, 60));
    CMyEdit edit;
    ASSERT_TRUE(
        edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "MMMM", WS_CHILD | WS_VISIBLE, CRect(10, 10, 230, 50), &parent, 5));
    CEdit plain;
    ASSERT_TRUE(
        plain.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 230, 50), &parent, 6));
    plain.ShowWindow(SW_HIDE);
    edit.SetTextColor(kText);
    QImage mine = Grab(edit);
    plain.ShowWindow(SW_SHOW);
    QImage theirs = Grab(plain);
    const int w = mine.width();
    const int h = mine.height();
    EXPECT_EQ(At(mine, w - 10, h / 2), At(theirs, w - 10, h / 2));
    EXPECT_EQ(At(mine, 0, 0), At(theirs, 0, 0));
    EXPECT_GT(Count(mine, RECT{0, 0, w, h}, kText), 2);
}

TEST(CMyEdit, FontByNameAndHeight)
{
    Parent parent;
    ASSERT_TRUE(parent.Make(240, 60));
    CMyEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 230, 50), &parent, 5));
    edit.SetFontName("Arial", 16);
    CFont* font = edit.GetFont();
    ASSERT_NE(font, nullptr);
    LOGFONT lf{};
    ASSERT_TRUE(font->GetLogFont(&lf));
    EXPECT_EQ(lf.lfHeight, 16);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    edit.SetFontName("Sans", 20);  // replaces the first
    ASSERT_TRUE(edit.GetFont()->GetLogFont(&lf));
    EXPECT_EQ(lf.lfHeight, 20);
}

}  // namespace

VX_UI_TEST_MAIN()
