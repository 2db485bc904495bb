#include "camera/session/ConnectReport.h"

#include "camera/session/STWatchCameraInfo.h"

#include <strings.h>

namespace vxcam {

ConnectReport DecideConnectReport(const STConnectInfo& stored, const STConnectInfo* session, int nEntryType)
{
    ConnectReport r;
    if (!session) {
        if (nEntryType == WATCH_ENTRY_P2P_ID)
            r.lParams.push_back(0);
        return r;
    }
    r.bDirectAddress = session->nUseIP == 1;
    if (r.bDirectAddress) {
        r.lParams.push_back(2);
        bool same = strncasecmp(session->szHost, stored.szHost, sizeof stored.szHost) == 0
                    && session->nHttpPort == stored.nHttpPort && session->nMediaPort == stored.nMediaPort;
        if (!same) {
            r.bAdoptAddress = true;
            r.lParams.push_back(1);
        }
    } else if (nEntryType == WATCH_ENTRY_P2P_ID) {
        r.lParams.push_back(0);
    }
    return r;
}

}  // namespace vxcam
