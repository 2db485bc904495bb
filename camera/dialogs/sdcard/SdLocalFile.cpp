#include "camera/dialogs/sdcard/SdLocalFile.h"

#include "camera/dialogs/sdcard/CSearchSDCard.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>

namespace sdcard {

namespace {

// Well below the usual 255-byte limit of a name, with room for " (999)".
constexpr size_t kMaxName = 200;

std::string LastComponent(std::string_view text)
{
    while (!text.empty() && (text.back() == '/' || text.back() == '\\'))
        text.remove_suffix(1);
    size_t cut = text.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? text : text.substr(cut + 1));
}

// Cuts to at most n bytes without splitting a UTF-8 sequence.
std::string CutUtf8(const std::string& s, size_t n)
{
    if (s.size() <= n)
        return s;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n);
}

std::string Capped(const std::string& name)
{
    if (name.size() <= kMaxName)
        return name;
    size_t dot = name.rfind('.');
    std::string ext = dot != std::string::npos && name.size() - dot <= 16 ? name.substr(dot) : std::string();
    return CutUtf8(name.substr(0, name.size() - ext.size()), kMaxName - ext.size()) + ext;
}

bool Usable(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char ch : name) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\')
            return false;
    }
    return true;
}

}  // namespace

CString LocalName(const CString& strName, const CString& strLink)
{
    std::string name = LastComponent(strName.view());
    if (!Usable(name))
        name = LastComponent(CSearchSDCard::PercentDecoded(strLink.view()));
    if (!Usable(name))
        return CString();
    return CString(Capped(name));
}

CString FreeLocalPath(const CString& strFolder, const CString& strName)
{
    std::string folder(strFolder.view());
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string name(strName.view());
    struct stat dir {};
    if (folder.empty() || !Usable(name) || ::stat(folder.c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode))
        return CString();
    size_t dot = name.rfind('.');
    if (dot == 0)
        dot = std::string::npos;  // ".hidden" has no extension
    std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 1; n < 1000; ++n) {
        std::string candidate = n == 1 ? name : stem + " (" + std::to_string(n) + ")" + ext;
        std::string path = folder + "/" + candidate;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT ? CString(path) : CString();
    }
    return CString();
}

bool ListedBytes(const CString& strSize, int64_t& bytes, int64_t& unit)
{
    std::string_view text = strSize.view();
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    size_t i = 0;
    int64_t whole = 0;
    int64_t fraction = 0, scale = 1;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && whole < (int64_t(1) << 40))
        whole = whole * 10 + (text[i++] - '0');
    if (i == 0)
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && scale < 1000000) {
            fraction = fraction * 10 + (text[i++] - '0');
            scale *= 10;
        }
    }
    int64_t factor = 1;
    if (i < text.size()) {
        char u = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i++])));
        factor = u == 'K' ? 1024 : u == 'M' ? (1 << 20) : u == 'G' ? (int64_t(1) << 30) : 0;
        if (i < text.size() && (text[i] == 'B' || text[i] == 'b'))
            ++i;
    }
    if (factor == 0 || i != text.size() || whole >= (int64_t(1) << 40))
        return false;
    bytes = whole * factor + fraction * factor / scale;
    unit = std::max<int64_t>(1, factor / scale);
    return true;
}

SizeBounds DownloadBounds(const CString& strSize, int64_t freeBytes, int64_t reserveBytes)
{
    SizeBounds b;
    int64_t listed = 0, unit = 1;
    if (ListedBytes(strSize, listed, unit)) {
        int64_t slack = unit + listed / 100;
        b.minBytes = std::max<int64_t>(0, listed - slack);
        b.maxBytes = listed + slack;
    }
    if (freeBytes >= 0) {
        int64_t room = std::max<int64_t>(0, freeBytes - reserveBytes);
        b.maxBytes = b.maxBytes < 0 ? room : std::min(b.maxBytes, room);
    }
    return b;
}

int64_t FreeBytes(const CString& strPath)
{
    struct statvfs st {};
    if (::statvfs(strPath, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.f_bavail) * static_cast<int64_t>(st.f_frsize);
}

}  // namespace sdcard
