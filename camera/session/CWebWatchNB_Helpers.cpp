// Version and firmware-file helpers the settings window uses.
#include "camera/session/CWebWatchNB.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

int CWebWatchNB::GetCamType(CString strVersion)
{
    if (strVersion.Find("V10.1.4") >= 0)
        return 33;
    if (strVersion.Find("V10.1.10") >= 0)
        return 34;
    return 16;
}

namespace {

// The dot-separated numbers of a version text: a leading "V" or "v" goes,
// the text ends at its first character that is neither a digit nor '.'.
std::vector<long long> VersionNumbers(const char* text)
{
    std::string t(text);
    if (!t.empty() && (t[0] == 'V' || t[0] == 'v'))
        t.erase(0, 1);
    size_t end = 0;
    while (end < t.size() && end < 63 && (isdigit(static_cast<unsigned char>(t[end])) || t[end] == '.'))
        ++end;
    t.resize(end);
    std::vector<long long> numbers;
    size_t pos = 0;
    while (pos < t.size() && t[pos] == '.')
        ++pos;
    while (pos < t.size()) {
        size_t dot = t.find('.', pos);
        std::string part = t.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos);
        numbers.push_back(part.empty() ? 0 : std::stoll(part.substr(0, 18)));
        if (dot == std::string::npos)
            break;
        pos = dot + 1;
    }
    return numbers;
}

}  // namespace

int CWebWatchNB::VersionLaterThan(const char* a, const char* b)
{
    if (!a || !b || !*a || !*b)
        return -1;
    std::vector<long long> na = VersionNumbers(a);
    std::vector<long long> nb = VersionNumbers(b);
    size_t n = na.size() > nb.size() ? na.size() : nb.size();
    for (size_t i = 0; i < n; ++i) {
        long long x = i < na.size() ? na[i] : 0;
        long long y = i < nb.size() ? nb[i] : 0;
        if (x > y)
            return 1;
        if (x < y)
            return -1;
    }
    return 0;
}

int CWebWatchNB::CheckUpgradeFile(CString strPath, CString strModel)
{
    // The file name follows the last separator of either kind.
    int slash = strPath.ReverseFind('/');
    int backslash = strPath.ReverseFind('\\');
    int cut = slash > backslash ? slash : backslash;
    CString name = strPath.Mid(cut + 1);
    int f = name.Find("-F");
    if (name.Left(4) != "CAMX" || f < 0)
        return 0;
    return name.Left(f).CompareNoCase(strModel) == 0 ? 0 : -1;
}
