// CGI requests and downloads over the camera's vxnet session.
#include "camera/session/CWebWatchNB.h"

#include "camera/session/CgiReply.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

void CWebWatchNB::SetModelVersion(const CString& strVersion)
{
    CSectionLock text(m_csText);
    m_strModelVersion = strVersion;
}

CString CWebWatchNB::Masked(const CString& strText) const
{
    return vxcam::MaskSecrets(strText, m_stCameraInfo.strPwd, m_stCameraInfo.strPwdEncoded);
}

int CWebWatchNB::GetCgi(CString strPath, CString& strReply, int nTimeoutMs)
{
    return CgiRequest(strPath, strReply, nTimeoutMs, VXNET_METHOD_GET);
}

int CWebWatchNB::PostCgi(CString strPath, CString& strReply, int nTimeoutMs)
{
    return CgiRequest(strPath, strReply, nTimeoutMs, VXNET_METHOD_POST);
}

int CWebWatchNB::CgiRequest(const CString& strPath, CString& strReply, int nTimeoutMs, int nMethod)
{
    const char* verb = nMethod == VXNET_METHOD_POST ? "post" : "get";
    strReply.Empty();
    char* output = nullptr;
    int rc;
    {
        CSectionLock session(m_csSession);
        if (!m_hSession) {
            vx_log(VX_LOG_TRACE, "vxnet_get_cgi_command %s [%s]-[no connection]", verb,
                   static_cast<const char*>(Masked(strPath)));
            return 0;
        }
        rc = vxnet_get_cgi_command(m_hSession, strPath, &output, nMethod, nTimeoutMs);
        if (rc == 0 && output)
            strReply = output;
    }
    vxnet_free_cgi_output(&output);
    const bool ok =
        rc == 0
        && (nMethod == VXNET_METHOD_POST ? vxcam::CgiPostSucceeded(strReply) : vxcam::CgiGetSucceeded(strReply));
    vx_log(VX_LOG_TRACE, "vxnet_get_cgi_command %s [%s]-[%d] %s", verb, static_cast<const char*>(Masked(strPath)), rc,
           static_cast<const char*>(Masked(strReply)));
    return ok ? 1 : 0;
}

int CWebWatchNB::Download(CString strRemote, CString strLocal, int nTimeoutMs)
{
    return Download(strRemote, strLocal, nTimeoutMs, nullptr, nullptr);
}

int CWebWatchNB::Download(CString strRemote, CString strLocal, int nTimeoutMs, vxnet_progress_callback pfnProgress,
                          void* pUser)
{
    vx_log(VX_LOG_INFO, "download start %s", static_cast<const char*>(Masked(strRemote)));
    int rc = VXNET_ERR_BAD_ARG;
    {
        CSectionLock session(m_csSession);
        if (!m_hSession) {
            vx_log(VX_LOG_INFO, "download end %d-%s", rc, static_cast<const char*>(strLocal));
            return 0;
        }
        rc = vxnet_download_file_progress(m_hSession, strRemote, strLocal, nTimeoutMs, pfnProgress, pUser);
    }
    vx_log(VX_LOG_INFO, "download end %d-%s", rc, static_cast<const char*>(strLocal));
    return rc == 0 ? 1 : 0;
}

CString CWebWatchNB::GetModelVersion() const
{
    // The PTZ worker asks for it while Logout joins that worker under the
    // state lock: only the text lock, never the state lock.
    CSectionLock text(m_csText);
    return m_strModelVersion;
}
