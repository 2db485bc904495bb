// Pictures drawn at build time from their descriptions load as bitmaps,
// cursors and raw data of a resource module, pixel for pixel.
#include "platform/ui/ui_test_env.h"

#include "platform/gdi/CtlColor_p.h"

void vx_test_pictures(vxw::ResourceModule& module);

namespace {

HINSTANCE Module()
{
    static HINSTANCE h = vxw::RegisterResourceModule("vx_test_generated", vx_test_pictures);
    return h;
}

TEST(GeneratedPictures, LoadAsTheyWereDescribed)
{
    HBITMAP bm = LoadBitmap(Module(), MAKEINTRESOURCE(300));
    ASSERT_NE(bm, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0x20, 0x60, 0xC0));
    EXPECT_EQ(GetPixel(dc, 18, 6), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bm);

    auto cursor = static_cast<HCURSOR>(LoadImage(Module(), MAKEINTRESOURCE(207), IMAGE_CURSOR, 0, 0, 0));
    QImage img;
    QPoint hot;
    ASSERT_TRUE(vxgdi::CursorImage(cursor, &img, &hot));
    EXPECT_EQ(hot, QPoint(6, 1));
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(6, 2)), 255);

    HRSRC res = FindResource(Module(), MAKEINTRESOURCE(400), "PNG");
    ASSERT_NE(res, nullptr);
    EXPECT_GT(SizeofResource(Module(), res), 8u);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(Module(), res)));
    EXPECT_EQ(bytes[1], 'P');
}

}  // namespace

VX_UI_TEST_MAIN()
