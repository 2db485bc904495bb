#include "resources/vxcam/VxcamResources.h"

#include "resources/vxcam/VxcamResources_p.h"

namespace vxcam_res {

void FillAll(vxw::ResourceModule& m)
{
    FillSurface(m);
}

}  // namespace vxcam_res

namespace {

const HINSTANCE g_module = vxw::RegisterResourceModule("vxcam", &vxcam_res::FillAll);

}  // namespace

HINSTANCE VxcamResourceHandle()
{
    return g_module;
}
