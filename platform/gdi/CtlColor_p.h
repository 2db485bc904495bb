#pragma once
// The colours a parent gives a control that paints itself (the window
// layer asks, see ui/CtlColorQuery_p.h), and cursor pictures.

#include "platform/base/types.h"

#include <QColor>
#include <QImage>
#include <QPoint>

namespace vxgdi {

struct CtlColors {
    bool brush = false;        // a brush was returned (not the null brush)
    bool nullBrush = false;    // the null brush: no background of its own
    QColor brushColor;         // solid brushes
    QColor text;               // the DC's text colour after the handler
    QColor background;         // the DC's background colour after the handler
    bool transparent = false;  // TRANSPARENT background mode was set
};

// The picture and hot spot of a cursor loaded from a resource or a file;
// false for the standard cursors, which are ids of the windowing layer.
bool CursorImage(HCURSOR cursor, QImage* image, QPoint* hotspot);

}  // namespace vxgdi
