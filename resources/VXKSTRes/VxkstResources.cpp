// The recorder's resource library: loaded by name ("VXKSTRes") at start-up,
// it registers its tables when the loader runs its initialisers.
#include "resources/VXKSTRes/VxkstResources_p.h"

VX_EXPORT_RESOURCE_MODULE("VXKSTRes")

namespace {

void FillAll(vxw::ResourceModule& m)
{
    vxkst_res::FillStrings(m);
    vxkst_res::FillMenus(m);
    vxkst_res::FillDialogs(m);
    vxkst_res_pictures(m);
}

const HINSTANCE g_module = vxw::RegisterResourceModule("VXKSTRes", &FillAll);

}  // namespace
