#include "platform/base/crt.h"

#include "platform/base/clocale_p.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string_view>

namespace {

const char* Safe(const char* p)
{
    return p ? p : "";
}

int Lower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

// Copies part into an output of the given size; ERANGE (and "") when it
// does not fit.
errno_t Put(std::string_view part, char* out, size_t size)
{
    if (!out)
        return 0;
    if (size == 0)
        return EINVAL;
    if (part.size() >= size) {
        out[0] = '\0';
        return ERANGE;
    }
    if (!part.empty())
        std::memcpy(out, part.data(), part.size());
    out[part.size()] = '\0';
    return 0;
}

}  // namespace

void* vx_secure_zero(void* dst, size_t len)
{
    volatile unsigned char* p = static_cast<volatile unsigned char*>(dst);
    while (len--)
        *p++ = 0;
    return dst;
}

int lstrlen(const char* psz)
{
    return static_cast<int>(std::strlen(Safe(psz)));
}

int lstrlenA(const char* psz)
{
    return lstrlen(psz);
}

// Out-of-range values saturate, as the Windows run-time does, instead of
// wrapping (the C library leaves that undefined).
int _ttoi(const char* psz)
{
    long long v = std::strtoll(Safe(psz), nullptr, 10);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

long _ttol(const char* psz)
{
    // LONG is 32 bits in the Windows world.
    return _ttoi(psz);
}

LONGLONG _ttoi64(const char* psz)
{
    return std::strtoll(Safe(psz), nullptr, 10);
}

LONGLONG _atoi64(const char* psz)
{
    return _ttoi64(psz);
}

// "." is the decimal point, whatever locale the process runs in.
double _tstof(const char* psz)
{
    return strtod_l(Safe(psz), nullptr, vxbase::CLocale());
}

int _stricmp(const char* a, const char* b)
{
    return _strnicmp(a, b, static_cast<size_t>(-1));
}

int _strnicmp(const char* a, const char* b, size_t n)
{
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(Safe(a));
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(Safe(b));
    for (; n > 0; --n, ++pa, ++pb) {
        int ca = Lower(*pa), cb = Lower(*pb);
        if (ca != cb)
            return ca - cb;
        if (!ca)
            break;
    }
    return 0;
}

int lstrcmpi(const char* a, const char* b)
{
    int r = _stricmp(a, b);
    return (r > 0) - (r < 0);
}

int lstrcmp(const char* a, const char* b)
{
    int r = std::strcmp(Safe(a), Safe(b));
    return (r > 0) - (r < 0);
}

errno_t strcpy_s(char* dest, size_t size, const char* src)
{
    if (!dest || size == 0)
        return EINVAL;
    if (!src) {
        dest[0] = '\0';
        return EINVAL;
    }
    return Put(src, dest, size);
}

errno_t strcat_s(char* dest, size_t size, const char* src)
{
    if (!dest || size == 0)
        return EINVAL;
    const void* end = std::memchr(dest, '\0', size);
    if (!end || !src) {  // dest was not terminated within its size
        dest[0] = '\0';
        return EINVAL;
    }
    size_t used = static_cast<size_t>(static_cast<const char*>(end) - dest);
    size_t add = std::strlen(src);
    if (used + add >= size) {
        dest[0] = '\0';
        return ERANGE;
    }
    std::memcpy(dest + used, src, add + 1);
    return 0;
}

errno_t strncpy_s(char* dest, size_t size, const char* src, size_t count)
{
    if (!dest || size == 0)
        return EINVAL;
    if (!src) {
        dest[0] = '\0';
        return EINVAL;
    }
    size_t n = strnlen(src, count);
    return Put(std::string_view(src, n), dest, size);
}

int sprintf_s(char* dest, size_t size, const char* format, ...)
{
    if (!dest || size == 0)
        return -1;
    if (!format || vxbase::FormatWritesMemory(format)) {
        dest[0] = '\0';
        return -1;
    }
    vxbase::ScopedCLocale cLocale;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(dest, size, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        dest[0] = '\0';
        return -1;
    }
    return n;
}

errno_t _splitpath_s(const char* path, char* drive, size_t driveSize, char* dir, size_t dirSize, char* fname,
                     size_t fnameSize, char* ext, size_t extSize)
{
    if (!path)
        return EINVAL;
    std::string_view p(path);
    size_t slash = p.rfind('/');
    std::string_view folder = slash == std::string_view::npos ? std::string_view() : p.substr(0, slash + 1);
    std::string_view file = slash == std::string_view::npos ? p : p.substr(slash + 1);
    size_t dot = file.rfind('.');
    std::string_view name = dot == std::string_view::npos ? file : file.substr(0, dot);
    std::string_view extension = dot == std::string_view::npos ? std::string_view() : file.substr(dot);
    errno_t results[] = {Put({}, drive, driveSize), Put(folder, dir, dirSize), Put(name, fname, fnameSize),
                         Put(extension, ext, extSize)};
    for (errno_t r : results)
        if (r)
            return r;
    return 0;
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext)
{
    _splitpath_s(path, drive, _MAX_DRIVE, dir, _MAX_DIR, fname, _MAX_FNAME, ext, _MAX_EXT);
}
