// The shell: opening files, folders and URLs with the desktop's default
// application, the folder dialog and the beep.
#include "platform/ui/shellapi.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include <cstring>
#include <mutex>

namespace {

std::mutex g_hookMutex;  // guards g_openHook (ShellExecute runs on any thread)
vxw::test::ShellOpenHook g_openHook;
vxw::test::FolderDialogHook g_folderHook;

HINSTANCE Result(int code)
{
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(code));
}

// What a person would run rather than open: never handed to the opener.
bool IsRunnable(const QString& path)
{
    static const char* const kinds[] = {
        "application/x-executable",  "application/x-sharedlib",    "application/x-pie-executable",
        "application/x-shellscript", "application/x-desktop",      "application/x-ms-dos-executable",
        "application/x-msdownload",  "application/x-perl",         "application/x-python",
        "application/x-ruby",        "application/x-java-archive", "application/x-msi",
        "application/x-appimage",    "application/x-ms-shortcut",
    };
    // Programs and scripts by their first bytes, whatever the MIME data
    // of the machine knows.
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        QByteArray head = f.read(4);
        if (head.startsWith("\x7f"
                            "ELF")
            || head.startsWith("#!") || head.startsWith("MZ"))
            return true;
    }
    QMimeDatabase db;
    const QMimeType byContent = db.mimeTypeForFile(path, QMimeDatabase::MatchContent);
    const QMimeType byName = db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    for (const char* k : kinds) {
        QString kind = QString::fromLatin1(k);
        if (byContent.inherits(kind) || byName.inherits(kind))
            return true;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    static const QStringList runnable = {"exe", "bat", "cmd", "com", "sh", "desktop", "run", "appimage", "msi", "lnk"};
    return runnable.contains(suffix);
}

bool Open(const QString& target)
{
    {
        std::lock_guard lock(g_hookMutex);
        if (g_openHook)
            return g_openHook(target.toStdString());
    }
    // One argument, no shell: the text cannot become a command.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
}

int OpenTarget(LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory)
{
    QString v = verb ? QString::fromUtf8(verb).toLower() : QString();
    if (!v.isEmpty() && v != "open" && v != "explore")
        return SE_ERR_NOASSOC;
    if (parameters && *parameters)
        return SE_ERR_ACCESSDENIED;  // only a program takes parameters
    QString target = file ? QString::fromUtf8(file).trimmed() : QString();
    if (target.size() >= 2 && target.startsWith('"') && target.endsWith('"'))
        target = target.mid(1, target.size() - 2).trimmed();
    QString dir = directory ? QString::fromUtf8(directory).trimmed() : QString();
    dir.replace('\\', '/');
    if (target.isEmpty()) {
        if (dir.isEmpty())
            return SE_ERR_FNF;
        target = dir;
        dir.clear();
    }
    // A URL: a scheme of two letters or more (one letter is a drive).
    qsizetype colon = target.indexOf(':');
    if (colon > 1 && !target.startsWith('/')) {
        QUrl url(target);
        QString scheme = url.scheme().toLower();
        static const QStringList schemes = {"http", "https", "ftp", "rtsp", "mailto", "file"};
        if (!url.isValid() || !schemes.contains(scheme))
            return SE_ERR_NOASSOC;
        if (scheme == "file") {
            target = url.toLocalFile();
        } else {
            return Open(url.toString(QUrl::FullyEncoded)) ? 42 : SE_ERR_NOASSOC;
        }
    }
    target.replace('\\', '/');
    QFileInfo info(QDir(dir.isEmpty() ? QDir::currentPath() : dir), target);
    if (!info.exists())
        return info.dir().exists() ? SE_ERR_FNF : SE_ERR_PNF;
    QString path = info.absoluteFilePath();
    if (info.isFile() && IsRunnable(path))
        return SE_ERR_ACCESSDENIED;
    return Open(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)) ? 42 : SE_ERR_NOASSOC;
}

// The window the folder dialog's callback talks to: it takes the
// preselection and hands it to the dialog.
class FolderDialogWnd : public CWnd {
public:
    std::string selection;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == BFFM_SETSELECTION) {
            if (wParam && lParam)
                selection = reinterpret_cast<const char*>(lParam);
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

struct _ITEMIDLIST {
    char path[MAX_PATH];
};

namespace vxw::test {

void SetShellOpenHook(ShellOpenHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_openHook = std::move(hook);
}

void SetFolderDialogHook(FolderDialogHook hook)
{
    g_folderHook = std::move(hook);
}

}  // namespace vxw::test

HINSTANCE ShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int)
{
    return Result(OpenTarget(verb, file, parameters, directory));
}

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info)
{
    if (!info)
        return FALSE;
    int r = OpenTarget(info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory);
    info->hInstApp = Result(r);
    info->hProcess = nullptr;
    return r > 32;
}

LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO info)
{
    if (!info)
        return nullptr;
    std::string initial;
    if (info->lpfn) {
        FolderDialogWnd wnd;
        if (wnd.CreateEx(0, "VxFolderDialog", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr)) {
            info->lpfn(wnd.GetSafeHwnd(), BFFM_INITIALIZED, 0, info->lParam);
            initial = wnd.selection;
            wnd.DestroyWindow();
        }
    }
    std::string title = info->lpszTitle ? info->lpszTitle : "";
    std::optional<std::string> chosen;
    if (g_folderHook) {
        chosen = g_folderHook(vxw::test::FolderDialogCall{info->hwndOwner, title, initial});
    } else {
        QString dir = QFileDialog::getExistingDirectory(vxw::WidgetOf(info->hwndOwner), QString::fromUtf8(title),
                                                        QString::fromUtf8(initial));
        if (!dir.isEmpty())
            chosen = dir.toStdString();
    }
    // A folder name that does not fit the classic buffer is refused rather
    // than cut into another folder's name.
    if (!chosen || chosen->empty() || chosen->size() >= MAX_PATH)
        return nullptr;
    auto* pidl = new ITEMIDLIST{};
    std::memcpy(pidl->path, chosen->data(), chosen->size());
    if (info->pszDisplayName) {
        std::string name = QFileInfo(QString::fromStdString(*chosen)).fileName().toStdString();
        if (name.empty())
            name = *chosen;
        std::strncpy(info->pszDisplayName, name.c_str(), MAX_PATH - 1);
        info->pszDisplayName[MAX_PATH - 1] = '\0';
    }
    return pidl;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPSTR path)
{
    if (!pidl || !path)
        return FALSE;
    std::memcpy(path, pidl->path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    return path[0] != '\0';
}

void CoTaskMemFree(void* p)
{
    // Only ITEMIDLISTs are handed out by this layer.
    delete static_cast<ITEMIDLIST*>(p);
}

BOOL MessageBeep(UINT)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
    return TRUE;
}
