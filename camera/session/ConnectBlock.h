#pragma once
// Fills the connect block that vxnet_connect receives from a camera
// information record. No state; any thread.

#include "camera/session/STWatchCameraInfo.h"
#include "outside/vxnet/vxnet.h"

namespace vxcam {

// The P2P server data a host gives with SetServerInfo.
struct P2PServerInfo {
    int nFlag = 0;
    CString strServer;   // offset 924
    CString strServer2;  // offset 1180
    int nPort = 0;
};

// Copies `text` into a block field of `size` bytes, cut to size - 1.
void CopyBlockText(char* field, size_t size, const char* text);

// Zeroes `block` and fills it for the record's entry type; writes the
// percent-encoded user and password into the record too.
void FillConnectBlock(STConnectInfo& block, STWatchCameraInfo& info, const P2PServerInfo& server, int nLive);

}  // namespace vxcam
