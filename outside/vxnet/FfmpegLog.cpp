#include "outside/vxnet/FfmpegLog.h"

#include "outside/vxnet/LogRedact.h"
#include "utility/vx_log.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cctype>
#include <cstdarg>
#include <string>
#include <string_view>

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
    if (av_level <= AV_LOG_VERBOSE)
        return VX_LOG_DEBUG;
    if (av_level <= AV_LOG_DEBUG)
        return VX_LOG_TRACE;
    // AV_LOG_TRACE: a line per byte of protocol traffic. Never wanted.
    return 0;
}

std::string redactFfmpegLine(std::string_view line)
{
    // FFmpeg prints the URLs it opens, credentials and all, and at debug level
    // the RTSP requests it sends, Authorization header included.
    std::string out = redactUrl(line);
    std::string lower(out);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t at = lower.find("authorization:");
    if (at != std::string::npos)
        out = out.substr(0, at + 14) + " ***";
    return out;
}

namespace {

// FFmpeg writes a line in pieces; each thread gathers its own until the
// newline comes.
thread_local std::string t_pending;
thread_local int t_prefix = 1;

void onFfmpegLog(void* avcl, int level, const char* fmt, va_list args)
{
    int vx_level = vxLevelFromAv(level);
    if (vx_level == 0 || vx_level > vx_log_get_level())
        return;
    char piece[2048];
    va_list copy;
    va_copy(copy, args);
    av_log_format_line2(avcl, level, fmt, copy, piece, sizeof piece, &t_prefix);
    va_end(copy);
    t_pending += piece;
    // One message may hold several lines (a whole request); each is its own
    // log line, and a last piece without its newline waits for the rest.
    size_t start = 0;
    size_t eol;
    while ((eol = t_pending.find('\n', start)) != std::string::npos) {
        std::string_view line(t_pending.data() + start, eol - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            vx_log(vx_level, "ffmpeg: %s", redactFfmpegLine(line).c_str());
        start = eol + 1;
    }
    t_pending.erase(0, start);
    if (t_pending.size() > 8192)
        t_pending.clear();  // a runaway piece without any newline
}

}  // namespace

void installFfmpegLog()
{
    av_log_set_callback(onFfmpegLog);
}

void removeFfmpegLog()
{
    av_log_set_callback(av_log_default_callback);
}

}  // namespace vxnet
