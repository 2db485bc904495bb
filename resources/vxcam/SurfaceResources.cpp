// The video surface's strings and its context menu.
#include "resources/vxcam/VxcamResources_p.h"

#include "resources/vxcam/resource.h"

#include "platform/ui/menu.h"

namespace vxcam_res {

void FillSurface(vxw::ResourceModule& m)
{
    m.AddString(IDS_VX_CONNECT_FAILED, "Fail to connect to camera\nCheck network and firewall settings ...");
    m.AddString(IDS_VX_CONNECTING, "Connecting to camera ...");
    m.AddString(IDS_VX_STARTING_VIDEO, "Starting live video ...");
    m.AddString(IDS_VX_STREAM_FAILED, "Failed to open stream channel");
    m.AddString(IDS_VX_DISCONNECTING, "Disconnecting ...");

    // The surface removes what does not apply by command and then a few
    // items by position; the layout puts a separator at each of those
    // positions: position 2 (after the two full-screen items, of which one
    // is always removed first), position 1 in full screen, and the last item
    // once "Properties" has gone.
    const vxw::MenuItemTemplate separator{"", 0, MF_SEPARATOR, {}};
    vxw::MenuItemTemplate popup;
    popup.text = "Video";
    popup.flags = MF_POPUP;
    popup.popup = {
        {"Full screen", ID_VIDEO_FULLSCREEN, 0, {}},
        {"Exit full screen", ID_VIDEO_EXIT_FULLSCREEN, 0, {}},
        separator,
        {"Display bit rate", ID_VIDEO_SHOW_BITRATE, 0, {}},
        {"Hide bit rate", ID_VIDEO_HIDE_BITRATE, 0, {}},
        {"Flip vertical", ID_VIDEO_FLIP_VERTICAL, 0, {}},
        {"Flip horizontal", ID_VIDEO_FLIP_HORIZONTAL, 0, {}},
        {"Set exact fit", ID_VIDEO_EXACT_FIT, 0, {}},
        {"Set full fit", ID_VIDEO_FULL_FIT, 0, {}},
        separator,
        {"Properties", ID_VIDEO_PROPERTIES, 0, {}},
    };
    vxw::MenuTemplate menu;
    menu.items.push_back(popup);
    m.AddMenu(IDR_MENU_VIDEO, menu);
}

}  // namespace vxcam_res
