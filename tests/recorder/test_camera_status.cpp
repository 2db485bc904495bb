// What the camera list says of cameras that cannot record, as the program
// shows them when it starts its cameras by itself: one never given a
// schedule, one whose password the camera refuses, one nobody answers for,
// one whose stream holds nothing a file can take.
#include "recorder_program.h"

#include "platform/ui/WindowRegistry_p.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QStyle>

using namespace rectest;

namespace {

bool ShowsStatus(CMainDlg& dlg, int row, const char* words, DWORD ms)
{
    return vxw::PumpUntil([&] { return dlg.List().GetItemText(row, 0) == words; }, ms);
}

TEST(CameraStatus, NoScheduleAndARefusedLoginAreToldApart)
{
    CamsimProcess cam({"--family", "DY", "--password", "right"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    CamsimProcess unusable({"--family", "DY", "--unusable-stream"});
    ASSERT_TRUE(unusable.ok()) << unusable.error();
    Program p("RecordLength=1\nFreeSpace=0\nStartRecord=1\n");
    Camera refused = CameraOf(cam);
    refused.password = "wrong";
    p.Add(refused);
    // Saved as the add dialog saves a camera: no schedule row yet.
    STIPCfgKst fresh;
    fresh.CAMERAID = -1;
    CopyTextField(fresh.NAME, "fresh");
    CopyTextField(fresh.IP, "127.0.0.1");
    CopyTextField(fresh.UID, "admin");
    CopyTextField(fresh.PWD, "right");
    fresh.TYPE = 2;
    fresh.PORT = cam.httpPort();
    fresh.RTSP = cam.rtspPort();
    ASSERT_GT(GlobalInfo().m_db.SaveCamera(fresh), 0);
    Camera unreachable;
    unreachable.httpPort = FreeLowPort();
    unreachable.rtspPort = FreeLowPort();
    p.Add(unreachable);
    p.Add(CameraOf(unusable));
    p.Run([&](CMainDlg& dlg) {
        ASSERT_EQ(dlg.List().GetItemCount(), 4);
        EXPECT_TRUE(ShowsStatus(dlg, 0, "Login refused", 30000)) << dlg.List().GetItemText(0, 0).GetString();
        EXPECT_TRUE(ShowsStatus(dlg, 1, "No schedule", 10000)) << dlg.List().GetItemText(1, 0).GetString();
        EXPECT_TRUE(ShowsStatus(dlg, 2, "Connection failed", 30000)) << dlg.List().GetItemText(2, 0).GetString();
        EXPECT_TRUE(ShowsStatus(dlg, 3, "Stream cannot be recorded", 60000))
            << dlg.List().GetItemText(3, 0).GetString();

        // Every column holds its text whole in the font in use ("Channel 1"
        // included), the status column beside its picture.
        QWidget* w = vxw::WidgetOf(dlg.List().GetSafeHwnd());
        auto* view = qobject_cast<QAbstractItemView*>(w);
        if (!view && w)
            view = w->findChild<QAbstractItemView*>();
        ASSERT_NE(view, nullptr);
        const QFontMetrics fm(view->font());
        const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < view->model()->columnCount(); ++column) {
                const QModelIndex at = view->model()->index(row, column);
                const QString text = at.data().toString();
                const int picture = column == 0 ? 16 + margins : 0;
                EXPECT_GE(view->visualRect(at).width(), fm.horizontalAdvance(text) + margins + picture)
                    << "column " << column << ": " << text.toStdString();
            }
        }
    });
}

}  // namespace

VX_RECORDER_TEST_MAIN()
