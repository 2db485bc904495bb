// The recorder's dialogs typed into as a person types, each opened from the
// main window by a click on its button: every edit takes blanks, Space
// toggles a check box, and the main window's own key filter takes nothing
// from them. The main window shows the program's icon.
#include "recorder_dialog_program.h"

#include "platform/ui/WindowRegistry_p.h"
#include "recorder/CDlgSetIP.h"
#include "recorder/CMainDlg.h"
#include "resources/VXKSTRes/resource.h"

#include <QApplication>
#include <QIcon>
#include <QTest>
#include <QWidget>

#include <strings.h>

namespace {

std::string ClassOf(HWND h)
{
    char name[64] = {};
    ::GetClassName(h, name, sizeof name);
    return name;
}

void Descendants(HWND h, std::vector<HWND>& out)
{
    for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        Descendants(c, out);
    }
}

void ClickCentre(HWND h)
{
    QWidget* w = vxw::WidgetOf(h);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

// Types into every usable text edit of the dialog and toggles every check
// box with Space; returns how many edits took their text.
int TypeIntoEveryControl(CDialog& d, const char* name)
{
    std::vector<HWND> under;
    Descendants(d.GetSafeHwnd(), under);
    int typed = 0;
    for (HWND h : under) {
        if (!::IsWindowVisible(h) || !::IsWindowEnabled(h))
            continue;
        DWORD style = static_cast<DWORD>(::GetWindowLong(h, GWL_STYLE));
        QWidget* w = vxw::WidgetOf(h);
        if (strcasecmp(ClassOf(h).c_str(), "Edit") == 0) {
            if (style & (ES_READONLY | ES_NUMBER) || ::SendMessage(h, EM_GETLIMITTEXT, 0, 0) < 5)
                continue;
            const bool multi = (style & ES_MULTILINE) && (style & ES_WANTRETURN);
            QTest::mouseClick(w, Qt::LeftButton);
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(w, "a b");
            if (multi) {
                QTest::keyClick(w, Qt::Key_Return);
                QTest::keyClicks(w, "c");
            }
            char text[64] = {};
            ::GetWindowText(h, text, sizeof text);
            EXPECT_EQ(std::string(text), multi ? "a b\r\nc" : "a b") << name << " edit " << ::GetDlgCtrlID(h);
            ++typed;
        } else if (strcasecmp(ClassOf(h).c_str(), "Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            w->setFocus();
            const LRESULT was = ::SendMessage(h, BM_GETCHECK, 0, 0);
            QTest::keyClick(w, Qt::Key_Space);
            EXPECT_NE(::SendMessage(h, BM_GETCHECK, 0, 0), was) << name << " check box " << ::GetDlgCtrlID(h);
        }
    }
    return typed;
}

TEST(DialogKeys, EveryDialogOfTheMainWindowTakesTypedBlanks)
{
    rectest::DialogProgram program;
    program.AddCameras({"A"});
    rectest::MessageBoxes boxes;
    GlobalInfo().LoadMainSkin();
    struct Case {
        int button;
        const char* name;
        int edits;  // at least
    };
    const Case cases[] = {
        {IDC_BTN_ADD_CAMERA, "add camera", 3},
        {IDC_BTN_REC_SCHEDULE, "schedule", 1},
        {IDC_BTN_SYS_PARAM, "system parameters", 0},
        {IDC_BTN_REC_QUERY, "search", 0},
    };
    const Case* current = nullptr;
    std::vector<std::string> opened;
    CMainDlg main;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        if (&d == &main) {
            // The program's main icon is the window's and the application's.
            EXPECT_FALSE(vxw::WidgetOf(main.GetSafeHwnd())->windowIcon().isNull());
            EXPECT_FALSE(QApplication::windowIcon().isNull());
            for (const Case& c : cases) {
                current = &c;
                ClickCentre(main.Button(c.button).GetSafeHwnd());
            }
            current = nullptr;
            main.DoExit();
            d.EndDialog(IDCANCEL);
            return;
        }
        if (!current)
            return;
        opened.push_back(current->name);
        EXPECT_GE(TypeIntoEveryControl(d, current->name), current->edits) << current->name;
        if (auto* add = dynamic_cast<CDlgSetIP*>(&d)) {
            // What the dialog reads is what was typed.
            d.UpdateData(TRUE);
            EXPECT_EQ(add->m_strName, "a b");
            EXPECT_EQ(add->m_strPwd, "a b");
        }
        if (::IsWindow(d.GetSafeHwnd()) && d.ContinueModal())
            d.EndDialog(IDCANCEL);
    });
    main.DoModal();
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"add camera", "schedule", "system parameters", "search"}));
    GlobalInfo().FreeAll();
}

}  // namespace

VX_UI_TEST_MAIN()
