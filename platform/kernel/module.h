#pragma once
// Modules: the program and the shared libraries loaded into it. An HMODULE is
// the dynamic loader's handle of the module.
//
// The program directory is the data folder of program_folder.h (VX_PROGRAM_DIR,
// an installed program's user folder, else the executable's folder): the
// program's file name is <that folder>/<executable name>, for what it keeps.

#include "platform/base/types.h"

#include <string>

// The full path of the module (null: the program). The result is cut to fit
// and NUL-terminated; a cut path returns nSize with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
inline DWORD GetModuleFileName(HMODULE h, LPSTR name, DWORD size)
{
    return GetModuleFileNameA(h, name, size);
}
// Null: the program. Otherwise a module already loaded, by the name
// LoadLibrary would take; null when none is.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
inline HMODULE GetModuleHandle(LPCSTR name)
{
    return GetModuleHandleA(name);
}

// A bare name "X" (or "X.dll") loads libX.so from the program's folder first,
// then by the loader's usual search; a name with a '/' is a path.
HMODULE LoadLibraryA(LPCSTR lpLibFileName);
inline HMODULE LoadLibrary(LPCSTR name)
{
    return LoadLibraryA(name);
}
BOOL FreeLibrary(HMODULE hLibModule);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

namespace vxk {

// The module that holds the code or data at `address`, or null.
HMODULE ModuleFromAddress(const void* address);
// The full path of a module (null: the program); empty when unknown.
std::string ModuleFileName(HMODULE module);
// The program's folder, without a final '/' (see VX_PROGRAM_DIR above).
std::string ProgramDirectory();

}  // namespace vxk
