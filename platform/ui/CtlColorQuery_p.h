#pragma once
// For controls that paint themselves: asks the parent for the colours of a
// control (WM_CTLCOLOR*), as a control does before it paints, and reads
// back what the handler set on the DC and the brush it returned. GUI thread.

#include "platform/gdi/CtlColor_p.h"

namespace vxw {

// msg is WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN, ... The DC
// starts with the given default colours.
vxgdi::CtlColors QueryCtlColor(HWND parent, UINT msg, HWND control, QColor defaultText, QColor defaultBackground);

}  // namespace vxw
