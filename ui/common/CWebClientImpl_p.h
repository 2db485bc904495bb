#pragma once
// What a CWebClient holds beside its documented members: the transfers of the
// open request and of the FTP buffer transfers, each with its own state.

#include "ui/common/CWebClient.h"
#include "ui/common/MultipartBody_p.h"
#include "ui/common/WebTransfer_p.h"

#include <memory>
#include <string>

struct CWebClient::Impl {
    ~Impl()
    {
        request.reset();
        ftpGet.reset();
        ftpPut.reset();
        if (connections)
            curl_share_cleanup(connections);
    }

    std::string agent;
    // The object's own connection pool, so FTP transfers reuse its login.
    CURLSH* connections = nullptr;

    std::unique_ptr<vxui::WebTransfer> request;
    std::string formBody;
    std::unique_ptr<vxui::MultipartBody> multipart;

    std::unique_ptr<vxui::WebTransfer> ftpGet;
    std::string ftpGetRemote;
    std::unique_ptr<vxui::WebTransfer> ftpPut;
    std::string ftpPutRemote;
    const BYTE* putData = nullptr;
    size_t putLength = 0;
    size_t putOffset = 0;
    bool putEnding = false;

    std::string contentType;
    std::string error;

    // A transfer set up for this connection: credentials, agent, connection pool.
    std::unique_ptr<vxui::WebTransfer> newTransfer(const CWebClient& owner, const std::string& url) const;
};

namespace vxui {
// "scheme://host:port" for the connection; IPv6 hosts bracketed.
std::string baseUrl(CWebClient::WebProto type, const std::string& host, long port);
// A remote FTP path as a URL path: coded by segment, absolute paths kept absolute.
std::string ftpUrlPath(const std::string& remote);
}  // namespace vxui
