// The video surface on real (offscreen) windows: status texts, painting,
// zoom, pan, the context menu through the popup hook, and full screen.
#include "../../platform/ui/ui_test_env.h"

#include "camera/session/CStateBar.h"
#include "outside/vxplay/vxplay.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/WindowRegistry_p.h"
#include "platform/ui/vxsurface.h"
#include "resources/vxcam/resource.h"

#include <QImage>
#include <QWidget>

#include <cmath>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr int kIndex = 5;

// A window that keeps the WM_USER messages it receives.
class Recorder : public CWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> got;
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        if (m >= WM_USER && m < WM_USER + 100)
            got.emplace_back(m, w);
        return CWnd::WindowProc(m, w, l);
    }
    bool Create(int cx, int cy, DWORD style = WS_POPUP | WS_VISIBLE)
    {
        return CreateEx(0, "VxTest", "window", style, 0, 0, cx, cy, nullptr, nullptr) != FALSE;
    }
};

void Idle(DWORD ms)
{
    WaitFor([] { return false; }, ms);
}

QImage Shot(HWND hwnd)
{
    QWidget* w = vxw::WidgetOf(hwnd);
    return w ? w->grab().toImage() : QImage();
}

// Rows that hold white text, as bands of adjacent rows.
int TextBands(const QImage& img)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < img.height(); ++y) {
        bool white = false;
        for (int x = 0; x < img.width() && !white; ++x)
            white = qRed(img.pixel(x, y)) > 160 && qGreen(img.pixel(x, y)) > 160;
        if (white && !inBand)
            ++bands;
        inBand = white;
    }
    return bands;
}

CRect RectIn(CWnd& parent, CWnd& child)
{
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

struct Surface {
    Recorder notify;
    Recorder camera;
    CStateBar bar;
    explicit Surface(int cx = 320, int cy = 240, BOOL live = TRUE)
    {
        EXPECT_TRUE(notify.Create(10, 10, WS_POPUP));
        EXPECT_TRUE(camera.Create(cx, cy));
        EXPECT_TRUE(bar.CreateSurface(&camera, kIndex, notify.GetSafeHwnd(), live));
        bar.Layout();
    }
    void Code(UINT code) { bar.SendMessage(WM_USER + code, (static_cast<WPARAM>(kIndex) << 16) | (WM_USER + code), 0); }
    void Wheel(int notches)
    {
        for (int i = 0; i < std::abs(notches); ++i)
            bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(notches > 0 ? 120 : -120)), 0);
    }
};

TEST(CStateBar, StatusTextFollowsTheForwardedCodes)
{
    Surface s;
    struct Row {
        UINT code;
        const char* text;
    };
    const Row rows[] = {
        {21, "Connecting to camera ..."},
        {22, "Fail to connect to camera\nCheck network and firewall settings ..."},
        {24, "Starting live video ..."},
        {25, "Failed to open stream channel"},
        {29, "Disconnecting ..."},
        {27, ""},
        {30, ""},
    };
    for (const Row& r : rows) {
        s.Code(21);  // some text first, so that clearing shows
        s.Code(r.code);
        EXPECT_STREQ(static_cast<LPCSTR>(s.bar.GetStatusText()), r.text) << "code +" << r.code;
    }
    s.Code(33);
    EXPECT_TRUE(s.bar.IsPictureShown());
    EXPECT_TRUE(s.bar.GetStatusText().IsEmpty());
    s.Code(25);
    EXPECT_FALSE(s.bar.IsPictureShown());
}

TEST(CStateBar, FailureTextIsDrawnOnTwoLinesWhiteOnBlack)
{
    Surface s;
    s.Code(22);
    QImage img = Shot(s.bar.GetSafeHwnd());
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixel(2, 2), 0xff000000u);
    EXPECT_EQ(TextBands(img), 2);
    s.Code(21);
    EXPECT_EQ(TextBands(Shot(s.bar.GetSafeHwnd())), 1);
}

TEST(CStateBar, AfterStopPlayTheSurfaceIsBlackWithItsTextNotTheLastFrame)
{
    Surface s;
    HWND hwnd = s.bar.GetSafeHwnd();
    vxplay_inst player = nullptr;
    ASSERT_EQ(vxplay_create_instance(&player, 1, 0), VXPLAY_OK);
    ASSERT_EQ(vxplay_set_hwnd(player, 0, hwnd), VXPLAY_OK);
    ASSERT_EQ(vxplay_play_start(player), VXPLAY_OK);

    std::vector<uint32_t> red(16 * 16, 0xffff0000u);
    std::thread([&] {
        vxsurface_frame f{reinterpret_cast<const uint8_t*>(red.data()), 16, 16, 64, 0.0f, nullptr};
        vx_surface_present(hwnd, &f);
    }).join();
    s.Code(33);
    ASSERT_TRUE(WaitFor([&] { return Shot(hwnd).pixel(160, 120) == 0xffff0000u; }));

    // The camera window's stop: the player stops, the stream's end reaches
    // the surface as a forwarded code.
    ASSERT_EQ(vxplay_play_stop(player), VXPLAY_OK);
    s.Code(25);
    ASSERT_TRUE(WaitFor([&] { return Shot(hwnd).pixel(2, 2) == 0xff000000u; }));
    EXPECT_EQ(Shot(hwnd).pixel(160, 10), 0xff000000u);
    EXPECT_EQ(TextBands(Shot(hwnd)), 1);
    vxplay_destroy_instance(player);
}

TEST(CStateBar, PaintingPostsNothing)
{
    Surface s;
    for (UINT code : {22u, 33u}) {
        s.Code(code);
        Idle(50);
        s.camera.got.clear();
        s.notify.got.clear();
        s.bar.Invalidate();
        s.bar.UpdateWindow();
        Idle(200);
        EXPECT_TRUE(s.camera.got.empty()) << "code +" << code;
        EXPECT_TRUE(s.notify.got.empty()) << "code +" << code;
    }
}

TEST(CStateBar, WheelZoomsInTenthsUpToTheCeiling)
{
    const int screenCx = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenCy = ::GetSystemMetrics(SM_CYSCREEN);
    struct Row {
        int cx, cy, notches;
        float zoom;
    };
    const Row rows[] = {
        {320, 240, 5, 1.5f},
        {320, 240, -3, 1.0f},
        {320, 240, 200, std::min(2.0f * screenCx / 320, 2.0f * screenCy / 240)},
        {2 * screenCx, 2 * screenCy, 5, 1.0f},  // the ceiling is 1.0
    };
    for (const Row& r : rows) {
        Surface s(r.cx, r.cy);
        s.Wheel(r.notches);
        EXPECT_NEAR(s.bar.GetZoom(), r.zoom, 0.001f) << r.cx << "x" << r.cy << " " << r.notches;
        CRect rc = RectIn(s.camera, s.bar);
        EXPECT_NEAR(rc.Width(), r.cx * r.zoom, 1.0);
        // Centred on the camera window.
        EXPECT_NEAR(rc.CenterPoint().x, r.cx / 2, 1.0);
        EXPECT_NEAR(rc.CenterPoint().y, r.cy / 2, 1.0);
    }
    EXPECT_EQ(CStateBar::ZoomCeiling(0, 240, screenCx, screenCy), 0.0f);
}

TEST(CStateBar, AWindowWithoutSizeDoesNotZoom)
{
    Surface s(0, 0);
    s.Wheel(5);
    EXPECT_EQ(s.bar.GetZoom(), 1.0f);
}

TEST(CStateBar, DragsPanTheZoomedPictureAndStayClamped)
{
    struct Row {
        int notches, dx, dy;
        CPoint origin;
    };
    // At 1.5 a 320x240 window holds a 480x360 surface at (-80, -60).
    const Row rows[] = {
        {5, 50, 30, CPoint(-30, -30)},       {5, -40, -20, CPoint(-120, -80)}, {5, 500, 500, CPoint(0, 0)},
        {5, -500, -500, CPoint(-160, -120)}, {0, 40, 40, CPoint(0, 0)},
    };
    for (const Row& r : rows) {
        Surface s;
        s.Wheel(r.notches);
        s.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        s.bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100 + r.dx, 100 + r.dy));
        s.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100 + r.dx, 100 + r.dy));
        EXPECT_EQ(RectIn(s.camera, s.bar).TopLeft(), r.origin) << r.dx << "," << r.dy;
        // Moving without the button does not drag.
        s.bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(RectIn(s.camera, s.bar).TopLeft(), r.origin);
    }
}

TEST(CStateBar, ClicksNotifyTheParent)
{
    Surface s;
    s.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    s.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    s.bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    s.bar.SetFullscreen(TRUE);
    s.bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    s.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // no click notice in full screen
    s.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(WaitFor([&] { return s.notify.got.size() >= 3; }));
    Idle(50);
    std::vector<std::pair<UINT, WPARAM>> want = {{WM_USER + 2, kIndex}, {WM_USER + 3, kIndex}, {WM_USER + 4, kIndex}};
    EXPECT_EQ(s.notify.got, want);
}

// The menu items the popup hook saw, and the command it chose.
struct MenuProbe {
    std::vector<UINT> ids;
    int calls = 0;
    UINT choose = 0;
    MenuProbe()
    {
        vxw::test::SetPopupMenuHook([this](const vxw::test::PopupMenuCall& c) {
            ++calls;
            ids.clear();
            for (int i = 0; i < ::GetMenuItemCount(c.menu); ++i)
                ids.push_back(::GetMenuItemID(c.menu, i));
            return choose;
        });
    }
    ~MenuProbe() { vxw::test::SetPopupMenuHook(nullptr); }
};

TEST(CStateBar, MenuItemsFollowTheStateAndPostTheirNotices)
{
    const UINT fs = ID_VIDEO_FULLSCREEN, xfs = ID_VIDEO_EXIT_FULLSCREEN, props = ID_VIDEO_PROPERTIES,
               showbr = ID_VIDEO_SHOW_BITRATE, hidebr = ID_VIDEO_HIDE_BITRATE, fv = ID_VIDEO_FLIP_VERTICAL,
               fh = ID_VIDEO_FLIP_HORIZONTAL, exact = ID_VIDEO_EXACT_FIT, full = ID_VIDEO_FULL_FIT;
    struct Row {
        BOOL fullscreen;
        CStateBar::MenuState state;
        std::vector<UINT> items;  // 0: separator
        UINT choose;
        UINT notice;  // 0: none
    };
    const Row rows[] = {
        {FALSE, {TRUE, FALSE, TRUE, TRUE}, {fs, 0, showbr, fv, fh, full, 0, props}, showbr, WM_USER + 11},
        {FALSE, {TRUE, TRUE, FALSE, TRUE}, {fs, 0, hidebr, fv, fh, exact, 0, props}, exact, WM_USER + 15},
        {FALSE, {TRUE, TRUE, TRUE, TRUE}, {fs, 0, hidebr, fv, fh, full, 0, props}, hidebr, WM_USER + 12},
        {FALSE, {TRUE, FALSE, FALSE, TRUE}, {fs, 0, showbr, fv, fh, exact, 0, props}, fv, WM_USER + 13},
        {FALSE, {TRUE, FALSE, TRUE, TRUE}, {fs, 0, showbr, fv, fh, full, 0, props}, fh, WM_USER + 14},
        {FALSE, {TRUE, FALSE, TRUE, TRUE}, {fs, 0, showbr, fv, fh, full, 0, props}, full, WM_USER + 16},
        {FALSE, {TRUE, FALSE, TRUE, FALSE}, {fs, 0, showbr, fv, fh, full}, fs, WM_USER + 3},
        {FALSE, {FALSE, FALSE, TRUE, TRUE}, {fs, 0, props}, props, WM_USER + 10},
        {FALSE, {FALSE, FALSE, TRUE, FALSE}, {fs, 0}, 0, 0},
        {TRUE, {TRUE, FALSE, TRUE, TRUE}, {xfs, 0, showbr, fv, fh, full}, xfs, WM_USER + 4},
        {TRUE, {FALSE, FALSE, TRUE, TRUE}, {xfs}, xfs, WM_USER + 4},
    };
    for (const Row& r : rows) {
        Surface s;
        MenuProbe probe;
        probe.choose = r.choose;
        CStateBar::MenuState state = r.state;
        s.bar.SetMenuStateSource([state] { return state; });
        s.bar.SetFullscreen(r.fullscreen);
        s.bar.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(probe.calls, 1);
        EXPECT_EQ(probe.ids, r.items) << "choose " << r.choose;
        Idle(100);
        std::vector<std::pair<UINT, WPARAM>> want;
        if (!r.fullscreen)
            want.emplace_back(WM_USER + 2, kIndex);  // the click comes first
        if (r.notice)
            want.emplace_back(r.notice, kIndex);
        EXPECT_EQ(s.notify.got, want) << "choose " << r.choose;
    }
}

TEST(CStateBar, NoMenuForRecordOnlyOrPlaybackObjectsOrWhenIgnored)
{
    {
        Surface s(320, 240, FALSE);
        MenuProbe probe;
        s.bar.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(probe.calls, 0);
    }
    {
        Surface s;
        s.bar.SetIgnoreRightClick(TRUE);
        MenuProbe probe;
        s.bar.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(probe.calls, 0);
    }
}

TEST(CStateBar, RightClickWhileZoomedOnlyResets)
{
    Surface s;
    MenuProbe probe;
    s.Wheel(3);
    ASSERT_GT(s.bar.GetZoom(), 1.0f);
    s.bar.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(s.bar.GetZoom(), 1.0f);
    EXPECT_EQ(RectIn(s.camera, s.bar), CRect(0, 0, 320, 240));
    EXPECT_EQ(probe.calls, 0);
    Idle(50);
    EXPECT_TRUE(s.notify.got.empty());
}

TEST(CStateBar, DetachCoversTheScreenAndRestoreReattaches)
{
    Surface s;
    HWND cam = s.camera.GetSafeHwnd();
    s.bar.ShowFullscreen(TRUE);
    EXPECT_TRUE(s.bar.IsDetached());
    EXPECT_EQ(::GetParent(s.bar.GetSafeHwnd()), nullptr);
    CRect rc;
    s.bar.GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    s.Code(21);  // still the same window: its map and text go on
    EXPECT_STREQ(static_cast<LPCSTR>(s.bar.GetStatusText()), "Connecting to camera ...");

    s.bar.ShowFullscreen(FALSE);
    EXPECT_FALSE(s.bar.IsDetached());
    EXPECT_EQ(::GetParent(s.bar.GetSafeHwnd()), cam);
    EXPECT_EQ(RectIn(s.camera, s.bar), CRect(0, 0, 320, 240));
    EXPECT_EQ(::GetDlgItem(cam, kIndex), s.bar.GetSafeHwnd());
}

}  // namespace

VX_UI_TEST_MAIN()
