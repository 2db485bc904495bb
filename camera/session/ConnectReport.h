#pragma once
// What Connect reports to its parent (UM_VX_CAMERA_CONNECT_REPORT) once
// vxnet_connect has answered, and whether the session's address replaces the
// stored one. No state; any thread.

#include "outside/vxnet/vxnet.h"

#include <vector>

namespace vxcam {

struct ConnectReport {
    std::vector<int> lParams;     // one connect report per value, in this order
    bool bDirectAddress = false;  // the session reached the camera by its address
    bool bAdoptAddress = false;   // take host, HTTP and media port from the session
};

// stored: the object's block; session: the session's block, or null when
// vxnet_connect failed; nEntryType: the record's entry type.
ConnectReport DecideConnectReport(const STConnectInfo& stored, const STConnectInfo* session, int nEntryType);

}  // namespace vxcam
