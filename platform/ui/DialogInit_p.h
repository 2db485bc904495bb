#pragma once
// The initialisation data of a dialog template's controls: the first
// entries of combo and list boxes, filled in before WM_INITDIALOG.

#include "platform/ui/ResourceModule.h"

namespace vxw {

void AddInitialStrings(HWND control, const DialogItemTemplate& item);

}  // namespace vxw
