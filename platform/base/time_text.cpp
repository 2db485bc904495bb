#include "platform/base/time_text_p.h"

#include "platform/base/clocale_p.h"

#include <string>

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

CString FormatTm(const char* format, const struct tm& t)
{
    if (!format || !*format)
        return CString();
    // strftime returns 0 both for "too small" and for an empty result; grow
    // a few times, then take the empty result.
    std::string buf;
    for (size_t size = 256; size <= 65536; size *= 4) {
        buf.resize(size);
        size_t n = strftime_l(buf.data(), buf.size(), format, &t, CLocale());
        if (n > 0) {
            buf.resize(n);
            return CString(std::move(buf));
        }
    }
    return CString();
}

}  // namespace vxbase
