// The add and edit camera dialog worked as a person works it: keys typed into
// its fields, list entries chosen with the keyboard, OK clicked. What it
// refuses and the words it says, lengths counted in characters, and rows of
// kinds it was not made for saved with only what the person changed.
#include "recorder_dialog_program.h"

#include "platform/ui/WindowRegistry_p.h"
#include "recorder/CDlgSetIP.h"
#include "resources/VXKSTRes/resource.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <functional>
#include <string>

namespace {

QWidget* Widget(CDialog& dlg, int id)
{
    return vxw::WidgetOf(::GetDlgItem(dlg.GetSafeHwnd(), id));
}

QLineEdit* Edit(CDialog& dlg, int id)
{
    QWidget* w = Widget(dlg, id);
    auto* e = qobject_cast<QLineEdit*>(w);
    return e ? e : (w ? w->findChild<QLineEdit*>() : nullptr);
}

QComboBox* Combo(CDialog& dlg, int id)
{
    QWidget* w = Widget(dlg, id);
    auto* c = qobject_cast<QComboBox*>(w);
    return c ? c : (w ? w->findChild<QComboBox*>() : nullptr);
}

// Replaces a field's text as a person does: select all, then type (an empty
// text deletes what was selected).
void Retype(CDialog& dlg, int id, const QString& text)
{
    QLineEdit* e = Edit(dlg, id);
    ASSERT_NE(e, nullptr) << id;
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(4, e->height() / 2));
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    // Key by key, with the key code a keyboard sends for each character
    // (Latin-1 keys carry the upper-case letter's code).
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, e, static_cast<Qt::Key>(ch.toUpper().unicode()), QString(ch), Qt::NoModifier);
}

void ClickOk(CDialog& dlg)
{
    QWidget* ok = Widget(dlg, IDOK);
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(ok->width() / 2, ok->height() / 2));
}

bool Visible(CDialog& dlg, int id)
{
    return (dlg.GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0;
}

struct Row {
    std::string name = "cam", host = "127.0.0.1", user = "admin", pwd = "secret";
    int type = 2, port = 8080, rtsp = 554, channel = 0, stream = 0;
};

int Store(const Row& r)
{
    STIPCfgKst c;
    c.CAMERAID = -1;
    CopyTextField(c.NAME, r.name.c_str());
    CopyTextField(c.IP, r.host.c_str());
    CopyTextField(c.UID, r.user.c_str());
    CopyTextField(c.PWD, r.pwd.c_str());
    c.TYPE = r.type;
    c.PORT = r.port;
    c.RTSP = r.rtsp;
    c.CHANNEL = r.channel;
    c.STREAM = r.stream;
    const int id = GlobalInfo().m_db.SaveCamera(c);
    GlobalInfo().m_arrCameras.RemoveAll();
    GlobalInfo().m_db.LoadCameras(GlobalInfo().m_arrCameras);
    return id;
}

// The row as the database class reads it back.
STIPCfgKst Stored(int id)
{
    CArray<STIPCfgKst> rows;
    GlobalInfo().m_db.LoadCameras(rows);
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        if (rows[i].CAMERAID == id)
            return rows[i];
    return STIPCfgKst();
}

// Opens the dialog on a camera (-1: a new one), lets `work` act in it and
// ends it with Cancel should it still be open; whether OK closed it.
bool RunDialog(int id, const std::function<void(CDlgSetIP&)>& work)
{
    bool closedByOk = false;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        d.ShowWindow(SW_SHOW);
        work(static_cast<CDlgSetIP&>(d));
        closedByOk = !d.ContinueModal();
        if (::IsWindow(d.GetSafeHwnd()) && d.ContinueModal())
            d.EndDialog(IDCANCEL);
    });
    CDlgSetIP dlg;
    dlg.m_nCameraID = id;
    const INT_PTR r = dlg.DoModal();
    vxw::test::SetModalDialogHook(nullptr);
    return closedByOk && r == IDOK;
}

QString Repeat(const QString& s, int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(CameraDialog, RefusalsSayWhatIsWrongAndSaveNothing)
{
    rectest::DialogProgram program;
    const int id = Store(Row());
    const struct {
        int field;
        QString typed;
        const char* words;
    } cases[] = {
        {5047, "", "Please enter a name for the camera."},
        {5004, "", "Please enter the camera's host: a name that can be found or an address such as 192.168.1.20."},
        {5004, "256.1.1.1",
         "Please enter the camera's host: a name that can be found or an address such as 192.168.1.20."},
        {5004, "no-such-host.invalid",
         "Please enter the camera's host: a name that can be found or an address such as 192.168.1.20."},
        {5004, "::1", "Please enter the camera's host: a name that can be found or an address such as 192.168.1.20."},
        {1059, "", "Please enter the user name for the camera."},
    };
    for (const auto& c : cases) {
        rectest::MessageBoxes boxes;
        HWND focus = nullptr, field = nullptr;
        EXPECT_FALSE(RunDialog(id, [&](CDlgSetIP& d) {
            Retype(d, c.field, c.typed);
            ClickOk(d);
            focus = ::GetFocus();
            field = ::GetDlgItem(d.GetSafeHwnd(), c.field);
        })) << c.field << " " << c.typed.toStdString();
        ASSERT_EQ(boxes.calls.size(), 1u) << c.typed.toStdString();
        EXPECT_EQ(boxes.calls[0].text, c.words) << c.typed.toStdString();
        EXPECT_EQ(boxes.calls[0].caption, "Error");
        EXPECT_EQ(focus, field) << "the focus is not on the field at fault: " << c.typed.toStdString();
        EXPECT_STREQ(Stored(id).NAME, "cam");
        EXPECT_STREQ(Stored(id).IP, "127.0.0.1");
        EXPECT_STREQ(Stored(id).UID, "admin");
    }
}

TEST(CameraDialog, LengthsCountCharactersAndTheRowCutsAtACharacter)
{
    rectest::DialogProgram program;
    const int id = Store(Row());
    rectest::MessageBoxes boxes;
    const QString e = QString::fromUtf8("é");
    EXPECT_TRUE(RunDialog(id, [&](CDlgSetIP& d) {
        // The field takes 256 characters and no 257th.
        Retype(d, 5047, Repeat(e, 257));
        EXPECT_EQ(Edit(d, 5047)->text(), Repeat(e, 256));
        ClickOk(d);
    }));
    EXPECT_TRUE(boxes.calls.empty()) << (boxes.calls.empty() ? "" : boxes.calls[0].text);
    // The row holds 255 bytes of a name: the last whole character ends it.
    EXPECT_EQ(std::string(Stored(id).NAME), Repeat(e, 127).toStdString());
}

TEST(CameraDialog, RowsOfOtherKindsShowWhatTheyHoldAndKeepIt)
{
    rectest::DialogProgram program;
    const struct {
        Row row;
        const char* typeText;
        const char* channelText;  // nullptr: the list shows none
        const char* streamText;
        int portField;  // the one port field shown
    } cases[] = {
        {{.type = 3, .port = 8000, .channel = 7, .stream = 2}, "Network video recorder", "8", "Third stream", 1062},
        {{.type = 0, .port = 9660, .channel = 2, .stream = 1}, "Legacy camera", "3", "Sub stream", 1058},
        {{.type = 5, .port = 30000, .channel = 0, .stream = 0}, "Type 5", "1", "Main stream", 1062},
        {{.type = -1, .port = 50, .channel = -1, .stream = -1}, "Type -1", nullptr, nullptr, 1058},
        {{.type = 2, .port = 8080, .channel = 0, .stream = 1}, "Network camera", "1", "Sub stream", 1062},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeText);
        rectest::MessageBoxes boxes;
        const int id = Store(c.row);
        EXPECT_TRUE(RunDialog(id, [&](CDlgSetIP& d) {
            EXPECT_EQ(Combo(d, 5246)->currentText().toStdString(), c.typeText);
            EXPECT_EQ(Combo(d, 1122)->currentText().toStdString(), c.channelText ? c.channelText : "");
            EXPECT_EQ(Combo(d, 1123)->currentText().toStdString(), c.streamText ? c.streamText : "");
            // One port label and field, not both drawn over each other.
            const int other = c.portField == 1062 ? 1058 : 1062;
            EXPECT_TRUE(Visible(d, c.portField));
            EXPECT_FALSE(Visible(d, other));
            EXPECT_EQ(Visible(d, 5248), c.portField == 1062);
            EXPECT_EQ(Visible(d, 5247), c.portField == 1058);
            EXPECT_EQ(Edit(d, c.portField)->text().toStdString(), std::to_string(c.row.port));
            Retype(d, 5047, "renamed");
            ClickOk(d);
        }));
        EXPECT_TRUE(boxes.calls.empty()) << (boxes.calls.empty() ? "" : boxes.calls[0].text);
        const STIPCfgKst saved = Stored(id);
        EXPECT_STREQ(saved.NAME, "renamed");
        EXPECT_EQ(saved.TYPE, c.row.type);
        EXPECT_EQ(saved.PORT, c.row.port);
        EXPECT_EQ(saved.CHANNEL, c.row.channel);
        EXPECT_EQ(saved.STREAM, c.row.stream);
        EXPECT_EQ(saved.RTSP, c.row.rtsp);
        EXPECT_STREQ(saved.IP, c.row.host.c_str());
        EXPECT_STREQ(saved.UID, c.row.user.c_str());
        EXPECT_STREQ(saved.PWD, c.row.pwd.c_str());
    }
}

TEST(CameraDialog, AChosenStreamAndChannelAreSaved)
{
    rectest::DialogProgram program;
    const int id = Store({.type = 3, .port = 8000, .channel = 7, .stream = 2});
    EXPECT_TRUE(RunDialog(id, [&](CDlgSetIP& d) {
        QComboBox* channel = Combo(d, 1122);
        QComboBox* stream = Combo(d, 1123);
        channel->setFocus();
        QTest::keyClick(channel, Qt::Key_Up);
        stream->setFocus();
        QTest::keyClick(stream, Qt::Key_Up);
        QTest::keyClick(stream, Qt::Key_Up);
        ClickOk(d);
    }));
    const STIPCfgKst saved = Stored(id);
    EXPECT_EQ(saved.CHANNEL, 6);
    EXPECT_EQ(saved.STREAM, 0);
    EXPECT_EQ(saved.TYPE, 3);
    EXPECT_EQ(saved.PORT, 8000);
}

}  // namespace

VX_UI_TEST_MAIN()
