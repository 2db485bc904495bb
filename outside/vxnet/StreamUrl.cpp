#include "outside/vxnet/StreamUrl.h"

#include "outside/vxnet/UrlCoding.h"

namespace vxnet {

std::string streamUrl(const STConnectInfo& block)
{
    if (block.szRtspUrl[0])
        return block.szRtspUrl;
    std::string user = block.szUserEncoded[0] ? block.szUserEncoded : percentEncode(block.szUser);
    std::string password = block.szPasswordEncoded[0] ? block.szPasswordEncoded : percentEncode(block.szPassword);
    std::string url = "rtsp://";
    if (!user.empty() || !password.empty()) {
        url += user;
        if (!password.empty())
            url += ":" + password;
        url += "@";
    }
    std::string host = block.szHost;
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]";
    url += host + ":" + std::to_string(block.nMediaPort > 0 ? block.nMediaPort : 554);
    if (block.nChannel >= 1 && block.nChannel <= 3)
        url += "/ch=" + std::to_string(block.nChannel);
    if (block.nStream == 2)
        url += "/sl=1";
    return url;
}

}  // namespace vxnet
