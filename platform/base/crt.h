#pragma once
// The small C runtime helpers of the Windows world that the system's code
// calls: memory fills, the text-mapping names (TCHAR is char here), ASCII
// case-insensitive comparison, path splitting and bounded copies. The
// bounded forms never write past the size they are given: on a too-small
// buffer they leave it empty and return ERANGE.

#include "platform/base/format_arg.h"
#include "platform/base/types.h"

#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

typedef int errno_t;

#define _MAX_PATH  260
#define _MAX_DRIVE 3
#define _MAX_DIR   256
#define _MAX_FNAME 256
#define _MAX_EXT   256

// The element count of an array; a pointer argument does not compile.
template <typename T, size_t N>
char (&vx_countof_helper(T (&)[N]))[N];
#define _countof(a)  (sizeof(vx_countof_helper(a)))
#define ARRAYSIZE(a) _countof(a)

#define ZeroMemory(dst, len)       std::memset((dst), 0, (len))
#define FillMemory(dst, len, fill) std::memset((dst), (fill), (len))
#define CopyMemory(dst, src, len)  std::memcpy((dst), (src), (len))
#define MoveMemory(dst, src, len)  std::memmove((dst), (src), (len))
#define SecureZeroMemory(dst, len) vx_secure_zero((dst), (len))
void* vx_secure_zero(void* dst, size_t len);

// Lengths and numbers; a null pointer counts as "".
int lstrlen(const char* psz);
int lstrlenA(const char* psz);
int _ttoi(const char* psz);
long _ttol(const char* psz);
LONGLONG _ttoi64(const char* psz);
LONGLONG _atoi64(const char* psz);
double _tstof(const char* psz);
#define _tstoi       _ttoi
#define _tstol       _ttol
#define _tstoi64     _ttoi64
#define _tcstol      std::strtol
#define _tcstoul     std::strtoul
#define _tcstod      std::strtod
#define _tcslen      std::strlen
#define _tcscmp      std::strcmp
#define _tcsncmp     std::strncmp
#define _tcsstr      std::strstr
#define _tcschr      std::strchr
#define _tcsrchr     std::strrchr
#define _tcsicmp     _stricmp
#define _tcsnicmp    _strnicmp
#define _istdigit(c) std::isdigit(static_cast<unsigned char>(c))
#define _istalpha(c) std::isalpha(static_cast<unsigned char>(c))
#define _istalnum(c) std::isalnum(static_cast<unsigned char>(c))
#define _istspace(c) std::isspace(static_cast<unsigned char>(c))

// ASCII case-insensitive comparison: <0, 0 or >0.
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t n);
#define stricmp  _stricmp
#define strnicmp _strnicmp
int lstrcmpi(const char* a, const char* b);
int lstrcmp(const char* a, const char* b);

// Bounded copy and append: dest holds size bytes with the terminator.
errno_t strcpy_s(char* dest, size_t size, const char* src);
errno_t strcat_s(char* dest, size_t size, const char* src);
errno_t strncpy_s(char* dest, size_t size, const char* src, size_t count);
template <size_t N>
errno_t strcpy_s(char (&dest)[N], const char* src)
{
    return strcpy_s(dest, N, src);
}
template <size_t N>
errno_t strcat_s(char (&dest)[N], const char* src)
{
    return strcat_s(dest, N, src);
}
#define _tcscpy_s  strcpy_s
#define _tcscat_s  strcat_s
#define _tcsncpy_s strncpy_s
// printf into dest; -1 and an empty buffer when the text does not fit.
int sprintf_s(char* dest, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
template <size_t N, typename... Args>
int sprintf_s(char (&dest)[N], const char* format, const Args&... args)
{
    return sprintf_s(dest, N, format, vxbase::FormatArg(args)...);
}
#define _stprintf_s sprintf_s

// Splits a path into drive (always "" here), folder with its trailing '/',
// file name and extension with its dot. Any output may be null.
errno_t _splitpath_s(const char* path, char* drive, size_t driveSize, char* dir, size_t dirSize, char* fname,
                     size_t fnameSize, char* ext, size_t extSize);
// The same with the standard sizes (_MAX_DRIVE, _MAX_DIR, ...).
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
