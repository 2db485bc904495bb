// The motion zone editor on camsim's snapshot, driven by real mouse input
// on its picture: drags become zones in exact video pixels (snaps
// included), untouched zones come back as given, the picture is tinted
// inside the zones only, every way out of a press frees the cursor, and a
// cut download leaves "Refresh" and Cancel.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/ZoneDrag.h"
#include "camera/dialogs/motion/CDlgVideoShield.h"
#include "camera/dialogs/motion/CMotionPic.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowRegistry_p.h"
#include "utility/vx_log.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <filesystem>

using namespace setup_harness;
using namespace zone_drag;

namespace {

QWidget* Picture(CDialog& d, int id = IDC_ZONE_PICTURE)
{
    return vxw::WidgetOf(d.GetDlgItem(id)->GetSafeHwnd());
}

// The video rectangle a zone drawn on the picture becomes, edge by edge.
RECT Expected(const Drag& g, int pw, int ph, int vw, int vh)
{
    auto scale = [](long long v, long long to, long long from) { return static_cast<LONG>(v * to / from); };
    RECT r;
    r.left = g.x0 < 5 ? 0 : scale(g.x0, vw, pw);
    r.top = g.y0 < 5 ? 0 : scale(g.y0, vh, ph);
    r.right = pw - g.x1 < 5 ? vw : scale(g.x1, vw, pw);
    r.bottom = ph - g.y1 < 5 ? vh : scale(g.y1, vh, ph);
    return r;
}

// Runs the dialog; `work` gets it once its picture arrived (or failed).
INT_PTR RunZones(CMotionPic& dlg, const std::function<void(CMotionPic&)>& work)
{
    vxw::test::SetModalDialogHook([&](CDialog&) {
        WaitFor([&] { return !dlg.IsDownloading(); });
        work(dlg);
    });
    INT_PTR rc = dlg.DoModal();
    vxw::test::SetModalDialogHook(nullptr);
    return rc;
}

void Press(CDialog& d, int id)
{
    d.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(d.GetDlgItem(id)->GetSafeHwnd()));
}

}  // namespace

TEST(MotionZones, DragsBecomeExactVideoZonesForEachVideomode)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    for (int mode : {41, 101}) {
        SCOPED_TRACE(mode);
        CMotionPic dlg(f.dlg, f.dlg);
        dlg.m_nVideoMode = mode;
        int pw = 0, ph = 0;
        std::vector<RECT> want;
        INT_PTR rc = RunZones(dlg, [&](CMotionPic& d) {
            ASSERT_TRUE(d.IsPictureLoaded());
            QWidget* pic = Picture(d);
            pw = pic->width();
            ph = pic->height();
            const Drag drags[] = {
                {3, 3, pw - 3, ph - 3},                            // snaps to the whole video
                {20, 20, 30, 70},                                  // 10 x 50: nothing
                {40, 40, 51, 51},                                  // 11 x 11: a zone
                {60, 30, pw / 2, ph / 2}, {5, 6, pw - 5, ph - 6},  // just not snapped
            };
            for (const Drag& g : drags) {
                DragOn(pic, g);
                if (g.x1 - g.x0 > 10 && g.y1 - g.y0 > 10)
                    want.push_back(Expected(g, pw, ph, zones::VideoSize(mode).cx, zones::VideoSize(mode).cy));
            }
            Press(d, IDOK);
        });
        ASSERT_EQ(rc, IDOK);
        ASSERT_EQ(dlg.m_nZoneCount, static_cast<int>(want.size()));
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(dlg.m_rcZones[i].left, want[i].left) << i;
            EXPECT_EQ(dlg.m_rcZones[i].top, want[i].top) << i;
            EXPECT_EQ(dlg.m_rcZones[i].right, want[i].right) << i;
            EXPECT_EQ(dlg.m_rcZones[i].bottom, want[i].bottom) << i;
        }
        EXPECT_EQ(dlg.m_rcZones[0].right, zones::VideoSize(mode).cx);
        EXPECT_FALSE(std::filesystem::exists(dlg.PicturePath()));
    }
}

TEST(MotionZones, UntouchedZonesComeBackExactAndAFifthIsRefused)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    CMotionPic dlg(f.dlg, f.dlg);
    dlg.m_nVideoMode = 41;
    const RECT given[4] = {{7, 9, 1913, 1077}, {100, 100, 400, 300}, {300, 200, 700, 500}, {1500, 50, 1600, 120}};
    dlg.m_nZoneCount = 4;
    for (int i = 0; i < 4; ++i)
        dlg.m_rcZones[i] = given[i];
    INT_PTR rc = RunZones(dlg, [&](CMotionPic& d) {
        QWidget* pic = Picture(d);
        // A press in none of the four does nothing; a drag from inside one
        // only clicks at its release.
        DragOn(pic, {pic->width() - 20, pic->height() - 20, pic->width() - 2, pic->height() - 2});
        EXPECT_EQ(d.Layout().Count(), 4);
        Press(d, IDOK);
    });
    ASSERT_EQ(rc, IDOK);
    ASSERT_EQ(dlg.m_nZoneCount, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dlg.m_rcZones[i].left, given[i].left) << i;
        EXPECT_EQ(dlg.m_rcZones[i].bottom, given[i].bottom) << i;
    }
}

TEST(MotionZones, OverlapClickSelectsBothAndDeleteKeepsTheOrder)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    CMotionPic dlg(f.dlg, f.dlg);
    dlg.m_nVideoMode = 41;
    dlg.m_nZoneCount = 3;
    dlg.m_rcZones[0] = {0, 0, 960, 540};
    dlg.m_rcZones[1] = {480, 270, 1440, 810};
    dlg.m_rcZones[2] = {1500, 900, 1900, 1060};
    INT_PTR rc = RunZones(dlg, [&](CMotionPic& d) {
        QWidget* pic = Picture(d);
        QTest::mouseClick(pic, Qt::LeftButton, Qt::NoModifier, QPoint(pic->width() * 3 / 8, pic->height() * 3 / 8));
        vxw::PumpUntil([] { return false; }, 20);
        EXPECT_TRUE(d.Layout().Zones()[0].selected);
        EXPECT_TRUE(d.Layout().Zones()[1].selected);
        EXPECT_FALSE(d.Layout().Zones()[2].selected);
        Press(d, IDC_ZONE_DELETE_SELECTED);
        Press(d, IDOK);
    });
    ASSERT_EQ(rc, IDOK);
    ASSERT_EQ(dlg.m_nZoneCount, 1);
    EXPECT_EQ(dlg.m_rcZones[0].left, 1500);
    EXPECT_EQ(dlg.m_rcZones[1].right, 0);
}

TEST(MotionZones, PictureIsTintedRedInsideAZoneOnly)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    CMotionPic dlg(f.dlg, f.dlg);
    dlg.m_nVideoMode = 41;
    RunZones(dlg, [&](CMotionPic& d) {
        QWidget* pic = Picture(d);
        QImage before = pic->grab().toImage();
        DragOn(pic, {20, 20, 80, 60});
        QImage after = pic->grab().toImage();
        auto blended = [](int c, int fill) { return (c * 155 + fill * 100) / 255; };
        for (QPoint p : {QPoint(20, 20), QPoint(50, 40), QPoint(80, 60)}) {
            QColor b = before.pixelColor(p), a = after.pixelColor(p);
            EXPECT_NEAR(a.red(), blended(b.red(), 255), 1) << p.x() << "," << p.y();
            EXPECT_NEAR(a.green(), blended(b.green(), 0), 1);
            EXPECT_NEAR(a.blue(), blended(b.blue(), 0), 1);
        }
        for (QPoint p : {QPoint(19, 20), QPoint(81, 60), QPoint(50, 61), QPoint(150, 100)})
            EXPECT_EQ(after.pixelColor(p), before.pixelColor(p)) << p.x() << "," << p.y();
        Press(d, IDCANCEL);
    });
}

TEST(MotionZones, EveryWayOutOfAPressFreesTheCursor)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    RECT free{};
    ASSERT_TRUE(GetClipCursor(&free));
    auto sameRect = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    struct Case {
        const char* way;
        std::function<void(CMotionPic&, QWidget*)> end;
        int zones;  // after the release that follows
    } cases[] = {
        {"button up", [](CMotionPic&, QWidget*) {}, 1},
        {"WM_CANCELMODE", [](CMotionPic& d, QWidget*) { d.SendMessage(WM_CANCELMODE); }, 0},
        {"capture taken", [](CMotionPic& d, QWidget*) { d.GetDlgItem(IDC_REFRESH)->SetCapture(); }, 0},
        {"Cancel", [](CMotionPic& d, QWidget*) { Press(d, IDCANCEL); }, -1},
        {"dialog ended", [](CMotionPic& d, QWidget*) { d.EndDialog(IDABORT); }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        CMotionPic dlg(f.dlg, f.dlg);
        dlg.m_nVideoMode = 41;
        HWND self = nullptr;
        RunZones(dlg, [&](CMotionPic& d) {
            ASSERT_TRUE(d.IsPictureLoaded());
            self = d.GetSafeHwnd();
            QWidget* pic = Picture(d);
            QTest::mousePress(pic, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
            // Held: the dialog has the mouse, the cursor stays on the picture.
            EXPECT_EQ(::GetCapture(), self);
            RECT clip{}, picture{};
            GetClipCursor(&clip);
            d.GetDlgItem(IDC_ZONE_PICTURE)->GetWindowRect(&picture);
            EXPECT_TRUE(sameRect(clip, picture));
            QTest::mouseMove(pic, QPoint(60, 60));
            c.end(d, pic);
            if (c.zones < 0)
                return;
            QTest::mouseRelease(pic, Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
            vxw::PumpUntil([] { return false; }, 20);
            GetClipCursor(&clip);
            EXPECT_TRUE(sameRect(clip, free));
            EXPECT_NE(::GetCapture(), self);
            ::ReleaseCapture();  // from whoever took it
            EXPECT_EQ(d.Layout().Count(), c.zones);
            EXPECT_FALSE(d.Layout().Pressed());
            Press(d, IDCANCEL);
        });
        EXPECT_FALSE(::IsWindow(self));
        RECT clip{};
        GetClipCursor(&clip);
        EXPECT_TRUE(sameRect(clip, free)) << clip.left << "," << clip.top << " " << clip.right << "," << clip.bottom;
        EXPECT_NE(::GetCapture(), self);
    }
}

TEST(MotionZones, CutDownloadLeavesRefreshAndCancelAndRefreshRetries)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    ASSERT_FALSE(f.cam.fault("match=snap.jpg&cut=100").empty());
    CMotionPic dlg(f.dlg, f.dlg);
    dlg.m_nVideoMode = 41;
    INT_PTR rc = RunZones(dlg, [&](CMotionPic& d) {
        EXPECT_FALSE(d.IsPictureLoaded());
        EXPECT_FALSE(d.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(IDC_ZONE_DELETE_SELECTED)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(IDC_ZONE_DELETE_ALL)->IsWindowEnabled());
        EXPECT_TRUE(d.GetDlgItem(IDC_REFRESH)->IsWindowEnabled());
        EXPECT_TRUE(d.GetDlgItem(IDCANCEL)->IsWindowEnabled());
        // No zone can be drawn on no picture.
        DragOn(Picture(d), {10, 10, 60, 60});
        EXPECT_EQ(d.Layout().Count(), 0);
        ASSERT_FALSE(f.cam.fault("clear=1").empty());
        Press(d, IDC_REFRESH);
        EXPECT_TRUE(WaitFor([&] { return d.IsPictureLoaded(); }));
        EXPECT_TRUE(d.GetDlgItem(IDOK)->IsWindowEnabled());
        // With a picture shown, "Refresh" keeps it: the zones stand on it.
        Press(d, IDC_REFRESH);
        EXPECT_FALSE(d.IsDownloading());
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(rc, IDCANCEL);
}

TEST(VideoShield, SixteenRectanglesThenTheBoxAndWorkingClearAndColours)
{
    Fixture f({});
    ASSERT_TRUE(f.connected);
    CDlgVideoShield page(f.dlg, f.dlg);
    ASSERT_TRUE(page.Create(IDD_VIDEO_SHIELD, f.dlg));
    page.ShowWindow(SW_SHOW);
    EXPECT_FALSE(page.IsPictureLoaded());
    EXPECT_FALSE(page.GetDlgItem(IDC_SHIELD_APPLY)->IsWindowEnabled());
    Press(page, IDC_SHIELD_REFRESH);
    ASSERT_TRUE(WaitFor([&] { return page.IsPictureLoaded() && !page.IsDownloading(); }));
    EXPECT_TRUE(page.GetDlgItem(IDC_SHIELD_APPLY)->IsWindowEnabled());
    QWidget* pic = Picture(page, IDC_SHIELD_PICTURE);
    for (int i = 0; i < 16; ++i) {
        int x = 10 + (i % 4) * 30, y = 10 + (i / 4) * 30;
        DragOn(pic, {x, y, x + 20, y + 20});
    }
    ASSERT_EQ(page.Layout().Count(), 16);
    DragOn(pic, {200, 200, 240, 240});  // none left: a box, no rectangle
    auto box = f.boxes.Next();
    EXPECT_EQ(box.caption, "Video Shield");
    EXPECT_EQ(box.text, "Shield area number is up to 16.");
    EXPECT_EQ(page.Layout().Count(), 16);

    // The chosen colour paints the rectangles.
    QImage red = pic->grab().toImage();
    page.CheckRadioButton(IDC_SHIELD_RED, IDC_SHIELD_BLACK, IDC_SHIELD_GREEN);
    Press(page, IDC_SHIELD_GREEN);
    QImage green = pic->grab().toImage();
    EXPECT_GT(green.pixelColor(20, 20).green(), red.pixelColor(20, 20).green());
    EXPECT_LT(green.pixelColor(20, 20).red(), red.pixelColor(20, 20).red());
    EXPECT_EQ(green.pixelColor(35, 20), red.pixelColor(35, 20));  // between rectangles

    // "Clear Selected" removes the selected one only.
    QTest::mouseClick(pic, Qt::LeftButton, Qt::NoModifier, QPoint(45, 45));
    vxw::PumpUntil([] { return false; }, 20);
    Press(page, IDC_SHIELD_CLEAR_SELECTED);
    EXPECT_EQ(page.Layout().Count(), 15);
    Press(page, IDC_SHIELD_CLEAR_ALL);
    EXPECT_EQ(page.Layout().Count(), 0);

    // "Refresh" downloads again and starts with no rectangles; "Apply" reads
    // the controls only.
    DragOn(pic, {10, 10, 40, 40});
    Press(page, IDC_SHIELD_REFRESH);
    ASSERT_TRUE(WaitFor([&] { return !page.IsDownloading(); }));
    EXPECT_EQ(page.Layout().Count(), 0);
    page.CheckDlgButton(IDC_SHIELD_ENABLE, BST_CHECKED);
    Press(page, IDC_SHIELD_APPLY);
    EXPECT_TRUE(page.m_bEnable);
    EXPECT_EQ(page.m_nColour, 1);
    EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
    page.DestroyWindow();
}

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
