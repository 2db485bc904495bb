// The clipboard over QClipboard.
#include "platform/ui/clipboard.h"

#include "platform/kernel/GlobalMemory_p.h"
#include "platform/kernel/codepage.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/shellapi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

void FreeBlock(HGLOBAL h);

struct ClipState {
    // What the clipboard still holds at exit goes with it.
    ~ClipState()
    {
        for (auto& [format, h] : data)
            FreeBlock(h);
    }

    bool open = false;
    HWND owner = nullptr;
    bool changed = false;
    std::map<UINT, HGLOBAL> data;          // blocks owned by the clipboard
    std::vector<std::string> formatNames;  // index: id - 0xC000
};

ClipState& Clip()
{
    static ClipState s;
    return s;
}

void FreeAll()
{
    for (auto& [f, h] : Clip().data)
        GlobalFree(h);
    Clip().data.clear();
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const std::vector<unsigned char>* Bytes(UINT format)
{
    auto it = Clip().data.find(format);
    if (it == Clip().data.end())
        return nullptr;
    return vxk::GlobalBytes(it->second);
}

// The names of a drop list, read within the block's size only.
std::vector<std::string> DropNames(const std::vector<unsigned char>& bytes)
{
    std::vector<std::string> names;
    if (bytes.size() < sizeof(DROPFILES))
        return names;
    DROPFILES df;
    std::memcpy(&df, bytes.data(), sizeof df);
    if (df.pFiles < sizeof(DROPFILES) || df.pFiles >= bytes.size())
        return names;
    size_t at = df.pFiles;
    if (df.fWide) {
        // WCHAR names in our wide character size.
        while (at + sizeof(WCHAR) <= bytes.size()) {
            std::wstring w;
            while (at + sizeof(WCHAR) <= bytes.size()) {
                WCHAR c;
                std::memcpy(&c, bytes.data() + at, sizeof c);
                at += sizeof c;
                if (!c)
                    break;
                w += c;
            }
            if (w.empty())
                break;
            int n =
                WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
            std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
            if (n > 0)
                WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
            names.push_back(s);
        }
    } else {
        while (at < bytes.size()) {
            const char* p = reinterpret_cast<const char*>(bytes.data() + at);
            size_t n = strnlen(p, bytes.size() - at);
            if (n == 0)
                break;
            names.emplace_back(p, n);
            at += n + 1;
        }
    }
    return names;
}

UINT DropEffectFormat()
{
    static UINT id = RegisterClipboardFormat("Preferred DropEffect");
    return id;
}

void Publish()
{
    auto* mime = new QMimeData();
    if (const auto* text = Bytes(CF_TEXT)) {
        const char* p = reinterpret_cast<const char*>(text->data());
        mime->setText(QString::fromUtf8(p, static_cast<qsizetype>(strnlen(p, text->size()))));
    }
    if (const auto* wide = Bytes(CF_UNICODETEXT)) {
        std::wstring w;
        for (size_t at = 0; at + sizeof(WCHAR) <= wide->size(); at += sizeof(WCHAR)) {
            WCHAR c;
            std::memcpy(&c, wide->data() + at, sizeof c);
            if (!c)
                break;
            w += c;
        }
        mime->setText(QString::fromWCharArray(w.c_str(), static_cast<qsizetype>(w.size())));
    }
    if (const auto* drop = Bytes(CF_HDROP)) {
        std::vector<std::string> names = DropNames(*drop);
        bool cut = false;
        if (const auto* effect = Bytes(DropEffectFormat()); effect && effect->size() >= 4) {
            DWORD e;
            std::memcpy(&e, effect->data(), 4);
            cut = (e & DROPEFFECT_MOVE) != 0;
        }
        QList<QUrl> urls;
        QStringList paths;
        for (const std::string& n : names) {
            QString path = QString::fromStdString(n);
            path.replace('\\', '/');
            paths << path;
            urls << QUrl::fromLocalFile(path);
        }
        mime->setUrls(urls);
        QByteArray list;
        for (const QUrl& u : urls)
            list += '\n' + u.toEncoded();
        // The markers file managers read: GNOME-like and KDE.
        mime->setData(QStringLiteral("x-special/gnome-copied-files"), QByteArray(cut ? "cut" : "copy") + list);
        mime->setData(QStringLiteral("application/x-kde-cutselection"), QByteArray(cut ? "1" : "0"));
        mime->setText(paths.join('\n'));
    }
    for (auto& [format, h] : Clip().data) {
        if (format < 0xC000 || format == DropEffectFormat())
            continue;
        const auto* b = Bytes(format);
        size_t idx = format - 0xC000;
        if (b && idx < Clip().formatNames.size())
            mime->setData(QStringLiteral("application/x-vx-") + QString::fromStdString(Clip().formatNames[idx]),
                          QByteArray(reinterpret_cast<const char*>(b->data()), static_cast<qsizetype>(b->size())));
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

void FreeBlock(HGLOBAL h)
{
    GlobalFree(h);
}

HGLOBAL MakeBlock(const void* data, size_t n)
{
    HGLOBAL h = GlobalAlloc(GHND, n);
    if (h && n)
        std::memcpy(GlobalLock(h), data, n);
    GlobalUnlock(h);
    return h;
}

}  // namespace

UINT RegisterClipboardFormat(LPCSTR name)
{
    if (!name || !*name)
        return 0;
    auto& names = Clip().formatNames;
    std::string key = Lower(name);
    for (size_t i = 0; i < names.size(); ++i)
        if (Lower(names[i]) == key)
            return static_cast<UINT>(0xC000 + i);
    names.push_back(name);
    return static_cast<UINT>(0xC000 + names.size() - 1);
}

BOOL OpenClipboard(HWND owner)
{
    if (Clip().open || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return FALSE;
    Clip().open = true;
    Clip().owner = owner;
    Clip().changed = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!Clip().open)
        return FALSE;
    FreeAll();
    Clip().changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE mem)
{
    if (!Clip().open || !vxk::GlobalBytes(mem))
        return nullptr;
    auto it = Clip().data.find(format);
    if (it != Clip().data.end() && it->second != mem)
        GlobalFree(it->second);
    Clip().data[format] = mem;
    Clip().changed = true;
    return mem;
}

BOOL CloseClipboard()
{
    if (!Clip().open)
        return FALSE;
    Clip().open = false;
    if (Clip().changed)
        Publish();
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    if (Clip().data.count(format))
        return TRUE;
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m)
        return FALSE;
    if (format == CF_TEXT || format == CF_UNICODETEXT)
        return m->hasText();
    if (format == CF_HDROP)
        return m->hasUrls();
    return FALSE;
}

HANDLE GetClipboardData(UINT format)
{
    if (!Clip().open)
        return nullptr;
    if (auto it = Clip().data.find(format); it != Clip().data.end())
        return it->second;
    // What another program put there, converted once into a block.
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m)
        return nullptr;
    HGLOBAL h = nullptr;
    if (format == CF_TEXT && m->hasText()) {
        QByteArray t = m->text().toUtf8();
        t.append('\0');
        h = MakeBlock(t.constData(), static_cast<size_t>(t.size()));
    } else if (format == CF_HDROP && m->hasUrls()) {
        std::vector<unsigned char> bytes(sizeof(DROPFILES));
        DROPFILES df{sizeof(DROPFILES), {0, 0}, FALSE, FALSE};
        std::memcpy(bytes.data(), &df, sizeof df);
        for (const QUrl& u : m->urls()) {
            if (!u.isLocalFile())
                continue;
            QByteArray p = u.toLocalFile().toUtf8();
            bytes.insert(bytes.end(), p.begin(), p.end());
            bytes.push_back(0);
        }
        bytes.push_back(0);
        h = MakeBlock(bytes.data(), bytes.size());
    }
    if (h)
        Clip().data[format] = h;
    return h;
}

UINT DragQueryFile(HDROP drop, UINT index, LPSTR file, UINT size)
{
    const std::vector<unsigned char>* bytes = vxk::GlobalBytes(drop);
    if (!bytes)
        return 0;
    std::vector<std::string> names = DropNames(*bytes);
    if (index == 0xFFFFFFFFu)
        return static_cast<UINT>(names.size());
    if (index >= names.size())
        return 0;
    const std::string& n = names[index];
    if (!file)
        return static_cast<UINT>(n.size());
    if (size == 0)
        return 0;
    size_t c = std::min<size_t>(n.size(), size - 1);
    std::memcpy(file, n.data(), c);
    file[c] = '\0';
    return static_cast<UINT>(c);
}

namespace vxw::test {

std::map<std::string, std::string> ClipboardContent()
{
    std::map<std::string, std::string> out;
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    if (!m)
        return out;
    for (const QString& f : m->formats())
        out[f.toStdString()] = m->data(f).toStdString();
    return out;
}

}  // namespace vxw::test
