// Camera replies and request paths are untrusted text: the family checks, the
// Digest challenge reading and the log redaction must take any bytes without
// reading out of bounds.

#include "outside/vxnet/DigestAuth.h"
#include "outside/vxnet/FamilyProbe.h"
#include "outside/vxnet/LogRedact.h"
#include "outside/vxnet/ReplyText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    using namespace vxnet;
    (void)probe::isHx(text);
    (void)probe::isHv(text);
    (void)probe::isDy(text);
    (void)probe::isAjAudio(text);
    (void)probe::isHtl(text);
    (void)digestAuthorization(text, "GET", "/x", "u", "p", "c");
    (void)redactUrl(text);
    (void)redactPath(text, {"p", "secret"});
    ReplyText reply(4096);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        size_t end = eol == std::string_view::npos ? text.size() : eol + 1;
        if (!reply.addHeaderLine(text.substr(pos, end - pos)))
            break;
        pos = end;
    }
    (void)reply.header("WWW-Authenticate");
    (void)reply.text();
    return 0;
}
