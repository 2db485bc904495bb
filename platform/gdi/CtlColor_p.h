#pragma once
// For controls that paint themselves: asks the parent for the colours of a
// control (WM_CTLCOLOR*), as a control does before it paints, and reads
// back what the handler set on the DC and the brush it returned.

#include "platform/base/types.h"

#include <QColor>
#include <QImage>
#include <QPoint>

namespace vxgdi {

struct CtlColors {
    bool brush = false;         // a brush was returned (not the null brush)
    bool nullBrush = false;     // the null brush: no background of its own
    QColor brushColor;          // solid brushes
    QColor text;                // the DC's text colour after the handler
    QColor background;          // the DC's background colour after the handler
    bool transparent = false;   // TRANSPARENT background mode was set
};

// msg is WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN, ... The DC
// starts with the given default colours.
CtlColors QueryCtlColor(HWND parent, UINT msg, HWND control, QColor defaultText, QColor defaultBackground);

// The picture and hot spot of a cursor loaded from a resource or a file;
// false for the standard cursors, which are ids of the windowing layer.
bool CursorImage(HCURSOR cursor, QImage* image, QPoint* hotspot);

}  // namespace vxgdi
