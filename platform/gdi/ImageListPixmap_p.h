#pragma once
// The pictures of an image list as Qt pixmaps, for the controls of the
// windowing layer that show them.

#include "platform/base/types.h"

#include <QPixmap>

namespace vxgdi {

// Null for a stale list or an index out of range.
QPixmap ImageListPixmap(HIMAGELIST list, int index);

}  // namespace vxgdi
