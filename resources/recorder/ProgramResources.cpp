// The recorder program's own resource table: its application icon, the
// status images of the camera list and its version block. Everything else
// lies in the resource library VXKSTRes.
#include "resources/recorder/resource.h"

#include "platform/ui/ResourceModule.h"
#include "platform/ui/winver.h"

void vxkst_program_pictures(vxw::ResourceModule& m);

namespace {

void Fill(vxw::ResourceModule& m)
{
    vxkst_program_pictures(m);
    m.AddData(RT_VERSION, 1,
              vxw::MakeVersionResource(0x0409, 0x04b0,
                                       {{"FileVersion", VXKST_VERSION},
                                        {"ProductVersion", VXKST_VERSION},
                                        {"ProductName", "VXKST-HD"},
                                        {"FileDescription", "Network camera recorder"}}));
}

const HINSTANCE g_module = vxw::RegisterResourceModule("VXKST-HD", &Fill);

}  // namespace

HINSTANCE ProgramResourceHandle()
{
    return g_module;
}
