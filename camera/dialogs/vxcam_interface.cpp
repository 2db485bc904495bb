#include "camera/dialogs/vxcam_interface.h"

#include "camera/dialogs/CVXCamApp.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "resources/vxcam/resource.h"
#include "utility/vx_log.h"

void vxcam_interface::ShowDialog(int index, HWND owner, void* cameraInfo, int isP2P, const char* server,
                                 const char* server2, int port)
{
    AFX_MANAGE_STATE(VxcamModuleState());
    vx_log(4, "vxcam_interface::ShowDialog 1");
    vx_log(6, "vxcam_interface::ShowDialog 2");
    if (!cameraInfo) {
        vx_log(2, "vxcam_interface::ShowDialog no camera information");
        return;
    }
    auto* dlg = new CCameraSetupDlg(nullptr);
    vx_log(6, "vxcam_interface::ShowDialog 3");
    dlg->m_nIndex = index;
    dlg->m_hOwner = owner;
    const auto* info = static_cast<const STWatchCameraInfo*>(cameraInfo);
    STWatchCameraInfo& copy = dlg->m_stCameraInfo;
    copy.nID = info->nID;
    copy.strIP = info->strIP;
    copy.strP2PID = info->strP2PID;
    copy.nReserved = info->nReserved;
    copy.nHttpPort = info->nHttpPort;
    copy.nMediaPort = info->nMediaPort;
    copy.nStream = info->nStream;
    copy.nChannel = info->nChannel;
    copy.nEntryType = info->nEntryType;
    copy.strName = info->strName;
    copy.strUser = info->strUser;
    copy.strPwd = info->strPwd;
    dlg->m_bP2P = isP2P == 1 ? 1 : 0;
    dlg->m_strServer = server ? server : "";
    dlg->m_strServer2 = server2 ? server2 : "";
    dlg->m_nServerPort = port;

    vx_log(6, "vxcam_interface::ShowDialog 4");
    if (!dlg->Create(IDD_CAMERA_SETUP, nullptr)) {
        vx_log(2, "vxcam_interface::ShowDialog cannot create the window");
        delete dlg;
        return;
    }
    dlg->CenterWindow();
    dlg->ShowWindow(SW_SHOW);
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner))
        ::EnableWindow(owner, FALSE);
}
