#pragma once
// The encoded bytes of an image, icon or cursor resource. A null module
// searches the resource chain.

#include "platform/base/types.h"

#include <vector>

#define RT_CURSOR_ID       1
#define RT_BITMAP_ID       2
#define RT_ICON_ID         3
#define RT_GROUP_CURSOR_ID 12
#define RT_GROUP_ICON_ID   14

namespace vxgdi {

const std::vector<unsigned char>* FindResourceBytes(HINSTANCE module, int type, LPCSTR name);

}  // namespace vxgdi
