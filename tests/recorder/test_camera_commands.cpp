// The camera commands of the main window and the camera dialog: add, edit,
// refusals, legacy rows, delete and renumber, the running camera's menu,
// start, stop and delete all, and the exit question with running cameras.
#include "recorder_program.h"

#include "recorder/CDlgSetIP.h"
#include "recorder/RegisteredMessages.h"

#include <sys/stat.h>

#include <chrono>

using namespace rectest;

namespace {

struct DbRow {
    int type = -9, port = -9, stream = -9, channel = -9, rtsp = -9;
    std::string name, host;
};

DbRow ReadRow(int id)
{
    DbRow r;
    sqlite3* db = nullptr;
    sqlite3_open(GlobalInfo().m_strSqlitePath, &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT TYPE, PORT, STREAM, CHANNEL, RTSP, NAME, IP FROM TBL_CAMERA WHERE CAMERAID=?1", -1,
                       &st, nullptr);
    sqlite3_bind_int(st, 1, id);
    if (sqlite3_step(st) == SQLITE_ROW) {
        r.type = sqlite3_column_int(st, 0);
        r.port = sqlite3_column_int(st, 1);
        r.stream = sqlite3_column_int(st, 2);
        r.channel = sqlite3_column_int(st, 3);
        r.rtsp = sqlite3_column_int(st, 4);
        r.name = reinterpret_cast<const char*>(sqlite3_column_text(st, 5));
        r.host = reinterpret_cast<const char*>(sqlite3_column_text(st, 6));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return r;
}

int DataVersion()
{
    // Counts committed writes of any connection to the file.
    sqlite3* db = nullptr;
    sqlite3_open(GlobalInfo().m_strSqlitePath, &db);
    sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS probe(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    struct stat st {};
    stat(GlobalInfo().m_strSqlitePath, &st);
    return static_cast<int>(st.st_mtim.tv_nsec ^ st.st_mtim.tv_sec ^ st.st_size);
}

void Click(CWnd& wnd, int id)
{
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Fills the camera dialog's fields that are given and presses OK; whether it
// closed.
struct Entry {
    const char* name = nullptr;
    const char* host = nullptr;
    const char* httpPort = nullptr;
    const char* legacyPort = nullptr;
    const char* rtspPort = nullptr;
};

// The result a dialog ended with (-1 while it runs), read through a derived
// class's member pointer.
struct ResultPeek : CDialog {
    static int Of(CDialog& d) { return d.*(&ResultPeek::m_nModalResult); }
};

bool FillAndOk(CDialog& d, const Entry& e)
{
    if (e.name)
        d.SetDlgItemText(5047, e.name);
    if (e.host)
        d.SetDlgItemText(5004, e.host);
    if (e.httpPort)
        d.SetDlgItemText(1062, e.httpPort);
    if (e.legacyPort)
        d.SetDlgItemText(1058, e.legacyPort);
    if (e.rtspPort)
        d.SetDlgItemText(1061, e.rtspPort);
    static_cast<CDlgSetIP&>(d).OnOK();
    const bool closed = ResultPeek::Of(d) == IDOK;
    if (!closed)
        d.EndDialog(IDCANCEL);
    return closed;
}

}  // namespace

TEST(CameraCommands, AddingACameraAppendsARowAndStartsItWhenSoConfigured)
{
    for (int startRecord : {1, 0}) {
        CamsimProcess cam({"--family", "DY", "--rtsp-port", std::to_string(FreeLowPort())});
        ASSERT_TRUE(cam.ok());
        Program p("RecordLength=1\nFreeSpace=0\nStartRecord=" + std::to_string(startRecord) + "\n");
        Camera c = CameraOf(cam);
        c.hours = Hours::None;
        p.Add(c);
        p.Run(
            [&](CMainDlg& dlg) {
                ASSERT_EQ(dlg.List().GetItemCount(), 1);
                Click(dlg, IDC_BTN_ADD_CAMERA);
                ASSERT_EQ(dlg.List().GetItemCount(), 2);
                EXPECT_STREQ(dlg.List().GetItemText(1, 1).GetString(), "2");
                EXPECT_STREQ(dlg.List().GetItemText(1, 3).GetString(), "Porch");
                const STIPCfgKst& slot = dlg.Slot(dlg.SlotOfRow(1));
                EXPECT_EQ(slot.CAMERAID, 2);
                EXPECT_EQ(slot.TYPE, 2);
                EXPECT_EQ(slot.PORT, cam.httpPort());
                EXPECT_EQ(slot.m_hFinishEvent != nullptr, startRecord == 1) << startRecord;
                EXPECT_EQ(GlobalInfo().m_arrCameras.GetSize(), 2);
                EXPECT_EQ(ReadRow(2).name, "Porch");
            },
            [&](CDialog& d) {
                std::string http = std::to_string(cam.httpPort()), rtsp = std::to_string(cam.rtspPort());
                Entry e;
                e.name = "Porch";
                e.host = "127.0.0.1";
                e.httpPort = http.c_str();
                e.rtspPort = rtsp.c_str();
                EXPECT_TRUE(FillAndOk(d, e));
                EXPECT_TRUE(static_cast<CDlgSetIP&>(d).m_bNew);
            });
    }
}

TEST(CameraDialog, EditsSaveOnlyChangesAndRefuseBadFields)
{
    Program p;
    Camera c;
    c.name = "cam";
    c.httpPort = 8080;
    c.rtspPort = 554;
    const int id = p.Add(c);
    GlobalInfo().m_db.LoadCameras(GlobalInfo().m_arrCameras);
    MessageBoxes boxes;

    auto runDialog = [&](const std::function<void(CDlgSetIP&)>& work) {
        vxw::test::SetModalDialogHook([&](CDialog& d) { work(static_cast<CDlgSetIP&>(d)); });
        CDlgSetIP dlg;
        dlg.m_nCameraID = id;
        dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        return std::make_pair(dlg.m_bChanged, dlg.m_bNew);
    };

    // No change: nothing written.
    int before = DataVersion();
    auto result = runDialog([](CDlgSetIP& d) { EXPECT_TRUE(FillAndOk(d, {})); });
    EXPECT_EQ(result.first, FALSE);
    EXPECT_EQ(DataVersion(), before);

    // Only the letter case: a change, saved.
    result = runDialog([](CDlgSetIP& d) {
        Entry e;
        e.name = "Cam";
        EXPECT_TRUE(FillAndOk(d, e));
    });
    EXPECT_EQ(result.first, TRUE);
    EXPECT_EQ(result.second, FALSE);
    EXPECT_EQ(ReadRow(id).name, "Cam");
    EXPECT_EQ(ReadRow(id).port, 8080);

    // Refusals keep the dialog open and save nothing.
    const struct {
        Entry entry;
        int message;  // string id, or 0 for the field check's own message
    } refusals[] = {
        {{nullptr, "a..b"}, 200},
        {{"  ", nullptr}, 5},
        {{nullptr, nullptr, "79"}, 0},
        {{nullptr, nullptr, nullptr, "20001"}, 0},  // hidden for this type
        {{nullptr, nullptr, nullptr, nullptr, "20001"}, 0},
    };
    for (const auto& r : refusals) {
        boxes.calls.clear();
        before = DataVersion();
        runDialog([&](CDlgSetIP& d) { EXPECT_FALSE(FillAndOk(d, r.entry)); });
        ASSERT_EQ(boxes.calls.size(), 1u);
        if (r.message) {
            EXPECT_EQ(boxes.calls[0].text, std::string(Text(r.message)));
        }
        EXPECT_EQ(DataVersion(), before);
    }
    EXPECT_EQ(ReadRow(id).host, "127.0.0.1");
}

TEST(CameraDialog, LegacyRowsKeepTypeStreamAndPort)
{
    Program p;
    const struct {
        int type, port, stream;
    } rows[] = {{0, 9660, 2}, {1, 7001, 1}};
    for (const auto& row : rows) {
        Camera c;
        c.type = row.type;
        c.httpPort = row.port;
        c.stream = row.stream;
        c.channel = 2;
        const int id = p.Add(c);
        GlobalInfo().m_db.LoadCameras(GlobalInfo().m_arrCameras);
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            auto& dlg = static_cast<CDlgSetIP&>(d);
            // The legacy port field is the one shown, with the row's port.
            EXPECT_TRUE(dlg.GetDlgItem(1058)->IsWindowVisible());
            EXPECT_FALSE(dlg.GetDlgItem(1062)->IsWindowVisible());
            EXPECT_EQ(dlg.GetDlgItemInt(1058, nullptr, FALSE), static_cast<UINT>(row.port));
            Entry e;
            e.name = "renamed";
            EXPECT_TRUE(FillAndOk(d, e));
        });
        CDlgSetIP dlg;
        dlg.m_nCameraID = id;
        dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        DbRow saved = ReadRow(id);
        EXPECT_EQ(saved.name, "renamed");
        EXPECT_EQ(saved.type, row.type);
        EXPECT_EQ(saved.port, row.port);
        // A third stream gets its own entry and is kept.
        EXPECT_EQ(saved.stream, row.stream);
        EXPECT_EQ(saved.channel, 2);
    }
}

TEST(CameraCommands, DeletingRenumbersAndANewCameraTakesTheFreedSlot)
{
    Program p;
    for (int i = 0; i < 5; ++i) {
        Camera c;
        c.name = "c" + std::to_string(i + 1);
        p.Add(c);
    }
    MessageBoxes yes(IDYES);
    p.Run(
        [&](CMainDlg& dlg) {
            const int freed = dlg.SlotOfRow(1);
            NMITEMACTIVATE n{};
            n.hdr.idFrom = IDC_LIST_CAMERA;
            n.hdr.code = NM_RCLICK;
            n.iItem = 1;
            vxw::test::SetPopupMenuHook([](const vxw::test::PopupMenuCall&) -> UINT { return 0; });
            dlg.SendMessage(WM_NOTIFY, IDC_LIST_CAMERA, reinterpret_cast<LPARAM>(&n));
            vxw::test::SetPopupMenuHook(nullptr);
            dlg.SendMessage(WM_COMMAND, ID_MENU_DELETE_CAMERA, 0);
            ASSERT_EQ(dlg.List().GetItemCount(), 4);
            const char* names[] = {"c1", "c3", "c4", "c5"};
            for (int row = 0; row < 4; ++row) {
                EXPECT_STREQ(dlg.List().GetItemText(row, 1).GetString(), std::to_string(row + 1).c_str());
                EXPECT_STREQ(dlg.List().GetItemText(row, 3).GetString(), names[row]);
            }
            EXPECT_EQ(ReadRow(2).type, -9) << "the row stays in the database";
            Click(dlg, IDC_BTN_ADD_CAMERA);
            ASSERT_EQ(dlg.List().GetItemCount(), 5);
            EXPECT_EQ(dlg.SlotOfRow(4), freed);
            EXPECT_STREQ(dlg.List().GetItemText(4, 1).GetString(), "5");
        },
        [](CDialog& d) {
            Entry e;
            e.name = "new";
            e.host = "127.0.0.1";
            e.rtspPort = "554";
            EXPECT_TRUE(FillAndOk(d, e));
        });
}

TEST(CameraCommands, StartStopAndDeleteAllWithTheRunningCamerasMenuAndExit)
{
    CamsimProcess cam({"--family", "DY"});
    ASSERT_TRUE(cam.ok());
    Program p;
    p.Add(CameraOf(cam, Hours::None));
    p.Add(CameraOf(cam, Hours::None));
    int answer = IDNO;
    std::vector<std::string> asked;
    vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& c) {
        asked.push_back(c.text);
        return answer;
    });
    INT_PTR result = p.Run([&](CMainDlg& dlg) {
        auto running = [&](int row) { return dlg.Slot(dlg.SlotOfRow(row)).m_hFinishEvent != nullptr; };
        Click(dlg, IDC_BTN_START_ALL);
        EXPECT_FALSE(running(0));
        answer = IDYES;
        Click(dlg, IDC_BTN_START_ALL);
        EXPECT_TRUE(running(0) && running(1));
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_EQ(asked[1], std::string(Text(IDS_ASK_START_ALL)));

        // The running camera's menu: no edit, no delete, no start.
        std::vector<UINT> shown;
        vxw::test::SetPopupMenuHook([&](const vxw::test::PopupMenuCall& c) -> UINT {
            for (int i = 0; i < GetMenuItemCount(c.menu); ++i) {
                UINT id = GetMenuItemID(c.menu, i);
                if (id && id != static_cast<UINT>(-1) && !(GetMenuState(c.menu, id, MF_BYCOMMAND) & MF_GRAYED))
                    shown.push_back(id);
            }
            return 0;
        });
        NMITEMACTIVATE n{};
        n.hdr.idFrom = IDC_LIST_CAMERA;
        n.hdr.code = NM_RCLICK;
        n.iItem = 0;
        dlg.SendMessage(WM_NOTIFY, IDC_LIST_CAMERA, reinterpret_cast<LPARAM>(&n));
        vxw::test::SetPopupMenuHook(nullptr);
        EXPECT_EQ(shown, std::vector<UINT>{ID_MENU_STOP_CAMERA});

        // Stop all from the tray menu, asked; then start again.
        answer = IDNO;
        dlg.SendMessage(WM_COMMAND, ID_MENU_STOP_ALL, 0);
        EXPECT_TRUE(running(0));
        answer = IDYES;
        dlg.SendMessage(WM_COMMAND, ID_MENU_STOP_ALL, 0);
        EXPECT_FALSE(running(0) || running(1));
        EXPECT_EQ(asked.back(), std::string(Text(IDS_ASK_STOP_ALL)));
        dlg.SendMessage(WM_COMMAND, ID_MENU_START_ALL, 0);
        EXPECT_TRUE(running(0) && running(1));

        // Delete all while running asks 342, stops and deletes every camera.
        answer = IDNO;
        Click(dlg, IDC_BTN_DELETE_ALL);
        EXPECT_EQ(asked.back(), std::string(Text(IDS_ASK_DELETE_ALL_RUNNING)));
        EXPECT_EQ(dlg.List().GetItemCount(), 2);

        // The exit question names the running cameras; No keeps them.
        dlg.SendMessage(WM_CLOSE);
        EXPECT_EQ(asked.back(), std::string(Text(IDS_ASK_EXIT_RUNNING)));
        EXPECT_FALSE(dlg.IsExiting());
        EXPECT_TRUE(running(0));

        answer = IDYES;
        Click(dlg, IDC_BTN_DELETE_ALL);
        EXPECT_EQ(dlg.List().GetItemCount(), 0);
        EXPECT_EQ(GlobalInfo().m_arrCameras.GetSize(), 0);
        EXPECT_FALSE(dlg.Button(IDC_BTN_START_ALL).IsWindowEnabled());
        dlg.SendMessage(WM_CLOSE);
        EXPECT_EQ(asked.back(), std::string(Text(IDS_ASK_EXIT)));
        EXPECT_TRUE(dlg.IsExiting());
    });
    vxw::test::SetMessageBoxHook(nullptr);
    EXPECT_EQ(result, IDOK);
}

// Cameras whose HTTP port takes requests and never answers: the recording
// threads wait inside the connect. "-stop_rec" (the message a second start
// sends) and the exit interrupt those calls: each ends within seconds
// instead of waiting out the camera (10 s a camera before the thread is
// left behind).
TEST(CameraCommands, StopRecAndExitDoNotWaitOutCamerasThatNeverAnswer)
{
    CamsimProcess cam({"--family", "DY", "--hang"});
    ASSERT_TRUE(cam.ok());
    Program p;
    for (int i = 0; i < 3; ++i)
        p.Add(CameraOf(cam));
    vxw::test::SetMessageBoxHook([](const vxw::test::MessageBoxCall&) { return IDYES; });
    using clock = std::chrono::steady_clock;
    double stopSeconds = -1, exitSeconds = -1;
    p.Run([&](CMainDlg& dlg) {
        auto running = [&](int row) { return dlg.Slot(dlg.SlotOfRow(row)).m_hFinishEvent != nullptr; };
        Click(dlg, IDC_BTN_START_ALL);
        ASSERT_TRUE(running(0) && running(1) && running(2));
        StatusWatch(dlg, 0).Pump(1500);  // every thread is inside its first request now

        auto t0 = clock::now();
        dlg.SendMessage(UM_VXKST_STOP_REC);
        stopSeconds = std::chrono::duration<double>(clock::now() - t0).count();
        EXPECT_FALSE(running(0) || running(1) || running(2));

        Click(dlg, IDC_BTN_START_ALL);
        StatusWatch(dlg, 0).Pump(1500);
        t0 = clock::now();
        dlg.SendMessage(WM_CLOSE);
        exitSeconds = std::chrono::duration<double>(clock::now() - t0).count();
        EXPECT_TRUE(dlg.IsExiting());
    });
    vxw::test::SetMessageBoxHook(nullptr);
    EXPECT_GE(stopSeconds, 0.0);
    EXPECT_LT(stopSeconds, 5.0);
    EXPECT_GE(exitSeconds, 0.0);
    EXPECT_LT(exitSeconds, 5.0);
}

VX_RECORDER_TEST_MAIN()
