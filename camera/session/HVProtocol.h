#pragma once
// The side channels' wire formats as plain functions over bytes: requests
// are built here and every reply, frame and record the camera sends is read
// here, with its length checked, before the channel acts on it.
//
// Two dialects: the binary "INF" messages of family 72, and the HTTP-like
// text of families 71, 76 and 77. Numbers are little-endian in the INF
// headers and records, big-endian in frames and audio packets.
//
// Threads: plain functions without state.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hvproto {

using Bytes = std::vector<uint8_t>;

// ---- family 72: INF messages ----

enum : uint8_t {
    kCmdLogin = 1,
    kCmdLoginReply = 2,
    kCmdTalk = 7,
    kCmdTalkReply = 8,
    kCmdAlarm = 0x40,
};
constexpr size_t kHeaderSize = 12;
constexpr size_t kReplyBlockSize = 8;
constexpr size_t kAlarmRecordSize = 28;
constexpr size_t kTalkPacketHeaderSize = 36;

struct InfHeader {
    uint8_t command = 0;
    uint32_t bodyLength = 0;
};

Bytes BuildInfHeader(uint8_t command, uint32_t bodyLength);
// False unless the bytes start with "INF" and hold a whole header.
bool ParseInfHeader(const uint8_t* data, size_t length, InfHeader& out);
// Header and body: user and password in 32 bytes each, then 1.
Bytes BuildInfLogin(const std::string& user, const std::string& password);

// The 8-byte block after a login or talk reply's header.
struct ReplyBlock {
    uint16_t error = 0;        // 0: accepted
    uint16_t extraLength = 0;  // bytes that follow, read and dropped
};
bool ParseReplyBlock(const uint8_t* data, size_t length, ReplyBlock& out);

struct AlarmRecord {
    uint8_t type = 0;  // 2 motion, 1 alarm input
    uint16_t id = 0;
    uint8_t start = 0;  // 1: the alarm begins
};
bool ParseAlarmRecord(const uint8_t* data, size_t length, AlarmRecord& out);

// What an alarm record or frame raises.
enum class AlarmKind { None, Motion, Input };
// Motion only as it begins; an alarm input whatever its start flag.
AlarmKind KindOfRecord(const AlarmRecord& record);

Bytes BuildInfTalkRequest();
// 36-byte header (big-endian numbers) and the audio.
Bytes BuildInfAudioPacket(uint32_t sequence, const uint8_t* audio, size_t length);

// ---- families 71, 76, 77: text ----

// A CR, LF or NUL in a text that goes into a request line or header would
// start a header of its own.
bool IsHeaderSafe(const std::string& text);

std::string BuildAlarmRequest(const std::string& host, int port, const std::string& user, const std::string& password);

// "until the second empty line": the reply head and the text block after it.
bool AlarmReplyComplete(const std::string& reply);
enum class AlarmReplyStatus { Ok, Unauthorized, Failed };
AlarmReplyStatus ClassifyAlarmReply(const std::string& reply);
// How long to wait before subscribing again after a failed subscription.
int AlarmRetryDelayMs(AlarmReplyStatus status);
// The pause before the next try after `failuresInARow` failures of the alarm
// link (connect, subscription or a frame) with no good frame between them:
// the first takes the step's own delay, then 5 s doubling up to 60 s, so a
// camera that keeps sending frames we cannot take is not flooded.
int AlarmBackoffMs(int failuresInARow, int firstDelayMs);
constexpr int kAlarmBackoffFirstMs = 5000;
constexpr int kAlarmBackoffMaxMs = 60000;

constexpr size_t kFrameHeaderSize = 20;
constexpr uint32_t kFrameMinLength = 12;
constexpr uint32_t kFrameMaxLength = 2059;  // 2047 bytes of payload
struct FrameHeader {
    uint32_t length = 0;  // L: the payload is L - 12 bytes
    bool event = false;   // byte 9 without its top bit is 0x64
};
// False when the header is short or its length is outside 12 to 2059.
bool ParseFrameHeader(const uint8_t* data, size_t length, FrameHeader& out);
AlarmKind KindOfPayload(const std::string& payload);

// The talk request of families 71 and 77 (codec 1: G.726, else G.711 A-law).
std::string BuildTalkInvite(const std::string& host, int port, const std::string& user, const std::string& password,
                            int codec);
std::string BuildTalkAck(const std::string& host, int port, const std::string& user, const std::string& password,
                         const std::string& sessionId);
std::string BuildAjTalkRequest(const std::string& user, const std::string& password);
// The reply head has arrived whole (its empty line).
bool ReplyHeadComplete(const std::string& reply);
bool IsHttpOk(const std::string& reply);
// The value of the "Session-ID: " line, up to 255 characters; none when
// the line is missing, empty or longer.
std::optional<std::string> ParseSessionId(const std::string& reply);
// '$' interleave header, RTP header and the 4-byte audio header; time in ms
// since the talk started.
Bytes BuildRtpAudioPacket(int codec, int64_t timeMs, const uint8_t* audio, size_t length);

}  // namespace hvproto
