// DrawText layout against measured extents: the rectangle DT_CALCRECT
// reports, word breaks, prefixes, both ellipses, alignment and background.
#include "gdi_test_util.h"

#include <cstring>

namespace {

class TextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = CreateFont(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
        SelectObject(mem.dc, font);
        TEXTMETRIC tm{};
        ASSERT_TRUE(GetTextMetrics(mem.dc, &tm));
        lineH = tm.tmHeight;
        ASSERT_GT(lineH, 10);
    }
    void TearDown() override
    {
        SelectObject(mem.dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    }
    int Width(const char* s)
    {
        SIZE sz{};
        GetTextExtentPoint32(mem.dc, s, static_cast<int>(std::strlen(s)), &sz);
        return sz.cx;
    }
    RECT Calc(const char* s, int width, UINT fmt)
    {
        RECT r{10, 20, 10 + width, 20};
        DrawText(mem.dc, s, -1, &r, fmt | DT_CALCRECT);
        return r;
    }
    // The bounding box of pixels that are not white.
    RECT Ink()
    {
        RECT box{1000, 1000, -1, -1};
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 300; ++x)
                if (mem.At(x, y) != kWhite) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    MemDc mem{300, 60, kWhite};
    HFONT font = nullptr;
    int lineH = 0;
};

TEST_F(TextTest, CalcRectOfOneLineIsTheMeasuredExtent)
{
    RECT r = Calc("Camera 1", 5, DT_SINGLELINE);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, Width("Camera 1"));
    EXPECT_EQ(r.bottom - r.top, lineH);
    EXPECT_EQ(Calc("", 5, DT_SINGLELINE).right, 10);
}

TEST_F(TextTest, WordBreakWrapsAtSpacesWithinTheWidth)
{
    int w = Width("one two") + 2;
    RECT r = Calc("one two three four", w, DT_WORDBREAK);
    EXPECT_EQ(r.bottom - r.top, 3 * lineH);  // "one two", "three", "four"
    EXPECT_EQ(r.right - r.left, w);
    // A word longer than the line is not split; the rectangle widens to it.
    RECT wide = Calc("a extraordinarily b", Width("a b") + 1, DT_WORDBREAK);
    EXPECT_EQ(wide.right - wide.left, Width("extraordinarily"));
    EXPECT_EQ(wide.bottom - wide.top, 3 * lineH);
    // Line breaks in the text count even without word break.
    EXPECT_EQ(Calc("a\nb\r\nc", 100, 0).bottom - 20, 3 * lineH);
}

TEST_F(TextTest, PrefixesAreStrippedUnlessNoPrefix)
{
    EXPECT_EQ(Calc("A&&B", 5, DT_SINGLELINE).right - 10, Width("A&B"));
    EXPECT_EQ(Calc("&File", 5, DT_SINGLELINE).right - 10, Width("File"));
    EXPECT_EQ(Calc("&File", 5, DT_SINGLELINE | DT_NOPREFIX).right - 10, Width("&File"));
}

TEST_F(TextTest, EllipsesShortenToTheWidth)
{
    const int w = Width("C:/records/cam") + 1;
    char end[] = "C:/records/camera1/2024/clip.avi";
    RECT r{0, 0, w, lineH};
    DrawText(mem.dc, end, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX);
    std::string e = end;
    ASSERT_GE(e.size(), 3u);
    EXPECT_EQ(e.substr(e.size() - 3), "...");
    EXPECT_EQ(std::string("C:/records/camera1/2024/clip.avi").rfind(e.substr(0, e.size() - 3), 0), 0u);
    EXPECT_LE(Width(end), w);

    char path[] = "C:/records/camera1/2024/clip.avi";
    r = RECT{0, 0, Width(".../2024/clip.avi") + 1, lineH};
    DrawText(mem.dc, path, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX);
    std::string p = path;
    EXPECT_NE(p.find("..."), std::string::npos) << p;
    EXPECT_EQ(p.substr(p.size() - 9), "/clip.avi");
    EXPECT_LE(Width(path), r.right);

    // Text that fits is left alone.
    char fits[] = "short";
    r = RECT{0, 0, 200, lineH};
    DrawText(mem.dc, fits, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_STREQ(fits, "short");
}

TEST_F(TextTest, EndEllipsisKeepsInkInsideTheRectangle)
{
    const char* s = "A long camera name that does not fit";
    RECT r{0, 0, 80, 30};
    SetBkMode(mem.dc, TRANSPARENT);
    DrawText(mem.dc, s, -1, &r, DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS);
    EXPECT_LE(Ink().right, 80);
    mem.Fill(0, 0, 300, 60, kWhite);
    DrawText(mem.dc, s, -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink().right, 80);
}

TEST_F(TextTest, CentredTextSitsInTheMiddle)
{
    RECT r{0, 0, 300, 60};
    SetBkMode(mem.dc, TRANSPARENT);
    DrawText(mem.dc, "Record", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    RECT ink = Ink();
    EXPECT_NEAR((ink.left + ink.right) / 2, 150, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 4);
    mem.Fill(0, 0, 300, 60, kWhite);
    DrawText(mem.dc, "Record", -1, &r, DT_SINGLELINE | DT_RIGHT);
    EXPECT_LE(Ink().right, 300);
    EXPECT_GE(Ink().right, 296);
}

TEST_F(TextTest, OpaqueModeFillsTheTextBackground)
{
    SetBkColor(mem.dc, kBlue);
    SetTextColor(mem.dc, kWhite);
    RECT r{0, 0, 300, 60};
    SetBkMode(mem.dc, OPAQUE);
    DrawText(mem.dc, "Hi", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(mem.At(0, 0), kBlue);
    EXPECT_EQ(mem.At(Width("Hi") + 2, 0), kWhite);  // only the text's extent
    mem.Fill(0, 0, 300, 60, kWhite);
    SetBkMode(mem.dc, TRANSPARENT);
    DrawText(mem.dc, "Hi", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(mem.At(0, 0), kWhite);
}

}  // namespace

VX_UI_TEST_MAIN()
