// Raster operations, colour keys, alpha blending, regions and shapes,
// checked pixel by pixel on memory DCs.
#include "gdi_test_util.h"

namespace {

struct RopCase {
    const char* name;
    DWORD rop;
    COLORREF src;
    COLORREF dst;
    COLORREF expected;
};

TEST(Raster, OperationsCombineSourceAndDestinationBitwise)
{
    const COLORREF s = RGB(0xF0, 0x0F, 0xAA);
    const COLORREF d = RGB(0x3C, 0xFF, 0x55);
    const RopCase cases[] = {
        {"SRCCOPY", SRCCOPY, s, d, s},
        {"SRCAND", SRCAND, s, d, RGB(0x30, 0x0F, 0x00)},
        {"SRCPAINT", SRCPAINT, s, d, RGB(0xFC, 0xFF, 0xFF)},
        {"SRCINVERT", SRCINVERT, s, d, RGB(0xCC, 0xF0, 0xFF)},
        {"NOTSRCCOPY", NOTSRCCOPY, s, d, RGB(0x0F, 0xF0, 0x55)},
        {"SRCERASE", SRCERASE, s, d, RGB(0xC0, 0x00, 0xAA)},
        {"MERGEPAINT", MERGEPAINT, s, d, RGB(0x3F, 0xFF, 0x55)},
        {"DSTINVERT", DSTINVERT, s, d, RGB(0xC3, 0x00, 0xAA)},
        {"BLACKNESS", BLACKNESS, s, d, kBlack},
        {"WHITENESS", WHITENESS, s, d, kWhite},
    };
    for (const RopCase& c : cases) {
        MemDc src(3, 3, c.src);
        MemDc dst(4, 4, c.dst);
        ASSERT_TRUE(BitBlt(dst.dc, 1, 1, 2, 2, src.dc, 0, 0, c.rop)) << c.name;
        EXPECT_EQ(dst.At(1, 1), c.expected) << c.name;
        EXPECT_EQ(dst.At(2, 2), c.expected) << c.name;
        // Only the rectangle changes.
        EXPECT_EQ(dst.At(0, 0), c.dst) << c.name;
        EXPECT_EQ(dst.At(3, 3), c.dst) << c.name;
    }
}

TEST(Raster, RepeatedXorRestoresDestinationAndStaysOpaque)
{
    MemDc src(2, 2, RGB(0x12, 0x34, 0x56));
    MemDc dst(2, 2, RGB(0xAB, 0xCD, 0xEF));
    BitBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, SRCINVERT);
    BitBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.At(0, 0), RGB(0xAB, 0xCD, 0xEF));
    // The result copies on as an opaque picture (no alpha lost to the XOR).
    MemDc third(2, 2, kBlack);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(AlphaBlend(third.dc, 0, 0, 2, 2, dst.dc, 0, 0, 2, 2, bf));
    EXPECT_EQ(third.At(1, 1), RGB(0xAB, 0xCD, 0xEF));
}

TEST(Raster, ColourToMonochromeMarksTheSourceBackgroundWhite)
{
    MemDc src(3, 1, kRed);
    src.Fill(1, 0, 2, 1, kMagenta);
    MemDc mask(3, 1, kBlack, true);
    SetBkColor(src.dc, kMagenta);
    BitBlt(mask.dc, 0, 0, 3, 1, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(mask.Rows({{kBlack, '0'}, {kWhite, '1'}}), std::vector<std::string>{"010"});
}

TEST(Raster, MonochromeToColourTakesTextAndBackgroundColours)
{
    MemDc mono(2, 1, kBlack, true);
    SetPixel(mono.dc, 1, 0, kWhite);
    MemDc dst(2, 1, kGreen);
    SetTextColor(dst.dc, kRed);
    SetBkColor(dst.dc, kBlue);
    BitBlt(dst.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), kRed);
    EXPECT_EQ(dst.At(1, 0), kBlue);
}

// The classic masked drawing (copy, monochrome mask, AND the mask into the
// copy and the destination, OR the copy on): key-coloured pixels of the
// image leave the destination as it was.
void DrawMasked(HDC dest, HDC imgDc, int w, int h, COLORREF key)
{
    HDC copyDc = CreateCompatibleDC(dest);
    HBITMAP copy = CreateCompatibleBitmap(dest, w, h);
    HGDIOBJ oldCopy = SelectObject(copyDc, copy);
    BitBlt(copyDc, 0, 0, w, h, imgDc, 0, 0, SRCCOPY);
    HDC maskDc = CreateCompatibleDC(dest);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    SetBkColor(copyDc, key);
    BitBlt(maskDc, 0, 0, w, h, copyDc, 0, 0, SRCCOPY);
    SetBkColor(copyDc, kBlack);
    SetTextColor(copyDc, kWhite);
    BitBlt(copyDc, 0, 0, w, h, maskDc, 0, 0, SRCAND);
    COLORREF oldBk = SetBkColor(dest, kWhite);
    COLORREF oldText = SetTextColor(dest, kBlack);
    BitBlt(dest, 0, 0, w, h, maskDc, 0, 0, SRCAND);
    BitBlt(dest, 0, 0, w, h, copyDc, 0, 0, SRCPAINT);
    SetBkColor(dest, oldBk);
    SetTextColor(dest, oldText);
    SelectObject(maskDc, oldMask);
    SelectObject(copyDc, oldCopy);
    DeleteDC(maskDc);
    DeleteDC(copyDc);
    DeleteObject(mask);
    DeleteObject(copy);
}

TEST(Raster, MaskTechniqueKeepsDestinationUnderKeyColour)
{
    MemDc image(4, 2, kMagenta);
    image.Fill(1, 0, 3, 1, kRed);
    image.Fill(0, 1, 1, 2, kBlue);
    image.Fill(3, 1, 4, 2, kWhite);
    MemDc dest(4, 2, kGreen);
    DrawMasked(dest.dc, image.dc, 4, 2, kMagenta);
    EXPECT_EQ(dest.Rows({{kGreen, 'g'}, {kRed, 'r'}, {kBlue, 'b'}, {kWhite, 'w'}}),
              (std::vector<std::string>{"grrg", "bggw"}));
}

TEST(Raster, TransparentBltStretchesAndSkipsTheKey)
{
    MemDc src(2, 1, kMagenta);
    SetPixel(src.dc, 1, 0, kRed);
    MemDc dst(4, 2, kGreen);
    ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 4, 2, src.dc, 0, 0, 2, 1, kMagenta));
    EXPECT_EQ(dst.Rows({{kGreen, 'g'}, {kRed, 'r'}}), (std::vector<std::string>{"ggrr", "ggrr"}));
    // A source rectangle outside the source is refused, nothing drawn.
    EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, 4, 2, src.dc, 1, 0, 2, 1, kMagenta));
}

TEST(Raster, AlphaBlendConstantAndPerPixel)
{
    MemDc white(1, 1, kWhite);
    MemDc dst(1, 1, kBlack);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 1, 1, white.dc, 0, 0, 1, 1, half));
    EXPECT_NEAR(GetRValue(dst.At(0, 0)), 128, 1);

    // Premultiplied pixels (B, G, R, A): opaque red, transparent, half green.
    const unsigned char bits[] = {0, 0, 255, 255, 0, 0, 0, 0, 0, 128, 0, 128};
    HBITMAP bm = CreateBitmap(3, 1, 1, 32, bits);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, bm);
    MemDc blue(3, 1, kBlue);
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(blue.dc, 0, 0, 3, 1, src, 0, 0, 3, 1, perPixel));
    EXPECT_EQ(blue.At(0, 0), kRed);
    EXPECT_EQ(blue.At(1, 0), kBlue);
    COLORREF mixed = blue.At(2, 0);
    EXPECT_NEAR(GetGValue(mixed), 128, 1);
    EXPECT_NEAR(GetBValue(mixed), 127, 1);
    EXPECT_FALSE(AlphaBlend(blue.dc, 0, 0, 3, 1, src, 1, 0, 3, 1, perPixel));
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(bm);
}

// A region of the pixels that differ from the key, built from one-pixel-high
// runs, bottom row first, united one by one.
HRGN RegionOf(HDC dc, int w, int h, COLORREF key)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    for (int y = h - 1; y >= 0; --y) {
        int x = 0;
        while (x < w) {
            while (x < w && GetPixel(dc, x, y) == key)
                ++x;
            int start = x;
            while (x < w && GetPixel(dc, x, y) != key)
                ++x;
            if (x > start) {
                HRGN run = CreateRectRgn(start, y, x, y + 1);
                CombineRgn(rgn, rgn, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    return rgn;
}

TEST(Regions, RegionFromMaskedBitmapHoldsExactlyTheOpaquePixels)
{
    MemDc img(5, 3, kMagenta);
    img.Fill(1, 0, 3, 1, kRed);
    img.Fill(4, 1, 5, 2, kBlue);  // a lone pixel in the last column
    img.Fill(0, 2, 5, 3, kGreen);
    HRGN rgn = RegionOf(img.dc, 5, 3, kMagenta);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PtInRegion(rgn, x, y) != 0, img.At(x, y) != kMagenta) << x << "," << y;
    RECT box{};
    EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 3);
    DeleteObject(rgn);

    MemDc allKey(3, 3, kMagenta);
    HRGN none = RegionOf(allKey.dc, 3, 3, kMagenta);
    EXPECT_EQ(GetRgnBox(none, &box), NULLREGION);
    DeleteObject(none);
}

TEST(Regions, CombineModesAndClipping)
{
    HRGN a = CreateRectRgn(0, 0, 4, 4);
    HRGN b = CreateRectRgn(2, 2, 6, 6);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(r, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(r, 3, 3));
    EXPECT_FALSE(PtInRegion(r, 4, 4));  // right and bottom are outside
    EXPECT_EQ(CombineRgn(r, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(r, 3, 3));
    EXPECT_EQ(CombineRgn(r, a, a, RGN_XOR), NULLREGION);
    EXPECT_EQ(CombineRgn(r, a, nullptr, RGN_OR), ERROR);

    MemDc dst(6, 6, kWhite);
    SelectClipRgn(dst.dc, b);
    dst.Fill(0, 0, 6, 6, kRed);
    EXPECT_EQ(dst.At(1, 1), CLR_INVALID);  // outside the clip: not readable
    SelectClipRgn(dst.dc, nullptr);
    EXPECT_EQ(dst.At(1, 1), kWhite);
    EXPECT_EQ(dst.At(2, 2), kRed);
    IntersectClipRect(dst.dc, 0, 0, 1, 1);
    dst.Fill(0, 0, 6, 6, kBlue);
    SelectClipRgn(dst.dc, nullptr);
    EXPECT_EQ(dst.At(0, 0), kBlue);
    EXPECT_EQ(dst.At(1, 0), kWhite);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(r);
}

TEST(Shapes, PixelRulesOfRectanglesLinesAndFrames)
{
    MemDc dc(6, 5, kWhite);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT rc{1, 1, 5, 4};
    FrameRect(dc.dc, &rc, red);
    EXPECT_EQ(dc.Rows({{kWhite, '.'}, {kRed, 'r'}}),
              (std::vector<std::string>{"......", ".rrrr.", ".r..r.", ".rrrr.", "......"}));

    MemDc shape(6, 5, kWhite);
    HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
    HGDIOBJ oldPen = SelectObject(shape.dc, pen);
    HGDIOBJ oldBrush = SelectObject(shape.dc, red);
    Rectangle(shape.dc, 0, 0, 5, 4);
    MoveToEx(shape.dc, 0, 4, nullptr);
    LineTo(shape.dc, 6, 4);  // the end point is not drawn
    EXPECT_EQ(shape.Rows({{kWhite, '.'}, {kRed, 'r'}, {kBlue, 'b'}}),
              (std::vector<std::string>{"bbbbb.", "brrrb.", "brrrb.", "bbbbb.", "bbbbbb"}));
    SelectObject(shape.dc, oldPen);
    SelectObject(shape.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(red);
}

TEST(Shapes, FocusRectangleDrawnTwiceLeavesNoTrace)
{
    MemDc dc(8, 6, RGB(10, 20, 30));
    RECT rc{1, 1, 7, 5};
    DrawFocusRect(dc.dc, &rc);
    EXPECT_NE(dc.At(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(dc.At(3, 3), RGB(10, 20, 30));
    DrawFocusRect(dc.dc, &rc);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(dc.At(x, y), RGB(10, 20, 30));
}

TEST(Shapes, Draw3dRectGivesTopLeftAndBottomRightColours)
{
    MemDc mem(4, 3, kWhite);
    CDC dc;
    dc.Attach(mem.dc);
    dc.Draw3dRect(CRect(0, 0, 4, 3), kRed, kBlue);
    dc.Detach();
    EXPECT_EQ(mem.Rows({{kWhite, '.'}, {kRed, 'r'}, {kBlue, 'b'}}), (std::vector<std::string>{"rrrb", "r..b", "bbbb"}));
}

TEST(Objects, SelectionSaveAndRestore)
{
    MemDc mem(2, 2, kWhite);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ stockPen = SelectObject(mem.dc, pen);
    EXPECT_EQ(stockPen, GetStockObject(BLACK_PEN));
    int saved = SaveDC(mem.dc);
    SetTextColor(mem.dc, kBlue);
    SelectObject(mem.dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(RestoreDC(mem.dc, saved));
    EXPECT_EQ(GetTextColor(mem.dc), kBlack);
    EXPECT_EQ(GetCurrentObject(mem.dc, OBJ_PEN), pen);
    EXPECT_FALSE(RestoreDC(mem.dc, saved));  // that level is gone
    SelectObject(mem.dc, stockPen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));  // a stale handle is refused
}

TEST(Objects, BitmapsInUseAndCompatibility)
{
    HDC dc = CreateCompatibleDC(nullptr);
    // A fresh memory DC holds a 1x1 monochrome bitmap, so a bitmap made
    // compatible with it is monochrome.
    HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
    BITMAP bm{};
    ASSERT_EQ(GetObject(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 8);
    HGDIOBJ old = SelectObject(dc, mono);
    EXPECT_FALSE(DeleteObject(mono));  // selected: kept
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, mono), nullptr);  // one DC at a time
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(mono));
    DeleteDC(other);
    DeleteDC(dc);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);  // the DC is gone
}

TEST(Objects, BitmapBitsRoundTrip)
{
    const unsigned char monoBits[] = {0xA0, 0x00, 0x40, 0x00};  // rows are WORD-aligned
    HBITMAP m = CreateBitmap(3, 2, 1, 1, monoBits);
    unsigned char back[4] = {};
    EXPECT_EQ(GetBitmapBits(m, sizeof back, back), 4);
    EXPECT_EQ(back[0], 0xA0);
    EXPECT_EQ(back[2], 0x40);
    DeleteObject(m);
}

}  // namespace

VX_UI_TEST_MAIN()
