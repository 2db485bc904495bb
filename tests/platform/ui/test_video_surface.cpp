// Pictures a player hands to a window from its own thread.
#include "ui_test_env.h"

#include "platform/ui/WindowRegistry_p.h"
#include "platform/ui/vxsurface.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

// A frame of one colour, 0xffRRGGBB words as the player hands them over.
std::vector<uint32_t> solid(int w, int h, uint32_t rgb)
{
    return std::vector<uint32_t>(static_cast<size_t>(w) * h, 0xff000000u | rgb);
}

int presentFromWorker(HWND hwnd, const std::vector<uint32_t>& pixels, int w, int h, float aspect, const char* text)
{
    int result = -1;
    std::thread worker([&] {
        vxsurface_frame f{reinterpret_cast<const uint8_t*>(pixels.data()), w, h, w * 4, aspect, text};
        result = vx_surface_present(hwnd, &f);
    });
    worker.join();
    return result;
}

QImage shot(HWND hwnd)
{
    QWidget* w = vxw::WidgetOf(hwnd);
    return w ? w->grab().toImage() : QImage();
}

}  // namespace

TEST(VideoSurface, FramesFromAPlayerThreadAreShownFitted)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "VxVideo", "video", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    HWND hwnd = wnd.GetSafeHwnd();

    // Stretched over the whole client area.
    EXPECT_EQ(presentFromWorker(hwnd, solid(16, 16, 0xff0000), 16, 16, 0.0f, nullptr), 0);
    ASSERT_TRUE(WaitFor([&] { return shot(hwnd).pixel(5, 50) == 0xffff0000u; }));
    EXPECT_EQ(shot(hwnd).pixel(195, 50), 0xffff0000u);

    // 1:1 in a 2:1 window: a centred square, black bars left and right.
    EXPECT_EQ(presentFromWorker(hwnd, solid(16, 16, 0x00ff00), 16, 16, 1.0f, "Camera 1"), 0);
    ASSERT_TRUE(WaitFor([&] { return shot(hwnd).pixel(100, 90) == 0xff00ff00u; }));
    QImage img = shot(hwnd);
    EXPECT_EQ(img.pixel(5, 50), 0xff000000u);
    EXPECT_EQ(img.pixel(195, 50), 0xff000000u);

    // A frame without pixels is ignored; the window is still there.
    vxsurface_frame empty{};
    EXPECT_EQ(vx_surface_present(hwnd, &empty), 0);

    // Once the window is gone the player hears so.
    wnd.DestroyWindow();
    EXPECT_NE(presentFromWorker(hwnd, solid(4, 4, 0x0000ff), 4, 4, 0.0f, nullptr), 0);
    EXPECT_NE(vx_surface_present(nullptr, &empty), 0);
}

TEST(VideoSurface, AFastStreamDoesNotFloodTheGuiThread)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "VxVideo", "video", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr));
    HWND hwnd = wnd.GetSafeHwnd();
    std::vector<uint32_t> blue = solid(8, 8, 0x0000ff);
    std::thread player([&] {
        vxsurface_frame f{reinterpret_cast<const uint8_t*>(blue.data()), 8, 8, 32, 0.0f, nullptr};
        for (int i = 0; i < 2000; ++i)
            vx_surface_present(hwnd, &f);
    });
    player.join();  // the GUI thread did not run meanwhile: one repaint waits
    ASSERT_TRUE(WaitFor([&] { return shot(hwnd).pixel(30, 20) == 0xff0000ffu; }));
    wnd.DestroyWindow();
}

VX_UI_TEST_MAIN()
