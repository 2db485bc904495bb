// Message boxes: the classic button sets and icons over Qt's message box.
#include "platform/ui/AfxMessageBox.h"

#include "platform/ui/CWinApp.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

vxw::test::MessageBoxHook g_hook;

struct Button {
    int id;
    const char* text;
};

std::vector<Button> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default:
        return {{IDOK, "OK"}};
    }
}

int DefaultIndex(UINT type, size_t count)
{
    size_t i = (type & MB_DEFMASK) >> 8;
    return static_cast<int>(i < count ? i : 0);
}

}  // namespace

namespace vxw::test {
void SetMessageBoxHook(MessageBoxHook hook)
{
    g_hook = std::move(hook);
}
}  // namespace vxw::test

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    std::string t = text ? text : "";
    std::string c = caption ? caption : "Error";
    std::vector<Button> buttons = ButtonsOf(type);
    if (g_hook)
        return g_hook(vxw::test::MessageBoxCall{owner, t, c, type});
    // Without a screen nobody could answer: the default button is taken.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        return buttons[static_cast<size_t>(DefaultIndex(type, buttons.size()))].id;

    QMessageBox box(vxw::WidgetOf(owner) ? vxw::WidgetOf(owner)->window() : nullptr);
    box.setWindowTitle(vxw::ToQ(c));
    box.setText(vxw::ToQ(t));
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    std::vector<QPushButton*> qbuttons;
    for (const Button& b : buttons)
        qbuttons.push_back(box.addButton(vxw::ToQ(b.text), QMessageBox::AcceptRole));
    box.setDefaultButton(qbuttons[static_cast<size_t>(DefaultIndex(type, buttons.size()))]);
    bool hasCancel = false;
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].id == IDCANCEL) {
            box.setEscapeButton(qbuttons[i]);
            hasCancel = true;
        }
    }
    if (!hasCancel && buttons.size() == 1)
        box.setEscapeButton(qbuttons[0]);
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == qbuttons[i])
            return buttons[i].id;
    }
    return hasCancel ? IDCANCEL : buttons.back().id;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT)
{
    CWinApp* app = AfxGetApp();
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? CWnd::SafeHwnd(main) : nullptr;
    if (!::IsWindowVisible(owner))
        owner = ::GetActiveWindow();
    LPCSTR caption = app && app->m_pszAppName ? app->m_pszAppName : "VXKST";
    return ::MessageBox(owner, lpszText, caption, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    if (!text.LoadString(nIDPrompt))
        text.Format("%u", nIDPrompt);
    return AfxMessageBox(text.GetString(), nType, nIDHelp);
}
