// The skin engine: reading skin files (a table of files and what they give),
// reloading, copies, and the background grid drawn pixel by pixel.
#include "skin_test_util.h"

#include "utility/vx_log.h"

#include <functional>

using namespace skintest;

namespace {

std::vector<std::string> g_logLines;
void CaptureLog(int, const char* line, int length)
{
    g_logLines.emplace_back(line, static_cast<size_t>(length));
}

// A 5x5 picture: 2x2 corners, a one-pixel centre cross.
const std::vector<std::string> kGrid = {
    "aabcc", "aabcc", "ddeff", "gghii", "gghii",
};
const char* kGridRects = "<rect left=\"0\" top=\"0\" right=\"5\" bottom=\"5\"/>"
                         "<top_left left=\"0\" top=\"0\" right=\"2\" bottom=\"2\"/>"
                         "<top_right left=\"3\" top=\"0\" right=\"5\" bottom=\"2\"/>"
                         "<bottom_left left=\"0\" top=\"3\" right=\"2\" bottom=\"5\"/>"
                         "<bottom_right left=\"3\" top=\"3\" right=\"5\" bottom=\"5\"/>"
                         "<fill_center left=\"2\" top=\"2\" right=\"3\" bottom=\"3\"/>";

std::string Skin(const std::string& inner)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<skin>" + inner + "</skin>";
}

std::string Background(const std::string& attrs = "", const std::string& children = kGridRects)
{
    return "<background " + attrs + "><image>grid.png</image>" + children + "</background>";
}

class SkinFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WritePicture(dir.file("grid.png"), kGrid));
        g_logLines.clear();
        previous = vx_log_set_log_func(CaptureLog);
        previousLevel = vx_log_set_level(6);
    }
    void TearDown() override
    {
        vx_log_set_log_func(previous);
        vx_log_set_level(previousLevel);
    }
    std::string Write(const std::string& name, const std::string& text)
    {
        WriteText(dir.file(name), text);
        return dir.file(name);
    }
    bool Logged(const std::string& part) const
    {
        for (const auto& l : g_logLines)
            if (l.find(part) != std::string::npos)
                return true;
        return false;
    }

    vxtest::TempDir dir;
    vx_log_func previous = nullptr;
    int previousLevel = 0;
};

struct FileCase {
    const char* what;
    std::string xml;
    int loads;
    std::function<void(TestSkin&)> check;
};

TEST_F(SkinFiles, TableOfSkinFiles)
{
    const std::string title = "<title>Main</title>";
    const std::string longText(70, 'x');
    // 61 ASCII bytes and a three-byte character: cut before the character.
    const std::string utf8Text = std::string(61, 'y') + "\xE2\x82\xAC" + "zz";
    const std::string longName(300, 'n');
    const std::vector<FileCase> cases = {
        {"title and an image only", Skin(title + "<background><image>grid.png</image></background>"), 1,
         [](TestSkin& s) {
             EXPECT_STREQ(s.GetTitle()->text, "Main");
             EXPECT_EQ(s.GetBackground()->rect.width, 0);
             EXPECT_EQ(s.GetBackground()->top_left.right, 0);
             EXPECT_EQ(s.GetBackground()->min_size.w, 0);
         }},
        {"minimum size", Skin(title + Background("", "<min_size w=\"300\" h=\"200\"/>")), 1,
         [](TestSkin& s) {
             EXPECT_EQ(s.GetBackground()->min_size.w, 300);
             EXPECT_EQ(s.GetBackground()->min_size.h, 200);
         }},
        {"background before the title", Skin(Background() + title), 1,
         [](TestSkin& s) {
             EXPECT_STREQ(s.GetTitle()->text, "Main");
             EXPECT_EQ(s.GetBackground()->fill_center.left, 2);
             EXPECT_EQ(s.GetBackground()->fill_center.width, 1);
         }},
        {"rect before the image is not found",
         Skin(title
              + "<background><rect left=\"1\" top=\"2\" right=\"3\" bottom=\"4\"/><image>grid.png</image>"
                "<top_left left=\"0\" top=\"0\" right=\"2\" bottom=\"2\"/></background>"),
         1,
         [](TestSkin& s) {
             EXPECT_EQ(s.GetBackground()->rect.right, 0);
             EXPECT_EQ(s.GetBackground()->top_left.right, 2);
         }},
        {"background flags and colours", Skin(title + Background("transparent=\"TRUE\" transparent_color=\"#FF0000\"")),
         1,
         [](TestSkin& s) {
             EXPECT_EQ(s.GetBackground()->transparent, 1);
             EXPECT_EQ(s.GetBackground()->transparent_color, RGB(255, 0, 0));
         }},
        {"colours without # or with bad digits are black",
         Skin(title + Background()
              + "<labels><label name=\"a\" color=\"FF0000\"/><label name=\"b\" color=\"#FF00\"/>"
                "<label name=\"c\" color=\"#GG0000\"/><label name=\"d\" color=\"#00ff7f\"/></labels>"),
         1,
         [](TestSkin& s) {
             EXPECT_EQ(s.GetLabel("a")->color, 0u);
             EXPECT_EQ(s.GetLabel("b")->color, 0u);
             EXPECT_EQ(s.GetLabel("c")->color, 0u);
             EXPECT_EQ(s.GetLabel("d")->color, RGB(0, 255, 127));
         }},
        {"two buttons of one name: the first counts, later ones load",
         Skin(title + Background()
              + "<buttons><button name=\"ok\" tooltips=\"first\"><image>ok1.png</image></button>"
                "<button name=\"ok\" tooltips=\"second\"><image>ok2.png</image></button>"
                "<button name=\"OK\" tooltips=\"upper\"><image>ok3.png</image></button>"
                "<button name=\"quit\" tooltips=\"q\" tooltips_off=\"q off\" hand_cursor=\"true\" "
                "fit_image_size=\"true\" fit_transparent_region=\"True\" transparent=\"true\" "
                "transparent_color=\"#00FF00\"><image>q.png</image><image_hot>qh.png</image_hot>"
                "<image_off>qf.png</image_off><rect left=\"10\" top=\"20\" right=\"50\" bottom=\"45\"/>"
                "</button></buttons>"),
         1,
         [&](TestSkin& s) {
             ASSERT_NE(s.GetButton("ok"), nullptr);
             EXPECT_STREQ(s.GetButton("ok")->tooltips, "first");
             EXPECT_EQ(std::string(s.GetButton("ok")->image), dir.file("ok1.png"));
             ASSERT_NE(s.GetButton("OK"), nullptr);  // names are case-sensitive
             EXPECT_STREQ(s.GetButton("OK")->tooltips, "upper");
             const ST_SKIN_BUTTON* q = s.GetButton("quit");
             ASSERT_NE(q, nullptr);
             EXPECT_STREQ(q->tooltips_off, "q off");
             EXPECT_EQ(q->hand_cursor + q->fit_image_size + q->fit_transparent_region + q->transparent, 4);
             EXPECT_EQ(q->transparent_color, RGB(0, 255, 0));
             EXPECT_EQ(std::string(q->image_hot), dir.file("qh.png"));
             EXPECT_STREQ(q->image_on, "");
             EXPECT_EQ(std::string(q->image_off), dir.file("qf.png"));
             EXPECT_EQ(q->rect.left, 10);
             EXPECT_EQ(q->rect.width, 40);
             EXPECT_EQ(q->rect.height, 25);
         }},
        {"a button without image ends the list",
         Skin(title + Background()
              + "<buttons><button name=\"one\"><image>1.png</image></button>"
                "<button name=\"two\"><rect left=\"1\" top=\"1\" right=\"2\" bottom=\"2\"/></button>"
                "<button name=\"three\"><image>3.png</image></button></buttons>"),
         1,
         [](TestSkin& s) {
             EXPECT_NE(s.GetButton("one"), nullptr);
             EXPECT_EQ(s.GetButton("two"), nullptr);
             EXPECT_EQ(s.GetButton("three"), nullptr);
         }},
        {"labels: alignment, flags, numbers, image",
         Skin(title + Background()
              + "<labels><label name=\"r\" align=\"Right\" title=\"Hello\" font_name=\"Sans\" font_size=\"14\" "
                "bold=\"true\" underline=\"true\" italic=\"true\" hand_cursor=\"true\" max_show=\"9\" "
                "tooltips=\"tip\"><image transparent=\"true\" transparent_color=\"#0000FF\">l.png</image>"
                "<rect left=\"5\" top=\"6\" right=\"105\" bottom=\"26\"/></label>"
                "<label name=\"c\" align=\"CENTER\"/><label name=\"l\" align=\"left\"/>"
                "<label name=\"n\"/></labels>"),
         1,
         [&](TestSkin& s) {
             const ST_SKIN_LABEL* r = s.GetLabel("r");
             ASSERT_NE(r, nullptr);
             EXPECT_EQ(r->align, 2);
             EXPECT_STREQ(r->text, "Hello");
             EXPECT_STREQ(r->font_name, "Sans");
             EXPECT_EQ(r->font_size, 14);
             EXPECT_EQ(r->bold + r->underline + r->italic + r->hand_cursor, 4);
             EXPECT_EQ(r->max_show, 9);
             EXPECT_STREQ(r->tooltips, "tip");
             EXPECT_EQ(r->transparent, 1);
             EXPECT_EQ(r->transparent_color, RGB(0, 0, 255));
             EXPECT_EQ(std::string(r->image), dir.file("l.png"));
             EXPECT_EQ(r->rect.width, 100);
             EXPECT_EQ(s.GetLabel("c")->align, 1);
             EXPECT_EQ(s.GetLabel("l")->align, 0);
             EXPECT_EQ(s.GetLabel("n")->align, 0);
         }},
        {"edits and rects",
         Skin(title + Background()
              + "<edits><edit name=\"e\" font_name=\"Mono\" font_size=\"16\" color=\"#010203\" "
                "bg_color=\"#FFFFFF\" border_color=\"#808080\"><rect left=\"1\" top=\"2\" right=\"31\" "
                "bottom=\"22\"/></edit></edits>"
                "<rects><rect name=\"video\" left=\"10\" top=\"10\" right=\"330\" bottom=\"250\"/>"
                "<rect name=\"video\" left=\"0\" top=\"0\" right=\"1\" bottom=\"1\"/></rects>"),
         1,
         [](TestSkin& s) {
             const ST_SKIN_EDIT* e = s.GetEdit("e");
             ASSERT_NE(e, nullptr);
             EXPECT_STREQ(e->font_name, "Mono");
             EXPECT_EQ(e->font_size, 16);
             EXPECT_EQ(e->color, RGB(1, 2, 3));
             EXPECT_EQ(e->bg_color, RGB(255, 255, 255));
             EXPECT_EQ(e->border_color, RGB(128, 128, 128));
             EXPECT_EQ(e->rect.height, 20);
             ASSERT_NE(s.GetRect("video"), nullptr);
             EXPECT_EQ(s.GetRect("video")->width, 320);
             EXPECT_EQ(s.GetRect("video")->height, 240);
             EXPECT_EQ(s.GetRect("missing"), nullptr);
         }},
        {"over-long texts are cut on a character boundary",
         Skin("<title>" + longText + "</title>" + Background() + "<labels><label name=\"u\" title=\"" + utf8Text
              + "\"/></labels>"),
         1,
         [&](TestSkin& s) {
             EXPECT_EQ(std::string(s.GetTitle()->text), longText.substr(0, 63));
             EXPECT_EQ(std::string(s.GetLabel("u")->text), utf8Text.substr(0, 61));
             EXPECT_TRUE(Logged("INFO:"));
             EXPECT_TRUE(Logged("cut"));
         }},
        {"an over-long button image path counts as missing",
         Skin(title + Background() + "<buttons><button name=\"b\"><image>" + longName
              + "</image></button><button name=\"c\"><image>c.png</image></button></buttons>"),
         1,
         [](TestSkin& s) {
             ASSERT_NE(s.GetButton("b"), nullptr);
             EXPECT_STREQ(s.GetButton("b")->image, "");
             EXPECT_NE(s.GetButton("c"), nullptr);
         }},
        {"an over-long background path fails", Skin(title + "<background><image>" + longName + "</image></background>"),
         0, nullptr},
        {"no title", Skin(Background()), 0, nullptr},
        {"no background", Skin(title), 0, nullptr},
        {"background without image", Skin(title + "<background>" + kGridRects + "</background>"), 0, nullptr},
        {"missing image file", Skin(title + "<background><image>none.png</image></background>"), 0, nullptr},
        {"root is not skin", "<other>" + title + Background() + "</other>", 0, nullptr},
        {"not XML at all", "this is no skin", 0, nullptr},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        g_logLines.clear();
        TestSkin skin(dir.path());
        EXPECT_EQ(skin.LoadSkin(Write("skin.xml", c.xml).c_str()), c.loads);
        if (c.check)
            c.check(skin);
        if (!c.loads) {
            EXPECT_STREQ(skin.GetTitle()->text, "");
        }
    }
}

TEST_F(SkinFiles, MissingFileLogsTheDocumentsResult)
{
    TestSkin skin(dir.path());
    EXPECT_EQ(skin.LoadSkin(dir.file("absent.xml").c_str()), 0);
    EXPECT_TRUE(Logged("load skin error"));
}

TEST_F(SkinFiles, BrokenReloadKeepsTheFirstSkin)
{
    TestSkin skin(dir.path());
    ASSERT_EQ(skin.LoadSkin(Write("good.xml", Skin("<title>Good</title>" + Background()
                                                   + "<buttons><button name=\"b\"><image>b.png</image>"
                                                     "</button></buttons>"))
                                .c_str()),
              1);
    // Buttons and labels read fine; the background's image is missing.
    EXPECT_EQ(skin.LoadSkin(Write("bad.xml", Skin("<title>Bad</title><background><image>none.png</image>"
                                                  "</background><buttons><button name=\"x\"><image>x.png</image>"
                                                  "</button></buttons>"))
                                .c_str()),
              0);
    EXPECT_STREQ(skin.GetTitle()->text, "Good");
    EXPECT_NE(skin.GetButton("b"), nullptr);
    EXPECT_EQ(skin.GetButton("x"), nullptr);
    EXPECT_EQ(skin.GetBackground()->top_left.width, 2);
    MemDc dc(5, 5, Palette().at('.'));
    RECT rc{0, 0, 5, 5};
    skin.DrawBackground(dc.dc, rc, 1, 1, 0);
    EXPECT_EQ(dc.Rows(Legend()), kGrid);
}

TEST_F(SkinFiles, CopyDrawsAndFindsItsButtonsAfterTheOriginalIsGone)
{
    auto original = std::make_unique<TestSkin>(dir.path());
    ASSERT_EQ(original->LoadSkin(Write("s.xml", Skin("<title>T</title>" + Background()
                                                     + "<buttons><button name=\"b\" tooltips=\"tip\"><image>b.png"
                                                       "</image></button></buttons><rects><rect name=\"r\" "
                                                       "right=\"4\"/></rects>"))
                                     .c_str()),
              1);
    CSkin copy(*original);
    CSkin assigned;
    assigned = *original;
    original.reset();
    for (CSkin* s : {&copy, &assigned}) {
        ASSERT_NE(s->GetButton("b"), nullptr);
        EXPECT_STREQ(s->GetButton("b")->tooltips, "tip");
        ASSERT_NE(s->GetRect("r"), nullptr);
        EXPECT_EQ(s->GetRect("r")->width, 4);
        EXPECT_STREQ(s->GetTitle()->text, "T");
        MemDc dc(5, 5, Palette().at('.'));
        RECT rc{0, 0, 5, 5};
        s->DrawBackground(dc.dc, rc, 1, 1, 0);
        EXPECT_EQ(dc.Rows(Legend()), kGrid);
    }
}

// ---- drawing ----

class Drawing : public SkinFiles {
protected:
    // Loads a skin over the picture and draws it into a w x h DC.
    std::vector<std::string> Draw(const std::vector<std::string>& picture, const std::string& background, int w, int h,
                                  int noRightStrip, int noRightTop, int noCentre)
    {
        EXPECT_TRUE(WritePicture(dir.file("bg.png"), picture));
        TestSkin skin(dir.path());
        EXPECT_EQ(skin.LoadSkin(Write("d.xml", Skin("<title>D</title>" + background)).c_str()), 1);
        MemDc dc(w, h, Palette().at('.'));
        RECT rc{0, 0, w, h};
        skin.DrawBackground(dc.dc, rc, noRightStrip, noRightTop, noCentre);
        return dc.Rows(Legend());
    }
    static std::string Bg(const std::string& attrs, const std::string& children)
    {
        return "<background " + attrs + "><image>bg.png</image>" + children + "</background>";
    }
};

TEST_F(Drawing, GridCornersAtTheirSizeEdgesAndCentreStretched)
{
    EXPECT_EQ(
        Draw(kGrid, Bg("", kGridRects), 8, 7, 1, 1, 0),
        (std::vector<std::string>{"aabbbbcc", "aabbbbcc", "ddeeeeff", "ddeeeeff", "ddeeeeff", "gghhhhii", "gghhhhii"}));
}

TEST_F(Drawing, ThirdSwitchLeavesTheCentreUntouched)
{
    EXPECT_EQ(Draw(kGrid, Bg("", kGridRects), 6, 5, 1, 1, 1),
              (std::vector<std::string>{"aabbcc", "aabbcc", "dd..ff", "gghhii", "gghhii"}));
}

TEST_F(Drawing, TheKeyColourIsTransparent)
{
    EXPECT_EQ(Draw(kGrid, Bg("transparent=\"true\" transparent_color=\"#00C8C8\"", kGridRects), 6, 5, 1, 1, 0),
              (std::vector<std::string>{"aabbcc", "aabbcc", "dd..ff", "gghhii", "gghhii"}));
}

TEST_F(Drawing, WindowSmallerThanTheCornersDrawsNoMirroredPiece)
{
    // Edges and centre get no room; the corners overlap as placed.
    EXPECT_EQ(Draw(kGrid, Bg("", kGridRects), 3, 3, 1, 1, 0), (std::vector<std::string>{"acc", "gii", "gii"}));
}

TEST_F(Drawing, RightStripReplacesTheHiddenPartOfTheRightColumn)
{
    // Right column: x 3..6; hidden part x 4..5 (never shown); strip x 6.
    const std::vector<std::string> picture = {
        "aabcxxs", "aabcxxs", "ddefxxt", "gghixxu", "gghixxu",
    };
    const std::string rects = "<rect left=\"0\" top=\"0\" right=\"7\" bottom=\"5\"/>"
                              "<top_left left=\"0\" top=\"0\" right=\"2\" bottom=\"2\"/>"
                              "<top_right left=\"3\" top=\"0\" right=\"7\" bottom=\"2\"/>"
                              "<bottom_left left=\"0\" top=\"3\" right=\"2\" bottom=\"5\"/>"
                              "<bottom_right left=\"3\" top=\"3\" right=\"7\" bottom=\"5\"/>"
                              "<fill_center left=\"2\" top=\"2\" right=\"3\" bottom=\"3\"/>"
                              "<right_hide left=\"4\" top=\"0\" right=\"6\" bottom=\"5\"/>";
    EXPECT_EQ(Draw(picture, Bg("", rects), 9, 6, 0, 1, 0),
              (std::vector<std::string>{"aabbbbbcs", "aabbbbbcs", "ddeeeeeft", "ddeeeeeft", "gghhhhhiu", "gghhhhhiu"}));
}

TEST_F(Drawing, RightTopPiecesCoverTheHiddenCorner)
{
    // The right-top hidden part is x 4, y 0..1; the rows below it move up
    // and the centre row stretches down to the bottom corner.
    const std::vector<std::string> picture = {
        "aabckc", "aabcpc", "aabcqc", "ddefrf", "gghiii", "gghiii",
    };
    const std::string rects = "<rect left=\"0\" top=\"0\" right=\"6\" bottom=\"6\"/>"
                              "<top_left left=\"0\" top=\"0\" right=\"2\" bottom=\"3\"/>"
                              "<top_right left=\"3\" top=\"0\" right=\"6\" bottom=\"3\"/>"
                              "<bottom_left left=\"0\" top=\"4\" right=\"2\" bottom=\"6\"/>"
                              "<bottom_right left=\"3\" top=\"4\" right=\"6\" bottom=\"6\"/>"
                              "<fill_center left=\"2\" top=\"3\" right=\"3\" bottom=\"4\"/>"
                              "<right_top_hide left=\"4\" top=\"0\" right=\"5\" bottom=\"1\"/>";
    EXPECT_EQ(
        Draw(picture, Bg("", rects), 8, 7, 1, 0, 0),
        (std::vector<std::string>{"aabbbcpc", "aabbbcqc", "aabbbcrc", "ddeeefrf", "ddeeefrf", "gghhhiii", "gghhhiii"}));
}

TEST_F(Drawing, NothingWithoutAPicture)
{
    TestSkin skin(dir.path());
    MemDc dc(4, 4, Palette().at('.'));
    RECT rc{0, 0, 4, 4};
    skin.DrawBackground(dc.dc, rc, 1, 1, 0);
    EXPECT_EQ(dc.Rows(Legend()), (std::vector<std::string>{"....", "....", "....", "...."}));
}

}  // namespace

VX_UI_TEST_MAIN()
