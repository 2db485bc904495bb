#include "platform/ui/CFileDialog.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QFileDialog>
#include <QFileInfo>

#include <cstring>

namespace {

vxw::test::FileDialogHook g_hook;

// "Name|*.a;*.b|" pairs into "Name (*.a *.b)" filters.
std::vector<std::string> Filters(const CString& filter)
{
    std::vector<std::string> out;
    QStringList parts = QString::fromUtf8(filter.GetString()).split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        QString name = parts[i];
        // The classic name usually repeats its pattern in brackets already.
        qsizetype br = name.indexOf('(');
        if (br >= 0)
            name = name.left(br).trimmed();
        out.push_back((name + " (" + patterns + ")").toStdString());
    }
    return out;
}

}  // namespace

namespace vxw::test {
void SetFileDialogHook(FileDialogHook hook)
{
    g_hook = std::move(hook);
}
}  // namespace vxw::test

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags, LPCSTR lpszFilter,
                         CWnd* pParentWnd)
    : m_bOpen(bOpenFileDialog), m_defExt(lpszDefExt ? lpszDefExt : ""), m_filter(lpszFilter ? lpszFilter : "")
{
    m_owner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    m_fileBuffer.assign(MAX_PATH, '\0');
    if (lpszFileName)
        std::strncpy(m_fileBuffer.data(), lpszFileName, MAX_PATH - 1);
    m_ofn.lStructSize = sizeof(OPENFILENAME);
    m_ofn.hwndOwner = m_owner;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = m_defExt.IsEmpty() ? nullptr : m_defExt.GetString();
    m_ofn.lpstrFilter = lpszFilter;
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal()
{
    vxw::test::FileDialogCall call;
    call.open = m_bOpen != FALSE;
    call.title = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : "";
    call.initialDir = m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : "";
    call.fileName = m_ofn.lpstrFile ? std::string(m_ofn.lpstrFile, strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile)) : "";
    call.filters = Filters(m_filter);
    call.flags = m_ofn.Flags;

    std::optional<std::string> chosen;
    if (g_hook) {
        chosen = g_hook(call);
    } else {
        QStringList filters;
        for (const std::string& f : call.filters)
            filters << QString::fromStdString(f);
        QString start = QString::fromStdString(call.initialDir);
        if (!call.fileName.empty())
            start = start.isEmpty() ? QString::fromStdString(call.fileName)
                                    : start + "/" + QString::fromStdString(call.fileName);
        QFileDialog::Options opts;
        if (!(m_ofn.Flags & OFN_OVERWRITEPROMPT))
            opts |= QFileDialog::DontConfirmOverwrite;
        QWidget* parent = vxw::WidgetOf(m_owner);
        QString title = QString::fromStdString(call.title);
        QString r = call.open ? QFileDialog::getOpenFileName(parent, title, start, filters.join(";;"), nullptr, opts)
                              : QFileDialog::getSaveFileName(parent, title, start, filters.join(";;"), nullptr, opts);
        if (!r.isEmpty())
            chosen = r.toStdString();
    }
    if (!chosen || chosen->empty())
        return IDCANCEL;
    QFileInfo info(QString::fromStdString(*chosen));
    if (!call.open && info.suffix().isEmpty() && !m_defExt.IsEmpty())
        *chosen += "." + std::string(m_defExt.GetString());
    info = QFileInfo(QString::fromStdString(*chosen));
    // What the dialog would not let a person pick is no answer.
    if ((m_ofn.Flags & OFN_FILEMUSTEXIST) && !info.isFile())
        return IDCANCEL;
    if ((m_ofn.Flags & OFN_PATHMUSTEXIST) && !info.dir().exists())
        return IDCANCEL;
    if (chosen->size() >= m_ofn.nMaxFile || !m_ofn.lpstrFile)
        return IDCANCEL;  // would not fit the caller's buffer
    m_path = chosen->c_str();
    std::memcpy(m_ofn.lpstrFile, chosen->c_str(), chosen->size() + 1);
    qsizetype slash = QString::fromStdString(*chosen).lastIndexOf('/');
    m_ofn.nFileOffset = static_cast<WORD>(slash + 1);
    return IDOK;
}

CString CFileDialog::GetPathName() const
{
    return m_path;
}

CString CFileDialog::GetFileName() const
{
    return CString(QFileInfo(QString::fromUtf8(m_path.GetString())).fileName().toStdString());
}

CString CFileDialog::GetFileExt() const
{
    return CString(QFileInfo(QString::fromUtf8(m_path.GetString())).suffix().toStdString());
}

CString CFileDialog::GetFileTitle() const
{
    return CString(QFileInfo(QString::fromUtf8(m_path.GetString())).completeBaseName().toStdString());
}

CString CFileDialog::GetFolderPath() const
{
    return CString(QFileInfo(QString::fromUtf8(m_path.GetString())).absolutePath().toStdString());
}
