#include "camera/dialogs/SdLocalFile.h"

#include "camera/dialogs/CSearchSDCard.h"

#include <fcntl.h>
#include <unistd.h>

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
    if (name.empty())
        name = LastComponent(CSearchSDCard::PercentDecoded(strLink.view()));
    if (!Usable(name))
        return CString();
    return CString(Capped(name));
}

CString ReserveLocalFile(const CString& strFolder, const CString& strName)
{
    std::string folder(strFolder.view());
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string name(strName.view());
    if (folder.empty() || !Usable(name))
        return CString();
    size_t dot = name.rfind('.');
    if (dot == 0)
        dot = std::string::npos;  // ".hidden" has no extension
    std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 1; n < 1000; ++n) {
        std::string candidate = n == 1 ? name : stem + " (" + std::to_string(n) + ")" + ext;
        std::string path = folder + "/" + candidate;
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd >= 0) {
            ::close(fd);
            return CString(path);
        }
        if (errno != EEXIST)
            return CString();
    }
    return CString();
}

}  // namespace sdcard
