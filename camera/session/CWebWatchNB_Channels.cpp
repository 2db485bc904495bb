// The camera object's side channels: the alarm channel that login starts,
// and talk (SetMic), each a CVXHVDev in the camera family's dialect.
#include "camera/session/CWebWatchNB.h"

#include "camera/session/CVXHVDev.h"
#include "camera/session/CameraMessages.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

int CWebWatchNB::StartAlarmChannel(int nPort, const CString& strUser, const CString& strPwd)
{
    if (m_pAlarmDev) {
        delete m_pAlarmDev;
        m_pAlarmDev = nullptr;
    }
    auto* dev = new CVXHVDev(m_nChipType.load());
    int r = dev->StartAlarm(strUser, strPwd, m_stCameraInfo.strIP, nPort, &CWebWatchNB::OnAlarmStatus,
                            &CWebWatchNB::OnAlarm, this);
    if (r != 0) {
        delete dev;
        return r;
    }
    m_pAlarmDev = dev;
    return 0;
}

void CWebWatchNB::StopSideChannels()
{
    // The receiver is joined before the object goes, so no alarm reaches a
    // camera object that is being torn down.
    delete m_pAlarmDev;
    m_pAlarmDev = nullptr;
    CVXHVDev* talk;
    {
        CSectionLock lock(m_csTalk);
        talk = m_pTalkDev;
        m_pTalkDev = nullptr;
        m_bTalk = 0;
        // A talk start still connecting on another thread finds this and
        // drops its channel instead of installing it.
        ++m_nLogouts;
    }
    delete talk;
}

void CALLBACK CWebWatchNB::OnAlarmStatus(int, int, void*) {}

void CALLBACK CWebWatchNB::OnAlarm(int, int nKind, const char*, int, void* pUser)
{
    static_cast<CWebWatchNB*>(pUser)->SetAlarmDetected(nKind);
}

void CALLBACK CWebWatchNB::OnTalkError(void* pUser)
{
    auto* self = static_cast<CWebWatchNB*>(pUser);
    self->PostToParentForwarded(UM_VX_CAMERA_TALK_ERROR, reinterpret_cast<LPARAM>(self->SelfHwnd()));
}

int CWebWatchNB::SetMic()
{
    return SetMic(m_bTalk);
}

int CWebWatchNB::SetMic(int bOn)
{
    // On the GUI thread (the menu) and the reconnect worker. It takes no
    // state lock: the talk connection is made outside every lock, and only
    // installing or removing the channel takes the talk lock.
    bOn = bOn ? 1 : 0;
    const char* name = m_stCameraInfo.strName;
    if (bOn == m_bTalk.load()) {
        vx_log(VX_LOG_TRACE, "[%s] setmic mic status is not changed %s", name, bOn ? "on" : "off");
        return 1;
    }
    if (!bOn) {
        CSectionLock lock(m_csTalk);
        if (m_pTalkDev)
            m_pTalkDev->StopTalk();
        m_bTalk = 0;
        return 1;
    }
    if (!m_bIsLogin.load()) {
        vx_log(VX_LOG_TRACE, "[%s] setmic need login", name);
        return 0;
    }
    const int chip = m_nChipType.load();
    int port = 0;
    switch (chip) {
    case CHIP_TYPE_HV:
    case CHIP_TYPE_HTL:
        port = m_nHVVideoPort;
        break;
    case CHIP_TYPE_AJ:
        port = 888;
        break;
    case CHIP_TYPE_HX:
        port = m_stCameraInfo.nHttpPort;
        break;
    default:
        // Families without a talk dialect: nothing to connect to.
        vx_log(VX_LOG_INFO, "[%s] setmic: family %d has no talk channel", name, chip);
        return 0;
    }
    if (m_bTalkStarting.exchange(1)) {
        vx_log(VX_LOG_TRACE, "[%s] setmic: a talk start is under way", name);
        return 0;
    }
    int logouts;
    CVXHVDev* dev;
    {
        CSectionLock lock(m_csTalk);
        logouts = m_nLogouts;
        dev = m_pTalkDev;
        m_pTalkDev = nullptr;
    }
    if (!dev)
        dev = new CVXHVDev(chip);
    int r = dev->StartTalk(m_nTalkCodec, m_stCameraInfo.strUser, m_stCameraInfo.strPwd, m_stCameraInfo.strUserEncoded,
                           m_stCameraInfo.strPwdEncoded, m_stCameraInfo.strIP, port, &CWebWatchNB::OnTalkError, this);
    bool installed = false;
    {
        CSectionLock lock(m_csTalk);
        if (logouts == m_nLogouts && !m_pTalkDev) {
            m_pTalkDev = dev;
            installed = true;
            if (r == 0)
                m_bTalk = 1;
        }
    }
    m_bTalkStarting = 0;
    if (!installed) {
        // Logged out meanwhile: the channel goes with the session.
        delete dev;
        vx_log(VX_LOG_INFO, "[%s] setmic: logged out during the talk start", name);
        return 0;
    }
    if (r != 0) {
        vx_log(VX_LOG_INFO, "start talk failed.");
        return 0;
    }
    return 1;
}
