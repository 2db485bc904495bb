#include "camera/session/ConnectBlock.h"

#include "utility/vx_log.h"
#include "utility/vx_url.h"

#include <cstring>

namespace vxcam {

void CopyBlockText(char* field, size_t size, const char* text)
{
    memset(field, 0, size);
    if (!text || size == 0)
        return;
    size_t n = strnlen(text, size - 1);
    memcpy(field, text, n);
}

namespace {

CString Encoded(const CString& text)
{
    char* out = nullptr;
    vx_url_encode(text, &out);
    // Encoding fails only for a null text; the plain text is then all we have.
    CString result = out ? CString(out) : text;
    vx_url_free(&out);
    return result;
}

void FillAccount(STConnectInfo& block, const STWatchCameraInfo& info)
{
    CopyBlockText(block.szHost, sizeof block.szHost, info.strIP);
    block.nHttpPort = info.nHttpPort;
    block.nMediaPort = info.nMediaPort;
    block.nChannel = info.nChannel;
    block.nStream = info.nStream + 1;
    CopyBlockText(block.szUser, sizeof block.szUser, info.strUser);
    CopyBlockText(block.szPassword, sizeof block.szPassword, info.strPwd);
}

}  // namespace

void FillConnectBlock(STConnectInfo& block, STWatchCameraInfo& info, const P2PServerInfo& server, int nLive)
{
    memset(&block, 0, sizeof block);
    if (info.nEntryType == WATCH_ENTRY_RTSP_URL) {
        // The URL carries everything; the account fields stay empty.
        CopyBlockText(block.szRtspUrl, sizeof block.szRtspUrl, info.strIP);
        vx_log(VX_LOG_INFO, "camera rtsp %s", static_cast<const char*>(info.strName));
    } else if (info.nEntryType == WATCH_ENTRY_P2P_ID) {
        vx_log(VX_LOG_INFO, "camera id %s", static_cast<const char*>(info.strP2PID));
        block.nIsP2P = 1;
        block.nP2PServerFlag = server.nFlag ? 1 : 0;
        block.nLive = nLive;
        FillAccount(block, info);
        CopyBlockText(block.szP2PId, sizeof block.szP2PId, info.strP2PID);
        CopyBlockText(block.szP2PServer, sizeof block.szP2PServer, server.strServer);
        CopyBlockText(block.szP2PServer2, sizeof block.szP2PServer2, server.strServer2);
        block.nP2PServerPort = server.nPort;
    } else {
        FillAccount(block, info);
    }
    info.strUserEncoded = Encoded(info.strUser);
    info.strPwdEncoded = Encoded(info.strPwd);
    if (info.nEntryType != WATCH_ENTRY_RTSP_URL) {
        CopyBlockText(block.szUserEncoded, sizeof block.szUserEncoded, info.strUserEncoded);
        CopyBlockText(block.szPasswordEncoded, sizeof block.szPasswordEncoded, info.strPwdEncoded);
    }
}

}  // namespace vxcam
