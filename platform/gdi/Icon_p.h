#pragma once
// What icon and cursor handles made by the drawing layer stand for, and the
// image list record. The standard cursors of the windowing layer are small
// ids, never records.

#include "platform/gdi/GdiObject_p.h"

#include <vector>

#define VX_OBJ_ICON      100
#define VX_OBJ_IMAGELIST 101

namespace vxgdi {

struct IconObj : GdiObj {
    IconObj() : GdiObj(VX_OBJ_ICON) {}
    QImage image;        // ARGB32: transparent where the mask is set
    bool isIcon = true;  // false: a cursor
    QPoint hotspot;
};

struct ImageListObj : GdiObj {
    ImageListObj() : GdiObj(VX_OBJ_IMAGELIST) {}
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    int grow = 1;
    COLORREF bk = CLR_NONE;
    std::vector<QImage> images;  // ARGB32, cx by cy
    HBITMAP strip = nullptr;     // GetImageInfo's bitmaps, rebuilt on demand
    HBITMAP stripMask = nullptr;
};

inline IconObj* Icon(const void* h)
{
    return As<IconObj>(const_cast<void*>(h), VX_OBJ_ICON);
}
inline ImageListObj* ImageList(const void* h)
{
    return As<ImageListObj>(const_cast<void*>(h), VX_OBJ_IMAGELIST);
}

HICON MakeIcon(QImage image, bool isIcon, QPoint hotspot);
// Draws an ARGB image into the DC over what is there.
void DrawArgb(HDC hdc, int x, int y, const QImage& image, int cx = 0, int cy = 0);
// The image in the disabled look: its darker opaque pixels embossed in the
// highlight and shadow colours.
void DrawDisabled(HDC hdc, int x, int y, const QImage& image);

}  // namespace vxgdi
