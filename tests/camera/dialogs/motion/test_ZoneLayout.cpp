// The zone editors' rectangles by table: video sizes, mapping with snaps,
// untouched zones exact, and what presses, drags and releases do.
#include "camera/dialogs/motion/ZoneLayout.h"

#include <gtest/gtest.h>

using namespace zones;

namespace {

struct Drag {
    int x0, y0, x1, y1;
};

// Press, move and release as the dialog feeds them.
void Apply(ZoneLayout& l, const Drag& d)
{
    l.Press(d.x0, d.y0);
    l.Move(d.x1, d.y1);
    l.Release(d.x1, d.y1);
}

ZoneLayout Shown(int max, Size picture, Size video, std::vector<Rect> zones = {})
{
    ZoneLayout l(max);
    l.SetVideoZones(zones);
    l.Map(picture, video);
    return l;
}

}  // namespace

TEST(ZoneLayout, VideoSizeByMode)
{
    const std::pair<int, std::pair<int, int>> cases[] = {
        {33, {640, 352}},    {48, {1920, 1080}},  {54, {1280, 960}}, {85, {2560, 1440}},
        {101, {2560, 1920}}, {123, {3840, 2160}}, {17, {1280, 720}}, {31, {1280, 720}},
    };
    for (auto [mode, size] : cases) {
        EXPECT_EQ(VideoSize(mode).cx, size.first) << mode;
        EXPECT_EQ(VideoSize(mode).cy, size.second) << mode;
    }
}

TEST(ZoneLayout, DrawnZonesMapBackWithSnapsAndUntouchedOnesStayExact)
{
    struct Case {
        Drag drag;
        Rect video;
    } cases[] = {
        {{3, 3, 681, 380}, {0, 0, 1920, 1080}},
        {{5, 5, 679, 378}, {14, 14, 1905, 1063}},
        {{100, 50, 200, 150}, {280, 140, 561, 421}},
    };
    for (const Case& c : cases) {
        ZoneLayout l = Shown(4, {684, 384}, VideoSize(41));
        Apply(l, c.drag);
        ASSERT_EQ(l.Count(), 1);
        EXPECT_EQ(l.VideoZones()[0], c.video) << c.drag.x0 << "," << c.drag.y0;
    }
    // A zone of the camera that is not drawn again comes back as it was,
    // although picture pixels cannot hold it.
    Rect odd{7, 9, 1913, 1077};
    ZoneLayout l = Shown(4, {684, 384}, VideoSize(41), {odd});
    EXPECT_EQ(l.Zones()[0].picture, (Rect{2, 3, 681, 382}));
    EXPECT_EQ(l.VideoZones()[0], odd);
    // 2560-wide video on a big picture: multiplied before divided, no overflow.
    ZoneLayout big = Shown(4, {2000, 1500}, VideoSize(101), {{2559, 1919, 2560, 1920}});
    EXPECT_EQ(big.Zones()[0].picture, (Rect{1999, 1499, 2000, 1500}));
}

TEST(ZoneLayout, DragsSmallerThanElevenOrBackwardsAddNothing)
{
    struct Case {
        Drag drag;
        int zones;
    } cases[] = {
        {{10, 10, 20, 60}, 0},   // 10 x 50
        {{10, 10, 21, 21}, 1},   // 11 x 11
        {{60, 60, 20, 20}, 0},   // up and left
        {{10, 10, 700, 40}, 0},  // released outside the picture
    };
    for (const Case& c : cases) {
        ZoneLayout l = Shown(4, {684, 384}, VideoSize(41));
        Apply(l, c.drag);
        EXPECT_EQ(l.Count(), c.zones) << c.drag.x1 << "," << c.drag.y1;
    }
}

TEST(ZoneLayout, FullLayoutOnlySelectsAndClicksToggleOrSelectAll)
{
    ZoneLayout l = Shown(4, {400, 300}, {400, 300},
                         {{10, 10, 100, 100}, {50, 50, 150, 150}, {200, 10, 250, 60}, {300, 200, 390, 290}});
    EXPECT_TRUE(l.Full());
    EXPECT_FALSE(l.Press(180, 250));  // outside every zone
    Apply(l, {20, 20, 120, 120});     // a fifth is refused: the release only clicks
    EXPECT_EQ(l.Count(), 4);
    EXPECT_FALSE(l.Zones()[0].selected);
    EXPECT_TRUE(l.Zones()[1].selected);

    ZoneLayout m = Shown(4, {400, 300}, {400, 300}, {{10, 10, 100, 100}, {50, 50, 150, 150}, {200, 10, 250, 60}});
    Apply(m, {75, 75, 75, 75});  // on the overlap: both selected
    EXPECT_TRUE(m.Zones()[0].selected && m.Zones()[1].selected);
    Apply(m, {220, 20, 220, 20});  // a single zone toggles
    EXPECT_TRUE(m.Zones()[2].selected);
    Apply(m, {220, 20, 220, 20});
    EXPECT_FALSE(m.Zones()[2].selected);
    Apply(m, {75, 75, 75, 75});
    m.DeleteSelected();  // zones 1 and 2 go, 3 stays, now first
    ASSERT_EQ(m.Count(), 1);
    EXPECT_EQ(m.Zones()[0].video, (Rect{200, 10, 250, 60}));
    EXPECT_FALSE(m.Zones()[0].selected);
}

TEST(ZoneLayout, PictureNotShownMapsNothingAndTakesNoMouse)
{
    ZoneLayout l = Shown(4, {0, 300}, VideoSize(41), {{1, 2, 3, 4}});
    EXPECT_FALSE(l.Shown());
    EXPECT_FALSE(l.Press(10, 10));
    EXPECT_EQ(l.VideoZones()[0], (Rect{1, 2, 3, 4}));
}

TEST(ZoneLayout, BlendTintsInsideTheZoneOnly)
{
    const int w = 8, h = 6;
    std::vector<uint32_t> px(w * h, 0x00808080);
    BlendRect(px.data(), w, h, {2, 1, 4, 3}, 0x00ff0000, 100);
    // (128 * 155 + 255 * 100) / 255 = 177; (128 * 155) / 255 = 77
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool inside = x >= 2 && x <= 4 && y >= 1 && y <= 3;
            EXPECT_EQ(px[y * w + x], inside ? 0x00b14d4du : 0x00808080u) << x << "," << y;
        }
    }
    // A zone reaching past the bitmap is cut, not written beyond it.
    std::vector<uint32_t> small(4, 0);
    BlendRect(small.data(), 2, 2, {-5, -5, 10, 10}, 0x00ffffff, 255);
    EXPECT_EQ(small, std::vector<uint32_t>(4, 0x00ffffff));
    FrameRect(small.data(), 2, 2, {1, 1, 9, 9}, 0x00ffff80);
    EXPECT_EQ(small[3], 0x00ffff80u);
}
