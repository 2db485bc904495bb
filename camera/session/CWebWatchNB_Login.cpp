// Logging in to a camera by its family, logging out, and the camera clock.
#include "camera/session/CWebWatchNB.h"

#include "camera/session/CCgiCmd.h"
#include "camera/session/CgiReply.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

namespace {

bool Code200(const CString& reply)
{
    return CCgiCmd::GetXmlAttrInt(reply, "result", "code") == 200;
}

}  // namespace

int CWebWatchNB::Login()
{
    CStateLock lock(m_hStateLock);
    if (m_bIsLogin.load())
        return 1;
    m_bIsLogin = 0;
    const bool p2p = m_bIsP2P || m_stCameraInfo.nEntryType == WATCH_ENTRY_P2P_ID;
    const int result = (!p2p || m_bUseIPForP2P.load()) ? LoginDirect(3000) : LoginP2P();
    if (!result)
        return 0;
    if (m_bLive && !m_bRecordOnly)
        StartPtzWorker();
    m_bIsLogin = 1;
    return 1;
}

int CWebWatchNB::LoginDirect(int nTimeoutMs)
{
    CString reply;
    const int chip = m_nChipType.load();
    SetModelVersion(CString());
    auto fail = [this](const char* line, const CString& text) {
        vx_log(VX_LOG_ERROR, "%s: %s", line, static_cast<const char*>(Masked(text)));
        Logout();
        return 0;
    };
    auto stopped = [this] {
        if (!StopRequested())
            return false;
        vx_log(VX_LOG_TRACE, "[%s] CWebWatchNB::Login stopped", static_cast<const char*>(m_stCameraInfo.strName));
        Logout();
        return true;
    };
    switch (chip) {
    case CHIP_TYPE_HV: {
        if (!GetCgi("/cgi/sys_get?Group=DeviceInfo", reply, nTimeoutMs) || !Code200(reply))
            return fail("login fail", reply);
        vx_log(VX_LOG_TRACE, "login HV ok: %s", static_cast<const char*>(Masked(reply)));
        if (stopped())
            return 0;
        // Without the port reply the family's usual port stays.
        if (GetCgi("/cgi/netport_get?Channel=1&Group=NetPortInfo", reply, 5000) && Code200(reply)) {
            const int port = CCgiCmd::GetXmlValueInt(reply, "VideoPort");
            // A number that is no port would reach some other port once cut
            // to 16 bits: the family's usual port stays instead.
            if (port >= 1 && port <= 65535)
                m_nHVVideoPort = port;
            else
                vx_log(VX_LOG_ERROR, "get m_nHVVideoPort: %d is no port, %d kept", port, m_nHVVideoPort);
            vx_log(VX_LOG_TRACE, "get m_nHVVideoPort: %d", m_nHVVideoPort);
        } else {
            vx_log(VX_LOG_ERROR, "get m_nHVVideoPort error");
        }
        m_nTalkCodec = 0;
        // A side channel that cannot start never fails the login (here and
        // for the other families): video and recording do not depend on it.
        if (m_bLive) {
            if (StartAlarmChannel(m_nHVVideoPort, m_stCameraInfo.strUser, m_stCameraInfo.strPwd) != 0)
                vx_log(VX_LOG_ERROR, "HV Start Alarm error");
            else
                vx_log(VX_LOG_TRACE, "HV Start Alarm");
        }
        break;
    }
    case CHIP_TYPE_HX: {
        if (!GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getuserinfo&cmd=getvideoattr", reply, nTimeoutMs))
            return fail("login fail", reply);
        m_nAuthLevel = CCgiCmd::GetCgiValueInt3(reply, "authLevel");
        if (m_nAuthLevel == 0) {
            // Refused: the session stays until the next Connect or Cleanup.
            vx_log(VX_LOG_ERROR, "login fail: %s", static_cast<const char*>(Masked(reply)));
            return 0;
        }
        m_bAdmin = m_nAuthLevel == 15 ? 1 : 0;
        m_nStreamCount = CCgiCmd::GetCgiValueInt3(reply, "maxchn");
        if (m_nStreamCount < 1)
            m_nStreamCount = 3;
        vx_log(VX_LOG_TRACE, "login HX ok: %s", static_cast<const char*>(Masked(reply)));
        if (stopped())
            return 0;
        if (GetCgi("/web.ini", reply, nTimeoutMs))
            SetModelVersion(CCgiCmd::GetInivalue(reply, "vxver", "vercfg"));
        if (stopped())
            return 0;
        if (!GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getaencattr&-chn=11", reply, nTimeoutMs))
            return fail("get audio param error", reply);
        m_nTalkCodec = CCgiCmd::GetCgiValue2(reply, "aeformat_1").CompareNoCase("g711a") != 0 ? 1 : 0;
        if (m_bLive) {
            if (StartAlarmChannel(m_stCameraInfo.nHttpPort, m_stCameraInfo.strUser, m_stCameraInfo.strPwd) != 0)
                vx_log(VX_LOG_ERROR, "HX Start Alarm error");
            else
                vx_log(VX_LOG_TRACE, "HX Start Alarm");
        }
        break;
    }
    case CHIP_TYPE_DY: {
        if (!GetCgi("/dy-cgi/user.cgi?cmd=checkuserinfo", reply, nTimeoutMs))
            return fail("login fail", reply);
        if (CCgiCmd::GetCgiValue(reply, "rolename") != "admin") {
            vx_log(VX_LOG_ERROR, "login fail: %s", static_cast<const char*>(Masked(reply)));
            return 0;
        }
        vx_log(VX_LOG_TRACE, "login DY ok: %s", static_cast<const char*>(Masked(reply)));
        m_nTalkCodec = 0;
        break;
    }
    case CHIP_TYPE_AJ: {
        CString path;
        path.Format("/cgi-bin/user_management?username=%s&password=%s",
                    static_cast<const char*>(m_stCameraInfo.strUserEncoded),
                    static_cast<const char*>(m_stCameraInfo.strPwdEncoded));
        // The camera's answer to this request does not decide the login.
        if (GetCgi(path, reply, nTimeoutMs))
            vx_log(VX_LOG_TRACE, "login AJ ok: %s", static_cast<const char*>(Masked(reply)));
        if (stopped())
            return 0;
        path.Format("/cgi-bin/audioencoder?username=%s&password=%s",
                    static_cast<const char*>(m_stCameraInfo.strUserEncoded),
                    static_cast<const char*>(m_stCameraInfo.strPwdEncoded));
        if (!GetCgi(path, reply, 5000))
            return fail("get aj audio param error", reply);
        CString type = CCgiCmd::GetXmlAttr(reply, "audioencoder", "encode_type");
        vx_log(VX_LOG_TRACE, "get aj audio type: %s", static_cast<const char*>(type));
        if (type.CompareNoCase("G.711A") == 0)
            m_nTalkCodec = 0;
        else if (type.CompareNoCase("G.711") == 0)
            m_nTalkCodec = 2;
        else
            m_nTalkCodec = 3;
        // A failed alarm start only drops the channel.
        if (m_bLive && StartAlarmChannel(890, m_stCameraInfo.strUserEncoded, m_stCameraInfo.strPwdEncoded) != 0)
            vx_log(VX_LOG_ERROR, "AJ Start Alarm error");
        break;
    }
    case CHIP_TYPE_HTL: {
        if (!GetCgi("/cgi-bin/web.cgi?mod=device&cmd=get", reply, nTimeoutMs))
            return fail("login fail", reply);
        vx_log(VX_LOG_TRACE, "login HTL ok: %s", static_cast<const char*>(Masked(reply)));
        m_nHVVideoPort = 8088;
        m_nTalkCodec = 0;
        if (m_bLive) {
            if (StartAlarmChannel(8088, m_stCameraInfo.strUser, m_stCameraInfo.strPwd) != 0)
                vx_log(VX_LOG_ERROR, "HTL Start Alarm error");
            else
                vx_log(VX_LOG_TRACE, "HTL Start Alarm");
        }
        break;
    }
    default:
        vx_log(VX_LOG_ERROR, "%p login fail: %s", static_cast<void*>(this),
               static_cast<const char*>(m_stCameraInfo.strName));
        Logout();
        return 0;
    }
    return stopped() ? 0 : 1;
}

int CWebWatchNB::LoginP2P()
{
    const int nTimeoutMs = 5000;
    CString reply;
    SetModelVersion(CString());
    auto refuse = [this](const CString& text) {
        vx_log(VX_LOG_ERROR, "login fail: %s", static_cast<const char*>(Masked(text)));
        return 0;
    };
    switch (m_nChipType.load()) {
    case CHIP_TYPE_HV:
        if (!GetCgi("/cgi/sys_get?Group=DeviceInfo", reply, nTimeoutMs) || !Code200(reply))
            return refuse(reply);
        vx_log(VX_LOG_TRACE, "login HV ok: %s", static_cast<const char*>(Masked(reply)));
        break;
    case CHIP_TYPE_HX:
        if (!GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getuserinfo&cmd=getvideoattr", reply, nTimeoutMs))
            return refuse(reply);
        m_nAuthLevel = CCgiCmd::GetCgiValueInt3(reply, "authLevel");
        if (m_nAuthLevel == 0)
            return refuse(reply);
        m_bAdmin = m_nAuthLevel == 15 ? 1 : 0;
        m_nStreamCount = CCgiCmd::GetCgiValueInt3(reply, "maxchn");
        if (m_nStreamCount < 1)
            m_nStreamCount = 3;
        vx_log(VX_LOG_TRACE, "login HX ok: %s", static_cast<const char*>(Masked(reply)));
        if (GetCgi("/web.ini", reply, 3000))
            SetModelVersion(CCgiCmd::GetInivalue(reply, "vxver", "vercfg"));
        break;
    case CHIP_TYPE_DY:
        if (!GetCgi("/dy-cgi/user.cgi?cmd=checkuserinfo", reply, nTimeoutMs)
            || CCgiCmd::GetCgiValue(reply, "rolename") != "admin")
            return refuse(reply);
        vx_log(VX_LOG_TRACE, "login DY ok: %s", static_cast<const char*>(Masked(reply)));
        break;
    case CHIP_TYPE_AJ: {
        CString path;
        path.Format("/cgi-bin/user_management?username=%s&password=%s",
                    static_cast<const char*>(m_stCameraInfo.strUserEncoded),
                    static_cast<const char*>(m_stCameraInfo.strPwdEncoded));
        if (GetCgi(path, reply, nTimeoutMs))
            vx_log(VX_LOG_TRACE, "login AJ ok: %s", static_cast<const char*>(Masked(reply)));
        break;
    }
    case CHIP_TYPE_HTL:
        if (!GetCgi("/cgi-bin/web.cgi?mod=device&cmd=get", reply, nTimeoutMs))
            return refuse(reply);
        vx_log(VX_LOG_TRACE, "login HTL ok: %s", static_cast<const char*>(Masked(reply)));
        break;
    default:
        vx_log(VX_LOG_ERROR, "%p login fail: %s", static_cast<void*>(this),
               static_cast<const char*>(m_stCameraInfo.strName));
        Logout();
        return 0;
    }
    return StopRequested() ? 0 : 1;
}

void CWebWatchNB::Logout()
{
    CStateLock lock(m_hStateLock);
    // The PTZ worker takes no state lock (its model version comes under the
    // text lock), so it can be joined here.
    StopPtzWorker();
    if (VXNET_HANDLE h = TakeSession())
        vxnet_disconnect(h);
    StopSideChannels();
    m_bIsLogin = 0;
}

int CWebWatchNB::GetCameraTime(COleDateTime& out)
{
    if (!m_bIsLogin.load())
        return 0;
    CString reply;
    if (m_nChipType.load() == CHIP_TYPE_HV) {
        if (!GetCgi("/cgi/sys_get?Group=TimeInfo", reply, 2000) || !Code200(reply))
            return 0;
        CString seconds = CCgiCmd::GetXmlTypeValue(reply, "OsdTime", "int");
        seconds.Trim();
        if (seconds.IsEmpty() || seconds.SpanIncluding("0123456789") != seconds)
            return 0;
        out = COleDateTime(static_cast<time_t>(atoll(seconds)));
        return out.GetStatus() == COleDateTime::valid ? 1 : 0;
    }
    if (!GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getservertime", reply, 2000))
        return 0;
    return vxcam::ParseCameraTimeText(CCgiCmd::GetCgiValue2(reply, "time"), out) ? 1 : 0;
}
