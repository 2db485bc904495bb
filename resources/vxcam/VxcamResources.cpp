#include "resources/vxcam/VxcamResources.h"

#include "resources/vxcam/VxcamResources_p.h"

namespace vxcam_res {

void FillAll(vxw::ResourceModule& m)
{
    FillSurface(m);
    FillSettings(m);
    FillMail(m);
    FillZones(m);
    FillProgress(m);
    FillSdCard(m);
    FillRecord(m);
    FillDevicePages(m);
    FillUpgrade(m);
    FillMotion(m);
    FillSdPlay(m);
    FillWireless(m);
}

}  // namespace vxcam_res

HINSTANCE VxcamResourceHandle()
{
    // Made on first use: other files' static objects (the library's
    // application object) ask for it while the library loads.
    static const HINSTANCE module = vxw::RegisterResourceModule("vxcam", &vxcam_res::FillAll);
    return module;
}

namespace {

// Registered at load even when nothing of the library asked yet.
const HINSTANCE g_module = VxcamResourceHandle();

}  // namespace
