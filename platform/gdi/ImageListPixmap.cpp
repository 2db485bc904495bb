// Gives the controls of the windowing layer the pictures of image lists.
#include "platform/gdi/Icon_p.h"
#include "platform/ui/ImageListHook_p.h"

namespace {

QPixmap ImageListPixmap(HIMAGELIST list, int index)
{
    vxgdi::ImageListObj* il = vxgdi::ImageList(list);
    if (!il || index < 0 || index >= static_cast<int>(il->images.size()))
        return QPixmap();
    return QPixmap::fromImage(il->images[static_cast<size_t>(index)]);
}

// Installed when the library loads, before any control asks.
const bool g_installed = [] {
    vxw::g_imageListPixmap = ImageListPixmap;
    return true;
}();

}  // namespace
