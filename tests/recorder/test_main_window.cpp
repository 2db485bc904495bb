// The main window in process: rows and columns, the list's menu, the
// buttons by number of cameras, the exit question, a second start's
// messages, and start-up into the tray.
#include "recorder_test_env.h"

#include "recorder/CGlobalInfo.h"
#include "recorder/CMainDlg.h"
#include "recorder/CameraColumns.h"
#include "recorder/RegisteredMessages.h"
#include "resources/VXKSTRes/resource.h"

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

using rectest::ResourceLibrary;
using rectest::Text;

// A program folder with the shipped skin, a configuration and cameras.
class Program {
public:
    explicit Program(const std::string& sysParam = "")
    {
        mkdir(dir.file("config").c_str(), 0700);
        rectest::WriteFile(dir.file("config/vxkstskin.ini"),
                           rectest::ReadFile(std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini"));
        rectest::WriteFile(dir.file("config/vxkstcfg.ini"), "[Config]\nDataType=1\n[SysParam]\n" + sysParam);
        CGlobalInfo& g = GlobalInfo();
        AfxSetResourceHandle(ResourceLibrary());
        g.m_hSkinModule = ResourceLibrary();
        g.LoadConfig((dir.path() + "/").c_str());
    }
    void AddCameras(const std::vector<std::tuple<std::string, int, int, int>>& cams)
    {
        sqlite3* db = nullptr;
        sqlite3_open(GlobalInfo().m_strSqlitePath, &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const auto& [name, type, channel, stream] : cams) {
            std::string sql =
                "INSERT INTO TBL_CAMERA(IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, PIN, FLAG) "
                "VALUES('10.1.1.1', '"
                + name + "', 80, " + std::to_string(channel) + ", 'u', 'p', " + std::to_string(type) + ", "
                + std::to_string(stream) + ", 554, '', 0)";
            sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // Runs the main window; `check` works it and may end it.
    INT_PTR Run(const std::function<void(CMainDlg&)>& check)
    {
        GlobalInfo().LoadMainSkin();
        CMainDlg dlg;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            check(static_cast<CMainDlg&>(d));
            if (::IsWindow(d.GetSafeHwnd()) && !static_cast<CMainDlg&>(d).IsExiting()) {
                static_cast<CMainDlg&>(d).DoExit();
                d.EndDialog(IDCANCEL);
            }
        });
        INT_PTR r = dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        GlobalInfo().FreeAll();
        return r;
    }
    vxtest::TempDir dir;
};

TEST(CameraColumns, TextsOfEveryCase)
{
    using namespace camera_columns;
    const struct {
        int value;
        unsigned type;
        const char* channel;
        unsigned stream;
    } cases[] = {
        {0, IDS_TYPE_0, "1", IDS_STREAM_MAIN},  {1, IDS_TYPE_2, "2", IDS_STREAM_SUB},
        {2, IDS_TYPE_2, "3", IDS_STREAM_THIRD}, {3, IDS_TYPE_3, "4", IDS_STREAM_MAIN},
        {4, IDS_TYPE_2, "1", IDS_STREAM_MAIN},  {-1, IDS_TYPE_2, "1", IDS_STREAM_MAIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TypeStringId(c.value), c.type) << c.value;
        EXPECT_STREQ(ChannelNumber(c.value), c.channel) << c.value;
        EXPECT_EQ(StreamStringId(c.value), c.stream) << c.value;
    }
    EXPECT_EQ(RotatedOrder(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0}));
}

TEST(SecondStart, TheCommandLineChoosesTheMessage)
{
    const struct {
        const char* commandLine;
        const char* message;
    } cases[] = {
        {"-stop_rec -exit", kMsgExitName}, {"-exit -stop_rec", kMsgExitName},
        {"--exit", kMsgExitName},          {"-start_rec -stop_rec", kMsgStopRecName},
        {"-start_rec", kMsgStartRecName},  {"-EXIT", kMsgShowName},
        {"-unknown", kMsgShowName},        {"", kMsgShowName},
        {nullptr, kMsgShowName},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(SelectForwardedMessage(c.commandLine), c.message) << (c.commandLine ? c.commandLine : "null");
    // Every unit registers the same names: the ids agree.
    EXPECT_EQ(UM_VXKST_EXIT, RegisterWindowMessageA(kMsgExitName));
    EXPECT_GE(UM_VXKST_SHOW, 0xC000u);
}

TEST(MainWindow, RowsShowEachCameraInItsColumns)
{
    Program p;
    p.AddCameras({{"Gate", 0, 0, 0}, {"Yard", 2, 3, 1}, {"Hall", 3, 9, 2}});
    p.Run([&](CMainDlg& dlg) {
        CListCtrl& list = dlg.List();
        ASSERT_EQ(list.GetItemCount(), 3);
        const char* names[] = {"Gate", "Yard", "Hall"};
        const CString types[] = {Text(IDS_TYPE_0), Text(IDS_TYPE_2), Text(IDS_TYPE_3)};
        const CString channels[] = {Text(IDS_COL_CHANNEL) + "1", Text(IDS_COL_CHANNEL) + "4",
                                    Text(IDS_COL_CHANNEL) + "1"};
        const CString streams[] = {Text(IDS_STREAM_MAIN), Text(IDS_STREAM_SUB), Text(IDS_STREAM_THIRD)};
        for (int row = 0; row < 3; ++row) {
            CString number;
            number.Format("%d", row + 1);
            EXPECT_STREQ(list.GetItemText(row, 1).GetString(), number.GetString());
            EXPECT_STREQ(list.GetItemText(row, 2).GetString(), "10.1.1.1");
            EXPECT_STREQ(list.GetItemText(row, 3).GetString(), names[row]);
            EXPECT_STREQ(list.GetItemText(row, 4).GetString(), types[row].GetString());
            EXPECT_STREQ(list.GetItemText(row, 5).GetString(), channels[row].GetString());
            EXPECT_STREQ(list.GetItemText(row, 6).GetString(), streams[row].GetString());
            EXPECT_STREQ(list.GetItemText(row, 7).GetString(), "-");
            int slot = dlg.SlotOfRow(row);
            ASSERT_GE(slot, 0);
            EXPECT_EQ(dlg.Slot(slot).CAMERAID, row + 1);
            EXPECT_EQ(dlg.Slot(slot).m_pOwner, &dlg);
        }
        int order[8] = {};
        ASSERT_TRUE(list.GetColumnOrderArray(order, 8));
        EXPECT_EQ(std::vector<int>(order, order + 8), camera_columns::RotatedOrder());
        // A camera of a slot that exists keeps its slot and row.
        STIPCfgKst again = dlg.Slot(dlg.SlotOfRow(1));
        CopyTextField(again.NAME, "Renamed");
        EXPECT_EQ(dlg.InsertCameraItem(again, 1), dlg.SlotOfRow(1));
        EXPECT_STREQ(list.GetItemText(1, 3).GetString(), "Renamed");
        EXPECT_EQ(list.GetItemCount(), 3);
    });
}

TEST(MainWindow, TheListMenuOfAStoppedCameraAndOfEmptySpace)
{
    Program p;
    p.AddCameras({{"Gate", 2, 0, 0}});
    p.Run([&](CMainDlg& dlg) {
        std::vector<UINT> shown;
        int calls = 0;
        vxw::test::SetPopupMenuHook([&](const vxw::test::PopupMenuCall& c) -> UINT {
            ++calls;
            for (int i = 0; i < GetMenuItemCount(c.menu); ++i) {
                UINT id = GetMenuItemID(c.menu, i);
                if (id && id != static_cast<UINT>(-1) && !(GetMenuState(c.menu, id, MF_BYCOMMAND) & MF_GRAYED))
                    shown.push_back(id);
            }
            return 0;
        });
        auto rightClick = [&](int item) {
            NMITEMACTIVATE n{};
            n.hdr.hwndFrom = dlg.List().GetSafeHwnd();
            n.hdr.idFrom = IDC_LIST_CAMERA;
            n.hdr.code = NM_RCLICK;
            n.iItem = item;
            dlg.SendMessage(WM_NOTIFY, IDC_LIST_CAMERA, reinterpret_cast<LPARAM>(&n));
        };
        rightClick(0);
        EXPECT_EQ(calls, 1);
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, (std::vector<UINT>{ID_MENU_EDIT_CAMERA, ID_MENU_DELETE_CAMERA, ID_MENU_START_CAMERA}));
        EXPECT_EQ(dlg.GetSelItem(), 0);
        rightClick(-1);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(dlg.GetSelItem(), -1);
        vxw::test::SetPopupMenuHook(nullptr);
    });
}

TEST(MainWindow, ButtonsFollowTheNumberOfCameras)
{
    const int counts[] = {0, 1, 300};
    for (int count : counts) {
        Program p;
        std::vector<std::tuple<std::string, int, int, int>> cams;
        for (int i = 0; i < count; ++i)
            cams.emplace_back("c" + std::to_string(i), 2, 0, 0);
        p.AddCameras(cams);
        p.Run([&](CMainDlg& dlg) {
            EXPECT_EQ(dlg.List().GetItemCount(), count);
            for (int id :
                 {IDC_BTN_REC_SCHEDULE, IDC_BTN_REC_QUERY, IDC_BTN_START_ALL, IDC_BTN_STOP_ALL, IDC_BTN_DELETE_ALL})
                EXPECT_EQ(dlg.Button(id).IsWindowEnabled() != 0, count > 0) << id << " with " << count;
            EXPECT_EQ(dlg.Button(IDC_BTN_ADD_CAMERA).IsWindowEnabled() != 0, count < 300);
            EXPECT_EQ(dlg.UpdateButtons(), count == 300 ? 1 : 0);
            EXPECT_FALSE(dlg.Button(IDC_BTN_MAX).IsWindowEnabled());
            EXPECT_TRUE(dlg.Button(IDC_BTN_SYS_PARAM).IsWindowEnabled());
        });
    }
}

TEST(MainWindow, AClickOnTheAboutAreaOpensTheAboutBox)
{
    Program p;
    p.Run([&](CMainDlg& dlg) {
        int opened = 0;
        vxw::test::SetModalDialogHook([&](CDialog& about) {
            ++opened;
            about.EndDialog(IDOK);
        });
        const RECT& area = GlobalInfo().m_rcAbout;
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(area.left + 2, area.top + 2));
        EXPECT_EQ(opened, 1);
        // Elsewhere the click drags the window instead.
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(area.right + 50, area.bottom + 50));
        EXPECT_EQ(opened, 1);
    });
}

TEST(MainWindow, TheExitQuestionAndItsNo)
{
    Program p;
    rectest::MessageBoxes boxes(IDNO);
    INT_PTR result = p.Run([&](CMainDlg& dlg) {
        dlg.SendMessage(WM_CLOSE);
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, std::string(Text(IDS_ASK_EXIT)));
        EXPECT_EQ(boxes.calls[0].caption, std::string(Text(IDS_CAPTION)));
        EXPECT_EQ(boxes.calls[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
        EXPECT_TRUE(::IsWindow(dlg.GetSafeHwnd()));
        EXPECT_FALSE(dlg.IsExiting());
        // Yes ends the window.
        vxw::test::SetMessageBoxHook([](const vxw::test::MessageBoxCall&) { return IDYES; });
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_EXIT, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dlg.Button(IDC_BTN_EXIT).GetSafeHwnd()));
        EXPECT_TRUE(dlg.IsExiting());
    });
    EXPECT_EQ(result, IDOK);
}

TEST(MainWindow, ASecondStartsMessages)
{
    Program p;
    INT_PTR result = p.Run([&](CMainDlg& dlg) {
        dlg.ShowWindow(SW_HIDE);
        dlg.SendMessage(UM_VXKST_SHOW);
        EXPECT_TRUE(dlg.IsWindowVisible());
        dlg.SendMessage(UM_VXKST_EXIT);
        EXPECT_TRUE(dlg.IsExiting());
        // Once the exit began, the show message changes nothing.
        EXPECT_FALSE(dlg.IsWindowVisible());
        dlg.SendMessage(UM_VXKST_SHOW);
        EXPECT_FALSE(dlg.IsWindowVisible());
    });
    EXPECT_EQ(result, IDOK);
}

TEST(MainWindow, StartMinimisedIntoTheTrayOnlyWhenThereIsOne)
{
    for (bool tray : {true, false}) {
        Program p("StartMin=1\nMinHide=1\n");
        vxw::test::SetTrayAvailable(tray);
        p.Run([&](CMainDlg& dlg) {
            EXPECT_TRUE(WaitFor([&] { return dlg.IsIconic() || dlg.IsInTray(); }, 3000));
            WaitFor([] { return false; }, 100);
            EXPECT_EQ(dlg.IsInTray() != 0, tray);
            if (tray) {
                EXPECT_FALSE(dlg.IsWindowVisible());
                auto icons = vxw::test::TrayIcons();
                ASSERT_EQ(icons.size(), 1u);
                EXPECT_EQ(icons[0].tip, std::string(Text(IDS_CAPTION)));
                // A left click brings the window back and takes the icon away.
                vxw::test::ClickTrayIcon(dlg.GetSafeHwnd(), CMainDlg::TRAY_ICON_ID, WM_LBUTTONDOWN);
                EXPECT_TRUE(WaitFor([&] { return dlg.IsWindowVisible() != 0; }, 3000));
                EXPECT_FALSE(dlg.IsInTray());
                EXPECT_TRUE(vxw::test::TrayIcons().empty());
            } else {
                // Without a tray a minimised window stays in the task bar.
                EXPECT_TRUE(dlg.IsWindowVisible());
                EXPECT_TRUE(vxw::test::TrayIcons().empty());
            }
        });
        vxw::test::SetTrayAvailable(std::nullopt);
    }
}

}  // namespace

VX_UI_TEST_MAIN()
