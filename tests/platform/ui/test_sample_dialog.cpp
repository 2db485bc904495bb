// The sample dialog: built from its template, data exchange both ways, the
// data-validation boxes, handlers driven through the Qt widgets, modal runs
// ended by the test hooks, Enter and Escape, and its offscreen screenshot.
#include "sample_dialog.h"
#include "ui_test_env.h"

#include "platform/gdi/Icon_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace {

template <typename T>
T* Qt_(HWND h)
{
    QWidget* w = vxw::WidgetOf(h);
    if (auto* t = qobject_cast<T*>(w))
        return t;
    return w ? w->findChild<T*>() : nullptr;
}

HWND Item(CWnd& dlg, int id)
{
    return ::GetDlgItem(dlg.GetSafeHwnd(), id);
}

std::string Text(HWND h)
{
    CString s;
    CWnd::FromHandle(h)->GetWindowText(s);
    return s.GetString();
}

class SampleDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SampleResources();
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
    std::vector<vxw::test::MessageBoxCall> boxes;
};

TEST_F(SampleDialog, IsBuiltFromItsTemplateWithTheMembersShown)
{
    CSampleDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SAMPLE));
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(dlg.initCalls, 1);
    EXPECT_EQ(Text(dlg.GetSafeHwnd()), "Sample settings");

    // Dialog units become pixels through the template font.
    RECT unit{0, 0, 4, 8};
    dlg.MapDialogRect(&unit);
    ASSERT_GT(unit.right, 0);
    RECT ok{};
    ::GetWindowRect(Item(dlg, IDOK), &ok);
    EXPECT_NEAR(ok.right - ok.left, 50 * unit.right / 4, 1);
    EXPECT_NEAR(ok.bottom - ok.top, 14 * unit.bottom / 8, 1);

    EXPECT_EQ(Text(Item(dlg, IDC_NAME)), "camera-1");
    EXPECT_EQ(Text(Item(dlg, IDC_PORT)), "80");
    EXPECT_EQ(Text(Item(dlg, IDC_NOTES)), "line one\r\nline two");
    EXPECT_EQ(Qt_<QPlainTextEdit>(Item(dlg, IDC_NOTES))->toPlainText().toStdString(), "line one\nline two");
    EXPECT_EQ(Qt_<QLineEdit>(Item(dlg, IDC_PASSWORD))->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_ENABLE), BST_CHECKED);
    EXPECT_EQ(dlg.GetCheckedRadioButton(IDC_MODE_A, IDC_MODE_B), static_cast<int>(IDC_MODE_B));
    EXPECT_EQ(dlg.m_combo.GetCurSel(), 2);
    EXPECT_EQ(dlg.m_list.GetItemCount(), 3);
    EXPECT_EQ(std::string(dlg.m_list.GetItemText(1, 2).GetString()), "WPA-PSK");
    EXPECT_EQ(dlg.m_list.GetItemData(2), 102u);
    EXPECT_EQ(dlg.m_tab.GetItemCount(), 3);
    EXPECT_EQ(dlg.m_progress.GetPos(), 65);
    EXPECT_EQ(Text(Item(dlg, IDC_IP)), "192.168.1.20");
    EXPECT_EQ(Text(Item(dlg, IDC_SPIN_EDIT)), "7");
    EXPECT_EQ(static_cast<CSliderCtrl*>(dlg.GetDlgItem(IDC_SLIDER))->GetPos(), 40);
    SYSTEMTIME st{};
    static_cast<CDateTimeCtrl*>(dlg.GetDlgItem(IDC_DATE))->GetTime(&st);
    EXPECT_EQ(st.wYear, 2026);
    EXPECT_EQ(st.wDay, 10);
    EXPECT_EQ(static_cast<CScrollBar*>(dlg.GetDlgItem(IDC_SCROLL))->GetScrollPos(), 4);
    // Controls report the dialog's font, which a program can copy.
    CFont* font = dlg.GetDlgItem(IDC_NAME)->GetFont();
    ASSERT_NE(font, nullptr);
    LOGFONT lf{};
    ASSERT_TRUE(font->GetLogFont(&lf));
    EXPECT_NE(lf.lfHeight, 0);
    EXPECT_EQ(font->m_hObject, dlg.GetFont()->m_hObject);
    // The header is the list's child with id 0.
    ASSERT_NE(dlg.m_list.GetHeaderCtrl(), nullptr);
    EXPECT_EQ(dlg.m_list.GetHeaderCtrl()->GetItemCount(), 3);
    EXPECT_EQ(dlg.m_list.GetHeaderCtrl()->GetDlgCtrlID(), 0);

    // The picture of the whole dialog, for a person to check the layout.
    QWidget* w = vxw::WidgetOf(dlg.GetSafeHwnd());
    QPixmap shot = w->grab();
    const std::filesystem::path dir = std::filesystem::path(VX_BIN_DIR).parent_path() / "screenshots";
    std::filesystem::create_directories(dir);
    std::filesystem::path out = dir / "ui_sample_dialog.png";
    ASSERT_TRUE(shot.save(QString::fromStdString(out.string())));
    EXPECT_GT(std::filesystem::file_size(out), 1000u);
    // Painting the owner-drawn button asked its object to draw (reflection).
    EXPECT_GT(dlg.m_drawn.drawn, 0);
    dlg.DestroyWindow();
}

TEST_F(SampleDialog, ExchangesWhatTheUserChangedBack)
{
    CSampleDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SAMPLE));
    dlg.ShowWindow(SW_SHOW);
    QLineEdit* name = Qt_<QLineEdit>(Item(dlg, IDC_NAME));
    name->clear();
    QTest::keyClicks(name, "garage");
    // Check boxes take clicks on their box and label, not on empty space.
    for (int id : {IDC_ENABLE, IDC_MODE_A}) {
        QAbstractButton* b = Qt_<QAbstractButton>(Item(dlg, id));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    Qt_<QComboBox>(Item(dlg, IDC_COMBO))->setCurrentIndex(0);
    Qt_<QSlider>(Item(dlg, IDC_SLIDER))->setValue(75);
    Qt_<QPlainTextEdit>(Item(dlg, IDC_NOTES))->setPlainText("a\nb");
    dlg.SetDlgItemText(IDC_PORT, "8080");

    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(std::string(dlg.m_name.GetString()), "garage");
    EXPECT_EQ(dlg.m_enable, 0);
    EXPECT_EQ(dlg.m_mode, 0);
    // The auto radio buttons of one group clear each other.
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_B), BST_UNCHECKED);
    EXPECT_EQ(dlg.m_comboIndex, 0);
    EXPECT_EQ(dlg.m_slider, 75);
    EXPECT_EQ(std::string(dlg.m_notes.GetString()), "a\r\nb");
    EXPECT_EQ(dlg.m_port, 8080);
    EXPECT_TRUE(boxes.empty());
    dlg.DestroyWindow();
}

// The parent chooses the colours of its statics and check boxes.
class CColoredDlg : public CSampleDlg {
public:
    CColoredDlg() { m_green.CreateSolidBrush(RGB(0, 255, 0)); }
    CBrush m_green;

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        if (nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == IDC_LABEL) {
            pDC->SetTextColor(RGB(255, 0, 0));
            pDC->SetBkMode(TRANSPARENT);
            return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        }
        if (nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == IDC_ENABLE) {
            pDC->SetTextColor(RGB(0, 0, 255));
            return static_cast<HBRUSH>(m_green.m_hObject);
        }
        return CSampleDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColoredDlg, CSampleDlg)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(SampleDialog, ControlsPaintInTheColoursTheirParentChooses)
{
    CColoredDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SAMPLE));
    dlg.ShowWindow(SW_SHOW);
    QWidget* label = vxw::WidgetOf(Item(dlg, IDC_LABEL));
    QWidget* check = vxw::WidgetOf(Item(dlg, IDC_ENABLE));
    QWidget* other = vxw::WidgetOf(Item(dlg, IDC_MODE_A));
    QColor plain = other->palette().color(QPalette::WindowText);
    QImage shot = check->grab().toImage();
    label->grab();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(check->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, 1), QColor(0, 255, 0));
    other->grab();
    EXPECT_EQ(other->palette().color(QPalette::WindowText), plain);
    dlg.DestroyWindow();
}

struct BadInput {
    int id;
    const char* text;
    const char* message;
};

TEST_F(SampleDialog, BadInputShowsTheValidationBoxAndFocusesTheField)
{
    const BadInput cases[] = {
        {IDC_PORT, "70000", "Please enter an integer between 1 and 65535."},
        {IDC_PORT, "", "Please enter an integer."},
        {IDC_COUNT, "-2", "Please enter a positive integer."},
        {IDC_COUNT, "11", "Please enter an integer between 1 and 10."},
        {IDC_COUNT, "4294967296", "Please enter a positive integer."},
        {IDC_NAME, "seventeen-chars-x", "Please enter no more than 16 characters."},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.text);
        boxes.clear();
        CSampleDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_SAMPLE));
        dlg.ShowWindow(SW_SHOW);
        dlg.m_port = 1;
        dlg.SetDlgItemText(c.id, c.text);
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(::GetFocus(), Item(dlg, c.id));
        // Nothing after the failed field was read.
        EXPECT_EQ(dlg.m_slider, 40);
        dlg.DestroyWindow();
    }
}

TEST_F(SampleDialog, HandlersGetClicksEditsSelectionsAndNotifications)
{
    CSampleDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SAMPLE));
    dlg.ShowWindow(SW_SHOW);
    dlg.nameChanges = 0;

    QTest::mouseClick(Qt_<QAbstractButton>(Item(dlg, IDC_APPLY)), Qt::LeftButton);
    EXPECT_EQ(dlg.applyClicks, 1);
    QTest::keyClicks(Qt_<QLineEdit>(Item(dlg, IDC_NAME)), "ab");
    EXPECT_EQ(dlg.nameChanges, 2);
    // A user's choice is reported, a program's CB_SETCURSEL is not.
    Qt_<QComboBox>(Item(dlg, IDC_COMBO))->setCurrentIndex(1);
    EXPECT_EQ(dlg.comboChanges, 1);
    dlg.m_combo.SetCurSel(0);
    EXPECT_EQ(dlg.comboChanges, 1);

    QTableView* view = Qt_<QTableView>(Item(dlg, IDC_LIST));
    ASSERT_NE(view, nullptr);
    QPoint row1 = view->visualRect(view->model()->index(1, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row1);
    ASSERT_EQ(dlg.listClicks.size(), 1u);
    EXPECT_EQ(dlg.listClicks[0], 1);
    EXPECT_EQ(dlg.listChanged, std::vector<int>{1});
    EXPECT_EQ(dlg.m_list.GetNextItem(-1, LVNI_SELECTED), 1);
    // Below the last row: a click on no item.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 2));
    ASSERT_EQ(dlg.listClicks.size(), 2u);
    EXPECT_EQ(dlg.listClicks[1], -1);
    // Hit-testing agrees with the item rectangles.
    RECT rc{};
    ASSERT_TRUE(dlg.m_list.GetItemRect(2, &rc, LVIR_BOUNDS));
    UINT flags = 0;
    EXPECT_EQ(dlg.m_list.HitTest(CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2), &flags), 2);
    EXPECT_TRUE(flags & LVHT_ONITEM);

    QTabBar* bar = Qt_<QTabBar>(Item(dlg, IDC_TAB));
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(dlg.tabChanges, 1);
    EXPECT_EQ(dlg.m_tab.GetCurSel(), 2);
    dlg.m_tab.SetCurSel(0);
    EXPECT_EQ(dlg.tabChanges, 1);

    Qt_<QDateTimeEdit>(Item(dlg, IDC_DATE))->setDate(QDate(2027, 1, 2));
    EXPECT_EQ(dlg.dateChanges, 1);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_date.GetYear(), 2027);
    EXPECT_EQ(dlg.m_date.GetDay(), 2);
    EXPECT_EQ(dlg.m_date.GetHour(), 9);
    QTest::keyClick(Qt_<QSlider>(Item(dlg, IDC_SLIDER)), Qt::Key_Right);
    EXPECT_FALSE(dlg.sliderCodes.empty());
    dlg.DestroyWindow();
}

struct KeyCase {
    const char* name;
    int focus;
    Qt::Key key;
    INT_PTR expected;  // -2: the dialog stays open
};

TEST_F(SampleDialog, EnterAndEscapeEndModalRunsAsDialogsDo)
{
    const KeyCase cases[] = {
        {"enter in an edit is OK", IDC_NAME, Qt::Key_Return, IDOK},
        {"escape is Cancel", IDC_NAME, Qt::Key_Escape, IDCANCEL},
        {"enter on a push button clicks it", IDC_APPLY, Qt::Key_Return, -2},
        {"enter in a multi-line edit that wants it is a new line", IDC_NOTES, Qt::Key_Return, -2},
        {"enter in another multi-line edit is OK", IDC_MEMO, Qt::Key_Return, IDOK},
        {"escape in a multi-line edit is Cancel", IDC_NOTES, Qt::Key_Escape, IDCANCEL},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        CSampleDlg dlg;
        bool hooked = false;
        int notesLines = 0;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            hooked = true;
            QWidget* target = vxw::WidgetOf(Item(d, c.focus));
            ASSERT_NE(target, nullptr);
            QTest::keyClick(target, c.key);
            if (auto* notes = Qt_<QPlainTextEdit>(Item(d, IDC_NOTES)))
                notesLines = notes->document()->blockCount();
            if (c.expected == -2 && ::IsWindow(d.GetSafeHwnd()))
                d.EndDialog(IDRETRY);
        });
        dlg.m_name = "before";
        INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(hooked);
        EXPECT_EQ(result, c.expected == -2 ? IDRETRY : c.expected);
        EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
        if (c.focus == IDC_APPLY) {
            EXPECT_EQ(dlg.applyClicks, 1);
        }
        if (c.focus == IDC_NOTES && c.key == Qt::Key_Return) {
            EXPECT_EQ(notesLines, 3);  // the Enter went into the text
        }
    }
}

// A window that keeps Enter, Escape and Space from everything under it, as
// the recorder's main window does.
class CKeyKeeper : public CWnd {
public:
    int kept = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN
            && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_SPACE)) {
            ++kept;
            return TRUE;
        }
        return FALSE;
    }
};

// Replaces an edit's text as a person does: select all, then type.
void TypeInto(HWND edit, const std::vector<std::variant<const char*, Qt::Key>>& keys)
{
    QWidget* w = vxw::WidgetOf(edit);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    for (const auto& k : keys) {
        if (const char* const* text = std::get_if<const char*>(&k))
            QTest::keyClicks(w, *text);
        else
            QTest::keyClick(w, std::get<Qt::Key>(k));
    }
}

// Types into the sample dialog's controls through Qt key events; the
// dialog, modal under the keeper or a page inside it, gives its controls
// their keys before the keeper sees them.
void TypeAndPress(CDialog& d)
{
    TypeInto(Item(d, IDC_NAME), {"a b"});
    TypeInto(Item(d, IDC_PASSWORD), {" x y "});
    TypeInto(Item(d, IDC_NOTES), {"a b", Qt::Key_Return, "c"});
    QWidget* check = vxw::WidgetOf(Item(d, IDC_ENABLE));
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Space);
    QWidget* apply = vxw::WidgetOf(Item(d, IDC_APPLY));
    apply->setFocus();
    QTest::keyClick(apply, Qt::Key_Space);
    // Tab moves on from the name to the password.
    vxw::WidgetOf(Item(d, IDC_NAME))->setFocus();
    QTest::keyClick(vxw::WidgetOf(Item(d, IDC_NAME)), Qt::Key_Tab);
    EXPECT_EQ(::GetFocus(), Item(d, IDC_PASSWORD));
}

TEST_F(SampleDialog, KeysReachTheFocusedControlBeforeTheWindowsAboveIt)
{
    {
        SCOPED_TRACE("modal under a keeper");
        CKeyKeeper keeper;
        ASSERT_TRUE(keeper.CreateEx(0, "VxKeeper", "keeper", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                    nullptr));
        CSampleDlg dlg(&keeper);
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            TypeAndPress(d);
            // Enter in the name presses the default button: OK reads it all.
            QTest::keyClick(vxw::WidgetOf(Item(d, IDC_NAME)), Qt::Key_Return);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        vxw::test::SetModalDialogHook(nullptr);
        EXPECT_EQ(dlg.m_name, "a b");
        EXPECT_EQ(dlg.m_password, " x y ");
        EXPECT_EQ(dlg.m_notes, "a b\r\nc");
        EXPECT_EQ(dlg.m_enable, 0);
        EXPECT_EQ(dlg.applyClicks, 1);
        EXPECT_EQ(keeper.kept, 0);
        keeper.DestroyWindow();
    }
    {
        SCOPED_TRACE("a page inside a keeper");
        CKeyKeeper keeper;
        ASSERT_TRUE(keeper.CreateEx(0, "VxKeeper", "keeper", WS_POPUP | WS_VISIBLE, 0, 0, 700, 600, nullptr, nullptr));
        vxw::DialogTemplate t = *vxw::FindResourceModule(SampleResources())->FindDialog(IDD_SAMPLE);
        t.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
        CSampleDlg page;
        ASSERT_TRUE(page.CreateIndirect(t, &keeper));
        TypeAndPress(page);
        ASSERT_TRUE(page.UpdateData(TRUE));
        EXPECT_EQ(page.m_name, "a b");
        EXPECT_EQ(page.m_notes, "a b\r\nc");
        EXPECT_EQ(page.m_enable, 0);
        EXPECT_EQ(page.applyClicks, 1);
        EXPECT_EQ(keeper.kept, 0);
        // Enter and Escape of the page are the keeper's, so the page stays.
        QTest::keyClick(vxw::WidgetOf(Item(page, IDC_NAME)), Qt::Key_Return);
        QTest::keyClick(vxw::WidgetOf(Item(page, IDC_NAME)), Qt::Key_Escape);
        EXPECT_EQ(keeper.kept, 2);
        EXPECT_TRUE(page.IsWindowVisible());
        page.DestroyWindow();
        keeper.DestroyWindow();
    }
}

// Places itself in OnInitDialog when asked, as a skinned main window does.
class CPlacedDlg : public CSampleDlg {
public:
    bool place = false;
    BOOL OnInitDialog() override
    {
        CSampleDlg::OnInitDialog();
        if (place)
            SetWindowPos(nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
};

TEST_F(SampleDialog, AModalDialogIsCentredOnlyWhenItsInitDidNotPlaceIt)
{
    for (bool place : {true, false}) {
        SCOPED_TRACE(place ? "placed by its init" : "left alone");
        CPlacedDlg dlg;
        dlg.place = place;
        CRect rc;
        vxw::test::SetModalDialogHook([&](CDialog& d) {
            d.GetWindowRect(&rc);
            d.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
        vxw::test::SetModalDialogHook(nullptr);
        if (place) {
            EXPECT_EQ(rc.TopLeft(), CPoint(40, 50));
        } else {
            // The template has no place of its own: centred on the screen.
            CRect work;
            ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
            EXPECT_NEAR(rc.CenterPoint().x, work.CenterPoint().x, 2);
            EXPECT_NEAR(rc.CenterPoint().y, work.CenterPoint().y, 2);
        }
    }
}

TEST(WindowIcons, SetIconShowsInTheWindowAndBecomesTheApplicationsIcon)
{
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(qRgb(220, 0, 0));
    HICON icon = vxgdi::MakeIcon(red, true, QPoint());
    ASSERT_NE(icon, nullptr);
    CWnd top;
    ASSERT_TRUE(
        top.CreateEx(0, "VxIconWindow", "icon", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    EXPECT_EQ(top.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(top.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)), 0);
    for (const QIcon& shown : {vxw::WidgetOf(top.GetSafeHwnd())->windowIcon(), QApplication::windowIcon()}) {
        ASSERT_FALSE(shown.isNull());
        QImage back = shown.pixmap(QSize(32, 32)).toImage();
        EXPECT_EQ(back.pixel(16, 16), qRgb(220, 0, 0));
    }
    // The handle comes back as the old icon.
    EXPECT_EQ(top.SendMessage(WM_SETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));
    top.DestroyWindow();
    ::DestroyIcon(icon);
}

TEST_F(SampleDialog, OkWithBadInputKeepsTheModalDialogOpen)
{
    CSampleDlg dlg;
    int attempts = 0;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        d.SetDlgItemText(IDC_PORT, "0");
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ++attempts;
        EXPECT_TRUE(::IsWindow(d.GetSafeHwnd()));
        d.SetDlgItemText(IDC_PORT, "554");
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ++attempts;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(attempts, 2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(dlg.m_port, 554);
}

TEST_F(SampleDialog, AModalRunEndsWhenItsOwnerIsDestroyed)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "VxModalOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CSampleDlg dlg(&owner);
    HWND self = nullptr;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        self = d.GetSafeHwnd();
        // Destroyed later, from the dialog's own loop.
        ::PostMessage(owner.GetSafeHwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(::IsWindow(self));
    EXPECT_FALSE(::IsWindow(owner.GetSafeHwnd()));
}

struct BoxCase {
    UINT type;
    int answerWithoutHook;
};

TEST(MessageBoxes, TheHookSeesTheBoxAndChoosesTheAnswer)
{
    std::vector<vxw::test::MessageBoxCall> seen;
    vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& call) {
        seen.push_back(call);
        return IDNO;
    });
    EXPECT_EQ(::MessageBox(nullptr, "Stop all cameras?", "Recorder", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Stop all cameras?");
    EXPECT_EQ(seen[0].caption, "Recorder");
    EXPECT_EQ(seen[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    vxw::test::SetMessageBoxHook(nullptr);

    // Offscreen, with nobody to answer, the default button is the answer.
    const BoxCase cases[] = {
        {MB_OK, IDOK},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
    };
    for (const BoxCase& c : cases)
        EXPECT_EQ(::MessageBox(nullptr, "text", "caption", c.type), c.answerWithoutHook) << c.type;
}

// ---- reflection and the virtual list ----

class CReflectingList : public CListCtrl {
public:
    int reflected = 0;

protected:
    void OnClickReflect(NMHDR*, LRESULT* result)
    {
        ++reflected;
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingList, CListCtrl)
ON_NOTIFY_REFLECT(NM_CLICK, OnClickReflect)
END_MESSAGE_MAP()

class CReflectingEdit : public CEdit {
public:
    int changes = 0;

protected:
    BOOL OnChangeReflect()
    {
        ++changes;
        return FALSE;  // the parent hears of it too
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingEdit, CEdit)
ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChangeReflect)
END_MESSAGE_MAP()

class CHostWnd : public CWnd {
public:
    int parentClicks = 0;
    int parentChanges = 0;
    std::set<int> rowsAsked;

protected:
    void OnClick(NMHDR*, LRESULT*) { ++parentClicks; }
    void OnChange() { ++parentChanges; }
    void OnGetDispInfo(NMHDR* nm, LRESULT* result)
    {
        auto* di = reinterpret_cast<NMLVDISPINFO*>(nm);
        rowsAsked.insert(di->item.iItem);
        if (di->item.mask & LVIF_TEXT) {
            std::string t = "row " + std::to_string(di->item.iItem) + "/" + std::to_string(di->item.iSubItem);
            std::snprintf(di->item.pszText, static_cast<size_t>(di->item.cchTextMax), "%s", t.c_str());
        }
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
ON_NOTIFY(NM_CLICK, 1, OnClick)
ON_EN_CHANGE(2, OnChange)
ON_NOTIFY(LVN_GETDISPINFO, 3, OnGetDispInfo)
END_MESSAGE_MAP()

TEST(Controls, NotificationsAreReflectedToTheControlFirst)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateEx(0, "VxHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    CReflectingList list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 300, 150), &host, 1));
    list.InsertColumn(0, "A", LVCFMT_LEFT, 100);
    list.InsertItem(0, "x");
    CReflectingEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(0, 160, 200, 180), &host, 2));

    QTableView* view = Qt_<QTableView>(list.GetSafeHwnd());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(list.reflected, 1);
    EXPECT_EQ(host.parentClicks, 0);  // handled by the control

    QTest::keyClicks(Qt_<QLineEdit>(edit.GetSafeHwnd()), "z");
    EXPECT_EQ(edit.changes, 1);
    EXPECT_EQ(host.parentChanges, 1);  // the _EX entry passed it on
}

TEST(Controls, AVirtualListAsksOnlyForTheRowsItShows)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateEx(0, "VxHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    CListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT | LVS_OWNERDATA | WS_VISIBLE, CRect(0, 0, 380, 280), &host, 3));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 150);
    list.InsertColumn(1, "Value", LVCFMT_LEFT, 150);
    list.SetItemCount(100000);
    EXPECT_EQ(list.GetItemCount(), 100000);
    vxw::WidgetOf(host.GetSafeHwnd())->grab();
    int perPage = list.GetCountPerPage();
    ASSERT_GT(perPage, 3);
    ASSERT_FALSE(host.rowsAsked.empty());
    EXPECT_LE(host.rowsAsked.size(), static_cast<size_t>(perPage + 2));
    EXPECT_LE(*host.rowsAsked.rbegin(), perPage + 1);
    EXPECT_EQ(std::string(list.GetItemText(12345, 1).GetString()), "row 12345/1");

    host.rowsAsked.clear();
    list.EnsureVisible(99999, FALSE);
    EXPECT_NEAR(list.GetTopIndex() + perPage, 100000, 1);  // a partly shown row may lead
    vxw::WidgetOf(host.GetSafeHwnd())->grab();
    ASSERT_FALSE(host.rowsAsked.empty());
    EXPECT_GE(*host.rowsAsked.begin(), 100000 - perPage - 2);
    EXPECT_LE(host.rowsAsked.size(), static_cast<size_t>(perPage + 2));

    // Selecting in a virtual list: states live in the control.
    list.SetItemState(99998, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 99998);
    EXPECT_EQ(list.GetSelectedCount(), 1u);
}

// A list that refuses column resizing, as a report list of the settings
// pages does: the header's begin-track notice is answered TRUE.
class CFixedColumnsList : public CListCtrl {
public:
    int beginTracks = 0;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        if (nm->code == HDN_BEGINTRACKA || nm->code == HDN_BEGINTRACKW) {
            ++beginTracks;
            *pResult = 1;
            return TRUE;
        }
        return CListCtrl::OnNotify(wParam, lParam, pResult);
    }
};

class CHeaderHost : public CWnd {
public:
    std::vector<int> itemClicks;

protected:
    void OnHeaderClick(NMHDR* nm, LRESULT*) { itemClicks.push_back(reinterpret_cast<NMHEADER*>(nm)->iItem); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHeaderHost, CWnd)
ON_NOTIFY(HDN_ITEMCLICKA, 0, OnHeaderClick)
END_MESSAGE_MAP()

TEST(Controls, AListCanRefuseColumnResizingAndItsParentStillHearsClicks)
{
    CHeaderHost host;
    ASSERT_TRUE(host.CreateEx(0, "VxHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr));
    CFixedColumnsList list;
    ASSERT_TRUE(list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 380, 180), &host, 4));
    list.InsertColumn(0, "One", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Two", LVCFMT_LEFT, 100);
    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    RECT first{};
    ASSERT_TRUE(header->GetItemRect(0, &first));
    EXPECT_EQ(first.right - first.left, 100);

    auto* view = qobject_cast<QHeaderView*>(vxw::WidgetOf(header->GetSafeHwnd()));
    ASSERT_NE(view, nullptr);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(first.right, 5));
    QTest::mouseMove(view->viewport(), QPoint(first.right + 40, 5));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(first.right + 40, 5));
    EXPECT_EQ(list.beginTracks, 1);
    EXPECT_EQ(list.GetColumnWidth(0), 100);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(first.right + 50, 5));
    EXPECT_EQ(host.itemClicks, std::vector<int>{1});
}

// A settings page: a child dialog whose first WM_SHOWWINDOW, showing or
// hiding, is the moment it loads.
class CPage : public CDialog {
public:
    std::vector<BOOL> shows;

protected:
    void OnShowWindow(BOOL bShow, UINT nStatus)
    {
        CDialog::OnShowWindow(bShow, nStatus);
        shows.push_back(bShow);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPage, CDialog)
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TEST(Controls, AChildPageHearsEveryShowAndHideFromItsFirst)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateEx(0, "VxHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    vxw::DialogTemplate t;
    t.style = WS_CHILD | DS_CONTROL;
    t.cx = 100;
    t.cy = 50;
    t.items.push_back({"EDIT", 10, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 5, 5, 60, 12});
    CPage page;
    ASSERT_TRUE(page.CreateIndirect(t, &host));
    EXPECT_TRUE(page.shows.empty());
    EXPECT_FALSE(page.IsWindowVisible());
    page.ShowWindow(SW_HIDE);  // hidden while hidden: still told
    page.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_EQ(page.shows, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_TRUE(page.IsWindowVisible());
    // Enter inside a page is left to the window around it: the page stays.
    QTest::keyClick(vxw::WidgetOf(page.GetDlgItem(10)->GetSafeHwnd()), Qt::Key_Return);
    EXPECT_TRUE(::IsWindow(page.GetSafeHwnd()));
    EXPECT_TRUE(page.IsWindowVisible());
}

TEST(Controls, AControlMadeHiddenStaysHiddenWhenItsPageShows)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateEx(0, "VxHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    vxw::DialogTemplate t;
    t.style = WS_CHILD | DS_CONTROL;
    t.cx = 100;
    t.cy = 50;
    t.items.push_back({"BUTTON", 11, "shown", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 5, 5, 60, 10});
    t.items.push_back({"BUTTON", 12, "hidden", WS_CHILD | BS_AUTOCHECKBOX, 0, 5, 20, 60, 10});
    CPage page;
    ASSERT_TRUE(page.CreateIndirect(t, &host));
    page.ShowWindow(SW_SHOW);
    QWidget* hidden = vxw::WidgetOf(page.GetDlgItem(12)->GetSafeHwnd());
    EXPECT_TRUE(vxw::WidgetOf(page.GetDlgItem(11)->GetSafeHwnd())->isVisible());
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_FALSE(page.GetDlgItem(12)->IsWindowVisible());
    page.GetDlgItem(12)->ShowWindow(SW_SHOW);
    EXPECT_TRUE(hidden->isVisible());
}

}  // namespace

VX_UI_TEST_MAIN()
