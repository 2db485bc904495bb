#pragma once
// The registry: a small store of keys and values for the current user, kept
// in $XDG_CONFIG_HOME/vx/registry (default ~/.config/vx/registry) and
// replaced atomically on every change. HKEY_LOCAL_MACHINE and the other roots
// are kept in the same per-user file: nothing here needs the whole machine.
// Key and value names ignore ASCII case. Safe from any thread and from
// several processes of the user at once.
//
// The values of HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run
// are desktop autostart entries, $XDG_CONFIG_HOME/autostart/NAME.desktop,
// so that a program registered there is started when the user logs on:
// setting a value writes the entry (its Exec line quoted for the desktop),
// reading it reads the entry back, deleting it removes the entry.

#include "platform/base/types.h"
#include "platform/kernel/synch.h"

typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef DWORD ACCESS_MASK;
typedef HKEY* PHKEY;

#define HKEY_CLASSES_ROOT  ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER  ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS         ((HKEY)(ULONG_PTR)0x80000003u)

#define KEY_QUERY_VALUE        0x0001u
#define KEY_SET_VALUE          0x0002u
#define KEY_CREATE_SUB_KEY     0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY             0x0010u
#define KEY_CREATE_LINK        0x0020u
#define KEY_WOW64_64KEY        0x0100u
#define KEY_WOW64_32KEY        0x0200u
#define KEY_READ               0x00020019u
#define KEY_WRITE              0x00020006u
#define KEY_EXECUTE            0x00020019u
#define KEY_ALL_ACCESS         0x000F003Fu

#define REG_NONE      0u
#define REG_SZ        1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY    3u
#define REG_DWORD     4u

#define REG_OPTION_NON_VOLATILE 0x00000000u
#define REG_CREATED_NEW_KEY     0x00000001u
#define REG_OPENED_EXISTING_KEY 0x00000002u

// Results are Win32 error numbers: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (no
// such key or value), ERROR_MORE_DATA (buffer too small; the size needed is
// given back), ERROR_ACCESS_DENIED (the key was not opened for it),
// ERROR_INVALID_HANDLE, ERROR_INVALID_PARAMETER, ERROR_CANTWRITE.
LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions, REGSAM samDesired,
                        LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult, LPDWORD lpdwDisposition);
LSTATUS RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
LSTATUS RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData);
LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData);
LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
LSTATUS RegCloseKey(HKEY hKey);

inline LSTATUS RegOpenKeyEx(HKEY k, LPCSTR sub, DWORD opt, REGSAM sam, PHKEY out)
{
    return RegOpenKeyExA(k, sub, opt, sam, out);
}
inline LSTATUS RegCreateKeyEx(HKEY k, LPCSTR sub, DWORD r, LPSTR cls, DWORD opt, REGSAM sam, LPSECURITY_ATTRIBUTES sa,
                              PHKEY out, LPDWORD disp)
{
    return RegCreateKeyExA(k, sub, r, cls, opt, sam, sa, out, disp);
}
inline LSTATUS RegOpenKey(HKEY k, LPCSTR sub, PHKEY out)
{
    return RegOpenKeyA(k, sub, out);
}
inline LSTATUS RegCreateKey(HKEY k, LPCSTR sub, PHKEY out)
{
    return RegCreateKeyA(k, sub, out);
}
inline LSTATUS RegQueryValueEx(HKEY k, LPCSTR name, LPDWORD r, LPDWORD type, LPBYTE data, LPDWORD size)
{
    return RegQueryValueExA(k, name, r, type, data, size);
}
inline LSTATUS RegSetValueEx(HKEY k, LPCSTR name, DWORD r, DWORD type, const BYTE* data, DWORD size)
{
    return RegSetValueExA(k, name, r, type, data, size);
}
inline LSTATUS RegDeleteValue(HKEY k, LPCSTR name)
{
    return RegDeleteValueA(k, name);
}
