// A resource library as the program's own one is: loaded by name, it
// registers its tables when it is loaded.
#include "platform/platform.h"

VX_EXPORT_RESOURCE_MODULE("VXTestRes")

namespace {

void Fill(vxw::ResourceModule& m)
{
    m.AddString(2, "library two");
    m.AddString(3, "library three");
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION;
    t.cx = 120;
    t.cy = 60;
    t.caption = "From the library";
    t.items.push_back({"BUTTON", IDOK, "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 35, 40, 50, 14});
    m.AddDialog(500, t);
}

const HINSTANCE g_module = vxw::RegisterResourceModule("VXTestRes", &Fill);

}  // namespace
