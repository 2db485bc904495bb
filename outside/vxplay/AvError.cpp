#include "outside/vxplay/AvError.h"

#include "outside/vxplay/vxplay.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>

namespace vxplay {

std::string avErrorText(int averror)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return text;
}

int resultFromAvError(int averror)
{
    if (averror >= 0)
        return VXPLAY_OK;
    switch (averror) {
    case AVERROR(ENOMEM):
        return VXPLAY_ERR_NOMEM;
    case AVERROR(ENOSPC):
    case AVERROR(EDQUOT):
        return VXPLAY_ERR_NO_SPACE;
    case AVERROR(EEXIST):
        return VXPLAY_ERR_EXISTS;
    case AVERROR(EINVAL):
        return VXPLAY_ERR_ARG;
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_ENCODER_NOT_FOUND:
    case AVERROR_INVALIDDATA:
    case AVERROR_PATCHWELCOME:
        return VXPLAY_ERR_CODEC;
    default:
        return VXPLAY_ERR_IO;
    }
}

}  // namespace vxplay
