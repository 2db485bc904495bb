// The picture button: which picture each state shows, the on state and
// transparency, the region fitted to the opaque pixels, and the skin's
// button, label and picture static set-up.
#include "skin_test_util.h"
#include "window_test_util.h"

#include "ui/controls/CMyColorStatic.h"
#include "ui/controls/CMyPictureButton.h"
#include "ui/controls/CMyPictureStatic.h"

#include <QTest>

using namespace ctltest;
using namespace skintest;

namespace {

constexpr UINT kId = 200;

std::vector<std::string> Solid(char c, int w = 4, int h = 4)
{
    return std::vector<std::string>(static_cast<size_t>(h), std::string(static_cast<size_t>(w), c));
}

class PictureButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make(200, 100));
        // One solid colour per face.
        const char* names[] = {"normal", "hot", "on", "off", "disabled"};
        const char letters[] = {'a', 'b', 'c', 'd', 'e'};
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(WritePicture(dir.file(std::string(names[i]) + ".png"), Solid(letters[i])));
    }
    CString File(const char* name, bool present) const
    {
        return present ? CString(dir.file(std::string(name) + ".png").c_str()) : CString(dir.file("none.png").c_str());
    }
    // The face drawn for an item state, as the parent's WM_DRAWITEM has it drawn.
    char Face(CMyPictureButton& button, UINT state)
    {
        MemDc dc(4, 4, Palette().at('.'));
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = kId;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = button.GetSafeHwnd();
        dis.hDC = dc.dc;
        dis.rcItem = RECT{0, 0, 4, 4};
        parent.SendMessage(WM_DRAWITEM, kId, reinterpret_cast<LPARAM>(&dis));
        return dc.Rows(Legend())[1][1];
    }

    vxtest::TempDir dir;
    Parent parent;
};

TEST_F(PictureButton, FacesByState)
{
    struct Case {
        const char* what;
        bool normal, hot, on, off, disabled;  // pictures present
        BOOL buttonOn, buttonOff;
        UINT state;
        char face;
    };
    const Case cases[] = {
        {"normal", true, true, true, true, true, FALSE, FALSE, 0, 'a'},
        {"on", true, true, true, true, true, TRUE, FALSE, 0, 'c'},
        {"off", true, true, true, true, true, FALSE, TRUE, 0, 'd'},
        {"off wins over on", true, true, true, true, true, TRUE, TRUE, 0, 'd'},
        {"on without its picture", true, true, false, true, true, TRUE, FALSE, 0, 'a'},
        {"selected", true, true, true, true, true, FALSE, FALSE, ODS_SELECTED, 'b'},
        {"hot light", true, true, true, true, true, TRUE, FALSE, ODS_HOTLIGHT, 'b'},
        {"selected without hot", true, false, true, true, true, FALSE, FALSE, ODS_SELECTED, 'a'},
        {"disabled", true, true, true, true, true, FALSE, FALSE, ODS_DISABLED, 'e'},
        {"disabled without its picture shows the base", true, true, true, true, false, TRUE, FALSE, ODS_DISABLED, 'c'},
        {"selected beats disabled", true, true, true, true, true, FALSE, FALSE, ODS_SELECTED | ODS_DISABLED, 'b'},
        {"no normal picture draws nothing", false, true, true, true, true, FALSE, FALSE, ODS_SELECTED, '.'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMyPictureButton button;
        ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 4, 4), &parent, kId));
        EXPECT_EQ(button.SetImage(File("normal", c.normal), File("hot", c.hot), File("on", c.on), File("off", c.off),
                                  File("disabled", c.disabled), TRUE),
                  c.normal ? 1 : 0);
        EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_OWNERDRAW));
        button.SetButtonOnOff(c.buttonOn, c.buttonOff);
        EXPECT_EQ(Face(button, c.state), c.face);
        button.DestroyWindow();
    }
}

TEST_F(PictureButton, ResourcePicturesAndAMissingNormalOne)
{
    static HINSTANCE module = vxw::RegisterResourceModule("ui-test-button-faces", [](vxw::ResourceModule& m) {
        m.AddData("PNG", 5001, PictureBytes(Solid('a')));
        m.AddData("PNG", 5002, PictureBytes(Solid('b')));
    });
    AfxSetResourceHandle(module);
    CMyPictureButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE, CRect(0, 0, 4, 4), &parent, kId));
    EXPECT_EQ(button.SetImage(5001, 5002, 0, 0, 0, "PNG", FALSE, 0, TRUE), 1);
    EXPECT_EQ(Face(button, 0), 'a');
    EXPECT_EQ(Face(button, ODS_SELECTED), 'b');
    EXPECT_EQ(button.SetImage(5999, 5002, 0, 0, 0, "PNG", FALSE, 0, TRUE), 0);
    EXPECT_EQ(Face(button, ODS_SELECTED), '.');
}

TEST_F(PictureButton, PushedStateDrawsTheHotFace)
{
    CMyPictureButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE, CRect(10, 10, 50, 50), &parent, kId));
    button.SetImage(File("normal", true), File("hot", true), "", "", "", TRUE);
    EXPECT_EQ(At(Grab(parent), 30, 30), Palette().at('a'));
    button.SetState(TRUE);  // what the hover notice does
    EXPECT_EQ(At(Grab(parent), 30, 30), Palette().at('b'));
    button.SetState(FALSE);
    EXPECT_EQ(At(Grab(parent), 30, 30), Palette().at('a'));
}

TEST_F(PictureButton, HoverShowsTheHotFace)
{
    CMyPictureButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE, CRect(10, 10, 50, 50), &parent, kId));
    button.SetImage(File("normal", true), File("hot", true), "", "", "", TRUE);
    CPoint inside(30, 30);
    parent.ClientToScreen(&inside);
    SetCursorPos(inside.x, inside.y);
    QTest::mouseMove(vxw::WidgetOf(button.GetSafeHwnd()), QPoint(20, 20));
    EXPECT_TRUE(WaitFor([&] { return At(Grab(parent), 30, 30) == Palette().at('b'); }, 3000));
}

TEST_F(PictureButton, SetTransparentLeavesTheOnState)
{
    CMyPictureButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE, CRect(0, 0, 4, 4), &parent, kId));
    button.SetImage(File("normal", true), "", File("on", true), "", "", FALSE);
    button.SetButtonOnOff(TRUE, FALSE);
    EXPECT_TRUE(button.IsButtonOn());
    EXPECT_EQ(Face(button, 0), 'c');
    button.SetTransparent(TRUE, Palette().at('x'));
    EXPECT_FALSE(button.IsButtonOn());
    EXPECT_EQ(Face(button, 0), 'a');
}

TEST_F(PictureButton, FittedRegionLeavesOutAKeyedCorner)
{
    std::vector<std::string> keyed = Solid('a', 8, 8);
    keyed[0][0] = keyed[0][1] = keyed[1][0] = keyed[1][1] = 'x';
    ASSERT_TRUE(WritePicture(dir.file("keyed.png"), keyed));
    CMyPictureButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE, CRect(0, 0, 8, 8), &parent, kId));
    button.SetTransparent(TRUE, Palette().at('x'));
    ASSERT_EQ(button.SetImage(CString(dir.file("keyed.png").c_str()), "", "", "", "", FALSE), 1);
    button.SetFitTransparentRegion();
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(button.GetWindowRgn(rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 1, 1));
    EXPECT_TRUE(PtInRegion(rgn, 2, 0));
    EXPECT_TRUE(PtInRegion(rgn, 5, 5));
    DeleteObject(rgn);
}

// ---- the skin's set-up of controls ----

class ProbeButton : public CMyPictureButton {
public:
    using CMyPictureButton::m_bTransparent;
    using CMyPictureButton::m_hHandCursor;
    using CMyPictureButton::m_strToolTip;
    using CMyPictureButton::m_strToolTip2;
};

class ProbeLabel : public CMyColorStatic {
public:
    using CMyColorStatic::m_bHyperLink;
    using CMyColorStatic::m_bTextBold;
    using CMyColorStatic::m_crText;
    using CMyColorStatic::m_nTextFontSize;
    using CMyColorStatic::m_nTextFormat;
    using CMyColorStatic::m_strFontName;
    using CMyColorStatic::m_strToolTip;
};

class SkinSetUp : public PictureButton {
protected:
    void SetUp() override
    {
        PictureButton::SetUp();
        WriteText(dir.file("skin.xml"),
                  "<skin><title>T</title><background><image>normal.png</image></background>"
                  "<buttons><button name=\"ok\" tooltips=\"Go\" tooltips_off=\"Stop\" hand_cursor=\"true\" "
                  "transparent=\"true\" transparent_color=\"#FFFFFF\"><image>normal.png</image>"
                  "<image_hot>hot.png</image_hot><rect left=\"12\" top=\"14\" right=\"52\" bottom=\"44\"/>"
                  "</button><button name=\"fit\" fit_image_size=\"true\"><image>normal.png</image>"
                  "<rect left=\"1\" top=\"2\" right=\"41\" bottom=\"42\"/></button>"
                  "<button name=\"broken\"><image>none.png</image></button></buttons>"
                  "<labels><label name=\"l\" title=\"Caption\" color=\"#102030\" font_name=\"Sans\" "
                  "font_size=\"15\" bold=\"true\" underline=\"true\" align=\"right\" tooltips=\"Tip\">"
                  "<image transparent=\"true\" transparent_color=\"#00C800\">hot.png</image>"
                  "<rect left=\"5\" top=\"6\" right=\"85\" bottom=\"26\"/></label></labels></skin>");
        ASSERT_EQ(skin.LoadSkin(dir.file("skin.xml").c_str()), 1);
    }
    CRect PlaceOf(const CWnd& w)
    {
        CRect rc;
        w.GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        return rc;
    }
    TestSkin skin{dir.path()};
};

TEST_F(SkinSetUp, ButtonPlaceSizeTextsAndCursor)
{
    ProbeButton ok;
    ASSERT_TRUE(ok.Create("", WS_VISIBLE, CRect(0, 0, 5, 5), &parent, kId));
    skin.InitButton(&ok, "ok");
    EXPECT_EQ(PlaceOf(ok), CRect(12, 14, 52, 44));
    EXPECT_EQ(ok.m_strToolTip, "Go");
    EXPECT_EQ(ok.m_strToolTip2, "Stop");
    EXPECT_NE(ok.m_hHandCursor, nullptr);
    EXPECT_TRUE(ok.m_bTransparent);
    EXPECT_EQ(At(Grab(parent), 30, 30), Palette().at('a'));

    ProbeButton fit;
    ASSERT_TRUE(fit.Create("", WS_VISIBLE, CRect(0, 0, 5, 5), &parent, kId + 1));
    skin.InitButton(&fit, "fit");
    EXPECT_EQ(PlaceOf(fit), CRect(1, 2, 5, 6));  // the picture's 4x4
    EXPECT_EQ(fit.m_hHandCursor, nullptr);
}

TEST_F(SkinSetUp, UnknownOrBrokenButtonChangesNothing)
{
    ProbeButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE, CRect(3, 4, 13, 14), &parent, kId));
    skin.InitButton(&button, "nope");
    skin.InitButton(&button, "broken");
    EXPECT_EQ(PlaceOf(button), CRect(3, 4, 13, 14));
    EXPECT_EQ(button.m_strToolTip, "");
}

TEST_F(SkinSetUp, LabelTakesTheRecord)
{
    ProbeLabel label;
    ASSERT_TRUE(label.Create("", WS_VISIBLE, CRect(0, 0, 5, 5), &parent, kId));
    skin.InitLabel(&label, "l");
    EXPECT_EQ(PlaceOf(label), CRect(5, 6, 85, 26));
    EXPECT_EQ(label.GetCaption(), "Caption");
    EXPECT_EQ(label.m_crText, RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(label.m_strFontName, "Sans");
    EXPECT_EQ(label.m_nTextFontSize, 15);
    EXPECT_TRUE(label.m_bTextBold);
    EXPECT_TRUE(label.m_bHyperLink);
    EXPECT_EQ(label.m_nTextFormat, static_cast<UINT>(DT_RIGHT | 0x2810));
    EXPECT_EQ(label.m_strToolTip, "Tip");
    skin.InitLabel(&label, "l", "Given");
    EXPECT_EQ(label.GetCaption(), "Given");
    skin.InitLabel(&label, "nope", "Other");
    EXPECT_EQ(label.GetCaption(), "Given");
}

TEST_F(SkinSetUp, PictureAndPictureStaticFromALabel)
{
    CMyPicture picture;
    skin.InitPicture(&picture, "l");
    EXPECT_EQ(picture.GetWidth(), 4);
    EXPECT_TRUE(picture.m_bTransparent);
    EXPECT_EQ(picture.m_crColourKey, RGB(0, 200, 0));

    CMyPictureStatic pictureStatic;
    ASSERT_TRUE(pictureStatic.Create("", WS_VISIBLE, CRect(0, 0, 5, 5), &parent, kId));
    skin.InitPictureStatic(&pictureStatic, "l");
    EXPECT_EQ(PlaceOf(pictureStatic), CRect(5, 6, 85, 26));
    EXPECT_TRUE(pictureStatic.m_Picture.HasImage());
    EXPECT_TRUE(pictureStatic.m_bTransparent);
    EXPECT_EQ(pictureStatic.m_strToolTip, "Tip");
    EXPECT_EQ(pictureStatic.m_hHandCursor, nullptr);
}

}  // namespace

VX_UI_TEST_MAIN()
