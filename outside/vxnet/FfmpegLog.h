#pragma once
// FFmpeg's own log lines, routed into vx_log.

namespace vxnet {

// FFmpeg's AV_LOG_* level to a vx_log level (1 FATAL .. 6 TRACE).
int vxLevelFromAv(int av_level);

void installFfmpegLog();
void removeFfmpegLog();

} // namespace vxnet
