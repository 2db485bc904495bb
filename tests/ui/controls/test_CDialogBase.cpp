// The skinned dialog base: title, size and caption from the skin, the
// background, Escape and Enter, closing through the two hooks, dragging by
// any point, and a broken skin.
#include "skin_test_util.h"
#include "window_test_util.h"

#include "ui/controls/CDialogBase.h"

#include <QPlainTextEdit>
#include <QTest>

using namespace ctltest;
using namespace skintest;

namespace {

enum : UINT { IDD_SKINNED = 2100, IDC_NOTES = 2101, IDC_GO = 2102 };
constexpr UINT kEndRetry = WM_APP + 7;

void FillModule(vxw::ResourceModule& m)
{
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.cx = 100;
    t.cy = 60;
    t.caption = "template caption";
    t.items.push_back(vxw::DialogItemTemplate{"EDIT", static_cast<int>(IDC_NOTES), "",
                                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, 0, 5,
                                              5, 60, 20});
    t.items.push_back(vxw::DialogItemTemplate{"BUTTON", static_cast<int>(IDC_GO), "Go",
                                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 5, 30, 40, 14});
    m.AddDialog(IDD_SKINNED, t);
}

class SkinnedDlg : public CDialogBase {
public:
    SkinnedDlg(const std::string& skinFile, const std::string& folder) : CDialogBase(IDD_SKINNED)
    {
        auto* skin = new TestSkin(folder);
        m_pSkin = skin;
        m_strSkinFile = skinFile.c_str();
    }
    int escapes = 0;
    int initControls = 0;
    int confirms = 0;
    int exits = 0;
    int confirmAnswer = 1;
    int exitAnswer = 1;
    int goClicks = 0;
    std::vector<std::pair<WPARAM, LPARAM>> ncDowns;
    using CDialogBase::m_nNoBackground;
    using CDialogBase::m_nNoDrag;

protected:
    void DoEscape() override { ++escapes; }
    int DoQuitConfirm() override
    {
        ++confirms;
        return confirmAnswer;
    }
    int DoExit() override
    {
        ++exits;
        return exitAnswer;
    }
    void InitControls() override { ++initControls; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCLBUTTONDOWN)
            ncDowns.emplace_back(wParam, lParam);
        return CDialogBase::WindowProc(message, wParam, lParam);
    }
    void OnGo() { ++goClicks; }
    LRESULT OnEndRetry(WPARAM, LPARAM)
    {
        EndDialog(IDRETRY);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SkinnedDlg, CDialogBase)
ON_BN_CLICKED(IDC_GO, OnGo)
ON_MESSAGE(kEndRetry, OnEndRetry)
END_MESSAGE_MAP()

class DialogBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        static HINSTANCE module = vxw::RegisterResourceModule("ui-test-skinned", &FillModule);
        AfxSetResourceHandle(module);
        // 120x80: red corners of 10, green edges, blue centre.
        std::vector<std::string> rows(80, std::string(120, 'c'));
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 120; ++x) {
                const bool edgeX = x < 10 || x >= 110;
                const bool edgeY = y < 10 || y >= 70;
                rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = edgeX && edgeY   ? 'a'
                                                                       : edgeX || edgeY ? 'b'
                                                                                        : 'c';
            }
        ASSERT_TRUE(WritePicture(dir.file("bg.png"), rows));
        WriteText(dir.file("skin.xml"),
                  "<skin><title>Skinned</title><background><image>bg.png</image>"
                  "<min_size w=\"90\" h=\"70\"/><rect left=\"0\" top=\"0\" right=\"120\" bottom=\"80\"/>"
                  "<top_left left=\"0\" top=\"0\" right=\"10\" bottom=\"10\"/>"
                  "<top_right left=\"110\" top=\"0\" right=\"120\" bottom=\"10\"/>"
                  "<bottom_left left=\"0\" top=\"70\" right=\"10\" bottom=\"80\"/>"
                  "<bottom_right left=\"110\" top=\"70\" right=\"120\" bottom=\"80\"/>"
                  "<fill_center left=\"10\" top=\"10\" right=\"110\" bottom=\"70\"/></background></skin>");
        WriteText(dir.file("broken.xml"), "<skin><title>Broken</title></skin>");
        vxw::test::SetMessageBoxHook([this](const vxw::test::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
    }
    void TearDown() override
    {
        vxw::test::SetMessageBoxHook(nullptr);
        vxw::test::SetModalDialogHook(nullptr);
    }
    std::unique_ptr<SkinnedDlg> Make(const char* skin = "skin.xml")
    {
        return std::make_unique<SkinnedDlg>(dir.file(skin), dir.path());
    }

    vxtest::TempDir dir;
    std::vector<vxw::test::MessageBoxCall> boxes;
};

TEST_F(DialogBase, TitleSizeCaptionAndBackgroundComeFromTheSkin)
{
    auto dlg = Make();
    ASSERT_TRUE(dlg->Create(IDD_SKINNED));
    CString title;
    dlg->GetWindowText(title);
    EXPECT_EQ(title, "Skinned");
    CRect rc;
    dlg->GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 120);
    EXPECT_EQ(rc.Height(), 80);
    EXPECT_EQ(dlg->GetStyle() & (WS_CAPTION | WS_SYSMENU), 0u);
    EXPECT_EQ(dlg->initControls, 1);
    EXPECT_TRUE(boxes.empty());
    QImage img = Grab(*dlg);
    EXPECT_EQ(At(img, 2, 2), Palette().at('a'));
    EXPECT_EQ(At(img, 60, 3), Palette().at('b'));
    EXPECT_EQ(At(img, 115, 40), Palette().at('b'));
    EXPECT_EQ(At(img, 100, 50), Palette().at('c'));
    dlg->m_nNoBackground = 1;
    img = Grab(*dlg);
    EXPECT_EQ(At(img, 2, 2), GetSysColor(COLOR_BTNFACE));
    dlg->DestroyWindow();
}

TEST_F(DialogBase, SkinMinimumSizeAndTheWorkAreaWhenMaximised)
{
    auto dlg = Make();
    ASSERT_TRUE(dlg->Create(IDD_SKINNED));
    dlg->MoveWindow(0, 0, 20, 20);
    CRect rc;
    dlg->GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 90);
    EXPECT_EQ(rc.Height(), 70);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    dlg->ShowWindow(SW_MAXIMIZE);
    dlg->GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), work.right - work.left);
    EXPECT_EQ(rc.Height(), work.bottom - work.top);
    dlg->DestroyWindow();
}

TEST_F(DialogBase, BrokenSkinShowsTheErrorBoxAndSkipsInitControls)
{
    auto dlg = Make("broken.xml");
    ASSERT_TRUE(dlg->Create(IDD_SKINNED));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Failed to load skin");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(dlg->initControls, 0);
    dlg->DestroyWindow();
}

TEST_F(DialogBase, EscapeCallsDoEscapeAndEnterGoesOnlyToAnEdit)
{
    auto dlg = Make();
    int notesLines = 0;
    bool openAfterKeys = false;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        d.GetDlgItem(IDC_NOTES)->SetFocus();
        QTest::keyClick(vxw::WidgetOf(d.GetDlgItem(IDC_NOTES)->GetSafeHwnd()), Qt::Key_Escape);
        QTest::keyClick(vxw::WidgetOf(d.GetDlgItem(IDC_NOTES)->GetSafeHwnd()), Qt::Key_Return);
        d.GetDlgItem(IDC_GO)->SetFocus();
        QTest::keyClick(vxw::WidgetOf(d.GetDlgItem(IDC_GO)->GetSafeHwnd()), Qt::Key_Return);
        QTest::keyClick(vxw::WidgetOf(d.GetDlgItem(IDC_GO)->GetSafeHwnd()), Qt::Key_Escape);
        auto* notes = qobject_cast<QPlainTextEdit*>(vxw::WidgetOf(d.GetDlgItem(IDC_NOTES)->GetSafeHwnd()));
        notesLines = notes ? notes->document()->blockCount() : 0;
        openAfterKeys = ::IsWindow(d.GetSafeHwnd());
        d.EndDialog(IDRETRY);
    });
    EXPECT_EQ(dlg->DoModal(), IDRETRY);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(dlg->escapes, 2);
    EXPECT_EQ(notesLines, 2);  // the Enter went into the edit
    EXPECT_EQ(dlg->goClicks, 0);
}

TEST_F(DialogBase, CloseAsksBothHooks)
{
    struct Case {
        int confirm, exit;
        int confirms, exits;
        bool closes;
    };
    const Case cases[] = {
        {0, 1, 1, 0, false},
        {1, 0, 1, 1, false},
        {1, 1, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.confirm << c.exit);
        auto dlg = Make();
        dlg->confirmAnswer = c.confirm;
        dlg->exitAnswer = c.exit;
        LRESULT closeResult = 0;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            closeResult = d.SendMessage(WM_CLOSE);
            // Ends the run unless the close did.
            d.PostMessage(kEndRetry);
        });
        EXPECT_EQ(dlg->DoModal(), c.closes ? IDCANCEL : IDRETRY);
        EXPECT_EQ(closeResult, 1);
        EXPECT_EQ(dlg->confirms, c.confirms);
        EXPECT_EQ(dlg->exits, c.exits);
    }
}

TEST_F(DialogBase, ClickStartsAMoveUnlessMaximisedOrNoDrag)
{
    struct Case {
        const char* what;
        bool maximise;
        int noDrag;
        bool moves;
    };
    const Case cases[] = {
        {"restored", false, 0, true},
        {"maximised", true, 0, false},
        {"no drag", false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto dlg = Make();
        dlg->m_nNoDrag = c.noDrag;
        ASSERT_TRUE(dlg->Create(IDD_SKINNED));
        if (c.maximise) {
            dlg->ShowWindow(SW_MAXIMIZE);
            ASSERT_TRUE(dlg->IsZoomed());
        }
        dlg->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
        WaitFor([&] { return !dlg->ncDowns.empty(); }, c.moves ? 5000 : 200);
        if (c.moves) {
            ASSERT_EQ(dlg->ncDowns.size(), 1u);
            EXPECT_EQ(dlg->ncDowns[0].first, static_cast<WPARAM>(HTCAPTION));
            EXPECT_EQ(dlg->ncDowns[0].second, MAKELPARAM(30, 40));
        } else {
            EXPECT_TRUE(dlg->ncDowns.empty());
        }
        EXPECT_EQ(dlg->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTCLIENT);
        dlg->DestroyWindow();
    }
}

}  // namespace

VX_UI_TEST_MAIN()
