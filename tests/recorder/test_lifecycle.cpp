// The main window's life with nobody at the screen: a second start's
// "-exit" while a dialog or a menu is open over the window, and the
// question about the last run's crash, asked while the cameras record.
#include "recorder_program.h"

#include "platform/ui/WindowRegistry_p.h"
#include "recorder/RegisteredMessages.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace rectest;

namespace {

// What a second start with "-exit" sends.
void BroadcastExit()
{
    DWORD recipients = BSM_APPLICATIONS;
    BroadcastSystemMessageA(BSF_POSTMESSAGE, &recipients, UM_VXKST_EXIT, 0, 0);
}

QWidget* WidgetOf(CWnd& wnd)
{
    return vxw::WidgetOf(wnd.GetSafeHwnd());
}

TEST(Lifecycle, AnExitFromASecondStartEndsWhatIsOpenOverTheWindow)
{
    // The schedule dialog takes no Escape, so only the exit can end it.
    const struct {
        const char* what;
        std::function<void(CMainDlg&)> open;
    } cases[] = {
        {"system parameters",
         [](CMainDlg& dlg) {
             QWidget* b = WidgetOf(dlg.Button(IDC_BTN_SYS_PARAM));
             QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
         }},
        {"schedule",
         [](CMainDlg& dlg) {
             QWidget* b = WidgetOf(dlg.Button(IDC_BTN_REC_SCHEDULE));
             QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
         }},
        {"camera menu",
         [](CMainDlg& dlg) {
             CRect row;
             dlg.List().GetItemRect(0, &row, LVIR_BOUNDS);
             QWidget* list = WidgetOf(dlg.List());
             QWidget* at = list->childAt(row.CenterPoint().x, row.CenterPoint().y);
             QWidget* target = at ? at : list;
             QPoint p = target->mapFrom(list, QPoint(row.CenterPoint().x, row.CenterPoint().y));
             QTest::mouseClick(target, Qt::RightButton, {}, p);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        Camera dead;
        dead.httpPort = FreeLowPort();
        p.Add(dead);
        std::vector<CDialog*> opened;
        bool rescued = false;
        INT_PTR result = p.Run(
            [&](CMainDlg& dlg) {
                // The second start comes while whatever was opened waits
                // for a person who is not there.
                QTimer::singleShot(300, [] { BroadcastExit(); });
                // Only when the exit did not end it: the person comes back.
                QTimer rescue;
                rescue.setSingleShot(true);
                QObject::connect(&rescue, &QTimer::timeout, [&] {
                    rescued = true;
                    if (QWidget* menu = QApplication::activePopupWidget())
                        menu->close();
                    for (CDialog* d : opened)
                        d->EndDialog(IDCANCEL);
                });
                rescue.start(20000);
                c.open(dlg);
                EXPECT_TRUE(dlg.IsExiting());
            },
            [&](CDialog& d) { opened.push_back(&d); });
        EXPECT_FALSE(rescued) << "the open dialog or menu waited for a person";
        EXPECT_EQ(result, IDOK);
        if (std::string(c.what) != "camera menu") {
            EXPECT_EQ(opened.size(), 1u);
        }
    }
}

TEST(Lifecycle, TheCrashQuestionWaitsForTheRecordingWindow)
{
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p("RecordLength=1\nFreeSpace=0\nStartRecord=1\n");
    const int id = p.Add(CameraOf(cam));
    const std::string report = "signal 11\naddress 0x401000\nfault 0x0\nbacktrace\n0x401000\nmaps\n"
                               "00400000-00500000 r-xp 00000000 08:01 1234 /opt/vx/VXKST-HD\n";
    WriteFile(p.dir.file("VXKST.crash"), report);

    std::vector<vxw::test::MessageBoxCall> boxes;
    bool recordedBeforeTheAnswer = false, stoppedBeforeTheAnswer = false;
    CMainDlg* window = nullptr;
    vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& call) {
        boxes.push_back(call);
        if (boxes.size() > 1)
            return IDOK;
        // A person who answers late: the camera records meanwhile.
        recordedBeforeTheAnswer = vxw::PumpUntil(
            [&] {
                auto files = SegmentsIn(p.CameraFolder(id));
                return !files.empty() && FileSize(p.CameraFolder(id) + files[0]) > 0;
            },
            30000);
        // A second start's "-stop_rec" meanwhile is not lost.
        DWORD recipients = BSM_APPLICATIONS;
        BroadcastSystemMessageA(BSF_POSTMESSAGE, &recipients, UM_VXKST_STOP_REC, 0, 0);
        stoppedBeforeTheAnswer =
            vxw::PumpUntil([&] { return window && !window->RunRecord(window->SlotOfRow(0)); }, 20000);
        return IDYES;
    });
    HWND mainWindow = nullptr;
    p.Run([&](CMainDlg& dlg) {
        mainWindow = dlg.GetSafeHwnd();
        window = &dlg;
        StatusWatch watch(dlg, 0);
        EXPECT_TRUE(watch.Until([&] { return boxes.size() >= 2; }, 40000));
    });
    vxw::test::SetMessageBoxHook(nullptr);

    ASSERT_GE(boxes.size(), 2u);
    EXPECT_TRUE(recordedBeforeTheAnswer);
    EXPECT_TRUE(stoppedBeforeTheAnswer);
    EXPECT_EQ(boxes[0].owner, mainWindow);
    EXPECT_EQ(boxes[0].caption, "Hollowmere");
    EXPECT_EQ(boxes[0].text, "A crash occurs.\n\nException code: b\nException address: 401000\nFile: "
                             "/opt/vx/VXKST-HD\n\nWould you like to create a crash report?");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONERROR));
    EXPECT_NE(boxes[1].text.find("A crash report file (" + p.dir.file("VXKST.dmp") + ") has been created."),
              std::string::npos)
        << boxes[1].text;
    EXPECT_EQ(ReadFile(p.dir.file("VXKST.dmp")), report);
}

}  // namespace

VX_RECORDER_TEST_MAIN()
