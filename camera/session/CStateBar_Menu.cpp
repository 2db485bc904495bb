// The video surface's context menu: which items apply, and the notices its
// commands post to the camera object's parent.
#include "camera/session/CStateBar.h"

#include "camera/session/CStateBar_p.h"
#include "resources/vxcam/VxcamResources.h"
#include "resources/vxcam/resource.h"

using namespace statebar;

void CStateBar::PrepareMenu(CMenu& popup, BOOL bFullscreen, const MenuState& state)
{
    auto last = [&popup] { return static_cast<UINT>(popup.GetMenuItemCount() - 1); };
    if (bFullscreen) {
        popup.RemoveMenu(ID_VIDEO_FULLSCREEN, MF_BYCOMMAND);
        popup.RemoveMenu(ID_VIDEO_PROPERTIES, MF_BYCOMMAND);
        popup.RemoveMenu(last(), MF_BYPOSITION);
    } else {
        popup.RemoveMenu(ID_VIDEO_EXIT_FULLSCREEN, MF_BYCOMMAND);
        if (!state.bHasProperties) {
            popup.RemoveMenu(ID_VIDEO_PROPERTIES, MF_BYCOMMAND);
            popup.RemoveMenu(last(), MF_BYPOSITION);
        }
    }
    if (state.bPlaying) {
        popup.RemoveMenu(state.bShowBitrate ? ID_VIDEO_SHOW_BITRATE : ID_VIDEO_HIDE_BITRATE, MF_BYCOMMAND);
        popup.RemoveMenu(state.bExactFit ? ID_VIDEO_EXACT_FIT : ID_VIDEO_FULL_FIT, MF_BYCOMMAND);
        return;
    }
    for (UINT id : {ID_VIDEO_SHOW_BITRATE, ID_VIDEO_HIDE_BITRATE, ID_VIDEO_EXACT_FIT, ID_VIDEO_FULL_FIT,
                    ID_VIDEO_FLIP_VERTICAL, ID_VIDEO_FLIP_HORIZONTAL})
        popup.RemoveMenu(id, MF_BYCOMMAND);
    popup.RemoveMenu(2, MF_BYPOSITION);
    if (bFullscreen)
        popup.RemoveMenu(1, MF_BYPOSITION);
}

void CStateBar::ShowMenu()
{
    CMenu menu;
    if (!menu.Attach(::LoadMenu(VxcamResourceHandle(), MAKEINTRESOURCE(IDR_MENU_VIDEO))))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return;
    if (!m_bFullscreen)
        Notify(kClick);
    PrepareMenu(*popup, m_bFullscreen, m_fnMenuState ? m_fnMenuState() : MenuState());
    POINT at{};
    ::GetCursorPos(&at);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
}

void CStateBar::OnMenuFullscreen()
{
    if (!m_bFullscreen)
        Notify(kFullscreen);
}

void CStateBar::OnMenuExitFullscreen()
{
    if (m_bFullscreen)
        Notify(kExitFullscreen);
}

void CStateBar::OnMenuProperties()
{
    if (!m_bFullscreen)
        Notify(kProperties);
}

void CStateBar::OnMenuNotice(UINT nID)
{
    switch (nID) {
    case ID_VIDEO_SHOW_BITRATE:
        Notify(kShowBitrate);
        break;
    case ID_VIDEO_HIDE_BITRATE:
        Notify(kHideBitrate);
        break;
    case ID_VIDEO_FLIP_VERTICAL:
        Notify(kFlipVertical);
        break;
    case ID_VIDEO_FLIP_HORIZONTAL:
        Notify(kFlipHorizontal);
        break;
    case ID_VIDEO_EXACT_FIT:
        Notify(kExactFit);
        break;
    case ID_VIDEO_FULL_FIT:
        Notify(kFullFit);
        break;
    default:
        break;
    }
}
