#pragma once
// The scalar types, handles and helper macros of the Windows interface that
// the system's code is written against. Values are the public Win32 ones.

#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef wchar_t WCHAR;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef uint64_t DWORD64;
typedef float FLOAT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef size_t SIZE_T;

typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;

typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char TCHAR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef BOOL* LPBOOL;
typedef LONG* PLONG;

#define _T(x)   x
#define TEXT(x) x
#define CALLBACK
#define WINAPI
#define APIENTRY
#define AFX_EXT_CLASS
#define AFXAPI

// Opaque handles: each kind is a distinct pointer type so they never mix.
#define VX_DECLARE_HANDLE(name)                                                                                        \
    struct name##__;                                                                                                   \
    typedef struct name##__* name
typedef void* HANDLE;
typedef HANDLE* LPHANDLE;
VX_DECLARE_HANDLE(HWND);
VX_DECLARE_HANDLE(HINSTANCE);
VX_DECLARE_HANDLE(HMENU);
VX_DECLARE_HANDLE(HBITMAP);
VX_DECLARE_HANDLE(HICON);
VX_DECLARE_HANDLE(HFONT);
VX_DECLARE_HANDLE(HBRUSH);
VX_DECLARE_HANDLE(HPEN);
VX_DECLARE_HANDLE(HRGN);
VX_DECLARE_HANDLE(HDC);
VX_DECLARE_HANDLE(HKEY);
VX_DECLARE_HANDLE(HGDIOBJ__tag);
typedef void* HGDIOBJ;
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef void* HGLOBAL;
typedef void* HIMAGELIST;
typedef void* HTREEITEM;
typedef void* HDROP;
typedef void* HACCEL;
typedef void* HPALETTE;
typedef void* HMONITOR;
typedef void* FARPROC;
typedef void* POSITION;

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define MAX_PATH             260
#define INFINITE             0xFFFFFFFFu

typedef DWORD COLORREF;
#define RGB(r, g, b)   ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define CLR_INVALID    0xFFFFFFFFu
#define CLR_NONE       0xFFFFFFFFu
#define CLR_DEFAULT    0xFF000000u

#define MAKEWORD(a, b) ((WORD)(((BYTE)(((DWORD_PTR)(a)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(b)) & 0xff))) << 8))
#define MAKELONG(a, b)                                                                                                 \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define LOWORD(l)         ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l)         ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w)         ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w)         ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define MAKEWPARAM(l, h)  ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h)  ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp)  ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp)  ((int)(short)HIWORD(lp))

#define S_OK          ((HRESULT)0)
#define S_FALSE       ((HRESULT)1)
#define E_FAIL        ((HRESULT)0x80004005L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr)    (((HRESULT)(hr)) < 0)

#define ASSERT(f)        ((void)0)
#define VERIFY(f)        ((void)(f))
#define TRACE(...)       ((void)0)
#define UNUSED_ALWAYS(x) ((void)(x))

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *LPFILETIME;

typedef union _ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    };
    ULONGLONG QuadPart;
} ULARGE_INTEGER, *PULARGE_INTEGER;

typedef union _LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    };
    LONGLONG QuadPart;
} LARGE_INTEGER;
