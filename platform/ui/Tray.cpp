// The tray icon over QSystemTrayIcon, where the desktop has a tray. Without
// one, adding an icon fails at once, so that a window never hides into a
// tray nobody can see.
#include "platform/ui/shellapi.h"

#include "platform/gdi/Icon_p.h"
#include "platform/ui/ShellTestHooks.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

#include <cstring>
#include <map>
#include <memory>

namespace {

struct Entry {
    NOTIFYICONDATA data{};
    std::unique_ptr<QSystemTrayIcon> icon;  // null while the tray is only simulated
};

std::map<std::pair<HWND, UINT>, Entry>& Icons()
{
    static std::map<std::pair<HWND, UINT>, Entry> s;
    return s;
}

std::optional<bool> g_forced;

void Notify(HWND hwnd, UINT id, UINT callback, UINT mouse)
{
    if (callback)
        ::PostMessage(hwnd, callback, id, static_cast<LPARAM>(mouse));
}

QIcon ToQIcon(HICON h)
{
    vxgdi::IconObj* i = vxgdi::Icon(h);
    return i ? QIcon(QPixmap::fromImage(i->image)) : QIcon();
}

void Apply(Entry& e, const NOTIFYICONDATA& d)
{
    if (d.uFlags & NIF_MESSAGE)
        e.data.uCallbackMessage = d.uCallbackMessage;
    if (d.uFlags & NIF_ICON)
        e.data.hIcon = d.hIcon;
    if (d.uFlags & NIF_TIP) {
        std::memcpy(e.data.szTip, d.szTip, sizeof d.szTip);
        e.data.szTip[sizeof e.data.szTip - 1] = '\0';
    }
    if (!e.icon)
        return;
    if (d.uFlags & NIF_ICON)
        e.icon->setIcon(ToQIcon(d.hIcon));
    if (d.uFlags & NIF_TIP)
        e.icon->setToolTip(QString::fromUtf8(e.data.szTip));
    if ((d.uFlags & NIF_INFO) && d.szInfo[0]) {
        char info[sizeof d.szInfo + 1] = {};
        char title[sizeof d.szInfoTitle + 1] = {};
        std::memcpy(info, d.szInfo, sizeof d.szInfo);
        std::memcpy(title, d.szInfoTitle, sizeof d.szInfoTitle);
        e.icon->showMessage(QString::fromUtf8(title), QString::fromUtf8(info));
    }
}

}  // namespace

BOOL IsSystemTrayAvailable()
{
    if (g_forced)
        return *g_forced;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return FALSE;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA d)
{
    if (!d)
        return FALSE;
    auto key = std::make_pair(d->hWnd, d->uID);
    auto it = Icons().find(key);
    switch (message) {
    case NIM_ADD: {
        if (it != Icons().end() || !IsSystemTrayAvailable() || !::IsWindow(d->hWnd))
            return FALSE;
        Entry& e = Icons()[key];
        e.data.hWnd = d->hWnd;
        e.data.uID = d->uID;
        if (!g_forced) {
            e.icon = std::make_unique<QSystemTrayIcon>();
            HWND hwnd = d->hWnd;
            UINT id = d->uID;
            QObject::connect(e.icon.get(), &QSystemTrayIcon::activated,
                             [hwnd, id](QSystemTrayIcon::ActivationReason r) {
                                 auto found = Icons().find({hwnd, id});
                                 if (found == Icons().end())
                                     return;
                                 UINT cb = found->second.data.uCallbackMessage;
                                 switch (r) {
                                 case QSystemTrayIcon::Trigger:
                                     Notify(hwnd, id, cb, WM_LBUTTONDOWN);
                                     Notify(hwnd, id, cb, WM_LBUTTONUP);
                                     break;
                                 case QSystemTrayIcon::DoubleClick:
                                     Notify(hwnd, id, cb, WM_LBUTTONDBLCLK);
                                     break;
                                 case QSystemTrayIcon::Context:
                                     Notify(hwnd, id, cb, WM_RBUTTONDOWN);
                                     Notify(hwnd, id, cb, WM_RBUTTONUP);
                                     break;
                                 case QSystemTrayIcon::MiddleClick:
                                     Notify(hwnd, id, cb, WM_MBUTTONDOWN);
                                     Notify(hwnd, id, cb, WM_MBUTTONUP);
                                     break;
                                 default:
                                     break;
                                 }
                             });
        }
        Apply(e, *d);
        if (e.icon)
            e.icon->show();
        return TRUE;
    }
    case NIM_MODIFY:
        if (it == Icons().end())
            return FALSE;
        Apply(it->second, *d);
        return TRUE;
    case NIM_DELETE:
        if (it == Icons().end())
            return FALSE;
        if (it->second.icon)
            it->second.icon->hide();
        Icons().erase(it);
        return TRUE;
    default:
        return FALSE;
    }
}

namespace vxw::test {

void SetTrayAvailable(std::optional<bool> available)
{
    g_forced = available;
}

std::vector<TrayIcon> TrayIcons()
{
    std::vector<TrayIcon> out;
    for (auto& [k, e] : Icons())
        out.push_back(TrayIcon{e.data.hWnd, e.data.uID, e.data.uCallbackMessage, e.data.hIcon, e.data.szTip});
    return out;
}

bool ClickTrayIcon(HWND hwnd, UINT id, UINT mouseMessage)
{
    auto it = Icons().find({hwnd, id});
    if (it == Icons().end())
        return false;
    Notify(hwnd, id, it->second.data.uCallbackMessage, mouseMessage);
    return true;
}

}  // namespace vxw::test
