#pragma once
// Raw resource data: the bytes of a typed resource of a resource module
// (pictures kept as "PNG" resources and the like). The bytes stay valid for
// the life of the process and must not be written.

#include "platform/base/types.h"

typedef void* HRSRC;

// A null module looks in the program's own resources first, then along the
// resource chain.
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
#define FindResourceA FindResource
HGLOBAL LoadResource(HMODULE module, HRSRC res);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC res);
BOOL FreeResource(HGLOBAL data);
