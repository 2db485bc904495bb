#include "platform/gdi/ImageListPixmap_p.h"

#include "platform/gdi/Icon_p.h"

namespace vxgdi {

QPixmap ImageListPixmap(HIMAGELIST list, int index)
{
    ImageListObj* il = ImageList(list);
    if (!il || index < 0 || index >= static_cast<int>(il->images.size()))
        return QPixmap();
    return QPixmap::fromImage(il->images[static_cast<size_t>(index)]);
}

}  // namespace vxgdi
