#pragma once
// The bytes behind a memory block, for the clipboard's own reading.

#include "platform/base/types.h"

#include <vector>

namespace vxk {

// Null for a handle that is not a live block.
const std::vector<unsigned char>* GlobalBytes(HGLOBAL mem);

}  // namespace vxk
