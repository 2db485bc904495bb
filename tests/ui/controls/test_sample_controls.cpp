// A sample dialog with every control of the library, built from a test
// template and saved as a screenshot under the build folder to be looked at.
#include "controls_test_util.h"
#include "platform/ui/GuiRuntime.h"
#include "platform/ui/popup_input.h"
#include "ui/controls/CDlgTabItem.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CListCtrlEx.h"
#include "ui/controls/CMyListCtrl.h"
#include "ui/controls/CMyPictureStatic.h"
#include "ui/controls/CTabCtrlEx.h"

#include <QDir>
#include <QTest>

#include <fstream>
#include <memory>
#include <vector>

namespace {

class Page : public CDlgTabItem {
public:
    Page(int id, CWnd* parent) : CDlgTabItem(id, parent) {}
    int loads = 0;

protected:
    void OnShowWindow() override { ++loads; }
};

class CControlsDlg : public CDialog {
public:
    CControlsDlg() : CDialog(IDD_CONTROLS), m_video(IDD_PAGE_VIDEO, this), m_audio(IDD_PAGE_AUDIO, this) {}

    CTabCtrlEx m_tabs;
    Page m_video;
    Page m_audio;
    CImageList m_tabImages;
    CListCtrlEx m_signals;
    CMyListCtrl m_records;
    CIconButton m_grey;
    CIconButton m_check;
    CIconButton m_drop;
    CIconButton m_default;
    CMyPictureStatic m_picture;
    ZelMenu m_menu;
    std::string m_pictureFile;
    std::vector<UINT> m_commands;  // menu commands, in the order they came

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0)
            m_commands.push_back(LOWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_tabs.SubclassDlgItem(IDC_TABS, this);
        m_signals.SubclassDlgItem(IDC_SIGNALS, this);
        m_records.SubclassDlgItem(IDC_RECORDS, this);
        m_grey.SubclassDlgItem(IDC_GREY, this);
        m_check.SubclassDlgItem(IDC_CHECK, this);
        m_drop.SubclassDlgItem(IDC_DROP, this);
        m_default.SubclassDlgItem(IDC_DEFAULT, this);
        m_picture.SubclassDlgItem(IDC_PICTURE, this);

        m_tabImages.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
        LPCSTR icon = MAKEINTRESOURCE(IDI_CAMERA);
        m_tabImages.Add(
            static_cast<HICON>(LoadImage(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon, IMAGE_ICON, 0, 0, 0)));
        m_tabs.SetImageList(&m_tabImages);
        m_tabs.InsertItem(0, "Video", 0);
        m_tabs.InsertItem(1, "Audio", -1);
        m_tabs.SetFonts(700, 0, 0, 400, 0, 0);
        m_tabs.SetColours(RGB(0, 0, 255), RGB(50, 50, 50));
        CRect area;
        m_tabs.GetWindowRect(&area);
        ScreenToClient(&area);
        m_tabs.AdjustRect(FALSE, &area);
        for (Page* p : {&m_video, &m_audio}) {
            p->Create(p == &m_video ? IDD_PAGE_VIDEO : IDD_PAGE_AUDIO, this);
            p->MoveWindow(&area);
        }
        m_video.ShowWindow(SW_SHOW);

        m_signals.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        m_signals.InsertColumn(0, "Network", LVCFMT_LEFT, 60);
        m_signals.InsertColumn(1, "Ch", LVCFMT_LEFT, 24);
        m_signals.InsertColumn(2, "Signal", LVCFMT_LEFT, 120);
        m_signals.InitProgressColumn(IDB_BAR_BACK, IDB_BAR_FORE, RT_BITMAP, TRUE, RGB(255, 255, 255), 2);
        const int values[] = {0, 30, 70, 100, 150};
        for (int r = 0; r < 5; ++r) {
            m_signals.InsertItem(r, ("cam-net-" + std::to_string(r)).c_str());
            m_signals.SetItemText(r, 1, std::to_string(r + 1).c_str());
            m_signals.m_nProgressValue[r] = values[r];
        }

        m_records.InsertColumn(0, "Recording", LVCFMT_LEFT, 120);
        m_records.InsertColumn(1, "Size", LVCFMT_LEFT, 80);
        for (int r = 0; r < 3; ++r) {
            m_records.InsertItem(r, ("2026-12-10 0" + std::to_string(r) + ":00").c_str());
            m_records.SetItemText(r, 1, (std::to_string(12 + r) + " MB").c_str());
        }

        m_grey.SetIcon(IDI_CAMERA, CIconButton::kGreyCopy);
        m_grey.SetAlign(CIconButton::ST_ALIGN_VERT);
        m_grey.OffsetColor(CIconButton::BTNST_COLOR_BK_IN, 30);
        m_check.SetColor(CIconButton::BTNST_COLOR_BK_IN, RGB(150, 200, 150));
        m_check.SetCheck(1);
        m_drop.SetMenu(IDM_DROP, GetSafeHwnd(), TRUE, IDT_TOOLBAR);
        m_default.SetFlat(FALSE);

        m_picture.SetImage(CString(m_pictureFile.c_str()));
        m_picture.SetTransparent(TRUE, RGB(255, 255, 255));

        m_menu.LoadMenu(IDM_DROP);
        m_menu.SetBitmapBackground(RGB(255, 0, 255));
        m_menu.LoadToolbar(IDT_TOOLBAR);
        return TRUE;
    }

    // The menu view shows the drop-down's items: classic on the left, XP on
    // the right, the second item selected.
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis)
    {
        if (id != IDC_MENU_VIEW) {
            CDialog::OnDrawItem(id, dis);
            return;
        }
        auto* popup = dynamic_cast<ZelMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(m_menu.GetSafeHmenu(), 0)));
        if (!popup)
            return;
        CRect all(dis->rcItem);
        int saved = ZelMenu::s_nDrawModePlain;
        for (int style = 0; style < 2; ++style) {
            ZelMenu::s_nDrawModePlain = style;
            int top = all.top;
            int left = all.left + style * (all.Width() / 2);
            for (int i = 0; i < popup->m_arrItems.GetSize(); ++i) {
                MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(popup->m_arrItems[i])};
                popup->MeasureItem(&mis);
                DRAWITEMSTRUCT item{};
                item.CtlType = ODT_MENU;
                item.itemID = popup->GetMenuItemID(i);
                item.itemState =
                    (i == 1 ? ODS_SELECTED : 0) | ((popup->m_arrItems[i]->m_nFlags & MF_GRAYED) ? ODS_GRAYED : 0);
                item.hDC = dis->hDC;
                item.rcItem = RECT{left, top, left + all.Width() / 2 - 4, top + static_cast<int>(mis.itemHeight)};
                item.itemData = mis.itemData;
                popup->DrawItem(&item);
                top += static_cast<int>(mis.itemHeight);
                if (top >= all.bottom)
                    break;
            }
        }
        ZelMenu::s_nDrawModePlain = saved;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlsDlg, CDialog)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

TEST(SampleControls, TheDialogShowsEveryControlAndIsSavedAsAScreenshot)
{
    ControlResources();
    std::string pictureFile = ::testing::TempDir() + "sample_keyed.png";
    {
        HRSRC res = FindResource(nullptr, MAKEINTRESOURCE(IDP_KEYED), "PNG");
        ASSERT_NE(res, nullptr);
        std::ofstream(pictureFile, std::ios::binary)
            .write(static_cast<const char*>(LockResource(LoadResource(nullptr, res))), SizeofResource(nullptr, res));
    }
    CControlsDlg dlg;
    dlg.m_pictureFile = pictureFile;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS, nullptr));
    dlg.ShowWindow(SW_SHOW);
    PumpFor(300);

    EXPECT_EQ(dlg.m_video.loads, 1);
    EXPECT_EQ(dlg.m_audio.loads, 0);
    EXPECT_TRUE(dlg.m_tabs.GetStyle() & TCS_OWNERDRAWFIXED);
    EXPECT_TRUE(dlg.m_check.m_bCheckBoxMode);
    EXPECT_TRUE(dlg.m_default.GetDefault());
    // The bars are made after the list's first paint, which a loaded machine delays.
    vxw::PumpUntil([&] { return dlg.m_signals.m_arrProgress.GetSize() == 5; }, 10000);
    ASSERT_EQ(dlg.m_signals.m_arrProgress.GetSize(), 5);
    EXPECT_EQ(dlg.m_signals.m_arrProgress[1]->GetPos(), 30);
    EXPECT_EQ(dlg.m_signals.m_arrProgress[4]->GetPos(), 0);

    QImage shot = Grab(dlg);
    ASSERT_FALSE(shot.isNull());
    QString dir = QString::fromUtf8(VX_BIN_DIR) + "/../screenshots";
    QDir().mkpath(dir);
    EXPECT_TRUE(shot.save(dir + "/vxui_controls.png"));

    // A few pixels of what the controls drew.
    auto inside = [&](CWnd& w, int x, int y) {
        CRect rc;
        w.GetWindowRect(&rc);
        dlg.ScreenToClient(&rc);
        return PixelAt(shot, rc.left + x, rc.top + y);
    };
    EXPECT_EQ(inside(dlg.m_check, 3, 3), RGB(150, 200, 150)) << "the checked box shows its pressed face";
    EXPECT_EQ(inside(dlg.m_default, 0, 0), RGB(0, 0, 0)) << "the default button's frame";
    CRect bar;
    dlg.m_signals.m_arrProgress[1]->GetWindowRect(&bar);
    dlg.ScreenToClient(&bar);
    EXPECT_EQ(PixelAt(shot, bar.left + 25, bar.top + 3), RGB(0x20, 0x60, 0xD0));
    EXPECT_EQ(PixelAt(shot, bar.left + 35, bar.top + 3), RGB(0xA0, 0xA0, 0xA0));

    // Choosing the other tab shows its page, which loads then.
    dlg.m_video.ShowWindow(SW_HIDE);
    dlg.m_audio.ShowWindow(SW_SHOW);
    dlg.m_video.ShowWindow(SW_SHOW);
    EXPECT_EQ(dlg.m_audio.loads, 1);
    EXPECT_EQ(dlg.m_video.loads, 1);
    dlg.DestroyWindow();
}

// The drop-down button as a person uses it: a click on the button, then a
// click or a key on an item of its owner-drawn menu (in its sub-menu too);
// the command reaches the dialog.
TEST(SampleControls, TheDropDownButtonsMenuSendsTheChosenCommandToTheDialog)
{
    ControlResources();
    CControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS, nullptr));
    dlg.ShowWindow(SW_SHOW);
    PumpFor(100);
    QWidget* button = vxw::WidgetOf(dlg.m_drop.GetSafeHwnd());
    ASSERT_NE(button, nullptr);
    // The menu's items: Record, Open, a separator, R&D (greyed), More >
    // Snapshot.
    struct Step {
        int index;
        char key;
    };
    struct Case {
        const char* item;
        std::vector<Step> way;
        UINT command;
    };
    const Case cases[] = {
        {"Open", {{1, 'o'}}, ID_OPEN},
        {"Snapshot, in the sub-menu", {{4, 'm'}, {0, 's'}}, ID_SNAPSHOT},
        {"R&D, greyed", {{3, 'd'}}, 0},
    };
    bool saved = false;
    for (const Case& c : cases) {
        for (bool byKey : {false, true}) {
            SCOPED_TRACE(std::string(c.item) + (byKey ? ", by key" : ", by click"));
            std::vector<PopupStep> steps;
            if (!saved) {
                // The menu as it shows, to be looked at.
                steps.push_back({[](QMenu* m) {
                    QString dir = QString::fromUtf8(VX_BIN_DIR) + "/../screenshots";
                    QDir().mkpath(dir);
                    EXPECT_TRUE(m->grab().save(dir + "/vxui_drop_menu.png"));
                }});
                saved = true;
            }
            for (size_t i = 0; i < c.way.size(); ++i) {
                steps.push_back(byKey ? Key(c.way[i].key) : Click(c.way[i].index));
                steps.back().anyPopup = i == 0;  // the first popup, looked at or not
            }
            if (!c.command)
                steps.push_back(Escape());
            dlg.m_commands.clear();
            bool failed = false;
            DrivePopups(
                steps,
                [&] {
                    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
                    return 0;
                },
                &failed);
            EXPECT_FALSE(failed) << "the popup did not take every step, or stayed open after the last";
            if (c.command)
                EXPECT_TRUE(WaitFor([&] { return !dlg.m_commands.empty(); }));
            else
                PumpFor(30);
            EXPECT_EQ(dlg.m_commands, c.command ? std::vector<UINT>{c.command} : std::vector<UINT>{});
            EXPECT_FALSE(dlg.m_drop.m_bMenuOpen);
        }
    }
    dlg.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()
