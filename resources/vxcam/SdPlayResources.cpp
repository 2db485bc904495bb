// The memory-card record player and the picture preview: their dialog
// templates, texts and the player's button icons.
#include "resources/vxcam/TemplateItems.h"
#include "resources/vxcam/VxcamResources_p.h"

#include "resources/vxcam/resource.h"

#include "platform/ui/commctrl.h"

// Drawn at build time from pictures/*.pic.
void vxcam_res_play_icons(vxw::ResourceModule& m);

namespace vxcam_res {

namespace {

using namespace items;

vxw::DialogTemplate PlayerDialog()
{
    auto iconButton = [](int id, short x) {
        return Item("BUTTON", id, "", BS_PUSHBUTTON | BS_OWNERDRAW | kTab, x, 214, 22, 18);
    };
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.caption = "Playback";
    t.cx = 360;
    t.cy = 238;
    t.items = {
        Item("STATIC", IDC_PLAY_VIDEO, "", SS_BLACKRECT, 4, 4, 352, 188),
        Item(TRACKBAR_CLASS, IDC_PLAY_SLIDER, "", TBS_HORZ | TBS_NOTICKS, 4, 196, 352, 14),
        iconButton(IDC_PLAY_PLAY, 6),
        iconButton(IDC_PLAY_PAUSE, 6),
        iconButton(IDC_PLAY_STOP, 32),
        iconButton(IDC_PLAY_SOUND_OFF, 58),
        iconButton(IDC_PLAY_SOUND_ON, 58),
        Item("STATIC", IDC_PLAY_ELAPSED, "00:00:00", SS_RIGHT, 250, 219, 46, 8),
        Item("STATIC", IDC_PLAY_TIME_SEPARATOR, "/", SS_CENTER, 296, 219, 8, 8),
        Item("STATIC", IDC_PLAY_TOTAL, "00:00:00", SS_LEFT, 304, 219, 50, 8),
    };
    return t;
}

vxw::DialogTemplate PreviewDialog()
{
    vxw::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t.caption = "Image Preview";
    t.cx = 340;
    t.cy = 260;
    t.items = {
        Item("STATIC", IDC_PREVIEW_PICTURE, "", SS_BLACKFRAME, 4, 4, 332, 252),
    };
    return t;
}

}  // namespace

void FillSdPlay(vxw::ResourceModule& m)
{
    m.AddString(IDS_PLAY_CAPTION, "%s Playback (%s)");
    m.AddString(IDS_PREVIEW_CAPTION, "Image Preview (%s)");
    m.AddDialog(IDD_SD_PLAY, PlayerDialog());
    m.AddDialog(IDD_SD_PREVIEW, PreviewDialog());
    vxcam_res_play_icons(m);
}

}  // namespace vxcam_res
