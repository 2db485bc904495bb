// Image lists, icons and the image layer: transparency by mask, colour key
// and alpha, pixel by pixel on memory DCs.
#include "gdi_test_util.h"

#include "platform/gdi/CtlColor_p.h"
#include "platform/ui/ResourceModule.h"

#include "platform/ui/clipboard.h"

#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

// Encoded picture bytes made here, so that no binary file is kept.
std::vector<unsigned char> Encode(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// 4x2: left half opaque red, right half transparent (or white without alpha).
QImage TwoHalves(bool alpha)
{
    QImage img(4, 2, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    img.fill(alpha ? Qt::transparent : Qt::white);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            img.setPixel(x, y, qRgb(255, 0, 0));
    return img;
}

TEST(ImageList, MaskColourSlicesAStripAndDrawsTransparently)
{
    MemDc strip(8, 4, kMagenta);
    strip.Fill(0, 0, 4, 4, kRed);   // image 0: red square
    strip.Fill(5, 1, 7, 3, kBlue);  // image 1: blue centre on the key
    HIMAGELIST il = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 1);
    SelectObject(strip.dc, strip.old);  // a bitmap is read while in no DC
    EXPECT_EQ(ImageList_AddMasked(il, strip.bmp, kMagenta), 0);
    strip.old = SelectObject(strip.dc, strip.bmp);
    EXPECT_EQ(ImageList_GetImageCount(il), 2);

    MemDc dst(4, 4, kGreen);
    ASSERT_TRUE(ImageList_Draw(il, 1, dst.dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(dst.Rows({{kGreen, 'g'}, {kBlue, 'b'}}), (std::vector<std::string>{"gggg", "gbbg", "gbbg", "gggg"}));
    // With a background colour the transparent part is filled.
    ImageList_SetBkColor(il, kWhite);
    ImageList_Draw(il, 1, dst.dc, 0, 0, ILD_NORMAL);
    EXPECT_EQ(dst.At(0, 0), kWhite);

    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(il, 1, &info));
    EXPECT_EQ(info.rcImage.left, 4);
    EXPECT_EQ(info.rcImage.right, 8);
    EXPECT_NE(info.hbmMask, nullptr);
    EXPECT_FALSE(ImageList_Draw(il, 2, dst.dc, 0, 0, ILD_NORMAL));
    ImageList_Destroy(il);
}

TEST(ImageList, ClassWrapperAddsIconsAndBitmapsWithMasks)
{
    CImageList list;
    ASSERT_TRUE(list.Create(2, 1, ILC_COLOR32 | ILC_MASK, 0, 4));
    MemDc img(2, 1, kRed);
    MemDc mask(2, 1, kBlack, true);
    SetPixel(mask.dc, 1, 0, kWhite);  // right pixel transparent
    SelectObject(img.dc, img.old);
    SelectObject(mask.dc, mask.old);
    EXPECT_EQ(list.Add(CBitmap::FromHandle(img.bmp), CBitmap::FromHandle(mask.bmp)), 0);
    img.old = SelectObject(img.dc, img.bmp);
    mask.old = SelectObject(mask.dc, mask.bmp);
    MemDc dst(2, 1, kBlue);
    CDC* dc = CDC::FromHandle(dst.dc);
    EXPECT_TRUE(list.Draw(dc, 0, CPoint(0, 0), ILD_TRANSPARENT));
    EXPECT_EQ(dst.At(0, 0), kRed);
    EXPECT_EQ(dst.At(1, 0), kBlue);
    EXPECT_EQ(list.GetImageCount(), 1);
}

TEST(Icons, InfoRoundTripAndDrawingKeepTheShape)
{
    // Colour: red square; mask: white (transparent) border of one pixel.
    MemDc color(4, 4, kRed);
    MemDc mask(4, 4, kWhite, true);
    mask.Fill(1, 1, 3, 3, kBlack);
    SelectObject(color.dc, color.old);
    SelectObject(mask.dc, mask.old);
    ICONINFO ii{TRUE, 0, 0, mask.bmp, color.bmp};
    HICON icon = CreateIconIndirect(&ii);
    color.old = SelectObject(color.dc, color.bmp);
    mask.old = SelectObject(mask.dc, mask.bmp);
    ASSERT_NE(icon, nullptr);

    ICONINFO back{};
    ASSERT_TRUE(GetIconInfo(icon, &back));
    EXPECT_EQ(back.xHotspot, 2u);  // an icon's hot spot is its centre
    EXPECT_EQ(back.yHotspot, 2u);
    BITMAP bm{};
    GetObject(back.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(back.hbmMask);
    DeleteObject(back.hbmColor);

    MemDc dst(4, 4, kGreen);
    ASSERT_TRUE(DrawIconEx(dst.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dst.Rows({{kGreen, 'g'}, {kRed, 'r'}}), (std::vector<std::string>{"gggg", "grrg", "grrg", "gggg"}));

    // Disabled: no pixel keeps the icon's own colour.
    MemDc dis(6, 6, kWhite);
    ASSERT_TRUE(
        DrawState(dis.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 4, 4, DST_ICON | DSS_DISABLED));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_NE(dis.At(x, y), kRed);
    EXPECT_EQ(dis.At(1, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_NE(LoadIcon(nullptr, IDI_APPLICATION), nullptr);
}

TEST(Picture, AlphaPngKeepsItsTransparencyEvenWithAKey)
{
    std::vector<unsigned char> png = Encode(TwoHalves(true), "PNG");
    std::unique_ptr<Gdiplus::Image> img(Gdiplus::Image::FromMemory(png.data(), png.size()));
    ASSERT_EQ(img->GetLastStatus(), Gdiplus::Ok);
    EXPECT_TRUE(Gdiplus::IsAlphaPixelFormat(img->GetPixelFormat()));
    EXPECT_EQ(img->GetWidth(), 4u);
    MemDc dst(4, 2, kGreen);
    Gdiplus::Graphics g(dst.dc);
    ASSERT_EQ(g.DrawImage(img.get(), Gdiplus::Rect(0, 0, 4, 2), 0, 0, 4, 2, Gdiplus::UnitPixel), Gdiplus::Ok);
    EXPECT_EQ(dst.Rows({{kGreen, 'g'}, {kRed, 'r'}}), (std::vector<std::string>{"rrgg", "rrgg"}));
}

TEST(Picture, BmpWithWhiteKeyShowsNoWhiteAndSourceRectanglesScale)
{
    std::vector<unsigned char> bmp = Encode(TwoHalves(false), "BMP");
    std::unique_ptr<Gdiplus::Image> img(Gdiplus::Image::FromMemory(bmp.data(), bmp.size()));
    ASSERT_EQ(img->GetLastStatus(), Gdiplus::Ok);
    EXPECT_FALSE(Gdiplus::IsAlphaPixelFormat(img->GetPixelFormat()));
    Gdiplus::ImageAttributes keyed;
    keyed.SetColorKey(Gdiplus::Color(255, 255, 255, 255), Gdiplus::Color(255, 255, 255, 255));
    MemDc dst(8, 4, kGreen);
    Gdiplus::Graphics g(dst.dc);
    g.DrawImage(img.get(), Gdiplus::Rect(0, 0, 8, 4), 0, 0, 4, 2, Gdiplus::UnitPixel, &keyed);
    EXPECT_EQ(dst.At(1, 1), kRed);
    EXPECT_EQ(dst.At(6, 2), kGreen);
    for (int x = 0; x < 8; ++x)
        EXPECT_NE(dst.At(x, 2), kWhite);
    // Only the right half of the source, stretched over the destination.
    g.DrawImage(img.get(), Gdiplus::Rect(0, 0, 8, 4), 2, 0, 2, 2, Gdiplus::UnitPixel);
    EXPECT_EQ(dst.At(0, 0), kWhite);
}

TEST(Picture, UndecodableDataStillGivesAnEmptyImage)
{
    const char junk[] = "not a picture";
    std::unique_ptr<Gdiplus::Image> img(Gdiplus::Image::FromMemory(junk, sizeof junk));
    ASSERT_NE(img, nullptr);
    EXPECT_NE(img->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(img->GetWidth(), 0u);
    MemDc dst(2, 2, kGreen);
    Gdiplus::Graphics g(dst.dc);
    EXPECT_NE(g.DrawImage(img.get(), 0, 0, 2, 2), Gdiplus::Ok);
    EXPECT_EQ(dst.At(0, 0), kGreen);
    // Through a stream over a movable block, which the stream frees.
    std::vector<unsigned char> png = Encode(TwoHalves(true), "PNG");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, png.size());
    std::memcpy(GlobalLock(block), png.data(), png.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    std::unique_ptr<Gdiplus::Image> fromStream(Gdiplus::Image::FromStream(stream));
    stream->Release();
    EXPECT_EQ(fromStream->GetWidth(), 4u);
    EXPECT_NE(GlobalFree(block), nullptr);  // already freed with the stream
    EXPECT_NE(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    std::unique_ptr<Gdiplus::Image> missing(Gdiplus::Image::FromFile("/nonexistent/vx.png"));
    EXPECT_EQ(missing->GetLastStatus(), Gdiplus::FileNotFound);
}

TEST(Picture, RegionOfOpaquePixelsFromAScaledBitmap)
{
    std::vector<unsigned char> png = Encode(TwoHalves(true), "PNG");
    std::unique_ptr<Gdiplus::Image> img(Gdiplus::Image::FromMemory(png.data(), png.size()));
    Gdiplus::Bitmap scaled(8, 4, PixelFormat32bppARGB);
    Gdiplus::Graphics g(&scaled);
    g.DrawImage(img.get(), 0, 0, 8, 4);
    Gdiplus::GraphicsPath path;
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 4; ++y) {
            Gdiplus::Color c;
            scaled.GetPixel(x, y, &c);
            if (c.GetA() != 0)
                path.AddRectangle(Gdiplus::Rect(x, y, 1, 1));
        }
    Gdiplus::Region region(&path);
    HRGN rgn = region.GetHRGN(&g);
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 2, 3));
    EXPECT_FALSE(PtInRegion(rgn, 6, 1));
    DeleteObject(rgn);

    QImage clear(3, 3, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    std::vector<unsigned char> none = Encode(clear, "PNG");
    std::unique_ptr<Gdiplus::Image> empty(Gdiplus::Image::FromMemory(none.data(), none.size()));
    Gdiplus::Bitmap b(3, 3);
    Gdiplus::Graphics gb(&b);
    gb.DrawImage(empty.get(), 0, 0, 3, 3);
    Gdiplus::Color c;
    b.GetPixel(1, 1, &c);
    EXPECT_EQ(c.GetA(), 0);
}

TEST(Picture, LoadFromFileAndFromAGdiBitmap)
{
    std::string path = std::string(VX_BIN_DIR) + "/vx_test_picture.jpg";
    QImage solid(6, 4, QImage::Format_RGB32);
    solid.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(solid.save(QString::fromStdString(path), "JPEG", 95));
    std::unique_ptr<Gdiplus::Image> jpg(Gdiplus::Image::FromFile(path.c_str()));
    EXPECT_EQ(jpg->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(jpg->GetWidth(), 6u);
    EXPECT_EQ(jpg->GetHeight(), 4u);
    std::remove(path.c_str());

    MemDc src(3, 2, kRed);
    SelectObject(src.dc, src.old);
    std::unique_ptr<Gdiplus::Bitmap> fromGdi(Gdiplus::Bitmap::FromHBITMAP(src.bmp, nullptr));
    src.old = SelectObject(src.dc, src.bmp);
    EXPECT_EQ(fromGdi->GetWidth(), 3u);
    EXPECT_FALSE(Gdiplus::IsAlphaPixelFormat(fromGdi->GetPixelFormat()));
    Gdiplus::Color c;
    fromGdi->GetPixel(2, 1, &c);
    EXPECT_EQ(c.ToCOLORREF(), kRed);
}

// A resource module holding encoded pictures, as the build's generator
// makes them.
HINSTANCE PictureModule()
{
    static HINSTANCE h = vxw::RegisterResourceModule("vx_test_pictures", [](vxw::ResourceModule& m) {
        QImage strip(8, 4, QImage::Format_RGB32);
        strip.fill(qRgb(255, 0, 255));
        for (int y = 0; y < 4; ++y)
            strip.setPixel(5, y, qRgb(0, 0, 255));
        m.AddData(RT_BITMAP, 300, Encode(strip, "BMP"));
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        icon.setPixel(16, 16, qRgb(255, 0, 0));
        m.AddData(RT_GROUP_ICON, 128, Encode(icon, "PNG"));
        QImage hand(16, 16, QImage::Format_ARGB32);
        hand.fill(qRgba(0, 0, 0, 255));
        hand.setText("hotspot", "5,1");
        m.AddData(RT_GROUP_CURSOR, 207, Encode(hand, "PNG"));
        m.AddData("PNG", 500, Encode(TwoHalves(true), "PNG"));
    });
    return h;
}

TEST(Resources, PicturesIconsAndCursorsLoadFromModules)
{
    HINSTANCE mod = PictureModule();
    HBITMAP bm = LoadBitmap(mod, MAKEINTRESOURCE(300));
    ASSERT_NE(bm, nullptr);
    BITMAP info{};
    GetObject(bm, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmBitsPixel, 32);
    DeleteObject(bm);
    EXPECT_EQ(LoadBitmap(mod, MAKEINTRESOURCE(301)), nullptr);

    // Through the resource chain, cut into an image list.
    CImageList list;
    ASSERT_TRUE(list.Create(300, 4, 1, RGB(255, 0, 255)));
    EXPECT_EQ(list.GetImageCount(), 2);
    MemDc dst(4, 4, kGreen);
    list.Draw(CDC::FromHandle(dst.dc), 1, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(dst.At(1, 0), kBlue);
    EXPECT_EQ(dst.At(0, 0), kGreen);

    HICON icon = LoadIcon(mod, MAKEINTRESOURCE(128));
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    EXPECT_EQ(ii.xHotspot, 16u);  // twice the hot spot is the icon's size
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);

    auto cursor = static_cast<HCURSOR>(LoadImage(mod, MAKEINTRESOURCE(207), IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR));
    QImage img;
    QPoint hot;
    ASSERT_TRUE(vxgdi::CursorImage(cursor, &img, &hot));
    EXPECT_EQ(hot, QPoint(5, 1));
    EXPECT_EQ(img.width(), 16);
    EXPECT_FALSE(vxgdi::CursorImage(reinterpret_cast<HCURSOR>(uintptr_t{32649}), &img, &hot));

    // Raw data of another type, decoded by the image layer.
    HRSRC res = FindResource(nullptr, MAKEINTRESOURCE(500), "PNG");
    ASSERT_NE(res, nullptr);
    const void* data = LockResource(LoadResource(nullptr, res));
    std::unique_ptr<Gdiplus::Image> pic(Gdiplus::Image::FromMemory(data, SizeofResource(nullptr, res)));
    EXPECT_EQ(pic->GetWidth(), 4u);
    EXPECT_TRUE(Gdiplus::IsAlphaPixelFormat(pic->GetPixelFormat()));
    EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(501), "PNG"), nullptr);
}

}  // namespace

VX_UI_TEST_MAIN()
