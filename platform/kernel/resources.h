#pragma once
// Raw resource data: the bytes of a typed resource of a resource module
// (pictures kept as "PNG" resources and the like). The bytes stay valid for
// the life of the process and must not be written. Any thread.

#include "platform/base/types.h"

#include <vector>

typedef void* HRSRC;

// A null module looks in the program's own resources first, then along the
// resource chain.
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
#define FindResourceA FindResource
HGLOBAL LoadResource(HMODULE module, HRSRC res);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC res);
BOOL FreeResource(HGLOBAL data);

namespace vxk {

// Where resources are kept: the windowing layer's resource modules, which
// install their look-up here when the library loads (this layer cannot see
// them). module null: along the resource chain, the program's own resources
// first when programFirst is set. Null when not found.
using ResourceFinder = const std::vector<unsigned char>* (*)(HMODULE module, LPCSTR type, UINT id, bool programFirst);
void SetResourceFinder(ResourceFinder finder);

// The bytes of resource (type, id) of a module, or null.
const std::vector<unsigned char>* FindResourceData(HMODULE module, LPCSTR type, UINT id, bool programFirst);

}  // namespace vxk
