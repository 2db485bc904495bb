#include "camera/dialogs/CVXCamApp.h"

#include "resources/vxcam/VxcamResources.h"
#include "utility/vx_log.h"

AFX_MODULE_STATE* VxcamModuleState()
{
    static AFX_MODULE_STATE state(VxcamResourceHandle());
    return &state;
}

CVXCamApp::CVXCamApp() : CWinApp("vxcam", VxcamModuleState()) {}

BOOL CVXCamApp::InitInstance()
{
    vx_log(4, "CVXCamApp::InitInstance");
    return TRUE;
}

CString CVXCamApp::GetAppPath()
{
    std::lock_guard lock(m_pathMutex);
    // The program's folder, where the host keeps its own files too: an
    // installed library's folder is not the person's to write in.
    if (m_strAppPath.IsEmpty()) {
        m_strAppPath = vxk::ProgramDirectory().c_str();
        if (m_strAppPath.Right(1) != "/")
            m_strAppPath += "/";
    }
    return m_strAppPath;
}

CString CVXCamApp::GetTempSnapshotPath()
{
    // One file for every window; the motion-area editor downloads into it.
    CString app = GetAppPath();
    CString folder = app + "temp/";
    if (MakeSureFolder(folder))
        return folder + "tmp.jpg";
    return app + "tmp.jpg";
}

int CVXCamApp::MakeSureFolder(CString strFolder)
{
    if (strFolder.IsEmpty())
        return 0;
    if (PathIsDirectoryA(strFolder))
        return 1;
    CString withSlash = strFolder;
    if (withSlash.Right(1) != "/")
        withSlash += "/";
    MakeSureDirectoryPathExists(withSlash);
    return PathIsDirectoryA(strFolder) ? 1 : 0;
}

namespace {

CVXCamApp theApp;
// Right after the object, in this file: InitInstance runs once, at load.
AfxLibraryStart theAppStart(VxcamModuleState());

}  // namespace

CVXCamApp& VxcamApp()
{
    return theApp;
}

CString VxcamString(UINT nId)
{
    char buf[1024];
    int n = ::LoadString(VxcamResourceHandle(), nId, buf, sizeof buf);
    return n > 0 ? CString(buf) : CString();
}

int ShowMessageText(CWnd* parent, UINT nCaptionId, const CString& strText, UINT nType)
{
    AFX_MANAGE_STATE(VxcamModuleState());
    CString caption = VxcamString(nCaptionId);
    caption.Replace("&&", "&");
    if (parent && parent->GetSafeHwnd())
        return parent->MessageBox(strText, caption, nType);
    return ::MessageBox(nullptr, strText, caption, nType);
}

int ShowMessageById(CWnd* parent, UINT nCaptionId, UINT nTextId, UINT nType)
{
    return ShowMessageText(parent, nCaptionId, VxcamString(nTextId), nType);
}

int ShowMessageByIdEx(CWnd* parent, UINT nCaptionId, UINT nTextId, CString strExtra, UINT nType)
{
    CString text = VxcamString(nTextId);
    if (!strExtra.IsEmpty())
        text += strExtra;
    return ShowMessageText(parent, nCaptionId, text, nType);
}
