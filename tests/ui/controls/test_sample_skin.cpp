// The sample skinned dialog: every control of the skin engine dressed from
// one skin file, whose pictures the test writes from its resource module
// into a folder of its own. Saved as a screenshot under the build folder to
// be looked at.
#include "skin_test_util.h"
#include "window_test_util.h"

#include "ui/controls/CDialogBase.h"
#include "ui/controls/CImageSlider.h"
#include "ui/controls/CLinkStatic.h"
#include "ui/controls/CMyColorStatic.h"
#include "ui/controls/CMyEdit.h"
#include "ui/controls/CMyPictureButton.h"
#include "ui/controls/CMyPictureStatic.h"

#include <QDir>

void vx_skin_pictures(vxw::ResourceModule& module);

using namespace ctltest;
using namespace skintest;

namespace {

enum : UINT {
    IDP_BACKGROUND = 600,
    IDP_BUTTON = 601,
    IDP_BUTTON_HOT = 602,
    IDP_CLOSE = 603,
    IDP_LOGO = 604,
    IDB_SK_CHANNEL = 610,
    IDB_SK_CHANNEL_ACTIVE = 611,
    IDB_SK_THUMB = 612,
    IDD_SAMPLE_SKIN = 620,
    IDC_SK_APPLY = 621,
    IDC_SK_CLOSE = 622,
    IDC_SK_TITLE = 623,
    IDC_SK_CAPTION = 624,
    IDC_SK_LOGO = 625,
    IDC_SK_NAME = 626,
    IDC_SK_VOLUME = 627,
    IDC_SK_LINK = 628,
};
constexpr COLORREF kKey = RGB(255, 0, 255);

void FillModule(vxw::ResourceModule& m)
{
    vx_skin_pictures(m);
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.cx = 200;
    t.cy = 120;
    t.caption = "template";
    auto item = [&](const char* cls, UINT id, const char* text, DWORD style) {
        t.items.push_back(
            vxw::DialogItemTemplate{cls, static_cast<int>(id), text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 10, 10});
    };
    item("BUTTON", IDC_SK_APPLY, "", BS_PUSHBUTTON | WS_TABSTOP);
    item("BUTTON", IDC_SK_CLOSE, "", BS_PUSHBUTTON);
    item("STATIC", IDC_SK_TITLE, "", SS_LEFT);
    item("STATIC", IDC_SK_CAPTION, "", SS_LEFT);
    item("STATIC", IDC_SK_LOGO, "", SS_LEFT);
    item("EDIT", IDC_SK_NAME, "Front door", WS_TABSTOP | ES_AUTOHSCROLL);
    item("STATIC", IDC_SK_VOLUME, "", SS_LEFT);
    item("STATIC", IDC_SK_LINK, "https://example.org/help", SS_LEFT);
    m.AddDialog(IDD_SAMPLE_SKIN, t);
}

const char* kSkin =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<skin>\n"
    "  <title>Camera \xC3\xBC"
    "bersicht</title>\n"
    "  <background transparent=\"false\">\n"
    "    <image>background.png</image>\n"
    "    <min_size w=\"300\" h=\"200\"/>\n"
    "    <rect left=\"0\" top=\"0\" right=\"360\" bottom=\"260\"/>\n"
    "    <top_left left=\"0\" top=\"0\" right=\"24\" bottom=\"36\"/>\n"
    "    <top_right left=\"336\" top=\"0\" right=\"360\" bottom=\"36\"/>\n"
    "    <bottom_left left=\"0\" top=\"236\" right=\"24\" bottom=\"260\"/>\n"
    "    <bottom_right left=\"336\" top=\"236\" right=\"360\" bottom=\"260\"/>\n"
    "    <fill_center left=\"24\" top=\"40\" right=\"336\" bottom=\"236\"/>\n"
    "  </background>\n"
    "  <buttons>\n"
    "    <button name=\"apply\" tooltips=\"Apply the settings\" transparent=\"true\" transparent_color=\"#FF00FF\""
    " hand_cursor=\"true\" fit_transparent_region=\"true\">\n"
    "      <image>button.png</image><image_hot>button_hot.png</image_hot>\n"
    "      <rect left=\"236\" top=\"214\" right=\"332\" bottom=\"242\"/>\n"
    "    </button>\n"
    "    <button name=\"close\" tooltips=\"Close\" transparent=\"true\" transparent_color=\"#FF00FF\""
    " fit_image_size=\"true\" fit_transparent_region=\"true\">\n"
    "      <image>close.png</image><rect left=\"330\" top=\"8\" right=\"350\" bottom=\"28\"/>\n"
    "    </button>\n"
    "  </buttons>\n"
    "  <labels>\n"
    "    <label name=\"title\" color=\"#FFFFFF\" font_name=\"Sans\" font_size=\"16\" bold=\"true\">\n"
    "      <rect left=\"56\" top=\"8\" right=\"300\" bottom=\"30\"/>\n"
    "    </label>\n"
    "    <label name=\"caption\" title=\"Camera name\" color=\"#17202A\" font_name=\"Sans\" font_size=\"14\">\n"
    "      <rect left=\"40\" top=\"58\" right=\"140\" bottom=\"78\"/>\n"
    "    </label>\n"
    "    <label name=\"logo\" tooltips=\"Cameras\" hand_cursor=\"true\">\n"
    "      <image transparent=\"false\">logo.png</image><rect left=\"12\" top=\"6\" right=\"44\" bottom=\"30\"/>\n"
    "    </label>\n"
    "  </labels>\n"
    "  <edits>\n"
    "    <edit name=\"name\" font_name=\"Sans\" font_size=\"14\" color=\"#1B4F72\" bg_color=\"#FFF8DC\""
    " border_color=\"#3C78B4\"><rect left=\"150\" top=\"54\" right=\"320\" bottom=\"80\"/></edit>\n"
    "  </edits>\n"
    "  <rects>\n"
    "    <rect name=\"volume\" left=\"40\" top=\"110\" right=\"240\" bottom=\"130\"/>\n"
    "    <rect name=\"link\" left=\"40\" top=\"160\" right=\"240\" bottom=\"180\"/>\n"
    "  </rects>\n"
    "</skin>\n";

class SampleSkinDlg : public CDialogBase {
public:
    SampleSkinDlg(const std::string& folder) : CDialogBase(IDD_SAMPLE_SKIN)
    {
        auto* skin = new TestSkin(folder);
        m_pSkin = skin;
        m_strSkinFile = (folder + "/skin.xml").c_str();
    }

    CMyPictureButton m_apply;
    CMyPictureButton m_close;
    CMyColorStatic m_title;
    CMyColorStatic m_caption;
    CMyPictureStatic m_logo;
    CMyEdit m_name;
    CImageSlider m_volume;
    CLinkStatic m_link;

protected:
    void InitControls() override
    {
        m_apply.SubclassDlgItem(IDC_SK_APPLY, this);
        m_close.SubclassDlgItem(IDC_SK_CLOSE, this);
        m_title.SubclassDlgItem(IDC_SK_TITLE, this);
        m_caption.SubclassDlgItem(IDC_SK_CAPTION, this);
        m_logo.SubclassDlgItem(IDC_SK_LOGO, this);
        m_name.SubclassDlgItem(IDC_SK_NAME, this);
        m_volume.SubclassDlgItem(IDC_SK_VOLUME, this);
        m_link.SubclassDlgItem(IDC_SK_LINK, this);

        m_pSkin->InitButton(&m_apply, "apply");
        m_pSkin->InitButton(&m_close, "close");
        m_pSkin->InitLabel(&m_title, "title", m_pSkin->GetTitle()->text);
        m_pSkin->InitLabel(&m_caption, "caption");
        m_pSkin->InitPictureStatic(&m_logo, "logo");
        if (const ST_SKIN_EDIT* e = m_pSkin->GetEdit("name")) {
            m_name.MoveWindow(e->rect.left, e->rect.top, e->rect.width, e->rect.height, FALSE);
            m_name.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
            m_name.SetTextColor(e->color);
            m_name.SetBgColor(e->bg_color);
            m_name.SetBorderColor(e->border_color);
            m_name.SetFontName(e->font_name, e->font_size);
        }
        m_volume.SetBitmapChannel(IDB_SK_CHANNEL, IDB_SK_CHANNEL_ACTIVE, TRUE, kKey);
        m_volume.SetBitmapThumb(IDB_SK_THUMB, 0, TRUE, kKey);
        if (const ST_SKIN_RECT* r = m_pSkin->GetRect("volume"))
            m_volume.MoveWindow(r->left, r->top, 200, 20, FALSE);
        m_volume.SetPos(60);
        if (const ST_SKIN_RECT* r = m_pSkin->GetRect("link"))
            m_link.MoveWindow(r->left, r->top, r->width, r->height, FALSE);
    }
};

TEST(SampleSkin, EveryControlFromOneSkinFile)
{
    HINSTANCE module = vxw::RegisterResourceModule("ui-test-sample-skin", &FillModule);
    AfxSetResourceHandle(module);
    const vxw::ResourceModule* res = vxw::FindResourceModule(module);
    ASSERT_NE(res, nullptr);
    vxtest::TempDir dir;
    const std::pair<UINT, const char*> files[] = {{IDP_BACKGROUND, "background.png"},
                                                  {IDP_BUTTON, "button.png"},
                                                  {IDP_BUTTON_HOT, "button_hot.png"},
                                                  {IDP_CLOSE, "close.png"},
                                                  {IDP_LOGO, "logo.png"}};
    for (const auto& [id, name] : files) {
        const std::vector<unsigned char>* bytes = res->FindData("PNG", id);
        ASSERT_NE(bytes, nullptr) << name;
        WriteText(dir.file(name), std::string(bytes->begin(), bytes->end()));
    }
    WriteText(dir.file("skin.xml"), kSkin);

    SampleSkinDlg dlg(dir.path());
    ASSERT_TRUE(dlg.Create(IDD_SAMPLE_SKIN));
    dlg.ShowWindow(SW_SHOW);
    WaitFor([] { return false; }, 100);
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 360);
    EXPECT_EQ(rc.Height(), 260);

    QImage shot = Grab(dlg);
    ASSERT_FALSE(shot.isNull());
    QString out = QString::fromUtf8(VX_BIN_DIR) + "/../screenshots";
    QDir().mkpath(out);
    EXPECT_TRUE(shot.save(out + "/vxui_skin.png"));

    EXPECT_EQ(At(shot, 100, 3), RGB(0x17, 0x20, 0x2A));    // the header
    EXPECT_EQ(At(shot, 200, 150), RGB(0xF2, 0xF4, 0xF7));  // the body
    EXPECT_EQ(At(shot, 250, 228), RGB(0x3C, 0x78, 0xB4));  // the button face
    EXPECT_EQ(At(shot, 237, 215), RGB(0xF2, 0xF4, 0xF7));  // its keyed corner
    EXPECT_EQ(At(shot, 310, 67), RGB(0xFF, 0xF8, 0xDC));   // the edit's background
    EXPECT_EQ(At(shot, 220, 120), RGB(0x9A, 0xA7, 0xB4));  // the channel after the thumb
    EXPECT_EQ(At(shot, 60, 120), RGB(0x3C, 0x78, 0xB4));   // the active part before it
    EXPECT_EQ(At(shot, 60, 112), RGB(0xF2, 0xF4, 0xF7));   // the keyed channel shows the body
    dlg.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()
