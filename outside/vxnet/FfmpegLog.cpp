#include "outside/vxnet/FfmpegLog.h"

#include "outside/vxnet/LogRedact.h"
#include "utility/vx_log.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdarg>
#include <string>

namespace vxnet {

int vxLevelFromAv(int av_level)
{
    if (av_level <= AV_LOG_FATAL)
        return VX_LOG_FATAL;
    if (av_level <= AV_LOG_ERROR)
        return VX_LOG_ERROR;
    if (av_level <= AV_LOG_WARNING)
        return VX_LOG_WARN;
    if (av_level <= AV_LOG_INFO)
        return VX_LOG_INFO;
    if (av_level <= AV_LOG_DEBUG)
        return VX_LOG_DEBUG;
    return VX_LOG_TRACE;
}

namespace {

// FFmpeg writes a line in pieces; each thread gathers its own until the
// newline comes.
thread_local std::string t_pending;
thread_local int t_prefix = 1;

void onFfmpegLog(void* avcl, int level, const char* fmt, va_list args)
{
    if (level > AV_LOG_DEBUG && level != AV_LOG_TRACE)
        return;
    int vx_level = vxLevelFromAv(level);
    if (vx_level > vx_log_get_level())
        return;
    char piece[1024];
    va_list copy;
    va_copy(copy, args);
    av_log_format_line2(avcl, level, fmt, copy, piece, sizeof piece, &t_prefix);
    va_end(copy);
    t_pending += piece;
    if (t_pending.empty() || t_pending.back() != '\n')
        return;
    t_pending.pop_back();
    // FFmpeg prints the URLs it opens, credentials and all.
    std::string line = redactUrl(t_pending);
    t_pending.clear();
    vx_log(vx_level, "ffmpeg: %s", line.c_str());
}

} // namespace

void installFfmpegLog()
{
    av_log_set_callback(onFfmpegLog);
}

void removeFfmpegLog()
{
    av_log_set_callback(av_log_default_callback);
}

} // namespace vxnet
