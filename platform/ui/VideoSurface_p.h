#pragma once
// Pictures that a player hands to a window from its own thread, kept per
// window and drawn when the window paints.

#include "platform/base/types.h"

class QWidget;

namespace vxw {

// Draws the window's last picture, if it has one, over the widget. GUI thread,
// inside the widget's paint event, after the window's own WM_PAINT.
void PaintVideoSurface(HWND hwnd, QWidget* widget);
// The window is gone: its picture goes too.
void ForgetVideoSurface(HWND hwnd);

}  // namespace vxw
