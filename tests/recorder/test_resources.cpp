// The resource library and the program's own table hold every id the
// recorder asks for; button pictures are as large as their skin rectangles
// and carry the key colour at their corners.
#include "recorder_test_env.h"

#include "resources/VXKSTRes/resource.h"
#include "resources/recorder/resource.h"
#include "ui/common/CIniFile.h"

namespace {

using rectest::ResourceLibrary;

TEST(RecorderResources, EveryIdResolves)
{
    const vxw::ResourceModule* m = vxw::FindResourceModule(ResourceLibrary());
    ASSERT_NE(m, nullptr);
    for (UINT id : {132u, 179u, 182u, 366u, 5050u, 5076u})
        EXPECT_NE(m->FindDialog(id), nullptr) << "dialog " << id;
    const struct {
        UINT menu;
        std::vector<UINT> commands;
    } menus[] = {
        {5175, {32771, 32772, 32773, 32776}},
        {5176, {32777, 32778, 32779, 32780, 32781}},
        {5177, {32782, 32783, 32784, 32785, 32786}},
    };
    for (const auto& c : menus) {
        const vxw::MenuTemplate* t = m->FindMenu(c.menu);
        ASSERT_NE(t, nullptr) << c.menu;
        ASSERT_EQ(t->items.size(), 1u) << "one sub-menu";
        std::vector<UINT> found;
        for (const auto& item : t->items[0].popup)
            if (item.id)
                found.push_back(item.id);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.commands) << c.menu;
    }
    std::vector<UINT> bitmaps = {131, 208, 209, 5087, 5098, 5169, 5170, 5171, 5176};
    for (UINT id = 188; id <= 201; ++id)
        bitmaps.push_back(id);
    for (UINT id = 5189; id <= 5207; ++id)
        bitmaps.push_back(id);
    for (UINT id : bitmaps) {
        HBITMAP b = LoadBitmapA(ResourceLibrary(), MAKEINTRESOURCE(id));
        EXPECT_NE(b, nullptr) << "bitmap " << id;
        DeleteObject(b);
    }
    HCURSOR hand = LoadCursor(ResourceLibrary(), MAKEINTRESOURCE(IDC_HAND_CURSOR));
    EXPECT_NE(hand, nullptr);
    std::vector<UINT> strings = {1,   3,   5,   14,  15,  16,  19,  20,  21,  27,  28,  29,  30,
                                 32,  89,  90,  131, 133, 134, 135, 136, 139, 140, 151, 152, 155,
                                 200, 215, 221, 231, 233, 235, 236, 237, 245, 246, 311, 312};
    for (UINT id = 326; id <= 346; ++id)
        strings.push_back(id);
    for (UINT id : strings)
        EXPECT_NE(m->FindString(id), nullptr) << "string " << id;
    EXPECT_EQ(*m->FindString(326), "VXKST-HD Recorder");
}

TEST(RecorderResources, TheProgramsOwnTableHasIconsAndVersion)
{
    HINSTANCE own = ProgramResourceHandle();
    for (UINT id = 128; id <= 136; ++id)
        EXPECT_NE(LoadIcon(own, MAKEINTRESOURCE(id)), nullptr) << "icon " << id;
    const vxw::ResourceModule* m = vxw::FindResourceModule(own);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->Has(RT_VERSION, 1));
}

TEST(RecorderResources, CombosStartWithTheirEntries)
{
    const vxw::ResourceModule* m = vxw::FindResourceModule(ResourceLibrary());
    ASSERT_NE(m, nullptr);
    auto combo = [&](UINT dialog, int id) -> std::vector<std::string> {
        for (const auto& item : m->FindDialog(dialog)->items)
            if (item.id == id)
                return item.initialStrings;
        return {"missing"};
    };
    EXPECT_EQ(combo(179, 1122), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(combo(5076, 5248).size(), 2u);
    for (UINT dialog : {132u, 366u}) {
        for (const auto& item : m->FindDialog(dialog)->items) {
            if (item.id == 1021) {
                EXPECT_EQ(item.style & CBS_SORT, 0u) << dialog;
            }
        }
    }
}

TEST(RecorderResources, ButtonPicturesMatchTheirRectangles)
{
    CIniFile skin((std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini").c_str());
    const struct {
        const char* element;
        std::vector<UINT> bitmaps;
    } elements[] = {
        {"CameraView", {131}},
        {"Min", {208, 209}},
        {"Max", {5176}},
        {"Exit", {189, 188}},
        {"SysParam", {5169, 5171, 5170}},
        {"SetupCamera", {5191, 5190, 5189}},
        {"RecSchedule", {5197, 5196, 5195}},
        {"RecQuery", {5206, 5199, 5198}},
        {"StartAll", {5203, 5202, 5201}},
        {"StopAll", {5200, 5205, 5204}},
        {"DeleteAll", {5194, 5193, 5192}},
        {"aboutmain", {5087}},
        {"RecScheduleMain", {190}},
        {"ok", {197, 196}},
        {"cancel", {192, 191}},
        {"SchExit", {189, 188}},
        {"continuous", {194}},
        {"motion", {195}},
        {"clear", {193}},
        {"RdContinuous", {199, 198}},
        {"ChkEnableRec", {201, 200}},
        {"ClearAll", {5207}},
        {"SelectPath", {5098}},
    };
    for (const auto& e : elements) {
        CRect r = skin.GetProfileRect("LOCATION", e.element);
        bool keyed = !skin.GetProfileStringA("BITMAPTRANSCOLOR", e.element, "").IsEmpty();
        COLORREF key = skin.GetProfileColor("BITMAPTRANSCOLOR", e.element, 0);
        for (UINT id : e.bitmaps) {
            HBITMAP b = LoadBitmapA(ResourceLibrary(), MAKEINTRESOURCE(id));
            BITMAP bm{};
            ASSERT_TRUE(GetObject(b, sizeof bm, &bm)) << id;
            EXPECT_EQ(bm.bmWidth, r.Width()) << e.element << " " << id;
            EXPECT_EQ(bm.bmHeight, r.Height()) << e.element << " " << id;
            if (keyed) {
                CDC dc;
                dc.CreateCompatibleDC(nullptr);
                HGDIOBJ old = SelectObject(dc.GetSafeHdc(), b);
                EXPECT_EQ(dc.GetPixel(0, 0), key) << e.element << " " << id;
                EXPECT_EQ(dc.GetPixel(bm.bmWidth - 1, bm.bmHeight - 1), key) << e.element << " " << id;
                SelectObject(dc.GetSafeHdc(), old);
            }
            DeleteObject(b);
        }
    }
    CRect about = skin.GetProfileRect("LOCATION", "aboutmain");
    EXPECT_GE(about.Width(), 510);
    EXPECT_GE(about.Height(), 86);
    EXPECT_FALSE(CRect(skin.GetProfileRect("LOCATION", "aboutrect")).IsRectEmpty());
    EXPECT_FALSE(CRect(skin.GetProfileRect("LOCATION", "CameraList")).IsRectEmpty());
}

}  // namespace

VX_UI_TEST_MAIN()
