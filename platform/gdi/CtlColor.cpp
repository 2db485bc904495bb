// Cursor pictures for the cursors of the windowing layer.
#include "platform/gdi/CtlColor_p.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"
#include "platform/gdi/Icon_p.h"

namespace vxgdi {

bool CursorImage(HCURSOR cursor, QImage* image, QPoint* hotspot)
{
    IconObj* i = Icon(cursor);
    if (!i)
        return false;
    if (image)
        *image = i->image;
    if (hotspot)
        *hotspot = i->hotspot;
    return true;
}

}  // namespace vxgdi
