#pragma once
// Image lists belong to the drawing layer; controls that show their pictures
// ask through this hook, which stays null (no pictures) until that layer
// installs it.

#include "platform/base/types.h"

#include <QPixmap>

namespace vxw {

using ImageListPixmapFn = QPixmap (*)(HIMAGELIST list, int index);
extern ImageListPixmapFn g_imageListPixmap;

}  // namespace vxw
