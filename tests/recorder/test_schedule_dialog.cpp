// The weekly schedule dialog in process: hours painted with real mouse
// events through the window layer, what the cells show, the folder and
// keep-days checks, apply to all, saving, and every way out that saves
// nothing.
#include "recorder_dialog_program.h"

#include "platform/ui/WindowRegistry_p.h"
#include "recorder/CRecScheduleDlg.h"
#include "recorder/ScheduleGrid.h"
#include "resources/VXKSTRes/resource.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <set>
#include <sqlite3.h>
#include <utility>

namespace {

using schedule_grid::kHours;
using Cells = std::set<std::pair<int, int>>;  // (day, hour)

QPoint Center(const CRecScheduleDlg& dlg, int day, int hour)
{
    const RECT& r = dlg.Cells()[size_t(day * kHours + hour)];
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Click(CDialog& dlg, int id)
{
    QWidget* w = vxw::WidgetOf(::GetDlgItem(dlg.GetSafeHwnd(), id));
    ASSERT_NE(w, nullptr) << id;
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

Cells Painted(const CRecScheduleDlg& dlg, bool continuous)
{
    Cells out;
    const STCameraInfoKst& plan = dlg.Plans()[dlg.CurrentCamera()];
    for (int d = 0; d < 7; ++d)
        for (int h = 0; h < 24; ++h)
            if ((continuous ? plan.arrContinuous : plan.arrMotion)[d][h])
                out.insert({d, h});
    return out;
}

QRgb CellPixel(CRecScheduleDlg& dlg, int day, int hour)
{
    QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
    PumpFor(20);
    QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QPoint c = Center(dlg, day, hour);
    return shot.pixel(c) & 0xFFFFFF;
}

constexpr QRgb kClear = 0x3C4652, kContinuous = 0x40A040, kMotion = 0xD0A020;

// Opens the dialog over a program with cameras "A" and "B", runs `work` in
// it and returns the dialog's result; the work ends it or it is cancelled.
class ScheduleRun {
public:
    ScheduleRun()
    {
        // The dialog takes the main window's size, as in the program.
        GlobalInfo().LoadMainSkin();
        program.AddCameras({"A", "B"});
    }

    INT_PTR Run(const std::function<void(CRecScheduleDlg&)>& work)
    {
        GlobalInfo().LoadScheduleSkin();
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            PumpFor(20);
            work(static_cast<CRecScheduleDlg&>(d));
            if (::IsWindow(d.GetSafeHwnd()) && d.ContinueModal())
                d.EndDialog(IDCANCEL);
        });
        CRecScheduleDlg dlg;
        INT_PTR r = dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        GlobalInfo().FreeScheduleSkin();
        return r;
    }

    std::string Column(int cameraIndex, const char* column)
    {
        sqlite3* db = nullptr;
        sqlite3_open(program.database().c_str(), &db);
        std::string sql = std::string("select ") + column + " from TBL_CHANNEL_LIST where CAMERAID="
                          + std::to_string(GlobalInfo().m_arrCameras[cameraIndex].CAMERAID);
        sqlite3_stmt* st = nullptr;
        std::string out = "<none>";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            out = sqlite3_column_text(st, 0) ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }

    rectest::DialogProgram program;
};

TEST(ScheduleGrid, CellsSelectionsAndImages)
{
    auto cells = schedule_grid::CellRects(POINT{60, 130}, 24, 24);
    ASSERT_EQ(cells.size(), 168u);
    EXPECT_EQ(cells[0].left, 61);
    EXPECT_EQ(cells[1].left, 86);
    EXPECT_EQ(cells[24].top, 154);
    EXPECT_EQ(schedule_grid::CellAt(cells, POINT{85, 140}), -1);  // the gap between columns
    RECT flat = schedule_grid::SelectionRect(POINT{100, 140}, POINT{200, 140});
    EXPECT_EQ(flat.right - flat.left, 1);
    STCameraInfoKst plan;
    plan.arrMotion[0][0] = 1;
    plan.arrContinuous[0][0] = 1;
    EXPECT_EQ(schedule_grid::ImageOf(&plan, 0), schedule_grid::kImageContinuous);
    EXPECT_EQ(schedule_grid::ImageOf(nullptr, 0), schedule_grid::kImageClear);
}

TEST(ScheduleDialog, MousePaintsTheTouchedCellsByMode)
{
    using M = schedule_grid::PaintMode;
    struct Case {
        const char* what;
        M mode;
        std::pair<int, int> press;
        std::vector<std::pair<int, int>> moves;  // cells passed on the way
        QPoint release;                          // (-1, -1): at the last move's cell
        Cells continuous, motion;
    };
    const auto block = [](int d0, int d1, int h0, int h1) {
        Cells c;
        for (int d = d0; d <= d1; ++d)
            for (int h = h0; h <= h1; ++h)
                c.insert({d, h});
        return c;
    };
    const QPoint atLast(-1, -1);
    const Case cases[] = {
        {"click", M::kPaintContinuous, {1, 8}, {}, atLast, {{1, 8}}, {}},
        {"down right", M::kPaintContinuous, {1, 8}, {{2, 9}, {3, 10}}, atLast, block(1, 3, 8, 10), {}},
        {"up left", M::kPaintMotion, {3, 10}, {{1, 8}}, atLast, {}, block(1, 3, 8, 10)},
        {"down left", M::kPaintContinuous, {1, 10}, {{3, 8}}, atLast, block(1, 3, 8, 10), {}},
        {"up right", M::kPaintMotion, {3, 8}, {{1, 10}}, atLast, {}, block(1, 3, 8, 10)},
        {"horizontal only", M::kPaintContinuous, {2, 5}, {{2, 9}}, atLast, {{2, 5}}, {}},
        {"release far outside", M::kPaintMotion, {6, 20}, {{6, 22}}, QPoint(3000, 3000), {}, block(6, 6, 20, 23)},
    };
    ScheduleRun run;
    run.Run([&](CRecScheduleDlg& dlg) {
        QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
        ASSERT_NE(w, nullptr);
        const int modeButton[] = {3, 4, 5};
        for (const Case& c : cases) {
            Click(dlg, 9);  // clear all
            Click(dlg, modeButton[c.mode]);
            ASSERT_EQ(dlg.Mode(), c.mode) << c.what;
            QPoint p = Center(dlg, c.press.first, c.press.second);
            QTest::mousePress(w, Qt::LeftButton, {}, p);
            ASSERT_TRUE(dlg.IsDragging()) << c.what;
            for (auto m : c.moves) {
                p = Center(dlg, m.first, m.second);
                QTest::mouseMove(w, p);
            }
            QTest::mouseRelease(w, Qt::LeftButton, {}, c.release == atLast ? p : c.release);
            EXPECT_FALSE(dlg.IsDragging()) << c.what;
            EXPECT_EQ(Painted(dlg, true), c.continuous) << c.what;
            EXPECT_EQ(Painted(dlg, false), c.motion) << c.what;
        }

        // Continuous over motion hours takes their motion flag, clear takes
        // both; an hour with both flags shows continuous.
        Click(dlg, 9);
        Click(dlg, 3);
        QTest::mousePress(w, Qt::LeftButton, {}, Center(dlg, 0, 0));
        QTest::mouseMove(w, Center(dlg, 0, 2) + QPoint(0, 3));
        QTest::mouseRelease(w, Qt::LeftButton, {}, Center(dlg, 0, 2) + QPoint(0, 3));
        EXPECT_EQ(Painted(dlg, false), (Cells{{0, 0}, {0, 1}, {0, 2}}));
        Click(dlg, 4);
        QTest::mouseClick(w, Qt::LeftButton, {}, Center(dlg, 0, 1));
        EXPECT_EQ(Painted(dlg, false), (Cells{{0, 0}, {0, 2}}));
        EXPECT_EQ(Painted(dlg, true), (Cells{{0, 1}}));
        Click(dlg, 5);
        QTest::mouseClick(w, Qt::LeftButton, {}, Center(dlg, 0, 2));
        EXPECT_EQ(Painted(dlg, false), (Cells{{0, 0}}));

        // A press outside the grid starts nothing and paints nothing.
        const Cells before = Painted(dlg, false);
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(720, 200));
        EXPECT_FALSE(dlg.IsDragging());
        PumpFor(20);  // the window's move, as a person's press would start it
        QTest::mouseRelease(w, Qt::LeftButton, {}, Center(dlg, 4, 4));
        EXPECT_EQ(Painted(dlg, false), before);
        RECT clip;
        GetClipCursor(&clip);
        EXPECT_GT(clip.right - clip.left, 700) << "the cursor stays confined";

        // The cells by pixel, and the drag's blend while it lasts.
        EXPECT_EQ(CellPixel(dlg, 0, 0), kMotion);
        EXPECT_EQ(CellPixel(dlg, 0, 1), kContinuous);
        EXPECT_EQ(CellPixel(dlg, 5, 5), kClear);
        Click(dlg, 4);
        QTest::mousePress(w, Qt::LeftButton, {}, Center(dlg, 5, 5));
        QTest::mouseMove(w, Center(dlg, 6, 7));
        const QRgb blended = CellPixel(dlg, 5, 6);
        EXPECT_NE(blended, kClear);
        EXPECT_NE(blended, kContinuous);
        QTest::mouseRelease(w, Qt::LeftButton, {}, Center(dlg, 6, 7));
        EXPECT_EQ(CellPixel(dlg, 5, 6), kContinuous);
        EXPECT_EQ(CellPixel(dlg, 6, 7), kContinuous);
    });
}

TEST(ScheduleDialog, EachModeShowsItsCellImageBesideItsButton)
{
    ScheduleRun run;
    run.Run([&](CRecScheduleDlg& dlg) {
        QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
        PumpFor(20);
        QImage shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The picture of the whole dialog, for a person to check the layout.
        const std::string dir = std::string(VX_BIN_DIR) + "/../screenshots";
        std::filesystem::create_directories(dir);
        const std::string out = dir + "/recorder_schedule_dialog.png";
        EXPECT_TRUE(shot.save(QString::fromStdString(out)));
        const CGlobalInfo& g = GlobalInfo();
        const struct {
            const STSkinImage* legend;
            QRgb colour;
            const STSkinElement* button;
        } modes[] = {
            {&g.m_skinContinuous, kContinuous, &g.m_skinRdContinuous},
            {&g.m_skinMotion, kMotion, &g.m_skinRdMotion},
            {&g.m_skinClear, kClear, &g.m_skinRdClear},
        };
        for (const auto& m : modes) {
            const RECT& r = m.legend->rect;
            EXPECT_EQ(shot.pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) & 0xFFFFFF, m.colour);
            // Beside its button: on its row, just right of it.
            const RECT& b = m.button->rect;
            EXPECT_LT(r.top, b.bottom);
            EXPECT_GT(r.bottom, b.top);
            EXPECT_GE(r.left, b.right);
            EXPECT_LE(r.left - b.right, 12);
        }
    });
}

TEST(ScheduleDialog, OkSavesThePaintedHours)
{
    ScheduleRun run;
    vxtest::TempDir folder("vx-sched-rec");
    INT_PTR r = run.Run([&](CRecScheduleDlg& dlg) {
        QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
        Click(dlg, 9);
        dlg.SetDlgItemText(1023, (folder.path() + "/").c_str());
        dlg.SetDlgItemText(1025, "7");
        QTest::mousePress(w, Qt::LeftButton, {}, Center(dlg, 1, 8) - QPoint(0, 5));
        QTest::mouseMove(w, Center(dlg, 1, 10) + QPoint(0, 5));
        QTest::mouseRelease(w, Qt::LeftButton, {}, Center(dlg, 1, 10) + QPoint(0, 5));
        Click(dlg, IDOK);
    });
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(run.Column(0, "TUE_SREC_TIME"), "8,9,10,");
    EXPECT_EQ(run.Column(0, "MON_SREC_TIME"), "");
    EXPECT_EQ(run.Column(0, "REC_DAYS"), "7");
    EXPECT_EQ(run.Column(0, "REC_PATH"), folder.path() + "/");
}

TEST(ScheduleDialog, ApplyToAllCopiesOnlyTheGrids)
{
    ScheduleRun run;
    vxtest::TempDir a("vx-sched-a"), b("vx-sched-b");
    INT_PTR r = run.Run([&](CRecScheduleDlg& dlg) {
        QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
        CComboBox* combo = static_cast<CComboBox*>(dlg.GetDlgItem(1021));
        // B: its own folder, days and recording off.
        combo->SetCurSel(1);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
        ASSERT_EQ(dlg.CurrentCamera(), 1);
        dlg.SetDlgItemText(1023, (b.path() + "/").c_str());
        dlg.SetDlgItemText(1025, "3");
        const bool enabledB = dlg.Plans()[1].REC_ENABLE == 1;
        Click(dlg, 6);
        combo->SetCurSel(0);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
        ASSERT_EQ(dlg.CurrentCamera(), 0);
        EXPECT_EQ(dlg.Plans()[1].REC_ENABLE, enabledB ? 0 : 1);
        dlg.SetDlgItemText(1023, (a.path() + "/").c_str());
        Click(dlg, 9);
        QTest::mouseClick(w, Qt::LeftButton, {}, Center(dlg, 6, 23));
        Click(dlg, 7);
        Click(dlg, IDOK);
    });
    ASSERT_EQ(r, IDOK);
    for (int cam : {0, 1})
        EXPECT_EQ(run.Column(cam, "SUN_SREC_TIME"), "23,") << cam;
    EXPECT_EQ(run.Column(1, "REC_PATH"), b.path() + "/");
    EXPECT_EQ(run.Column(1, "REC_DAYS"), "3");
    EXPECT_EQ(run.Column(0, "REC_PATH"), a.path() + "/");
}

TEST(ScheduleDialog, BadFoldersAndKeepDaysAreRefused)
{
    ScheduleRun run;
    vxtest::TempDir base("vx-sched-folders");
    const struct {
        std::string path;
        const char* days;
        UINT message;  // 0: a range prompt of the layer
    } cases[] = {
        {"", "1", IDS_FOLDER_EMPTY},
        {"relative/folder/", "1", IDS_FOLDER_BAD},
        {base.path() + "/new/missing", "1", IDS_FOLDER_BAD},  // only its parent is made
        {"/proc/no-such-folder/x/", "1", IDS_FOLDER_BAD},
        {base.path() + "/" + std::string(200, 'e') + "/" + std::string(80, 'f') + "/", "1", IDS_FOLDER_BAD},
        {base.path() + "/", "-3", 0},
        {base.path() + "/", "99999999999", 0},
    };
    for (const auto& c : cases) {
        rectest::MessageBoxes boxes;
        INT_PTR r = run.Run([&](CRecScheduleDlg& dlg) {
            dlg.SetDlgItemText(1023, c.path.c_str());
            dlg.SetDlgItemText(1025, c.days);
            // Neither switching camera nor OK gets past the check.
            CComboBox* combo = static_cast<CComboBox*>(dlg.GetDlgItem(1021));
            combo->SetCurSel(1);
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1021, CBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
            EXPECT_EQ(dlg.CurrentCamera(), 0) << c.path;
            EXPECT_EQ(combo->GetCurSel(), 0) << c.path;
            Click(dlg, IDOK);
            EXPECT_TRUE(dlg.ContinueModal()) << c.path;
        });
        EXPECT_EQ(r, IDCANCEL) << c.path;
        ASSERT_EQ(boxes.calls.size(), 2u) << c.path;
        if (c.message) {
            EXPECT_EQ(boxes.calls[0].text, rectest::Text(c.message).GetString()) << c.path;
        }
    }
    EXPECT_TRUE(PathIsDirectoryA((base.path() + "/new").c_str()));
    EXPECT_EQ(run.Column(0, "REC_DAYS"), "<none>");

    // The browser's folder ends in '/' and is accepted.
    vxw::test::SetFolderDialogHook([&](const vxw::test::FolderDialogCall& call) -> std::optional<std::string> {
        EXPECT_EQ(call.title, rectest::Text(IDS_BROWSE_TITLE).GetString());
        return base.path() + "/picked";
    });
    mkdir((base.path() + "/picked").c_str(), 0700);
    INT_PTR r = run.Run([&](CRecScheduleDlg& dlg) {
        Click(dlg, 12);
        CString text;
        dlg.GetDlgItemText(1023, text);
        EXPECT_EQ(std::string(text.GetString()), base.path() + "/picked/");
        CString free;
        dlg.GetDlgItemText(5037, free);
        EXPECT_NE(std::string(free.GetString()), "0B");
        Click(dlg, IDOK);
    });
    vxw::test::SetFolderDialogHook(nullptr);
    EXPECT_EQ(r, IDOK);
    EXPECT_EQ(run.Column(0, "REC_PATH"), base.path() + "/picked/");
}

TEST(ScheduleDialog, WaysOutThatSaveNothing)
{
    ScheduleRun run;
    // A first save, so that the file has a state to keep.
    ASSERT_EQ(run.Run([](CRecScheduleDlg& dlg) { Click(dlg, IDOK); }), IDOK);
    const std::string before = rectest::ReadFile(run.program.database());
    const auto paint = [](CRecScheduleDlg& dlg) {
        QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
        QTest::mouseClick(w, Qt::LeftButton, {}, Center(dlg, 2, 2));
    };
    EXPECT_EQ(run.Run([&](CRecScheduleDlg& dlg) {
        paint(dlg);
        Click(dlg, IDCANCEL);
    }),
              IDCANCEL);
    EXPECT_EQ(run.Run([&](CRecScheduleDlg& dlg) {
        paint(dlg);
        Click(dlg, 1000);
    }),
              IDCANCEL);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool open = false;
        run.Run([&](CRecScheduleDlg& dlg) {
            paint(dlg);
            QTest::keyClick(vxw::WidgetOf(dlg.GetDlgItem(1025)->GetSafeHwnd()), key);
            PumpFor(20);
            open = dlg.ContinueModal() && dlg.Plans().GetSize() == 2;
        });
        EXPECT_TRUE(open) << key;
    }
    EXPECT_EQ(rectest::ReadFile(run.program.database()), before);

    // Another connection holds the file: the save fails and the dialog stays
    // open with the painted hour.
    sqlite3* other = nullptr;
    sqlite3_open(run.program.database().c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    rectest::MessageBoxes boxes;
    INT_PTR r = run.Run([&](CRecScheduleDlg& dlg) {
        paint(dlg);
        Click(dlg, IDOK);
        EXPECT_TRUE(dlg.ContinueModal());
        EXPECT_EQ(dlg.Plans().GetSize(), 2);
        EXPECT_EQ(dlg.Plans()[0].arrContinuous[2][2], 1);
    });
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_FALSE(boxes.calls.empty());
    EXPECT_EQ(rectest::ReadFile(run.program.database()), before);
}

}  // namespace

VX_UI_TEST_MAIN()
