// The recording search dialog in process over a real record folder: the
// range checks, the rows, and the row actions worked with real clicks on
// the list (open, open folder, delete, cut, copy).
#include "recorder_dialog_program.h"
#include "support/LocalTime.h"

#include "platform/ui/WindowRegistry_p.h"
#include "recorder/CRecordQueryDlg.h"
#include "resources/VXKSTRes/resource.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QStyle>
#include <QTest>
#include <QWidget>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using vxtest::LocalTime;

void MakeSegment(const std::string& path, time_t mtime)
{
    rectest::WriteFile(path, "segment");
    struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

class QueryRun {
public:
    QueryRun()
    {
        program.AddCameras({"A"});
        folder = program.dir.file("rec dé/");
        mkdir(folder.c_str(), 0700);
        CArray<STCameraInfoKst> plans;
        STCameraInfoKst plan;
        plan.CAMERAID = GlobalInfo().m_arrCameras[0].CAMERAID;
        CopyTextField(plan.REC_PATH, folder.c_str());
        plans.Add(plan);
        GlobalInfo().m_db.SaveSchedules(plans, -1, FALSE);
        MakeSegment(folder + "20240105083000.mp4", LocalTime(2024, 1, 5, 8, 31, 0));
        MakeSegment(folder + "20240105084000.mp4", LocalTime(2024, 1, 5, 8, 41, 0));
        MakeSegment(folder + "20240105120000.mp4", LocalTime(2024, 1, 5, 12, 1, 0));
        vxw::test::SetShellOpenHook([this](const std::string& t) {
            opened.push_back(t);
            return openerWorks;
        });
    }
    ~QueryRun() { vxw::test::SetShellOpenHook(nullptr); }

    INT_PTR Run(const std::function<void(CRecordQueryDlg&)>& work)
    {
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            work(static_cast<CRecordQueryDlg&>(d));
            if (::IsWindow(d.GetSafeHwnd()) && d.ContinueModal())
                d.EndDialog(IDCANCEL);
        });
        CRecordQueryDlg dlg;
        INT_PTR r = dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        return r;
    }

    rectest::DialogProgram program;
    std::string folder;
    std::vector<std::string> opened;
    bool openerWorks = true;  // false: as if no program opens the file
};

void Search(CRecordQueryDlg& dlg, COleDateTime d1, COleDateTime t1, COleDateTime d2, COleDateTime t2)
{
    dlg.m_dtStartDate = d1;
    dlg.m_dtStartTime = t1;
    dlg.m_dtEndDate = d2;
    dlg.m_dtEndTime = t2;
    dlg.UpdateData(FALSE);
    QWidget* w = vxw::WidgetOf(::GetDlgItem(dlg.GetSafeHwnd(), 242));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

COleDateTime Day(int y, int m, int d)
{
    COleDateTime t;
    t.SetDate(y, m, d);
    return t;
}

COleDateTime Time(int h, int m, int s)
{
    COleDateTime t;
    t.SetTime(h, m, s);
    return t;
}

QAbstractItemView* View(CRecordQueryDlg& dlg)
{
    QWidget* w = vxw::WidgetOf(dlg.List().GetSafeHwnd());
    auto* v = qobject_cast<QAbstractItemView*>(w);
    return v ? v : w->findChild<QAbstractItemView*>();
}

QPoint RowPoint(QAbstractItemView* view, int row)
{
    return view->visualRect(view->model()->index(row, 1)).center();
}

TEST(RecordQueryDialog, RangesAreCheckedBeforeSearching)
{
    QueryRun run;
    const struct {
        COleDateTime d1, t1, d2, t2;
        UINT message;
    } cases[] = {
        {Day(1969, 12, 31), Time(0, 0, 0), Day(2024, 1, 5), Time(1, 0, 0), IDS_DATE_RANGE},
        {Day(2024, 1, 5), Time(0, 0, 0), Day(2039, 1, 1), Time(1, 0, 0), IDS_DATE_RANGE},
        {Day(2024, 1, 5), Time(0, 0, 0), Day(2024, 1, 4), Time(1, 0, 0), IDS_DATE_RANGE},
        {Day(2024, 1, 5), Time(10, 0, 0), Day(2024, 1, 5), Time(10, 0, 0), IDS_TIME_RANGE},
        {Day(2024, 1, 5), Time(10, 30, 0), Day(2024, 1, 5), Time(10, 0, 0), IDS_TIME_RANGE},
    };
    for (const auto& c : cases) {
        rectest::MessageBoxes boxes;
        run.Run([&](CRecordQueryDlg& dlg) {
            Search(dlg, c.d1, c.t1, c.d2, c.t2);
            EXPECT_TRUE(dlg.GetDlgItem(242)->IsWindowEnabled());
        });
        ASSERT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(boxes.calls[0].text, rectest::Text(c.message).GetString());
    }
}

TEST(RecordQueryDialog, AnOpenThatFailsNamesTheFileAndWhy)
{
    QueryRun run;
    run.openerWorks = false;
    rectest::MessageBoxes boxes;
    run.Run([&](CRecordQueryDlg& dlg) {
        Search(dlg, Day(2024, 1, 5), Time(8, 0, 0), Day(2024, 1, 5), Time(9, 30, 0));
        ASSERT_EQ(dlg.List().GetItemCount(), 2);
        QAbstractItemView* view = View(dlg);
        ASSERT_NE(view, nullptr);
        unlink((run.folder + "20240105084000.mp4").c_str());
        const struct {
            int row;
            const char* file;
            const char* why;
        } cases[] = {
            {0, "20240105083000.mp4", "No program on this computer is set to open this kind of file."},
            {1, "20240105084000.mp4", "The file is not there any more."},
        };
        for (const auto& c : cases) {
            boxes.calls.clear();
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, RowPoint(view, c.row));
            PumpFor(20);
            ASSERT_EQ(boxes.calls.size(), 1u) << c.file;
            EXPECT_EQ(boxes.calls[0].text,
                      "The recording cannot be opened:\n" + run.folder + c.file + "\n\n" + std::string(c.why));
            EXPECT_EQ(boxes.calls[0].caption, "Error");
        }
    });
}

TEST(RecordQueryDialog, ColumnsShowTheirWholeTextInTheFontInUse)
{
    QueryRun run;
    run.Run([&](CRecordQueryDlg& dlg) {
        Search(dlg, Day(2024, 1, 5), Time(8, 0, 0), Day(2024, 1, 5), Time(23, 0, 0));
        ASSERT_EQ(dlg.List().GetItemCount(), 3);
        QAbstractItemView* view = View(dlg);
        ASSERT_NE(view, nullptr);
        const QFontMetrics fm(view->font());
        // The view's delegate keeps a margin on both sides of a cell's text.
        const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (int column : {0, 1, 2, 3}) {
            for (int row = 0; row < 3; ++row) {
                const QModelIndex at = view->model()->index(row, column);
                const QString text = at.data().toString();
                EXPECT_GE(view->visualRect(at).width(), fm.horizontalAdvance(text) + margins)
                    << "column " << column << ": " << text.toStdString();
            }
        }
    });
}

TEST(RecordQueryDialog, RowsAreOpenedDeletedCutAndCopied)
{
    QueryRun run;
    run.Run([&](CRecordQueryDlg& dlg) {
        Search(dlg, Day(2024, 1, 5), Time(8, 0, 0), Day(2024, 1, 5), Time(9, 30, 0));
        CListCtrl& list = dlg.List();
        ASSERT_EQ(list.GetItemCount(), 2);
        EXPECT_STREQ(list.GetItemText(0, 0), "1");
        EXPECT_STREQ(list.GetItemText(0, 1), "20240105083000.mp4");
        EXPECT_STREQ(list.GetItemText(0, 2), "2024-01-05 08:30:00");
        EXPECT_STREQ(list.GetItemText(0, 3), "7B");
        EXPECT_EQ(std::string(list.GetItemText(1, 4).GetString()), run.folder + "20240105084000.mp4");

        QAbstractItemView* view = View(dlg);
        ASSERT_NE(view, nullptr);
        // A double-click opens the file.
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, RowPoint(view, 0));
        PumpFor(20);
        ASSERT_EQ(run.opened.size(), 1u);
        EXPECT_NE(run.opened[0].find("20240105083000.mp4"), std::string::npos);

        // The row menu: each command through a right-click on the row.
        UINT choose = 0;
        int menus = 0;
        vxw::test::SetPopupMenuHook([&](const vxw::test::PopupMenuCall&) {
            ++menus;
            return choose;
        });
        const auto rightClick = [&](QPoint at, UINT command) {
            choose = command;
            QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
            PumpFor(20);
        };
        rightClick(RowPoint(view, 1), ID_MENU_RECORD_FOLDER);
        ASSERT_EQ(run.opened.size(), 2u);
        EXPECT_NE(run.opened[1].find("rec%20d"), std::string::npos) << run.opened[1];
        EXPECT_EQ(run.opened[1].find("20240105084000"), std::string::npos) << run.opened[1];

        for (UINT command : {ID_MENU_RECORD_CUT, ID_MENU_RECORD_COPY}) {
            rightClick(RowPoint(view, 0), command);
            auto content = vxw::test::ClipboardContent();
            const bool cut = command == ID_MENU_RECORD_CUT;
            const std::string uri = content["text/uri-list"];
            EXPECT_NE(uri.find("rec%20d%C3%A9/20240105083000.mp4"), std::string::npos) << uri;
            EXPECT_EQ(content["x-special/gnome-copied-files"].substr(0, cut ? 4 : 5), cut ? "cut\n" : "copy\n");
            EXPECT_EQ(content["application/x-kde-cutselection"], cut ? "1" : "0");
        }

        // Beside the rows: no menu.
        const int before = menus;
        rightClick(QPoint(5, view->viewport()->height() - 2), ID_MENU_RECORD_DELETE);
        EXPECT_EQ(menus, before);
        EXPECT_EQ(dlg.ClickedRow(), -1);

        // Delete: the file goes and the list is searched again.
        rectest::MessageBoxes yes(IDYES);
        rightClick(RowPoint(view, 0), ID_MENU_RECORD_DELETE);
        EXPECT_FALSE(PathFileExistsA((run.folder + "20240105083000.mp4").c_str()));
        ASSERT_EQ(list.GetItemCount(), 1);
        EXPECT_STREQ(list.GetItemText(0, 1), "20240105084000.mp4");
        // A file that vanished meanwhile: message 140, the list kept.
        unlink((run.folder + "20240105084000.mp4").c_str());
        rightClick(RowPoint(view, 0), ID_MENU_RECORD_DELETE);
        ASSERT_EQ(yes.calls.size(), 3u);
        EXPECT_EQ(yes.calls[2].text, rectest::Text(IDS_DELETE_RECORD_FAILED).GetString());
        EXPECT_EQ(list.GetItemCount(), 1);
        vxw::test::SetPopupMenuHook(nullptr);
    });
}

}  // namespace

VX_UI_TEST_MAIN()
