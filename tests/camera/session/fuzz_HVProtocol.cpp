// Arbitrary bytes through every reader of the side channels' wire formats:
// no crash, no read past the input, and what is accepted holds together.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "camera/session/HVProtocol.h"

using namespace hvproto;

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        fprintf(stderr, "fuzz_HVProtocol: %s\n", what);
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InfHeader h;
    if (ParseInfHeader(data, size, h))
        Check(size >= kHeaderSize && data[0] == 'I', "INF header from too few bytes");
    ReplyBlock r;
    ParseReplyBlock(data, size, r);
    AlarmRecord a;
    if (ParseAlarmRecord(data, size, a))
        KindOfRecord(a);
    FrameHeader f;
    if (ParseFrameHeader(data, size, f))
        Check(f.length >= kFrameMinLength && f.length <= kFrameMaxLength, "frame length out of range accepted");
    const std::string text(reinterpret_cast<const char*>(data), size);
    KindOfPayload(text);
    ClassifyAlarmReply(text);
    AlarmReplyComplete(text);
    ReplyHeadComplete(text);
    IsHttpOk(text);
    if (auto id = ParseSessionId(text))
        Check(!id->empty() && id->size() <= 255 && id->find('\n') == std::string::npos, "bad session id accepted");
    if (IsHeaderSafe(text))
        Check(text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos, "line break called safe");
    return 0;
}
