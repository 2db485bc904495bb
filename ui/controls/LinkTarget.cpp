#include "ui/controls/LinkTarget.h"

#include "platform/platform.h"
#include "utility/vx_log.h"

#include <strings.h>

#include <string>

namespace vxui {

bool IsOpenableLink(const char* target)
{
    if (!target)
        return false;
    // A blank or control character would let the desktop read the text
    // as more than one argument or line.
    for (const char* p = target; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c <= 0x20 || c == 0x7F)
            return false;
    }
    for (const char* scheme : {"http://", "https://", "mailto:"})
        if (strncasecmp(target, scheme, std::char_traits<char>::length(scheme)) == 0)
            return target[std::char_traits<char>::length(scheme)] != '\0';
    return false;
}

bool OpenLink(const char* target)
{
    if (!IsOpenableLink(target)) {
        vx_log(VX_LOG_WARN, "OpenLink: refused a target that is not a web or mail link");
        return false;
    }
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = target;
    info.nShow = SW_SHOWMAXIMIZED;
    return ::ShellExecuteEx(&info) != FALSE;
}

}  // namespace vxui
