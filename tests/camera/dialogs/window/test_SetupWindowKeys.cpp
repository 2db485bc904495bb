// The settings window typed into as a person types: every edit of every
// page takes blanks (and the multi-line ones line breaks), check boxes and
// buttons take Space, and neither Enter nor Escape closes or applies the
// window.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SettingsPageTable.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CDlgConfigurationSettings.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QTest>
#include <QWidget>

#include <strings.h>

namespace {

using namespace setup_harness;

std::string ClassOf(HWND h)
{
    char name[64] = {};
    ::GetClassName(h, name, sizeof name);
    return name;
}

// The windows under h, in creation order, depth first.
void Descendants(HWND h, std::vector<HWND>& out)
{
    for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        Descendants(c, out);
    }
}

bool Usable(HWND h)
{
    return ::IsWindowVisible(h) && ::IsWindowEnabled(h);
}

// Replaces an edit's text as a person does: click, select all, type.
void Type(HWND edit, bool multiLine)
{
    QWidget* w = vxw::WidgetOf(edit);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w, "a b");
    if (multiLine) {
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClicks(w, "c");
    }
}

// Switches to a tab as the keyboard does: focus, then the change notice.
void SwitchTab(CWnd* parent, CTabCtrl& tabs, int index)
{
    tabs.SetCurFocus(index);
    NMHDR n{tabs.GetSafeHwnd(), static_cast<UINT_PTR>(tabs.GetDlgCtrlID()), TCN_SELCHANGE};
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(tabs.GetDlgCtrlID()), reinterpret_cast<LPARAM>(&n));
}

TEST(SetupWindowKeys, EveryPageTakesTypedBlanksAndKeysNeverCloseOrApplyIt)
{
    Fixture f({"--vendor", "VX"});
    ASSERT_TRUE(f.connected);
    CDlgCameraSetupTabCtrl& categories = f.dlg->m_tabCategories;
    int edits = 0;
    for (int c = 0; c < kWindowCategoryCount; ++c) {
        SwitchTab(f.dlg, categories, c);
        CDlgConfigurationSettings* category = categories.GetCategory(c);
        ASSERT_NE(category, nullptr);
        for (int p = 0; p < category->m_tabCtrl.GetPageCount(); ++p) {
            CDlgTabItem* page = category->m_tabCtrl.GetPage(p);
            if (!page)
                continue;
            SwitchTab(category, category->m_tabCtrl, p);
            if (auto* settings = dynamic_cast<CSettingsPage*>(page)) {
                ASSERT_TRUE(WaitFor([&] { return settings->IsLoaded() && !settings->IsRequestPending(); }));
            }
            std::vector<HWND> under;
            Descendants(page->GetSafeHwnd(), under);
            const size_t boxesBefore = f.boxes.calls.size();
            HWND lastEdit = nullptr;
            for (HWND h : under) {
                if (!Usable(h))
                    continue;
                DWORD style = static_cast<DWORD>(::GetWindowLong(h, GWL_STYLE));
                if (strcasecmp(ClassOf(h).c_str(), "Edit") == 0) {
                    if (style & (ES_READONLY | ES_NUMBER) || ::SendMessage(h, EM_GETLIMITTEXT, 0, 0) < 5)
                        continue;
                    const bool multi = (style & ES_MULTILINE) && (style & ES_WANTRETURN);
                    Type(h, multi);
                    char text[64] = {};
                    ::GetWindowText(h, text, sizeof text);
                    EXPECT_EQ(std::string(text), multi ? "a b\r\nc" : "a b")
                        << "category " << c << " page " << p << " edit " << ::GetDlgCtrlID(h);
                    lastEdit = h;
                    ++edits;
                } else if (strcasecmp(ClassOf(h).c_str(), "Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
                    // Space toggles a check box, and again puts it back.
                    QWidget* w = vxw::WidgetOf(h);
                    w->setFocus();
                    const LRESULT was = ::SendMessage(h, BM_GETCHECK, 0, 0);
                    QTest::keyClick(w, Qt::Key_Space);
                    EXPECT_NE(::SendMessage(h, BM_GETCHECK, 0, 0), was)
                        << "category " << c << " page " << p << " check box " << ::GetDlgCtrlID(h);
                    QTest::keyClick(w, Qt::Key_Space);
                }
            }
            if (lastEdit) {
                for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})
                    QTest::keyClick(vxw::WidgetOf(lastEdit), key);
            }
            vxw::PumpUntil([] { return false; }, 100);
            EXPECT_TRUE(::IsWindowVisible(f.dlg->GetSafeHwnd())) << "category " << c << " page " << p;
            EXPECT_TRUE(page->IsWindowVisible()) << "category " << c << " page " << p;
            EXPECT_EQ(f.boxes.calls.size(), boxesBefore) << "category " << c << " page " << p;
        }
    }
    EXPECT_GT(edits, 10);  // the walk reached the pages' edits
    // Nothing was applied: camsim heard no set request.
    EXPECT_EQ(f.Log().find("cmd=set"), std::string::npos);
}

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
