#pragma once
// Each group of the resource library's tables is filled by a file of its
// own; VxkstResources.cpp registers them as one module.

#include "platform/ui/ResourceModule.h"

namespace vxkst_res {

void FillStrings(vxw::ResourceModule& m);
void FillMenus(vxw::ResourceModule& m);
void FillDialogs(vxw::ResourceModule& m);

}  // namespace vxkst_res

// Generated from pictures/*.pic at build time.
void vxkst_res_pictures(vxw::ResourceModule& m);
