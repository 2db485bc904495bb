#pragma once
// FFmpeg's own log lines, routed into vx_log.

#include <string>
#include <string_view>

namespace vxnet {

// FFmpeg's AV_LOG_* level to a vx_log level (1 FATAL .. 6 TRACE); 0 for
// FFmpeg's byte-level trace, which is dropped.
int vxLevelFromAv(int av_level);
// A line of FFmpeg's as it may be logged: URL credentials and Authorization
// header values masked.
std::string redactFfmpegLine(std::string_view line);

void installFfmpegLog();
void removeFfmpegLog();

}  // namespace vxnet
