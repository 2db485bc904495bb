#include "ui/common/CWebClient.h"

#include "ui/common/CWebClientImpl_p.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace vxui {

std::string ftpUrlPath(const std::string& remote)
{
    std::string out = "/";
    size_t start = 0;
    if (!remote.empty() && remote[0] == '/') {
        out += "%2F";  // an absolute path, not one below the login folder
        start = 1;
    }
    for (size_t i = start; i < remote.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(remote[i]);
        if (isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

}  // namespace vxui

namespace {

std::unique_ptr<vxui::WebTransfer> ftpTransfer(const CWebClient::Impl& impl, const CWebClient& owner,
                                               const std::string& base, const char* remote, bool ascii)
{
    auto t = impl.newTransfer(owner, base + vxui::ftpUrlPath(remote ? remote : ""));
    if (t->valid() && ascii)
        curl_easy_setopt(t->easy(), CURLOPT_TRANSFERTEXT, 1L);
    return t;
}

}  // namespace

DWORD CWebClient::GetFile(const char* remote, BYTE* buffer, DWORD size, bool ascii)
{
    m_impl->error.clear();
    if (!m_hConnection || m_nType != FTP) {
        fail("connection failed: no FTP connection");
        return 0;
    }
    if (!buffer || size == 0)
        return 0;
    std::string name = remote ? remote : "";
    if (!m_impl->ftpGet || m_impl->ftpGetRemote != name) {
        m_impl->ftpGet = ftpTransfer(*m_impl, *this, vxui::baseUrl(FTP, m_strHost, m_nPort), remote, ascii);
        m_impl->ftpGetRemote = name;
        if (!m_impl->ftpGet->start()) {
            fail("request failed: " + m_impl->ftpGet->error());
            m_impl->ftpGet.reset();
            return 0;
        }
    }
    long n = m_impl->ftpGet->read(buffer, size);
    if (n <= 0) {
        if (n < 0)
            fail("request failed: " + m_impl->ftpGet->error());
        m_impl->ftpGet.reset();
        return 0;
    }
    return static_cast<DWORD>(n);
}

bool CWebClient::GetFile(const char* remote, const char* local, bool ascii)
{
    m_impl->error.clear();
    if (!m_hConnection || m_nType != FTP)
        return fail("connection failed: no FTP connection");
    if (!local || !*local)
        return fail("request failed: no local file");
    // Written beside the target and renamed when complete: a failed download
    // leaves the old file, or none, never a piece of one.
    std::string temp = std::string(local) + ".partXXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return fail("request failed: cannot create " + temp + ": " + strerror(errno));
    FILE* out = fdopen(fd, "wb");
    auto t = ftpTransfer(*m_impl, *this, vxui::baseUrl(FTP, m_strHost, m_nPort), remote, ascii);
    bool ok = out && t->start();
    uint8_t block[16384];
    while (ok) {
        long n = t->read(block, sizeof block);
        if (n == 0)
            break;
        ok = n > 0 && fwrite(block, 1, static_cast<size_t>(n), out) == static_cast<size_t>(n);
    }
    std::string why = t->error().empty() ? std::string(strerror(errno)) : t->error();
    if (out && fclose(out) != 0)
        ok = false;
    else if (!out)
        close(fd);
    if (ok && rename(temp.c_str(), local) != 0)
        ok = false;
    if (!ok) {
        unlink(temp.c_str());
        return fail("request failed: " + why);
    }
    return true;
}

DWORD CWebClient::PutFile(const char* remote, BYTE* buffer, DWORD size, bool ascii)
{
    m_impl->error.clear();
    if (!m_hConnection || m_nType != FTP) {
        fail("connection failed: no FTP connection");
        return 0;
    }
    Impl& impl = *m_impl;
    std::string name = remote ? remote : "";
    impl.putData = buffer;
    impl.putLength = buffer ? size : 0;
    impl.putOffset = 0;
    impl.putEnding = impl.putLength == 0;
    if (!impl.ftpPut || impl.ftpPutRemote != name) {
        if (impl.putEnding)
            return 0;
        impl.ftpPut = ftpTransfer(impl, *this, vxui::baseUrl(FTP, m_strHost, m_nPort), remote, ascii);
        impl.ftpPutRemote = name;
        curl_easy_setopt(impl.ftpPut->easy(), CURLOPT_UPLOAD, 1L);
        // Each call hands over one piece; the upload waits between calls and
        // ends with a call of size 0.
        Impl* self = &impl;
        impl.ftpPut->setReader(
            [self](char* buf, size_t room) -> size_t {
                size_t left = self->putLength - self->putOffset;
                if (left == 0)
                    return self->putEnding ? 0 : static_cast<size_t>(CURL_READFUNC_PAUSE);
                size_t n = left < room ? left : room;
                memcpy(buf, self->putData + self->putOffset, n);
                self->putOffset += n;
                return n;
            },
            nullptr);
        if (!impl.ftpPut->start()) {
            fail("request failed: " + impl.ftpPut->error());
            impl.ftpPut.reset();
            return 0;
        }
    }
    bool ok = impl.putEnding ? impl.ftpPut->resumeUpload() && impl.ftpPut->finish() : impl.ftpPut->resumeUpload();
    if (!ok || impl.ftpPut->done()) {
        if (!ok)
            fail("request failed: " + impl.ftpPut->error());
        impl.ftpPut.reset();
        return ok && !impl.putEnding ? static_cast<DWORD>(impl.putOffset) : 0;
    }
    return static_cast<DWORD>(impl.putOffset);
}

bool CWebClient::PutFile(const char* remote, const char* local, bool ascii)
{
    m_impl->error.clear();
    if (!m_hConnection || m_nType != FTP)
        return fail("connection failed: no FTP connection");
    FILE* in = local ? fopen(local, "rb") : nullptr;
    if (!in)
        return fail(std::string("request failed: cannot open ") + (local ? local : "(null)"));
    auto t = ftpTransfer(*m_impl, *this, vxui::baseUrl(FTP, m_strHost, m_nPort), remote, ascii);
    curl_easy_setopt(t->easy(), CURLOPT_UPLOAD, 1L);
    bool readFailed = false;
    t->setReader(
        [in, &readFailed](char* buf, size_t room) -> size_t {
            size_t n = fread(buf, 1, room, in);
            if (n == 0 && ferror(in)) {
                readFailed = true;
                return static_cast<size_t>(CURL_READFUNC_ABORT);
            }
            return n;
        },
        [in] { return fseek(in, 0, SEEK_SET) == 0; });
    bool ok = t->start() && t->finish() && !readFailed;
    fclose(in);
    if (!ok)
        return fail("request failed: " + t->error());
    return true;
}
