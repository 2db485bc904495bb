#include "platform/base/span_format_p.h"

namespace vxbase {

CString FormatSpan(const char* format, long long days, long hours, long minutes, long seconds)
{
    CString out;
    for (const char* p = format ? format : ""; *p; ++p) {
        if (*p != '%' || !p[1]) {
            out += *p;
            continue;
        }
        switch (*++p) {
        case 'D':
            out.AppendFormat("%lld", days);
            break;
        case 'H':
            out.AppendFormat("%02ld", hours);
            break;
        case 'M':
            out.AppendFormat("%02ld", minutes);
            break;
        case 'S':
            out.AppendFormat("%02ld", seconds);
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += *p;
            break;
        }
    }
    return out;
}

}  // namespace vxbase
