#pragma once
// The camera library's resource module. Its tables are registered when the
// library loads; code of the library loads its strings, menus and dialogs
// through this handle (never along the search chain, where a host's own
// module with the same ids may come first).

#include "platform/platform.h"

HINSTANCE VxcamResourceHandle();
